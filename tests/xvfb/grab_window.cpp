// Saves what one window of the X display shows as a PNG file, for the screenshots of the
// user guide: quillet-grab-window WINDOW_ID FILE (the id as xdotool prints it).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: quillet-grab-window WINDOW_ID FILE\n", stderr);
        return 2;
    }
    bool isNumber = false;
    const WId window = QByteArray(argv[1]).toULongLong(&isNumber, 0);
    const QPixmap picture =
        isNumber ? QGuiApplication::primaryScreen()->grabWindow(window) : QPixmap();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot grab window %s into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
