// Saves a picture of one X11 window (by id) or of the whole screen to a PNG file. The run script
// uses it to show what the program looks like when it runs headless under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cirrolux-screengrab OUT.png [window-id]\n");
        return 2;
    }
    const WId window = argc > 2 ? WId(QString::fromLocal8Bit(argv[2]).toULongLong(nullptr, 0)) : 0;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "cirrolux-screengrab: no screen\n");
        return 1;
    }
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cirrolux-screengrab: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
