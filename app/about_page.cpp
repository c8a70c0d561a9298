#include "app/about_page.h"

#include "app/resources.h"
#include "platform/qt_text.h"
#include "quillet_version.h"
#include "ui_about_page.h"

#include <QIcon>

namespace quillet {

AboutPage::AboutPage(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::AboutPage>()) {
    ui_->setupUi(this);
    ui_->Image1->setPixmap(QIcon(QStringLiteral(":/quillet/quillet.svg")).pixmap(64, 64));
    const QString version = toDisplayText(Version);
    ui_->Label11->setText(QStringLiteral("Version ") + version);
    ui_->Memo3->setPlainText(resourceText(QStringLiteral(":/quillet/about.txt"))
                                 .replace(QStringLiteral("@VERSION@"), version));
}

AboutPage::~AboutPage() = default;

} // namespace quillet
