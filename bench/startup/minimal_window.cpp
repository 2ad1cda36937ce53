// Baseline for the start-up benchmark: a Qt Widgets program that opens one empty window.
// Prints the time from launch to its first paint, then, after the same wait as the program's
// start-up fetch (PROBE_HOLD_MS), its peak memory.
#include "ProbeClock.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv)
{
    const long long mainStart = probe::nowNs();
    QApplication app(argc, argv);
    QMainWindow window;
    auto* central = new QWidget(&window);
    window.setCentralWidget(central);
    // With PROBE_TEXT set the window also shows one line of text, which costs the font set-up
    // that any window with text pays.
    if (std::getenv("PROBE_TEXT"))
        new QLabel(QStringLiteral("Thank you for using Cirrolux..."), central);
    window.resize(325, 355);
    probe::FirstPaint firstPaint(central, [&] {
        std::printf("first_paint_ms %.1f\n", probe::msSinceLaunch(mainStart));
        const int hold = std::getenv("PROBE_HOLD_MS") ? std::atoi(std::getenv("PROBE_HOLD_MS")) : 0;
        QTimer::singleShot(hold, &app, [] {
            std::printf("peak_rss_kb %ld\n", probe::peakRssKb());
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    });
    window.show();
    return QApplication::exec();
}
