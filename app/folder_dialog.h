#pragma once

#include <QString>

class QWidget;

namespace quillet {

// Where the folder buttons get their folder. Tests answer it without a dialog.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder's path in the system's own notation (a root keeps its trailing
    // separator, any other folder has none); the empty text when the user cancelled.
    virtual QString selectFolder() = 0;
};

// The program's folder dialog: modal for the whole program, the prompt "Ordner auswählen:"
// above a tree of the whole file system, nothing preselected, only folders to confirm,
// no name field and no button that makes a folder.
class FolderDialog : public FolderChooser {
public:
    explicit FolderDialog(QWidget& owner) : owner_(owner) {}
    QString selectFolder() override;

private:
    QWidget& owner_;
};

} // namespace quillet
