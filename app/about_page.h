#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class AboutPage;
}

namespace quillet {

// The "About" page: name, version and licence.
class AboutPage : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);
    ~AboutPage() override;

private:
    std::unique_ptr<Ui::AboutPage> ui_;
};

} // namespace quillet
