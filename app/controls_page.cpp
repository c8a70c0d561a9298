#include "app/controls_page.h"

#include "app/look.h"
#include "ui_controls_page.h"

namespace quillet {

ControlsPage::ControlsPage(const PageServices& services, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ControlsPage>()), services_(services) {
    ui_->setupUi(this);
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton1);
    connect(ui_->SpeedButton1, &QToolButton::clicked, this, &ControlsPage::SpeedButton1Click);
}

ControlsPage::~ControlsPage() = default;

std::vector<QCheckBox*> ControlsPage::hotKeyBoxes() const {
    const Ui::ControlsPage& u = *ui_;
    return {u.CheckBox2,  u.CheckBox3,  u.CheckBox4,  u.CheckBox5,  u.CheckBox6,
            u.CheckBox7,  u.CheckBox8,  u.CheckBox10, u.CheckBox11, u.CheckBox9,
            u.CheckBox12, u.CheckBox14, u.CheckBox13, u.CheckBox15, u.CheckBox18};
}

SaveSettings ControlsPage::saveSettings() const {
    return {ui_->Edit1->text(), ui_->Edit2->text(), ui_->CheckBox1->isChecked(),
            ui_->CheckBox20->isChecked()};
}

void ControlsPage::SpeedButton1Click() {
    ui_->Edit1->setText(services_.folders.SelectFolder());
}

} // namespace quillet
