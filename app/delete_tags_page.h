#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class DeleteTagsPage;
}

namespace quillet {

// The "Delete Tags" page: a folder of tagged files, its list, a preview and the button
// that strips the tags of every file.
class DeleteTagsPage : public QWidget {
    Q_OBJECT
public:
    explicit DeleteTagsPage(QWidget* parent = nullptr);
    ~DeleteTagsPage() override;

    const Ui::DeleteTagsPage& ui() const { return *ui_; }

    // Shows a folder in `Edit7` and lists its files in `FileListBox1`.
    void showFolder(const QString& folder);

private:
    std::unique_ptr<Ui::DeleteTagsPage> ui_;
};

} // namespace quillet
