#pragma once

#include "settings/FirstStart.h"
#include "shell/TForm1.h"

#include <QIcon>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cirrolux {

class SettingsStore;
class TfrmPleaseWait;
class UserInterface;

// Program start: creates the main window and the splash, then the other windows one by one
// while the splash gauge follows, and finally shows the main window (unless the program starts
// in the tray). The splash goes away at the main window's first paint.
class Startup
{
public:
    // One window created at start and the gauge position reached after it.
    struct WindowStep
    {
        std::string name;
        int gauge;
        std::function<void(TForm1&)> create; // empty until that window exists
    };

    // With `gateway` (the live gateway installed beside the program) and no settings yet, the
    // proxy is pointed at the gateway before the main window reads it, and run() ends by opening
    // the choose-location dialog so the first place is picked at once (FirstStart). A store
    // error is shown and the start goes on.
    Startup(SettingsStore& settings, UserInterface& ui, TForm1::Options options,
            const std::optional<InstalledGateway>& gateway = std::nullopt);
    ~Startup();

    // Runs the start-up steps; afterwards the event loop takes over.
    void run();

    TForm1& mainWindow() { return *m_form; }
    TfrmPleaseWait& splash() { return *m_splash; }
    // The gauge positions in the order they were set.
    const std::vector<int>& gaugeSteps() const { return m_gaugeSteps; }
    static std::vector<WindowStep> windowSteps();
    // The program's icon in the sizes a title bar, task bar and tray use; the large drawing is
    // left out so start-up does not decode it.
    static QIcon applicationIcon();

private:
    SettingsStore& m_settings;
    UserInterface& m_ui;
    bool m_chooseLocation = false; // a first start set up for the gateway
    std::unique_ptr<TForm1> m_form;
    TfrmPleaseWait* m_splash = nullptr; // owned by the main window
    std::vector<int> m_gaugeSteps;
    bool m_painted = false;        // the main window has had its first paint
};

} // namespace cirrolux
