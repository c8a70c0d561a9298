#include "app/main_window.h"

#include "app/about_page.h"
#include "app/controls_page.h"
#include "app/delete_tags_page.h"
#include "app/document_recovery.h"
#include "app/help_page.h"
#include "app/message_boxes.h"
#include "app/resources.h"
#include "app/text_to_xml_page.h"
#include "app/textview_page.h"
#include "capture/capture_dispatch.h"
#include "capture/capture_table.h"
#include "capture/hotkey_registry.h"
#include "platform/qt_text.h"
#include "quillet_version.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace quillet {

namespace {

QString keyName(int id) {
    const std::string_view key = findCaptureRow(id)->key;
    QString name = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    name.replace(QStringLiteral("Ctrl+"), QStringLiteral("Strg+"));
    return name;
}

} // namespace

MainWindow::MainWindow(Environment environment)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint),
      waiter_(environment.waiter ? environment.waiter : &sleepingWaiter_),
      date_(environment.date ? environment.date : &systemDate_),
      folders_(environment.folders ? environment.folders : &folderDialog_),
      pageControl_(new QTabWidget(this)), textview_(new TextviewPage),
      deleteTags_(new DeleteTagsPage(*folders_, boxes_, *date_)),
      textToXml_(new TextToXmlPage(*folders_, boxes_)),
      controls_(new ControlsPage(*folders_, textview_->hideShowBox())), help_(new HelpPage),
      about_(new AboutPage) {
    ensureResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toDisplayText(MainWindowTitle));
    setWindowIcon(QIcon(QStringLiteral(":/quillet/quillet.svg")));
    setFixedSize(610, 463);

    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->setGeometry(0, 3, 610, 455);
    pageControl_->setDocumentMode(true);
    pageControl_->tabBar()->setDrawBase(false);
    pageControl_->addTab(textview_, QStringLiteral("Textview"));
    pageControl_->addTab(deleteTags_, QStringLiteral("Delete Tags"));
    pageControl_->addTab(textToXml_, QStringLiteral("TEXTtoXML"));
    pageControl_->addTab(controls_, QStringLiteral("Controls"));
    pageControl_->addTab(help_, QStringLiteral("Help"));
    pageControl_->addTab(about_, QStringLiteral("About"));
    pageControl_->setCurrentIndex(0);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    documentSaver_ = std::make_unique<DocumentSaver>(
        *controls_,
        SaveServices{textview_->document(), notification_, boxes_, boxes_, *date_, *this});
    textview_->setSaveRoutine(documentSaver_.get());
    saver_ = documentSaver_.get();

    if (!environment.recoveryFolder.isEmpty())
        recovery_ = std::make_unique<DocumentRecovery>(textview_->document(),
                                                       environment.recoveryFolder, *this);

    backend_ = environment.backend(*this);
    backend_->setHotKeyHandler([this](int id) { handleHotKey(id); });
    backend_->setNoticeHandler([this](const QString& text) { tellDesktopNotice(text); });
    startFailures_ = registerStartHotKeys(*backend_);
    deleteTags_->showFolder(QDir::toNativeSeparators(QDir::rootPath()));

    // Any change of a box re-evaluates, as a click does; CheckBox16 is not among them.
    for (QCheckBox* box : controls_->hotKeyBoxes())
        connect(box, &QCheckBox::toggled, this, &MainWindow::syncHotKeyRegistrations);
}

MainWindow::~MainWindow() {
    // The last changes go into the copy while the text view is still there.
    recovery_.reset();
    releaseHotKeys(*backend_);
}

void MainWindow::startRecovery() {
    if (recovery_)
        recovery_->start();
}

void MainWindow::syncHotKeyRegistrations() {
    tellAboutUnregisteredKeys(quillet::syncHotKeyRegistrations(*backend_, *controls_));
}

// A key that stays taken is told about once, not again at every click of a box; it is news
// again after it worked or was switched off in between, or when it fails for another
// reason. Each reason has its own paragraph, in one box.
void MainWindow::tellAboutUnregisteredKeys(std::vector<UnregisteredKey> failed) {
    if (!backend_->hasSystemHotKeys())
        return; // said once, for all keys
    QStringList taken, missing, refused;
    for (const UnregisteredKey& key : failed) {
        if (std::find(unregistered_.begin(), unregistered_.end(), key) != unregistered_.end())
            continue;
        (key.why == HotKeyResult::Taken       ? taken
         : key.why == HotKeyResult::NoSuchKey ? missing
                                              : refused)
            << keyName(key.id);
    }
    unregistered_ = std::move(failed);
    QStringList paragraphs;
    if (!taken.isEmpty())
        paragraphs << QStringLiteral("Diese Tastenkürzel sind schon von einem anderen Programm "
                                     "belegt und bleiben ohne Wirkung: %1.\n\nSind sie wieder "
                                     "frei, meldet ein Klick auf ein Kästchen der Seite "
                                     "\"Controls\" sie an.")
                          .arg(taken.join(QStringLiteral(", ")));
    if (!missing.isEmpty())
        paragraphs << QStringLiteral("Diese Tasten gibt es auf der Tastatur nicht, ihre "
                                     "Tastenkürzel bleiben ohne Wirkung: %1.\n\nNach einem "
                                     "Wechsel der Tastaturbelegung meldet ein Klick auf ein "
                                     "Kästchen der Seite \"Controls\" sie an.")
                          .arg(missing.join(QStringLiteral(", ")));
    if (!refused.isEmpty())
        paragraphs << QStringLiteral("Diese Tastenkürzel konnten nicht angemeldet werden und "
                                     "bleiben ohne Wirkung: %1.")
                          .arg(refused.join(QStringLiteral(", ")));
    if (!paragraphs.isEmpty())
        showMessageBox(this, paragraphs.join(QStringLiteral("\n\n")), BoxKind::Warning,
                       {BoxButton::Ok});
}

void MainWindow::handleHotKey(int id) {
    CaptureServices services{textview_->document(),
                             *backend_,
                             *backend_,
                             *waiter_,
                             *date_,
                             notification_,
                             boxes_,
                             *this,
                             *controls_,
                             *saver_,
                             highlights_};
    quillet::handleHotKey(id, services);
}

// Only the keyboard focus decides: a box that is open behind the program the user reads
// in takes nothing from it.
Foreground MainWindow::foreground() const {
    if (!backend_->isOwnWindowInFront())
        return Foreground::OtherProgram;
    return QApplication::activeModalWidget() ? Foreground::OwnBox : Foreground::OwnWindow;
}

bool MainWindow::isNormal() const {
    return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

void MainWindow::minimize() {
    showMinimized();
}

void MainWindow::restoreAndActivate() {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    activateWindow();
    raise();
}

void MainWindow::restoreMainWindow() {
    restoreAndActivate();
}

void MainWindow::showControlsPage() {
    pageControl_->setCurrentWidget(controls_);
}

void MainWindow::tellAboutHotKeys() {
    if (toldAboutHotKeys_)
        return;
    toldAboutHotKeys_ = true;
    if (backend_->hasSystemHotKeys()) {
        tellAboutUnregisteredKeys(startFailures_);
        return;
    }
    showMessageBox(
        this,
        QStringLiteral("Systemweite Tastenkürzel sind auf dieser Anzeige nicht verfügbar. "
                       "F1 bis F10, die Tasten 0 bis 4 und Strg+Y werden nicht abgefangen; "
                       "alle anderen Funktionen stehen zur Verfügung."),
        BoxKind::Information, {BoxButton::Ok});
}

// A window of its own that blocks nothing and does not take the keyboard from the program
// the user reads in; closed with its button, or by the backend once the keys work.
void MainWindow::tellDesktopNotice(const QString& text) {
    if (text.isEmpty()) {
        if (notice_)
            notice_->hide();
        return;
    }
    if (toldNotices_.contains(text))
        return;
    toldNotices_ << text;
    if (!notice_) {
        notice_ = new QMessageBox(QMessageBox::Information, QStringLiteral("Information"), {},
                                  QMessageBox::NoButton, this);
        notice_->setObjectName(QStringLiteral("DesktopNotice"));
        notice_->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        notice_->setWindowModality(Qt::NonModal);
        notice_->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    notice_->setText(text);
    notice_->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The notification window may still be up; closing the main window ends the program.
    if (event->isAccepted())
        QCoreApplication::quit();
}

} // namespace quillet
