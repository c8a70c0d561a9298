#pragma once

#include "app/memo_text_view.h"
#include "app/operation_adapters.h"
#include "app/page_services.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TextToXmlPage;
}

namespace quillet {

// The "TEXTtoXML" page: a folder of tagged files, its list and preview, the target folder
// and the button that exports the folder.
class TextToXmlPage : public QWidget {
    Q_OBJECT
public:
    explicit TextToXmlPage(const PageServices& services, QWidget* parent = nullptr);
    ~TextToXmlPage() override;

    const Ui::TextToXmlPage& ui() const { return *ui_; }

public Q_SLOTS:
    void SpeedButton3Click();
    void SpeedButton4Click();
    void FileListBox2Click();
    void Button5Click();

private:
    std::unique_ptr<Ui::TextToXmlPage> ui_;
    PageServices services_;
    MemoTextView preview_; // Memo6
    RepaintingProgressBar progress_;
};

} // namespace quillet
