#include "app/text_to_xml_page.h"

#include "app/look.h"
#include "ui_text_to_xml_page.h"

namespace quillet {

TextToXmlPage::TextToXmlPage(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TextToXmlPage>()) {
    ui_->setupUi(this);
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton3);
    giveFolderIcon(*ui_->SpeedButton4);
    useMenuBackground(*ui_->Memo6);
}

TextToXmlPage::~TextToXmlPage() = default;

} // namespace quillet
