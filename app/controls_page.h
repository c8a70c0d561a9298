#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class QCheckBox;

namespace Ui {
class ControlsPage;
}

namespace quillet {

// The "Controls" page: save folder and name, the hot-key boxes and the case option.
class ControlsPage : public QWidget {
    Q_OBJECT
public:
    explicit ControlsPage(QWidget* parent = nullptr);
    ~ControlsPage() override;

    const Ui::ControlsPage& ui() const { return *ui_; }

    // The fifteen boxes that switch hot keys on and off (CheckBox16 is on "Textview").
    std::vector<QCheckBox*> hotKeyBoxes() const;

private:
    std::unique_ptr<Ui::ControlsPage> ui_;
};

} // namespace quillet
