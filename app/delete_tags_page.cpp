#include "app/delete_tags_page.h"

#include "app/look.h"
#include "ui_delete_tags_page.h"

namespace quillet {

DeleteTagsPage::DeleteTagsPage(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::DeleteTagsPage>()) {
    ui_->setupUi(this);
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton2);
    useMenuBackground(*ui_->Memo5);
}

DeleteTagsPage::~DeleteTagsPage() = default;

void DeleteTagsPage::showFolder(const QString& folder) {
    ui_->Edit7->setText(folder);
    ui_->FileListBox1->setDirectory(ui_->Edit7->text());
}

} // namespace quillet
