#include "platform/AppPaths.h"
#include "platform/CommandGuard.h"
#include "platform/QtUserInterface.h"
#include "settings/SettingsStore.h"
#include "shell/CommandLine.h"
#include "shell/Startup.h"
#include "shell/TfrmHelp.h"

#include <QApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

int main(int argc, char** argv)
{
    // Answered before QApplication, which ends the program when there is no display.
    if (const auto answer =
            cirrolux::AnswerCommandLine(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(answer->text.c_str(), stdout);
        return answer->exitCode;
    }
#ifdef Q_OS_UNIX
    // Under a file-size limit (ulimit -f) a download that grows past it would kill the program;
    // ignored, the write fails and the transfer reports "Cannot write to file: ".
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cirrolux"));
    QApplication::setApplicationVersion(QStringLiteral("1.40.0.8"));
    QApplication::setWindowIcon(cirrolux::Startup::applicationIcon());
    // Ties the windows to the installed desktop entry (Wayland app id, taskbar icon and name).
    QApplication::setDesktopFileName(QStringLiteral("net.cirrolux.Cirrolux"));
    // The window hides to the tray; only "Exit" or closing it ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // Download files have fixed names and live in the working directory.
    const QString workingDirectory = cirrolux::AppPaths::workingDirectory();
    QDir().mkpath(workingDirectory);
    QDir::setCurrent(workingDirectory);

    cirrolux::SettingsStore settings = cirrolux::SettingsStore::forUser();
    cirrolux::QtUserInterface ui;
    cirrolux::TForm1::Options options;
    // The run script shortens the refresh to watch timed updates; the program's own is 25 minutes.
    bool ok = false;
    const int refreshSeconds = qEnvironmentVariableIntValue("CIRROLUX_REFRESH_SECONDS", &ok);
    if (ok && refreshSeconds > 0)
        options.autoUpdateIntervalMs = std::min(refreshSeconds, 86400) * 1000;
    // Start-up steps guard themselves; this catches what would leave no window to run.
    std::unique_ptr<cirrolux::Startup> startup;
    const bool started = cirrolux::runGuarded(ui, [&] {
        // A first start with the live gateway installed beside the program sets up its proxy.
        startup = std::make_unique<cirrolux::Startup>(
            settings, ui, std::move(options),
            cirrolux::FirstStart::findGateway(cirrolux::FirstStart::programPrefix()));
        cirrolux::Startup& running = *startup;
        ui.setParentWindow(&running.mainWindow());
        // The help window is made on the first help command, as a window of the main window's.
        ui.setHelpHandler([&running](const std::string& topic) {
            cirrolux::TfrmHelp::open(running.mainWindow(), topic);
        });
        running.run();
    });
    if (!started)
        return 1;
    return app.exec();
}
