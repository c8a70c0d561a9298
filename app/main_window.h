#pragma once

#include "app/capture_adapters.h"
#include "app/folder_dialog.h"
#include "app/operation_adapters.h"
#include "app/page_services.h"
#include "document/save_document.h"
#include "platform/platform.h"

#include <QWidget>

#include <functional>
#include <memory>

class QTabWidget;

namespace quillet {

class AboutPage;
class ControlsPage;
class DeleteTagsPage;
class HelpPage;
class TextToXmlPage;
class TextviewPage;
class TForm2;

// The main window. It assembles the six pages and connects the hot keys of the platform
// backend to the capture; each page's behaviour lives in the page's own class.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    using BackendFactory = std::function<std::unique_ptr<PlatformBackend>(QWidget& mainWindow)>;

    // What the window needs from outside. Tests replace the backend, the waits, the date
    // and the folder dialog.
    struct Environment {
        BackendFactory backend;
        Waiter* waiter = nullptr;         // a blocking sleep when not given
        DateSource* date = nullptr;       // the locale's short date when not given
        FolderChooser* folders = nullptr; // the folder dialog when not given
    };

    explicit TForm1(Environment environment);
    ~TForm1() override;

    void setNotificationWindow(TForm2* window) { notifier_.setWindow(window); }
    // Replaces the F10 save, which is the document saver of "Save and New"; nullptr puts
    // that one back.
    void setHotKeySaver(HotKeySaver* saver) { saver_ = saver ? saver : documentSaver_.get(); }

    // One hot key delivered by the backend.
    void WMHotKey(int id);

    // Tells the user, once, when the display offers no system-wide hot keys.
    void tellIfNoSystemHotKeys();

    QTabWidget& PageControl1() const { return *pageControl1_; }
    TextviewPage& textviewPage() const { return *textview_; }
    DeleteTagsPage& deleteTagsPage() const { return *deleteTags_; }
    TextToXmlPage& textToXmlPage() const { return *textToXml_; }
    ControlsPage& controlsPage() const { return *controls_; }

public Q_SLOTS:
    void CheckBox2Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    PageServices pageServices();

    // The services come first: the pages are built with references to them.
    BlockingWaiter blockingWaiter_;
    LocaleDateSource localeDate_;
    FolderDialog folderDialog_{*this};
    Waiter* waiter_;
    DateSource* date_;
    FolderChooser* folders_;
    ErrorBoxReporter failures_{*this};
    WindowMessageBoxes boxes_{*this};

    QTabWidget* pageControl1_;
    TextviewPage* textview_;
    DeleteTagsPage* deleteTags_;
    TextToXmlPage* textToXml_;
    ControlsPage* controls_;
    HelpPage* help_;
    AboutPage* about_;

    std::unique_ptr<PlatformBackend> backend_;
    WindowCaptureOptions options_{*this};
    WindowStateSwitch windowState_{*this};
    NotificationWindowNotifier notifier_;
    std::unique_ptr<ControlsPageSaveWindow> saveWindow_;
    std::unique_ptr<DocumentSaver> documentSaver_;
    HotKeySaver* saver_ = nullptr;
    bool toldAboutHotKeys_ = false;
};

} // namespace quillet
