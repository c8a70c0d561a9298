#pragma once

#include "app/memo_text_view.h"

#include <QWidget>

#include <memory>

class QCheckBox;

namespace Ui {
class TextviewPage;
}

namespace quillet {

class DocumentSaver;

// The "Textview" page: the document `Memo1` and the buttons that work on it as a whole.
class TextviewPage : public QWidget {
    Q_OBJECT
public:
    explicit TextviewPage(QWidget* parent = nullptr);
    ~TextviewPage() override;

    MemoTextView& document() { return document_; }
    const Ui::TextviewPage& ui() const { return *ui_; }
    // CheckBox16: whether Ctrl+Y hides and shows the window.
    QCheckBox& hideShowBox() const;

    // What "Save and New" runs; the main window hands it over once it is built.
    void setSaveRoutine(DocumentSaver* saver) { saver_ = saver; }

public Q_SLOTS:
    void cleanDocument();
    void sortDocument();
    void clearDocument();
    void saveAndNew();

private:
    std::unique_ptr<Ui::TextviewPage> ui_;
    MemoTextView document_;
    DocumentSaver* saver_ = nullptr;
};

} // namespace quillet
