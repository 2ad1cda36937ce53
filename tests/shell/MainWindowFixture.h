#pragma once

#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "WaitFor.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "shell/TForm1.h"

#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace cirrolux::test {

// A main window over a throwaway profile with the recording user interface. Timers are slowed
// down so that nothing starts unless a test asks for it, and the date is fixed.
class MainWindowFixture : public ::testing::Test
{
protected:
    static TForm1::Options quietOptions()
    {
        TForm1::Options options;
        options.startupDelayMs = 24 * 3600 * 1000;
        options.autoUpdateFirstMs = 24 * 3600 * 1000;
        options.trayAvailable = true;
        options.today = [] { return QDate(1998, 1, 13); };
        return options;
    }

    TForm1& createWindow(TForm1::Options options = quietOptions())
    {
        window = std::make_unique<TForm1>(store, ui, std::move(options));
        current = window.get();
        return *window;
    }

    QLabel* label(const char* name) const
    {
        return current->findChild<QLabel*>(QString::fromLatin1(name));
    }

    std::string text(const char* name) const
    {
        return label(name)->text().toLatin1().toStdString();
    }

    // Points the stored proxy settings at a server on 127.0.0.1 (the service emulator).
    void useProxy(quint16 port)
    {
        namespace names = SettingNames;
        store.write_setting(names::Settings, names::ProxyUse, "y");
        store.write_setting(names::Settings, names::Proxy, "127.0.0.1");
        store.write_setting(names::Settings, names::ProxyPort, std::to_string(port));
    }

    // Turns the event loop until `done` holds or `ms` pass.
    static bool waitFor(const std::function<bool()>& done, int ms = 10000)
    {
        return WaitFor(done, ms);
    }

    TempProfile profile;
    SettingsStore store = profile.store();
    RecordingUserInterface ui;
    std::unique_ptr<TForm1> window;
    TForm1* current = nullptr; // the window label() looks in
};

} // namespace cirrolux::test
