#pragma once

#include "app/folder_dialog.h"
#include "app/message_boxes.h"
#include "app/notification_window.h"
#include "capture/capture_dispatch.h"
#include "capture/hotkey_registry.h"
#include "document/save_document.h"
#include "platform/platform.h"
#include "services/date_text.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QMessageBox;
class QTabWidget;

namespace quillet {

class AboutPage;
class ControlsPage;
class DeleteTagsPage;
class DocumentRecovery;
class HelpPage;
class TextToXmlPage;
class TextviewPage;

// The main window. It assembles the six pages and the notification window and connects
// the hot keys of the platform backend to the capture; each page's behaviour lives in
// the page's own class.
class MainWindow : public QWidget, public MainWindowState, public SaveWindow {
    Q_OBJECT
public:
    using BackendFactory = std::function<std::unique_ptr<PlatformBackend>(QWidget& mainWindow)>;

    // What the window needs from outside. Tests replace the backend, the waits, the date
    // and the folder dialog.
    struct Environment {
        BackendFactory backend;
        Waiter* waiter = nullptr;         // a blocking sleep when not given
        DateSource* date = nullptr;       // the system's short date when not given
        FolderChooser* folders = nullptr; // the folder dialog when not given
        // Where the recovery copy of the document lives; none is kept when empty.
        QString recoveryFolder = QString();
    };

    explicit MainWindow(Environment environment);
    ~MainWindow() override;

    // Replaces the F10 save, which is the document saver of "Save and New"; nullptr puts
    // that one back.
    void setHotKeySaver(HotKeySaver* saver) { saver_ = saver ? saver : documentSaver_.get(); }

    // One hot key delivered by the backend.
    void handleHotKey(int id);

    // Tells the user, once, when the display offers no system-wide hot keys, or which keys
    // could not be registered at start.
    void tellAboutHotKeys();

    // Offers back what the last session left unsaved and keeps the recovery copy from
    // then on; nothing without a recovery folder.
    void startRecovery();
    DocumentRecovery* recovery() const { return recovery_.get(); }

    QTabWidget& pages() const { return *pageControl_; }
    NotificationWindow& notificationWindow() { return notification_; }
    TextviewPage& textviewPage() const { return *textview_; }
    DeleteTagsPage& deleteTagsPage() const { return *deleteTags_; }
    TextToXmlPage& textToXmlPage() const { return *textToXml_; }
    ControlsPage& controlsPage() const { return *controls_; }

    // Whether a copy keystroke now would go to this program.
    Foreground foreground() const override;

    // Ctrl+Y.
    bool isNormal() const override;
    void minimize() override;
    void restoreAndActivate() override;

    // A hot-key save without a save folder.
    void restoreMainWindow() override;
    void showControlsPage() override;

public Q_SLOTS:
    void syncHotKeyRegistrations();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void tellAboutUnregisteredKeys(std::vector<UnregisteredKey> failed);
    // What the backend says cannot work on this desktop, each text once; an empty text
    // takes it back.
    void tellDesktopNotice(const QString& text);

    // The services come first: the pages are built with references to them.
    SleepingWaiter sleepingWaiter_;
    SystemDateSource systemDate_;
    FolderDialog folderDialog_{*this};
    Waiter* waiter_;
    DateSource* date_;
    FolderChooser* folders_;
    WindowMessageBoxes boxes_{*this};
    NotificationWindow notification_;

    QTabWidget* pageControl_;
    TextviewPage* textview_;
    DeleteTagsPage* deleteTags_;
    TextToXmlPage* textToXml_;
    ControlsPage* controls_;
    HelpPage* help_;
    AboutPage* about_;

    std::unique_ptr<PlatformBackend> backend_;
    std::unique_ptr<DocumentRecovery> recovery_;
    std::unique_ptr<DocumentSaver> documentSaver_;
    HotKeySaver* saver_ = nullptr;
    HighlightLedger highlights_;
    bool toldAboutHotKeys_ = false;
    std::vector<UnregisteredKey> startFailures_; // keys that could not be registered at start
    std::vector<UnregisteredKey> unregistered_;  // keys that failed at the last attempt, told
    QStringList toldNotices_;
    QMessageBox* notice_ = nullptr; // made at the first notice
};

} // namespace quillet
