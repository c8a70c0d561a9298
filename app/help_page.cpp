#include "app/help_page.h"

#include "app/resources.h"
#include "ui_help_page.h"

namespace quillet {

HelpPage::HelpPage(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::HelpPage>()) {
    ui_->setupUi(this);
    QPalette palette = ui_->Memo2->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Midlight));
    ui_->Memo2->setPalette(palette);
    ui_->Memo2->setPlainText(resourceText(QStringLiteral(":/quillet/help_de.txt")));
}

HelpPage::~HelpPage() = default;

} // namespace quillet
