#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class HelpPage;
}

namespace quillet {

// The "Help" page: the German quick guide.
class HelpPage : public QWidget {
    Q_OBJECT
public:
    explicit HelpPage(QWidget* parent = nullptr);
    ~HelpPage() override;

private:
    std::unique_ptr<Ui::HelpPage> ui_;
};

} // namespace quillet
