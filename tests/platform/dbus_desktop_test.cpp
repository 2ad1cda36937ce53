// KDE Plasma and Xfce against fake services on a private session bus that the test starts.
#include "CaseName.h"
#include "FakeDesktopServices.h"
#include "PrivateSessionBus.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "platform/DesktopWallpaper.h"
#include "platform/PlasmaDesktop.h"
#include "platform/XfceDesktop.h"

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
    bool addXfconf()
    {
        return m_services->add(m_xfconf, QLatin1String(XfceDesktop::Service),
                               QLatin1String(XfceDesktop::Path));
    }
    DesktopWallpaper desktopFor(const char* currentDesktop, QStringList monitors = {})
    {
        return DesktopWallpaper(m_store, m_ui,
                                {m_bus->connect(QStringLiteral("cirrolux-client")),
                                 QLatin1String(currentDesktop), QSize(64, 48), monitors});
    }

    // Declared before the thread that serves them, so they outlive it.
    test::FakePlasmaShell m_plasma;
    test::FakeXfconf m_xfconf;
    test::TempProfile m_profile;
    SettingsStore m_store = m_profile.store();
    test::RecordingUserInterface m_ui;
    std::optional<test::PrivateSessionBus> m_bus;
    std::optional<test::FakeServiceThread> m_services;
    QString m_bitmap;
};

QString expectedScript(const QString& url, int fillMode)
{
    return QStringLiteral("var image = \"%1\";\n"
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
                          "}\n")
        .arg(url)
        .arg(fillMode);
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
    desktop.SetDesktopWallpaper(m_bitmap, GetParam().style, 7, 9);

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
    ASSERT_TRUE(addXfconf());
    DesktopWallpaper desktop = desktopFor("XFCE");
    ASSERT_NE(desktop.backend(), nullptr);
    EXPECT_EQ(desktop.backend()->name(), "Xfce");
    desktop.SetDesktopWallpaper(m_bitmap, GetParam().style, 7, 9);

    const QString picture = shownPicture();
    const QString style = QString::number(GetParam().xfceImageStyle);
    QStringList expected{QStringLiteral("GetAllProperties xfce4-desktop /backdrop")};
    for (const char* base :
         {"/backdrop/screen0/monitorHDMI-1/workspace0", "/backdrop/screen0/monitoreDP-1/workspace0",
          "/backdrop/screen0/monitoreDP-1/workspace1"}) {
        expected << QStringLiteral("SetProperty xfce4-desktop %1/last-image string:%2")
                        .arg(QLatin1String(base), picture)
                 << QStringLiteral("SetProperty xfce4-desktop %1/image-style int32:%2")
                        .arg(QLatin1String(base), style);
    }
    EXPECT_EQ(m_xfconf.log.lines(), expected);
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
    ASSERT_TRUE(addXfconf());
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
              }));
}

TEST_F(DesktopBusTest, XfceRefusalIsAnErrorNotASuccess)
{
    m_xfconf.channels[QStringLiteral("xfce4-desktop")] = {
        {QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image"), QString()}};
    m_xfconf.lockedProperty = QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");
    ASSERT_TRUE(addXfconf());
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
    const char* chosen; // nullptr: none
};

std::ostream& operator<<(std::ostream& out, const ChoiceCase& c)
{
    return out << "'" << c.currentDesktop << "' plasma " << c.plasma << " xfconf " << c.xfconf;
}

class DesktopBusChoice : public DesktopBusTest, public ::testing::WithParamInterface<ChoiceCase>
{
};

TEST_P(DesktopBusChoice, FollowsTheDesktopNameThenWhatAnswersOnTheBus)
{
    if (GetParam().plasma) {
        ASSERT_TRUE(addPlasma());
    }
    if (GetParam().xfconf) {
        ASSERT_TRUE(addXfconf());
    }
    DesktopWallpaper desktop = desktopFor(GetParam().currentDesktop);
    DesktopBackend* backend = desktop.backend();
    if (GetParam().chosen == nullptr) {
        EXPECT_EQ(backend, nullptr);
        desktop.SetDesktopWallpaper(m_bitmap, 1, 0, 0);
        EXPECT_EQ(m_ui.messages().size(), 1u);
    } else {
        ASSERT_NE(backend, nullptr);
        EXPECT_EQ(backend->name(), GetParam().chosen);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, DesktopBusChoice,
    ::testing::Values(ChoiceCase{"", true, false, "KDE Plasma"},
                      ChoiceCase{"", false, true, "Xfce"}, ChoiceCase{"", true, true, "KDE Plasma"},
                      ChoiceCase{"XFCE", true, true, "Xfce"},
                      ChoiceCase{"KDE:XFCE", false, true, "Xfce"},
                      // A named desktop whose service is not there is not taken.
                      ChoiceCase{"KDE", false, false, nullptr},
                      ChoiceCase{"sway", false, false, nullptr}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.currentDesktop);
    });

} // namespace

namespace {

TEST_F(DesktopBusTest, PlacedPictureWithoutAScreenIsBoundedForAFarOrigin)
{
    ASSERT_TRUE(addPlasma());
    DesktopWallpaper desktop(
        m_store, m_ui,
        {m_bus->connect(QStringLiteral("cirrolux-client")), QStringLiteral("KDE"), QSize(), {}});
    desktop.SetDesktopWallpaper(m_bitmap, 3, 2147483000, 5);
    const QImage placed(QFileInfo(m_bitmap).path() + QStringLiteral("/cirrolux-placed.bmp"));
    EXPECT_EQ(placed.size(), QSize(8192, 15));
    EXPECT_EQ(placed.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(m_plasma.log.lines().size(), 1);
}

} // namespace
