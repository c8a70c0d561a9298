#pragma once

#include "app/folder_dialog.h"
#include "capture/capture_services.h"
#include "capture/capture_table.h"
#include "document/save_document.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;

namespace Ui {
class ControlsPage;
}

namespace quillet {

// The "Controls" page: save folder and name, the hot-key boxes, the user's tag names, the
// case option and whether to record the page's address. It answers the capture's and the save's
// questions about them.
class ControlsPage : public QWidget, public SaveSettingsSource, public CaptureOptions {
    Q_OBJECT
public:
    // `hideShowBox` is the box of Ctrl+Y, which stands on the "Textview" page.
    ControlsPage(FolderChooser& folders, QCheckBox& hideShowBox, QWidget* parent = nullptr);
    ~ControlsPage() override;

    const Ui::ControlsPage& ui() const { return *ui_; }

    // The box that switches hot key `id` (1..16) on and off.
    QCheckBox& hotKeyBox(int id) const;
    // The fifteen boxes of this page, in the order they are re-evaluated; any change of
    // one of them re-evaluates every registration.
    std::vector<QCheckBox*> hotKeyBoxes() const;

    // Edit1, Edit2, CheckBox1 and CheckBox20 as they are now.
    SaveSettings saveSettings() const override;

    bool isHotKeyEnabled(int id) const override;
    std::string firstUserTag() const override;  // Edit4
    std::string secondUserTag() const override; // Edit5
    CaseOption caseOption() const override;
    bool recordSourceAddress() const override; // CheckBox21
    // `quillet --record-source` checks it at start.
    void setRecordSourceAddress(bool on);

public Q_SLOTS:
    void chooseSaveFolder();
    // GNOME's custom shortcuts for the keys, and a box that says what was done.
    void setUpGnomeShortcuts();

private:
    std::unique_ptr<Ui::ControlsPage> ui_;
    FolderChooser& folders_;
    std::array<QCheckBox*, CaptureRowCount> boxes_{}; // by identifier - 1
};

} // namespace quillet
