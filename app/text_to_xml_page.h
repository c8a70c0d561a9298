#pragma once

#include "app/folder_dialog.h"
#include "app/memo_text_view.h"
#include "app/message_boxes.h"
#include "app/repainting_progress_bar.h"

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
    TextToXmlPage(FolderChooser& folders, WindowMessageBoxes& boxes, QWidget* parent = nullptr);
    ~TextToXmlPage() override;

    const Ui::TextToXmlPage& ui() const { return *ui_; }

public Q_SLOTS:
    void chooseSourceFolder();
    void chooseTargetFolder();
    void previewSelectedFile();
    void exportFolder();

private:
    std::unique_ptr<Ui::TextToXmlPage> ui_;
    FolderChooser& folders_;
    WindowMessageBoxes& boxes_;
    MemoTextView preview_; // Memo6
    RepaintingProgressBar progress_;
};

} // namespace quillet
