#include "app/textview_page.h"

#include "app/look.h"
#include "document/clean_text.h"
#include "document/save_document.h"
#include "document/sort_tags.h"
#include "ui_textview_page.h"

namespace quillet {

TextviewPage::TextviewPage(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TextviewPage>()),
      document_((ui_->setupUi(this), *ui_->Memo1)) {
    fitCaptions(*this);
    connect(ui_->Button6, &QPushButton::clicked, this, &TextviewPage::cleanDocument);
    connect(ui_->Button4, &QPushButton::clicked, this, &TextviewPage::sortDocument);
    connect(ui_->Button2, &QPushButton::clicked, this, &TextviewPage::clearDocument);
    connect(ui_->Button1, &QPushButton::clicked, this, &TextviewPage::saveAndNew);
}

TextviewPage::~TextviewPage() = default;

QCheckBox& TextviewPage::hideShowBox() const {
    return *ui_->CheckBox16;
}

void TextviewPage::cleanDocument() {
    document_.setText(cleanText(document_.text()));
}

void TextviewPage::sortDocument() {
    document_.setText(sortTags(document_.text()));
}

void TextviewPage::clearDocument() {
    document_.setText({});
}

void TextviewPage::saveAndNew() {
    if (saver_)
        saver_->saveFromButton();
}

} // namespace quillet
