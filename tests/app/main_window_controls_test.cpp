#include "app/file_list_box.h"
#include "app/look.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace quillet;

namespace {

// Width -1: a label, which sizes itself to its caption.
struct Control {
    const char* name;
    const char* page;
    const char* kind;
    const char* caption;
    const char* state;
    QRect place;
};

QRect at(int x, int y, int w = -1, int h = -1) {
    return {x, y, w, h};
}

// clang-format off
const Control controls[] = {
    {"Memo1", "TabSheet1", "memo", "", "editable wrap scroll", at(8, 8, 473, 401)},
    {"Button6", "TabSheet1", "button", "Clean", "", at(488, 288, 113, 25)},
    {"Button4", "TabSheet1", "button", "Sort Tags", "", at(488, 320, 113, 25)},
    {"Button2", "TabSheet1", "button", "Clear", "", at(488, 352, 113, 25)},
    {"Button1", "TabSheet1", "button", "Save and New", "", at(488, 384, 113, 25)},
    {"CheckBox16", "TabSheet1", "check", "Hide / Show Textview - [strg] + [y]", "checked", at(8, 408, 185, 17)},

    {"Label5", "TabSheet5", "label", "Folder with tagged textes:", "", at(16, 8)},
    {"Edit7", "TabSheet5", "edit", nullptr, "read-only", at(16, 24, 257, 25)},
    {"SpeedButton2", "TabSheet5", "speed", "", "", at(280, 24, 25, 25)},
    {"Label7", "TabSheet5", "label", "Filelist:", "", at(16, 64)},
    {"FileListBox1", "TabSheet5", "filelist", "", "", at(16, 80, 257, 337)},
    {"Label6", "TabSheet5", "label", "File-Preview:", "", at(280, 64)},
    {"Memo5", "TabSheet5", "memo", "", "read-only wrap scroll menu", at(280, 80, 313, 241)},
    {"Button3", "TabSheet5", "button", "Clean all files in directory (delete all tags)!", "", at(280, 336, 313, 25)},
    {"ProgressBar2", "TabSheet5", "progress", "", "", at(280, 360, 313, 17)},
    {"CheckBox17", "TabSheet5", "check", "Cleaned files save in new subdirectory", "checked", at(320, 384, 225, 17)},
    {"CheckBox19", "TabSheet5", "check", "Sort Tags before saving", "unchecked", at(320, 400, 169, 17)},

    {"Label8", "TabSheet6", "label", "Folder with tagged textes:", "", at(8, 8)},
    {"Edit8", "TabSheet6", "edit", "PATH", "read-only", at(8, 24, 281, 25)},
    {"SpeedButton3", "TabSheet6", "speed", "", "", at(296, 24, 25, 25)},
    {"FileListBox2", "TabSheet6", "filelist", "", "", at(8, 64, 281, 185)},
    {"Memo6", "TabSheet6", "memo", "", "read-only wrap scroll menu", at(296, 64, 297, 185)},
    {"Label9", "TabSheet6", "label", "Folder to save XML-Files:", "", at(8, 264)},
    {"Edit9", "TabSheet6", "edit", "PATH", "read-only", at(8, 280, 281, 25)},
    {"SpeedButton4", "TabSheet6", "speed", "", "", at(296, 280, 25, 25)},
    {"Bevel4", "TabSheet6", "hline", "", "", at(8, 320, 585, 17)},
    {"Button5", "TabSheet6", "button", "Transform tagged Textfiles to XML", "", at(176, 360, 249, 25)},
    {"ProgressBar1", "TabSheet6", "progress", "", "", at(176, 392, 249, 17)},
    {"Memo7", "TabSheet6", "memo", "", "read-only nowrap invisible", at(504, 304, 89, 89)},
    {"Memo8", "TabSheet6", "memo", "", "editable nowrap invisible", at(520, 280, 65, 49)},

    {"Label1", "TabSheet2", "label", "Save to folder:", "", at(16, 8)},
    {"Edit1", "TabSheet2", "edit", "PATH", "editable", at(16, 24, 257, 25)},
    {"SpeedButton1", "TabSheet2", "speed", "", "", at(280, 24, 25, 25)},
    {"Label2", "TabSheet2", "label", "Base-Filename:", "", at(16, 56)},
    {"Edit2", "TabSheet2", "edit", "MEDIENNAME_QUELLE", "editable", at(16, 72, 257, 25)},
    {"CheckBox1", "TabSheet2", "check", "Add Date to filename", "checked", at(16, 96, 129, 17)},
    {"CheckBox21", "TabSheet2", "check", "Record source address (Quelle)", "unchecked", at(336, 96, 185, 17)},
    {"Bevel1", "TabSheet2", "hline", "", "", at(16, 120, 569, 9)},
    {"Label3", "TabSheet2", "label", "Key-mode and Saveoptions:", "", at(16, 136)},
    {"CheckBox2", "TabSheet2", "check", "Tag first titel (Obertitel) - [F1]", "checked", at(16, 160, 217, 17)},
    {"CheckBox3", "TabSheet2", "check", "Tag main titel (Titel) - [F2]", "checked", at(16, 184, 193, 17)},
    {"CheckBox4", "TabSheet2", "check", "Tag second titel (Untertitel) - [F3]", "checked", at(16, 208, 241, 17)},
    {"CheckBox5", "TabSheet2", "check", "Tag Text - [F4]", "checked", at(16, 232, 137, 17)},
    {"CheckBox6", "TabSheet2", "check", "Tag Date (Erscheinungsdatum) - [F5]", "checked", at(16, 256, 241, 17)},
    {"CheckBox7", "TabSheet2", "check", "Tag current date (Aufnahmedatum) - [F6]", "checked", at(16, 280, 257, 17)},
    {"CheckBox8", "TabSheet2", "check", "Tag subject (Thema) - [F7]", "checked", at(16, 304, 193, 17)},
    {"CheckBox10", "TabSheet2", "check", "Tag - [strg] + [F8]", "unchecked", at(16, 328, 161, 17)},
    {"Edit3", "TabSheet2", "edit", "8", "editable", at(16, 344, 113, 21)},
    {"Edit4", "TabSheet2", "edit", "8", "editable", at(136, 344, 113, 21)},
    {"CheckBox11", "TabSheet2", "check", "Tag - [strg] + [F9]", "unchecked", at(16, 376, 161, 17)},
    {"Edit6", "TabSheet2", "edit", "9", "editable", at(16, 392, 113, 21)},
    {"Edit5", "TabSheet2", "edit", "9", "editable", at(136, 392, 113, 21)},
    {"CheckBox9", "TabSheet2", "check", "Save current document / New document - [F10]", "checked", at(336, 160, 249, 17)},
    {"CheckBox20", "TabSheet2", "check", "Clean before saving (Correct paragr. && syllabication)", "checked", at(336, 184, 265, 17)},
    {"CheckBox12", "TabSheet2", "check", "Copy text without tagging - [0]", "unchecked", at(336, 208, 169, 17)},
    {"CheckBox14", "TabSheet2", "check", "Tag Source (Textquelle) - [1]", "checked", at(336, 240, 209, 17)},
    {"CheckBox13", "TabSheet2", "check", "Tag author (Autor) - [2]", "checked", at(336, 264, 145, 17)},
    {"CheckBox15", "TabSheet2", "check", "Tag medium (Medium) - [3]", "checked", at(336, 288, 201, 17)},
    {"CheckBox18", "TabSheet2", "check", "Tag Page (Seitenzahl) - [4]", "checked", at(336, 312, 177, 17)},
    {"Bevel3", "TabSheet2", "hline", "", "", at(304, 336, 281, 9)},
    {"Bevel2", "TabSheet2", "vline", "", "", at(304, 344, 9, 97)},
    {"Label4", "TabSheet2", "label", "Copy everything as:", "", at(328, 352)},
    {"RadioButton1", "TabSheet2", "radio", "NormalCase- f.e.: \"This is a Text\"", "selected", at(344, 376, 185, 17)},
    {"RadioButton2", "TabSheet2", "radio", "UpperCase - e.f.: \"THIS IS A TEXT\"", "", at(344, 392, 217, 17)},
    {"RadioButton3", "TabSheet2", "radio", "LowerCase - f.e.: \"this is a text\"", "", at(344, 408, 185, 17)},

    {"Memo2", "TabSheet3", "memo", nullptr, "read-only wrap scroll", QRect()},
};
// clang-format on

// The control's kind, caption and state in the words of the table above.
QString kindOf(const QWidget* w) {
    if (qobject_cast<const FileListBox*>(w))
        return "filelist";
    if (qobject_cast<const QPlainTextEdit*>(w))
        return "memo";
    if (qobject_cast<const QPushButton*>(w))
        return "button";
    if (qobject_cast<const QToolButton*>(w))
        return "speed";
    if (qobject_cast<const QCheckBox*>(w))
        return "check";
    if (qobject_cast<const QRadioButton*>(w))
        return "radio";
    if (qobject_cast<const QLineEdit*>(w))
        return "edit";
    if (qobject_cast<const QProgressBar*>(w))
        return "progress";
    if (qobject_cast<const QLabel*>(w))
        return "label";
    if (auto* frame = qobject_cast<const QFrame*>(w)) {
        if (frame->frameShape() == QFrame::HLine)
            return "hline";
        if (frame->frameShape() == QFrame::VLine)
            return "vline";
    }
    return w->metaObject()->className();
}

QString captionOf(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* m = qobject_cast<const QPlainTextEdit*>(w))
        return m->toPlainText();
    return {};
}

QString stateOf(const QWidget* w) {
    QStringList s;
    if (auto* c = qobject_cast<const QCheckBox*>(w))
        s << (c->isChecked() ? "checked" : "unchecked");
    if (auto* r = qobject_cast<const QRadioButton*>(w))
        if (r->isChecked())
            s << "selected";
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        s << (e->isReadOnly() ? "read-only" : "editable");
    if (auto* m = qobject_cast<const QPlainTextEdit*>(w)) {
        s << (m->isReadOnly() ? "read-only" : "editable");
        s << (m->lineWrapMode() == QPlainTextEdit::NoWrap ? "nowrap" : "wrap");
        if (m->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
            s << "scroll";
        if (m->palette().color(QPalette::Base) == m->palette().color(QPalette::Window))
            s << "menu";
    }
    if (w->isHidden())
        s << "invisible";
    return s.join(' ');
}

QString pageOf(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (p->objectName().startsWith("TabSheet"))
            return p->objectName();
    return {};
}

class MainWindowControlsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QApplication::setFont(windowFont());
        window = std::make_unique<test::FakeWindow>();
    }
    void cleanupTestCase() { window.reset(); }

    void everyControl_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("hasCaption");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QRect>("place");
        for (const Control& c : controls)
            QTest::newRow(c.name) << c.page << c.kind
                                  << QString::fromUtf8(c.caption ? c.caption : "")
                                  << (c.caption != nullptr) << c.state << c.place;
    }

    void everyControl() {
        QFETCH(QString, page);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(bool, hasCaption);
        QFETCH(QString, state);
        QFETCH(QRect, place);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const auto found = window->form->findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        const QWidget* w = found.front();

        QCOMPARE(pageOf(w), page);
        QCOMPARE(kindOf(w), kind);
        if (hasCaption)
            QCOMPARE(captionOf(w), caption);
        QCOMPARE(stateOf(w), state);
        if (place.isNull())
            return;
        const QPoint topLeft = w->mapTo(w->window()->findChild<QWidget*>(page), QPoint());
        QCOMPARE(topLeft, place.topLeft());
        if (place.width() < 0)
            return;
        QCOMPARE(w->height(), place.height());
        // Check boxes may widen so that a wider substitute face does not cut the caption.
        if (kind == "check" || kind == "radio") {
            QVERIFY(w->width() >= place.width());
            QVERIFY(w->width() == place.width() || w->width() == w->sizeHint().width());
        } else {
            QCOMPARE(w->width(), place.width());
        }
    }

    void windowAndPages() {
        MainWindow& form = *window->form;
        QCOMPARE(form.windowTitle(), QString("Quillet ver. 1.4.0.1"));
        QCOMPARE(form.size(), QSize(610, 463));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

        QTabWidget& tabs = form.pages();
        QCOMPARE(tabs.objectName(), QString("PageControl1"));
        QCOMPARE(tabs.geometry(), QRect(0, 3, 610, 455));
        const QStringList names{"TabSheet1", "TabSheet5", "TabSheet6",
                                "TabSheet2", "TabSheet3", "TabSheet4"};
        const QStringList captions{"Textview", "Delete Tags", "TEXTtoXML",
                                   "Controls", "Help",        "About"};
        QCOMPARE(tabs.count(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(tabs.widget(i)->objectName(), names[i]);
            QCOMPARE(tabs.tabText(i), captions[i]);
        }
        QCOMPARE(tabs.currentIndex(), 0);
    }

    void startFolders() {
        MainWindow& form = *window->form;
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(form.findChild<QLineEdit*>("Edit7")->text(), root);
        QCOMPARE(form.findChild<FileListBox*>("FileListBox1")->directory(), root);
        QCOMPARE(form.findChild<FileListBox*>("FileListBox1")->mask(), QString("*.txt"));
        QCOMPARE(form.findChild<FileListBox*>("FileListBox2")->directory(), QString("PATH"));
        QCOMPARE(form.findChild<FileListBox*>("FileListBox2")->mask(), QString("*.txt"));
    }

    void radioButtonsAreOneGroup() {
        auto* r1 = window->form->findChild<QRadioButton*>("RadioButton1");
        auto* r3 = window->form->findChild<QRadioButton*>("RadioButton3");
        r3->click();
        QVERIFY(r3->isChecked());
        QVERIFY(!r1->isChecked());
        r1->click();
        QVERIFY(!r3->isChecked());
    }

    void labelsAreBold() {
        for (const QLabel* label : window->form->findChildren<QLabel*>())
            if (label->objectName().startsWith("Label"))
                QVERIFY2(label->font().bold(), qPrintable(label->objectName()));
    }

    void helpAndAboutTexts() {
        const QString help = window->form->findChild<QPlainTextEdit*>("Memo2")->toPlainText();
        for (const char* heading :
             {"KURZANLEITUNG (dt.):", "SCHRITT FÜR SCHRITT:", " FRAGEN UND PROBLEME:",
              "{TITEL}Das ist ein Demonstrationstitel{/TITEL}",
              "Medium, Obertitel, Titel, Untertitel, Erscheinungsdatum, Aufnahmedatum, Autor, "
              "Seitenzahl, Thema, Text, Quelle"})
            QVERIFY2(help.contains(QString::fromUtf8(heading)), heading);
        const QString about = window->form->findChild<QPlainTextEdit*>("Memo3")->toPlainText();
        QVERIFY(about.contains("1.4.0.1"));
        QVERIFY(about.contains("Licence"));
    }

private:
    std::unique_ptr<test::FakeWindow> window;
};

} // namespace

QTEST_MAIN(MainWindowControlsTest)
#include "main_window_controls_test.moc"
