#include "app/controls_page.h"

#include "app/gnome_shortcuts_report.h"
#include "app/look.h"
#include "app/message_boxes.h"
#include "platform/gnome_shortcuts.h"
#include "platform/qt_text.h"
#include "ui_controls_page.h"

namespace quillet {

ControlsPage::ControlsPage(FolderChooser& folders, QCheckBox& hideShowBox, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ControlsPage>()), folders_(folders) {
    ui_->setupUi(this);
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton1);
    connect(ui_->SpeedButton1, &QToolButton::clicked, this, &ControlsPage::chooseSaveFolder);
    // Only where GNOME's custom shortcuts are how the keys reach Quillet.
    ui_->GnomeShortcutsButton->setVisible(isGnomeWaylandSession());
    connect(ui_->GnomeShortcutsButton, &QPushButton::clicked, this,
            &ControlsPage::setUpGnomeShortcuts);

    const Ui::ControlsPage& u = *ui_;
    // clang-format off
    const std::pair<int, QCheckBox*> byId[] = {
        {1, u.CheckBox2},   {2, u.CheckBox3},   {3, u.CheckBox4},   {4, u.CheckBox5},
        {5, u.CheckBox6},   {6, u.CheckBox7},   {7, u.CheckBox8},   {8, u.CheckBox10},
        {9, u.CheckBox11},  {10, u.CheckBox9},  {11, u.CheckBox12}, {12, u.CheckBox13},
        {13, u.CheckBox14}, {14, u.CheckBox15}, {15, &hideShowBox}, {16, u.CheckBox18},
    };
    // clang-format on
    for (const auto& [id, box] : byId)
        boxes_[static_cast<std::size_t>(id - 1)] = box;
}

ControlsPage::~ControlsPage() = default;

QCheckBox& ControlsPage::hotKeyBox(int id) const {
    return *boxes_.at(static_cast<std::size_t>(id - 1));
}

std::vector<QCheckBox*> ControlsPage::hotKeyBoxes() const {
    std::vector<QCheckBox*> onThisPage;
    for (int id : HotKeyReevaluationOrder)
        if (isAncestorOf(&hotKeyBox(id)))
            onThisPage.push_back(&hotKeyBox(id));
    return onThisPage;
}

SaveSettings ControlsPage::saveSettings() const {
    return {nativePath(ui_->Edit1->text()), ui_->Edit2->text().toStdString(),
            ui_->CheckBox1->isChecked(), ui_->CheckBox20->isChecked()};
}

bool ControlsPage::isHotKeyEnabled(int id) const {
    return id >= 1 && id <= CaptureRowCount && hotKeyBox(id).isChecked();
}

std::string ControlsPage::firstUserTag() const {
    return toDocumentText(ui_->Edit4->text());
}

std::string ControlsPage::secondUserTag() const {
    return toDocumentText(ui_->Edit5->text());
}

CaseOption ControlsPage::caseOption() const {
    if (ui_->RadioButton2->isChecked())
        return CaseOption::Upper;
    if (ui_->RadioButton3->isChecked())
        return CaseOption::Lower;
    return CaseOption::Normal;
}

bool ControlsPage::recordSourceAddress() const {
    return ui_->CheckBox21->isChecked();
}

void ControlsPage::setRecordSourceAddress(bool on) {
    ui_->CheckBox21->setChecked(on);
}

void ControlsPage::chooseSaveFolder() {
    ui_->Edit1->setText(folders_.selectFolder());
}

void ControlsPage::setUpGnomeShortcuts() {
    const GnomeShortcutsReport report = quillet::setUpGnomeShortcuts();
    showMessageBox(this, shortcutsReportForBox(report),
                   report.problem == GnomeShortcutsReport::Problem::None ? BoxKind::Information
                                                                         : BoxKind::Warning,
                   {BoxButton::Ok});
}

} // namespace quillet
