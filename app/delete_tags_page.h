#pragma once

#include "app/folder_dialog.h"
#include "app/memo_text_view.h"
#include "app/message_boxes.h"
#include "app/repainting_progress_bar.h"
#include "batch/strip_folder.h"

#include <QWidget>

#include <memory>

namespace Ui {
class DeleteTagsPage;
}

namespace quillet {

// The "Delete Tags" page: a folder of tagged files, its list, a preview and the button
// that strips the tags of every file.
class DeleteTagsPage : public QWidget, private StripFolderControls {
    Q_OBJECT
public:
    DeleteTagsPage(FolderChooser& folders, WindowMessageBoxes& boxes, DateSource& date,
                   QWidget* parent = nullptr);
    ~DeleteTagsPage() override;

    const Ui::DeleteTagsPage& ui() const { return *ui_; }

    // Shows a folder in `Edit7` and lists its files in `FileListBox1`.
    void showFolder(const QString& folder);

public Q_SLOTS:
    void chooseFolder();
    void previewSelectedFile();
    void stripAllFiles();

private:
    bool subfolderMode() const override;
    void checkSubfolderMode() override;
    bool sortBeforeStripping() const override;

    std::unique_ptr<Ui::DeleteTagsPage> ui_;
    FolderChooser& folders_;
    WindowMessageBoxes& boxes_;
    DateSource& date_;
    MemoTextView preview_; // Memo5, also the batch's work buffer
    RepaintingProgressBar progress_;
};

} // namespace quillet
