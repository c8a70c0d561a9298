#pragma once

#include "app/page_services.h"
#include "document/save_document.h"

#include <QWidget>

#include <memory>
#include <vector>

class QCheckBox;

namespace Ui {
class ControlsPage;
}

namespace quillet {

// The "Controls" page: save folder and name, the hot-key boxes and the case option.
class ControlsPage : public QWidget, public SaveSettingsSource {
    Q_OBJECT
public:
    explicit ControlsPage(const PageServices& services, QWidget* parent = nullptr);
    ~ControlsPage() override;

    const Ui::ControlsPage& ui() const { return *ui_; }

    // The fifteen boxes that switch hot keys on and off (CheckBox16 is on "Textview").
    std::vector<QCheckBox*> hotKeyBoxes() const;

    // Edit1, Edit2, CheckBox1 and CheckBox20 as they are now.
    SaveSettings saveSettings() const override;

public Q_SLOTS:
    void SpeedButton1Click();

private:
    std::unique_ptr<Ui::ControlsPage> ui_;
    PageServices services_;
};

} // namespace quillet
