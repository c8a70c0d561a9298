#include "app/main_window.h"

#include "app/about_page.h"
#include "app/controls_page.h"
#include "app/delete_tags_page.h"
#include "app/help_page.h"
#include "app/message_boxes.h"
#include "app/resources.h"
#include "app/text_to_xml_page.h"
#include "app/textview_page.h"
#include "capture/capture_dispatch.h"
#include "capture/hotkey_registry.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace quillet {

TForm1::TForm1(Environment environment)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint),
      waiter_(environment.waiter ? environment.waiter : &blockingWaiter_),
      date_(environment.date ? environment.date : &localeDate_),
      folders_(environment.folders ? environment.folders : &folderDialog_),
      pageControl1_(new QTabWidget(this)), textview_(new TextviewPage),
      deleteTags_(new DeleteTagsPage(pageServices())),
      textToXml_(new TextToXmlPage(pageServices())), controls_(new ControlsPage(pageServices())),
      help_(new HelpPage), about_(new AboutPage) {
    ensureResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillet ver. 1.4.0.1"));
    setWindowIcon(QIcon(QStringLiteral(":/quillet/quillet.svg")));
    setFixedSize(610, 463);

    pageControl1_->setObjectName(QStringLiteral("PageControl1"));
    pageControl1_->setGeometry(0, 3, 610, 455);
    pageControl1_->setDocumentMode(true);
    pageControl1_->tabBar()->setDrawBase(false);
    pageControl1_->addTab(textview_, QStringLiteral("Textview"));
    pageControl1_->addTab(deleteTags_, QStringLiteral("Delete Tags"));
    pageControl1_->addTab(textToXml_, QStringLiteral("TEXTtoXML"));
    pageControl1_->addTab(controls_, QStringLiteral("Controls"));
    pageControl1_->addTab(help_, QStringLiteral("Help"));
    pageControl1_->addTab(about_, QStringLiteral("About"));
    pageControl1_->setCurrentIndex(0);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    saveWindow_ =
        std::make_unique<ControlsPageSaveWindow>(windowState_, *pageControl1_, *controls_);
    documentSaver_ = std::make_unique<DocumentSaver>(
        *controls_,
        SaveServices{textview_->document(), notifier_, boxes_, failures_, *date_, *saveWindow_});
    textview_->setSaveRoutine(documentSaver_.get());
    saver_ = documentSaver_.get();

    backend_ = environment.backend(*this);
    backend_->setHotKeyHandler([this](int id) { WMHotKey(id); });
    FormCreate();

    // Any change of a box re-evaluates, as a click does; CheckBox16 is not among them.
    for (QCheckBox* box : controls_->hotKeyBoxes())
        connect(box, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::FormCreate() {
    registerStartHotKeys(*backend_);
    deleteTags_->showFolder(QDir::toNativeSeparators(QDir::rootPath()));
}

void TForm1::FormDestroy() {
    releaseHotKeys(*backend_);
}

void TForm1::CheckBox2Click() {
    quillet::CheckBox2Click(*backend_, options_);
}

PageServices TForm1::pageServices() {
    return {*folders_, boxes_, failures_, *date_};
}

void TForm1::WMHotKey(int id) {
    CaptureServices services{
        textview_->document(), *backend_, *backend_, *waiter_, *date_, notifier_, failures_,
        windowState_,          options_,  *saver_};
    quillet::WMHotKey(id, services);
}

void TForm1::tellIfNoSystemHotKeys() {
    if (toldAboutHotKeys_ || backend_->hasSystemHotKeys())
        return;
    toldAboutHotKeys_ = true;
    messageDlg(this,
               QStringLiteral("Systemweite Tastenkürzel sind auf dieser Anzeige nicht verfügbar. "
                              "F1 bis F10, die Tasten 0 bis 4 und Strg+Y werden nicht abgefangen; "
                              "alle anderen Funktionen stehen zur Verfügung."),
               BoxKind::Information, {BoxButton::Ok});
}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The notification window may still be up; closing the main window ends the program.
    if (event->isAccepted())
        QCoreApplication::quit();
}

} // namespace quillet
