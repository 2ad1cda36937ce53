// KDE Plasma and Xfce against fake services on a private session bus that the test starts.
#include "CaseName.h"
#include "FakeDesktopServices.h"
#include "PrivateSessionBus.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "platform/DesktopWallpaper.h"
#include "platform/PlasmaDesktop.h"
#include "platform/XfceDesktop.h"
#include "settings/SettingNames.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

using namespace cirrolux;

namespace {

class DesktopBusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_bus.emplace();
        if (!m_bus->failure().empty())
            GTEST_SKIP() << m_bus->failure();
        m_services.emplace(m_bus->connect(QStringLiteral("fake-desktop")));
        m_bitmap = m_profile.root() + QStringLiteral("/data \"x\"/cirrolux.bmp");
        QDir().mkpath(QFileInfo(m_bitmap).path());
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::green);
        ASSERT_TRUE(picture.save(m_bitmap, "BMP"));
    }
    void TearDown() override
    {
        m_services.reset();
        m_bus.reset();
    }

    bool addPlasma()
    {
        return m_services->add(m_plasma, QLatin1String(PlasmaDesktop::Service),
                               QLatin1String(PlasmaDesktop::Path));
    }
    // xfconf alone, as an Xfce program starts it under any window manager.
    bool addXfconf()
    {
        return m_services->add(m_xfconf, QLatin1String(XfceDesktop::Service),
                               QLatin1String(XfceDesktop::Path));
    }
    bool addXfdesktop()
    {
        return m_services->add(m_xfdesktop, QLatin1String(XfceDesktop::DesktopService),
                               QStringLiteral("/org/xfce/xfdesktop"));
    }
    // The whole Xfce desktop: xfconf and xfdesktop.
    bool addXfce() { return addXfconf() && addXfdesktop(); }
    DesktopWallpaper desktopFor(const char* currentDesktop, QStringList monitors = {},
                                const char* desktopSession = "")
    {
        return DesktopWallpaper(m_store, {m_bus->connect(QStringLiteral("cirrolux-client")),
                                          QLatin1String(currentDesktop),
                                          QSize(64, 48),
                                          monitors,
                                          QLatin1String(desktopSession),
                                          {}});
    }

    // Declared before the thread that serves them, so they outlive it.
    test::FakePlasmaShell m_plasma;
    test::FakeXfconf m_xfconf;
    test::FakeXfdesktop m_xfdesktop;
    test::TempProfile m_profile;
    SettingsStore m_store = m_profile.store();
    test::RecordingUserInterface m_ui;
    std::optional<test::PrivateSessionBus> m_bus;
    std::optional<test::FakeServiceThread> m_services;
    QString m_bitmap;
};

QString expectedScript(const QString& url, int fillMode)
{
    return QStringLiteral(
               "var image = \"%1\";\n"
               "var fillMode = %2;\n"
               "var all = desktops();\n"
               "for (var i = 0; i < all.length; ++i) {\n"
               "    var d = all[i];\n"
               "    d.wallpaperPlugin = \"org.kde.image\";\n"
               "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", "
               "\"General\"];\n"
               "    d.writeConfig(\"Image\", \"\");\n"
               "    d.writeConfig(\"Image\", image);\n"
               "    d.writeConfig(\"FillMode\", fillMode);\n"
               "    print(d.wallpaperPlugin + \"\\t\" + d.readConfig(\"Image\") + \"\\t\" +\n"
               "          d.readConfig(\"FillMode\") + \"\\n\");\n"
               "}\n")
        .arg(url, QString::number(fillMode));
}

struct FillCase
{
    int style;
    int plasmaFillMode;
    int xfceImageStyle;
};

class DesktopBusFill : public DesktopBusTest, public ::testing::WithParamInterface<FillCase>
{
protected:
    QString shownPicture() const
    {
        return GetParam().style == 3
                   ? QFileInfo(m_bitmap).path() + QStringLiteral("/cirrolux-placed.bmp")
                   : m_bitmap;
    }
};

TEST_P(DesktopBusFill, PlasmaGetsOneScriptForEveryDesktop)
{
    ASSERT_TRUE(addPlasma());
    DesktopWallpaper desktop = desktopFor("KDE");
    ASSERT_NE(desktop.backend(), nullptr);
    EXPECT_EQ(desktop.backend()->name(), "KDE Plasma");
    EXPECT_TRUE(desktop.SetDesktopWallpaper(m_bitmap, GetParam().style, 7, 9));

    const QString url = QString::fromLatin1(QUrl::fromLocalFile(shownPicture()).toEncoded());
    EXPECT_TRUE(url.contains(QStringLiteral("data%20%22x%22/cirrolux"))) << url.toStdString();
    EXPECT_EQ(m_plasma.log.lines(), QStringList{expectedScript(url, GetParam().plasmaFillMode)});
    EXPECT_TRUE(m_ui.events().empty());
}

TEST_P(DesktopBusFill, XfceSetsEveryKnownBackdrop)
{
    m_xfconf.channels[QStringLiteral("xfce4-desktop")] = {
        {QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace1/last-image"),
         QStringLiteral("/usr/share/backgrounds/old.png")},
        {QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0/last-image"),
         QStringLiteral("/usr/share/backgrounds/old.png")},
        {QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0/image-style"), 5},
        {QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/last-image"),
         QStringLiteral("/usr/share/backgrounds/old.png")},
        {QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/color-style"), 0},
        {QStringLiteral("/backdrop/single-workspace-mode"), true},
    };
    ASSERT_TRUE(addXfce());
    DesktopWallpaper desktop = desktopFor("XFCE");
    ASSERT_NE(desktop.backend(), nullptr);
    EXPECT_EQ(desktop.backend()->name(), "Xfce");
    EXPECT_TRUE(desktop.SetDesktopWallpaper(m_bitmap, GetParam().style, 7, 9));

    const QString picture = shownPicture();
    const QString style = QString::number(GetParam().xfceImageStyle);
    QStringList expected{QStringLiteral("GetAllProperties xfce4-desktop /backdrop")};
    QStringList readBack;
    for (const char* base :
         {"/backdrop/screen0/monitorHDMI-1/workspace0", "/backdrop/screen0/monitoreDP-1/workspace0",
          "/backdrop/screen0/monitoreDP-1/workspace1"}) {
        expected << QStringLiteral("SetProperty xfce4-desktop %1/last-image string:%2")
                        .arg(QLatin1String(base), picture)
                 << QStringLiteral("SetProperty xfce4-desktop %1/image-style int32:%2")
                        .arg(QLatin1String(base), style);
        readBack
            << QStringLiteral("GetProperty xfce4-desktop %1/last-image").arg(QLatin1String(base))
            << QStringLiteral("GetProperty xfce4-desktop %1/image-style").arg(QLatin1String(base));
    }
    EXPECT_EQ(m_xfconf.log.lines(), expected + readBack);
    EXPECT_TRUE(m_ui.events().empty());
}

std::string styleName(const ::testing::TestParamInfo<FillCase>& info)
{
    static const char* const Names[] = {"tile", "centre", "stretch", "placed"};
    return Names[info.param.style];
}

INSTANTIATE_TEST_SUITE_P(Styles, DesktopBusFill,
                         ::testing::Values(FillCase{0, 3, 2}, FillCase{1, 6, 1}, FillCase{2, 0, 3},
                                           FillCase{3, 6, 1}),
                         styleName);

TEST_F(DesktopBusTest, XfceWithoutBackdropsSetsTheFirstWorkspaceOfEachScreen)
{
    ASSERT_TRUE(addXfce());
    DesktopWallpaper desktop =
        desktopFor("XFCE", {QStringLiteral("Virtual-1"), QStringLiteral("Virtual-2")});
    desktop.SetDesktopWallpaper(m_bitmap, 2, 0, 0);
    EXPECT_EQ(m_xfconf.log.lines(),
              (QStringList{
                  QStringLiteral("GetAllProperties xfce4-desktop /backdrop"),
                  QStringLiteral("SetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-1/workspace0/last-image "
                                 "string:%1")
                      .arg(m_bitmap),
                  QStringLiteral("SetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-1/workspace0/image-style "
                                 "int32:3"),
                  QStringLiteral("SetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-2/workspace0/last-image "
                                 "string:%1")
                      .arg(m_bitmap),
                  QStringLiteral("SetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-2/workspace0/image-style "
                                 "int32:3"),
                  QStringLiteral("GetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-1/workspace0/last-image"),
                  QStringLiteral("GetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-1/workspace0/image-style"),
                  QStringLiteral("GetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-2/workspace0/last-image"),
                  QStringLiteral("GetProperty xfce4-desktop "
                                 "/backdrop/screen0/monitorVirtual-2/workspace0/image-style"),
              }));
}

TEST_F(DesktopBusTest, XfceRefusalIsAnErrorNotASuccess)
{
    m_xfconf.channels[QStringLiteral("xfce4-desktop")] = {
        {QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image"), QString()}};
    m_xfconf.lockedProperty = QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");
    ASSERT_TRUE(addXfce());
    DesktopWallpaper desktop = desktopFor("XFCE");
    try {
        desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0);
        FAIL() << "no error";
    } catch (const DesktopError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error - Xfce did not take the wallpaper " + m_bitmap.toStdString() +
                      ": Permission denied while modifying property "
                      "\"/backdrop/screen0/monitor0/workspace0/last-image\" on channel "
                      "\"xfce4-desktop\"");
    }
}

TEST_F(DesktopBusTest, PlasmaRefusalIsAnErrorNotASuccess)
{
    m_plasma.refuseWith = QStringLiteral("Widgets are locked");
    ASSERT_TRUE(addPlasma());
    DesktopWallpaper desktop = desktopFor("KDE");
    try {
        desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0);
        FAIL() << "no error";
    } catch (const DesktopError& e) {
        EXPECT_EQ(std::string(e.what()), "Error - KDE Plasma did not take the wallpaper " +
                                             m_bitmap.toStdString() + ": Widgets are locked");
    }
}

struct ChoiceCase
{
    const char* currentDesktop;
    bool plasma;
    bool xfconf;
    bool xfdesktop;
    const char* chosen; // nullptr: none
    const char* desktopSession = "";
};

std::ostream& operator<<(std::ostream& out, const ChoiceCase& c)
{
    return out << "'" << c.currentDesktop << "' session '" << c.desktopSession << "' plasma "
               << c.plasma << " xfconf " << c.xfconf << " xfdesktop " << c.xfdesktop;
}

class DesktopBusChoice : public DesktopBusTest, public ::testing::WithParamInterface<ChoiceCase>
{
};

TEST_P(DesktopBusChoice, FollowsTheDesktopNameThenWhatOwnsItsNameOnTheBus)
{
    if (GetParam().plasma) {
        ASSERT_TRUE(addPlasma());
    }
    if (GetParam().xfconf) {
        ASSERT_TRUE(addXfconf());
    }
    if (GetParam().xfdesktop) {
        ASSERT_TRUE(addXfdesktop());
    }
    DesktopWallpaper desktop = desktopFor(GetParam().currentDesktop, {}, GetParam().desktopSession);
    DesktopBackend* backend = desktop.backend();
    if (GetParam().chosen == nullptr) {
        EXPECT_EQ(backend, nullptr);
        EXPECT_FALSE(desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0));
        // Nothing was sent to a settings service that no desktop reads; the program's own
        // record is kept all the same.
        EXPECT_TRUE(m_xfconf.log.lines().isEmpty());
        EXPECT_EQ(m_store.read_setting(SettingNames::Desktop, SettingNames::Wallpaper),
                  m_bitmap.toStdString());
    } else {
        ASSERT_NE(backend, nullptr);
        EXPECT_EQ(backend->name(), GetParam().chosen);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DesktopBusChoice,
    ::testing::Values(ChoiceCase{"", true, false, false, "KDE Plasma"},
                      ChoiceCase{"", false, true, true, "Xfce"},
                      ChoiceCase{"", true, true, true, "KDE Plasma"},
                      ChoiceCase{"XFCE", true, true, true, "Xfce"},
                      ChoiceCase{"KDE:XFCE", false, true, true, "Xfce"},
                      // A named desktop whose service is not there is not taken.
                      ChoiceCase{"KDE", false, false, false, nullptr},
                      ChoiceCase{"sway", false, false, false, nullptr},
                      // xfconf started by an Xfce program under another window manager: no
                      // xfdesktop draws its backdrop.
                      ChoiceCase{"", false, true, false, nullptr},
                      ChoiceCase{"i3", false, true, false, nullptr, "i3"},
                      ChoiceCase{"", false, true, false, nullptr, "openbox"},
                      ChoiceCase{"LXDE", false, true, false, nullptr, "LXDE"},
                      ChoiceCase{"XFCE", false, true, false, nullptr, "xfce"},
                      // xfdesktop run by hand under a window manager draws the backdrop.
                      ChoiceCase{"i3", false, true, true, "Xfce", "i3"},
                      // The session's name, when XDG_CURRENT_DESKTOP names no desktop.
                      ChoiceCase{"", true, true, true, "Xfce", "xfce"},
                      ChoiceCase{"", true, true, true, "KDE Plasma", "/usr/share/xsessions/plasma"},
                      ChoiceCase{"", false, false, false, nullptr, "plasmawayland"}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.currentDesktop + "_" +
                              info.param.desktopSession);
    });

TEST_F(DesktopBusTest, PlasmaDesktopThatKeepsItsOldImageIsAnError)
{
    m_plasma.keptImage = QStringLiteral("file:///usr/share/wallpapers/Next.png");
    ASSERT_TRUE(addPlasma());
    DesktopWallpaper desktop = desktopFor("KDE");
    try {
        desktop.SetDesktopWallpaper(m_bitmap, 2, 0, 0);
        FAIL() << "no error";
    } catch (const DesktopError& e) {
        EXPECT_EQ(
            std::string(e.what()),
            "Error - KDE Plasma did not take the wallpaper " + m_bitmap.toStdString() +
                ": a desktop reads back \"org.kde.image file:///usr/share/wallpapers/Next.png "
                "0\".");
    }
}

TEST_F(DesktopBusTest, PlasmaShellThatPrintsNothingIsAnError)
{
    m_plasma.desktops = 0;
    ASSERT_TRUE(addPlasma());
    DesktopWallpaper desktop = desktopFor("KDE");
    EXPECT_THROW(desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0), DesktopError);
}

TEST_F(DesktopBusTest, XfconfThatDropsAValueIsAnError)
{
    m_xfconf.channels[QStringLiteral("xfce4-desktop")] = {
        {QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image"), QString()},
        {QStringLiteral("/backdrop/screen0/monitor0/workspace0/image-style"), 5}};
    m_xfconf.droppedProperty = QStringLiteral("/backdrop/screen0/monitor0/workspace0/image-style");
    ASSERT_TRUE(addXfce());
    DesktopWallpaper desktop = desktopFor("XFCE");
    try {
        desktop.SetDesktopWallpaper(m_bitmap, 0, 0, 0);
        FAIL() << "no error";
    } catch (const DesktopError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error - Xfce did not take the wallpaper " + m_bitmap.toStdString() +
                      ": /backdrop/screen0/monitor0/workspace0/image-style reads back \"5\".");
    }
}

// The bus is there only from the second wallpaper on, and the desktop only from the third.
TEST_F(DesktopBusTest, BusAndDesktopThatComeUpLateAreFoundAtTheNextWallpaper)
{
    bool busUp = false;
    int connects = 0;
    DesktopWallpaper desktop(m_store, {QDBusConnection(QStringLiteral("cirrolux-not-yet")),
                                       QStringLiteral("KDE"),
                                       QSize(64, 48),
                                       {},
                                       {},
                                       [&] {
                                           ++connects;
                                           return busUp ? m_bus->connect(QStringLiteral("late"))
                                                        : QDBusConnection(QStringLiteral("none"));
                                       }});
    EXPECT_FALSE(desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0));
    busUp = true;
    EXPECT_FALSE(desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0));
    ASSERT_TRUE(addPlasma());
    EXPECT_TRUE(desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0));
    EXPECT_TRUE(desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0));
    EXPECT_EQ(m_plasma.log.lines().size(), 2);
    // Once connected, the bus is kept.
    EXPECT_EQ(connects, 2);
}

} // namespace

namespace {

TEST_F(DesktopBusTest, PlacedPictureWithoutAScreenIsBoundedForAFarOrigin)
{
    ASSERT_TRUE(addPlasma());
    DesktopWallpaper desktop(m_store, {m_bus->connect(QStringLiteral("cirrolux-client")),
                                       QStringLiteral("KDE"),
                                       QSize(),
                                       {},
                                       {},
                                       {}});
    desktop.SetDesktopWallpaper(m_bitmap, 3, 2147483000, 5);
    const QImage placed(QFileInfo(m_bitmap).path() + QStringLiteral("/cirrolux-placed.bmp"));
    EXPECT_EQ(placed.size(), QSize(8192, 15));
    EXPECT_EQ(placed.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(m_plasma.log.lines().size(), 1);
}

} // namespace

namespace {

// Sets an environment variable for one test; an empty value removes it.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        set(value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    void set(const QByteArray& value)
    {
        if (value.isEmpty())
            qunsetenv(m_name);
        else
            qputenv(m_name, value);
    }

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

TEST(SessionBusAddress, EnvironmentFirstThenTheUsersBusSocket)
{
    test::TempProfile profile;
    const QString runtime = profile.root() + QStringLiteral("/run time");
    QDir().mkpath(runtime);
    ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus");
    ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    EXPECT_EQ(DesktopWallpaper::sessionBusAddress(),
              QStringLiteral("unix:path=/run/user/1000/bus"));
    address.set({});
    EXPECT_EQ(DesktopWallpaper::sessionBusAddress(), QString());
    QFile socket(runtime + QStringLiteral("/bus"));
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();
    EXPECT_EQ(DesktopWallpaper::sessionBusAddress(),
              QStringLiteral("unix:path=") + profile.root() + QStringLiteral("/run%20time/bus"));
}

// The program's own connection: a bus whose socket appears after the first wallpaper is
// connected at the next one.
TEST(SessionBusAddress, BusThatStartsLateIsConnected)
{
    test::TempProfile profile;
    const QString address = QStringLiteral("unix:path=") + profile.root() + QStringLiteral("/bus");
    ScopedEnv environment("DBUS_SESSION_BUS_ADDRESS", address.toLocal8Bit());
    EXPECT_FALSE(DesktopWallpaper::connectSessionBus().isConnected());

    test::PrivateSessionBus bus(address);
    if (!bus.failure().empty())
        GTEST_SKIP() << bus.failure();
    test::FakePlasmaShell plasma;
    test::FakeServiceThread services(bus.connect(QStringLiteral("fake-desktop")));
    ASSERT_TRUE(services.add(plasma, QLatin1String(PlasmaDesktop::Service),
                             QLatin1String(PlasmaDesktop::Path)));
    const QDBusConnection connected = DesktopWallpaper::connectSessionBus();
    ASSERT_TRUE(connected.isConnected());
    EXPECT_TRUE(connected.interface()->isServiceRegistered(QLatin1String(PlasmaDesktop::Service)));
    EXPECT_EQ(DesktopWallpaper::connectSessionBus().name(), connected.name());
    QDBusConnection::disconnectFromBus(connected.name());
}

} // namespace
