#pragma once

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
    explicit TextToXmlPage(QWidget* parent = nullptr);
    ~TextToXmlPage() override;

    const Ui::TextToXmlPage& ui() const { return *ui_; }

private:
    std::unique_ptr<Ui::TextToXmlPage> ui_;
};

} // namespace quillet
