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
    connect(ui_->Button6, &QPushButton::clicked, this, &TextviewPage::Button6Click);
    connect(ui_->Button4, &QPushButton::clicked, this, &TextviewPage::Button4Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TextviewPage::Button2Click);
    connect(ui_->Button1, &QPushButton::clicked, this, &TextviewPage::Button1Click);
}

TextviewPage::~TextviewPage() = default;

void TextviewPage::Button6Click() {
    document_.setText(CleanText(document_.text()));
}

void TextviewPage::Button4Click() {
    document_.setText(SortTags(document_.text()));
}

void TextviewPage::Button2Click() {
    document_.setText({});
}

void TextviewPage::Button1Click() {
    if (saver_)
        saver_->saveFromButton();
}

} // namespace quillet
