#include "app/controls_page.h"

#include "app/look.h"
#include "ui_controls_page.h"

namespace quillet {

ControlsPage::ControlsPage(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ControlsPage>()) {
    ui_->setupUi(this);
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton1);
}

ControlsPage::~ControlsPage() = default;

std::vector<QCheckBox*> ControlsPage::hotKeyBoxes() const {
    const Ui::ControlsPage& u = *ui_;
    return {u.CheckBox2,  u.CheckBox3,  u.CheckBox4,  u.CheckBox5,  u.CheckBox6,
            u.CheckBox7,  u.CheckBox8,  u.CheckBox10, u.CheckBox11, u.CheckBox9,
            u.CheckBox12, u.CheckBox14, u.CheckBox13, u.CheckBox15, u.CheckBox18};
}

} // namespace quillet
