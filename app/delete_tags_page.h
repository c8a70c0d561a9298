#pragma once

#include "app/memo_text_view.h"
#include "app/operation_adapters.h"
#include "app/page_services.h"
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
    explicit DeleteTagsPage(const PageServices& services, QWidget* parent = nullptr);
    ~DeleteTagsPage() override;

    const Ui::DeleteTagsPage& ui() const { return *ui_; }

    // Shows a folder in `Edit7` and lists its files in `FileListBox1`.
    void showFolder(const QString& folder);

public Q_SLOTS:
    void SpeedButton2Click();
    void FileListBox1Click();
    void Button3Click();

private:
    bool subfolderMode() const override;
    void checkSubfolderMode() override;
    bool sortBeforeStripping() const override;

    std::unique_ptr<Ui::DeleteTagsPage> ui_;
    PageServices services_;
    MemoTextView preview_; // Memo5, also the batch's work buffer
    RepaintingProgressBar progress_;
};

} // namespace quillet
