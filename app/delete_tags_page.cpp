#include "app/delete_tags_page.h"

#include "app/look.h"
#include "files/text_file.h"
#include "platform/qt_text.h"
#include "ui_delete_tags_page.h"

namespace quillet {

DeleteTagsPage::DeleteTagsPage(FolderChooser& folders, WindowMessageBoxes& boxes, DateSource& date,
                               QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::DeleteTagsPage>()), folders_(folders),
      boxes_(boxes), date_(date), preview_((ui_->setupUi(this), *ui_->Memo5)),
      progress_(*ui_->ProgressBar2) {
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton2);
    useMenuBackground(*ui_->Memo5);
    connect(ui_->SpeedButton2, &QToolButton::clicked, this, &DeleteTagsPage::chooseFolder);
    connect(ui_->FileListBox1, &QListWidget::itemSelectionChanged, this,
            &DeleteTagsPage::previewSelectedFile);
    connect(ui_->Button3, &QPushButton::clicked, this, &DeleteTagsPage::stripAllFiles);
}

DeleteTagsPage::~DeleteTagsPage() {
    // The list outlives this part of the page; its last selection change must not come here.
    QObject::disconnect(ui_->FileListBox1, nullptr, this, nullptr);
}

void DeleteTagsPage::showFolder(const QString& folder) {
    ui_->Edit7->setText(folder);
    ui_->FileListBox1->setDirectory(ui_->Edit7->text());
}

void DeleteTagsPage::chooseFolder() {
    showFolder(folders_.selectFolder());
}

void DeleteTagsPage::previewSelectedFile() {
    const NativePath path = ui_->FileListBox1->selectedPath();
    if (!path.empty())
        loadTextFile(path, preview_, boxes_);
}

void DeleteTagsPage::stripAllFiles() {
    // The list is not read again: what the user saw is what gets stripped.
    stripFolder(ui_->FileListBox1->files(), nativePath(ui_->Edit7->text()),
                {*this, preview_, progress_, boxes_, boxes_, date_});
}

bool DeleteTagsPage::subfolderMode() const {
    return ui_->CheckBox17->isChecked();
}

void DeleteTagsPage::checkSubfolderMode() {
    ui_->CheckBox17->setChecked(true);
}

bool DeleteTagsPage::sortBeforeStripping() const {
    return ui_->CheckBox19->isChecked();
}

} // namespace quillet
