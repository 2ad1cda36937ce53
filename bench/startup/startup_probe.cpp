// Cirrolux started exactly as main() starts it, reporting the time from launch to the main
// window's first paint, and its peak memory once the start-up fetch has been shown.
#include "ProbeClock.h"

#include "platform/AppPaths.h"
#include "platform/QtUserInterface.h"
#include "settings/SettingsStore.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char** argv)
{
    const long long mainStart = probe::nowNs();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cirrolux"));
    QApplication::setWindowIcon(cirrolux::Startup::applicationIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    QDir().mkpath(cirrolux::AppPaths::workingDirectory());
    QDir::setCurrent(cirrolux::AppPaths::workingDirectory());

    cirrolux::SettingsStore settings = cirrolux::SettingsStore::forUser();
    cirrolux::QtUserInterface ui;
    const double beforeWindows = probe::msSinceLaunch(mainStart);
    cirrolux::Startup startup(settings, ui, {});
    const double afterMainWindow = probe::msSinceLaunch(mainStart);
    ui.setParentWindow(&startup.mainWindow());
    cirrolux::TForm1& window = startup.mainWindow();
    probe::FirstPaint firstPaint(window.centralWidget(), [&] {
        std::printf("first_paint_ms %.1f\n", probe::msSinceLaunch(mainStart));
        std::fflush(stdout);
    });
    // The start-up fetch has been shown once the title names the place.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (!window.QMainWindow::windowTitle().startsWith(QStringLiteral("Cirrolux - ")))
            return;
        poll.stop();
        std::printf("fetched_ms %.1f\n", probe::msSinceLaunch(mainStart));
        std::printf("peak_rss_kb %ld\n", probe::peakRssKb());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    poll.start(20);
    startup.run();
    std::printf("phases_ms application %.1f main_window %.1f start_up %.1f\n", beforeWindows,
                afterMainWindow - beforeWindows, probe::msSinceLaunch(mainStart) - afterMainWindow);
    std::fflush(stdout);
    return QApplication::exec();
}
