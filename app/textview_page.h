#pragma once

#include "app/memo_text_view.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TextviewPage;
}

namespace quillet {

// The "Textview" page: the document `Memo1` and the buttons that work on it as a whole.
class TextviewPage : public QWidget {
    Q_OBJECT
public:
    explicit TextviewPage(QWidget* parent = nullptr);
    ~TextviewPage() override;

    TextView& document() { return document_; }
    const Ui::TextviewPage& ui() const { return *ui_; }

public Q_SLOTS:
    void Button6Click();
    void Button4Click();
    void Button2Click();

private:
    std::unique_ptr<Ui::TextviewPage> ui_;
    MemoTextView document_;
};

} // namespace quillet
