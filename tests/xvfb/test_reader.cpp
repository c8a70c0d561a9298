// A stand-in for the program the user reads in: one window whose text is all selected and
// which answers Ctrl+C by copying it, as a browser would. Driven through stdin, one command a
// line ("select TEXT" replaces the text and selects it; "activate" asks for the focus;
// "count PREFIX" makes every following Ctrl+C copy "PREFIX 1", "PREFIX 2", ..., as if the
// user selected a new sentence before each key; "delay MS" makes every following copy land
// MS later, as from a program busy collecting a large selection; "grab KEY" takes the key
// from every other program, as a second hot-key tool would); it reports on stdout:
// "window ID" once shown, "selected" after each change, "counting", "delaying" and
// "grabbed" when told, "copied N" for each counted copy, "landed" when a delayed copy is
// on the clipboard, "key NAME" for every key press
// that reaches it, "active" and "inactive" when it gains and loses the focus.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

void grabKey(const QString& keysym);

void say(const QString& line) {
    std::cout << line.toStdString() << std::endl;
}

class KeyLog : public QObject {
public:
    explicit KeyLog(QPlainTextEdit& field) : field_(field) {}

    void countWith(const QString& prefix) {
        prefix_ = prefix;
        copies_ = 0;
    }
    void delayBy(int ms) { delayMs_ = ms; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && !isModifierOnly(key->key()))
                say("key " + QKeySequence(key->keyCombination()).toString());
            if (!prefix_.isEmpty() && key->matches(QKeySequence::Copy)) {
                // A new selection just before the field copies it.
                field_.setPlainText(prefix_ + QLatin1Char(' ') + QString::number(++copies_));
                field_.selectAll();
                say(QStringLiteral("copied ") + QString::number(copies_));
            }
            if (delayMs_ > 0 && key->matches(QKeySequence::Copy)) {
                QTimer::singleShot(delayMs_, [text = field_.toPlainText()] {
                    QGuiApplication::clipboard()->setText(text);
                    say(QStringLiteral("landed"));
                });
                return true; // instead of the field's own copy at once
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isModifierOnly(int key) {
        return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
               key == Qt::Key_Meta || key == Qt::Key_NumLock || key == Qt::Key_CapsLock ||
               key == Qt::Key_ScrollLock;
    }

    QPlainTextEdit& field_;
    QString prefix_;
    int copies_ = 0;
    int delayMs_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Reader"));
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QPlainTextEdit(&window);
    field->setObjectName(QStringLiteral("selection"));
    field->setReadOnly(true); // keys that get through must not change the selection
    layout->addWidget(field);
    KeyLog log(*field);
    field->installEventFilter(&log);
    window.resize(400, 120);
    window.move(50, 50);
    window.show();
    field->setFocus();
    say("window " + QString::number(window.winId()));
    // Under Wayland nobody outside can ask which window has the focus; the reader says.
    QObject::connect(&app, &QGuiApplication::applicationStateChanged,
                     [](Qt::ApplicationState state) {
                         say(state == Qt::ApplicationActive ? QStringLiteral("active")
                                                            : QStringLiteral("inactive"));
                     });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const QString line = QString::fromUtf8(pending.data(), static_cast<qsizetype>(end));
            pending.erase(0, end + 1);
            if (line.startsWith(QStringLiteral("select "))) {
                // "\n" in a command stands for a line break of the selected text.
                QString text = line.mid(7);
                text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
                field->setPlainText(text);
                field->selectAll();
                say(QStringLiteral("selected"));
            } else if (line.startsWith(QStringLiteral("count "))) {
                log.countWith(line.mid(6));
                say(QStringLiteral("counting"));
            } else if (line.startsWith(QStringLiteral("delay "))) {
                log.delayBy(line.mid(6).toInt());
                say(QStringLiteral("delaying"));
            } else if (line.startsWith(QStringLiteral("grab "))) {
                grabKey(line.mid(5));
                say(QStringLiteral("grabbed"));
            } else if (line == QStringLiteral("activate")) {
                window.activateWindow();
                window.raise();
                field->setFocus();
                say(QStringLiteral("activated"));
            }
        }
    });
    return app.exec();
}

// Last: Xlib's macros clash with Qt's names.
#include <X11/Xlib.h>

namespace {

// With any modifiers, so that no lock combination of the key is left for another program.
void grabKey(const QString& keysym) {
    Display* d = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(qPrintable(keysym)));
    XGrabKey(d, code, AnyModifier, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync);
    XSync(d, False);
}

} // namespace
