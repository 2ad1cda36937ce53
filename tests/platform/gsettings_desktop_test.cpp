// GNOME, Unity, Budgie, Cinnamon and MATE through the real GSettings, with GIO's keyfile backend
// in a throwaway folder. The values are read back with the `gsettings` command, as the desktop's
// own tools see them.
#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "platform/DesktopWallpaper.h"
#include "platform/GSettingsDesktop.h"
#include "settings/SettingNames.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>

#include <glib.h>

using namespace cirrolux;

namespace {

// GLib reads the backend and the config folder once per process, so they are fixed before main()
// runs, and the stand-in schemas are compiled before the first test opens a schema.
struct KeyfileProfile
{
    QTemporaryDir dir;
    QString config() const { return dir.path() + QStringLiteral("/config"); }
    QString schemas() const { return dir.path() + QStringLiteral("/schemas"); }

    KeyfileProfile()
    {
        QDir().mkpath(config());
        QDir().mkpath(schemas());
        setenv("GSETTINGS_BACKEND", "keyfile", 1);
        setenv("XDG_CONFIG_HOME", QFile::encodeName(config()).constData(), 1);
        setenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(schemas()).constData(), 1);
        // GLib keeps the first config folder it sees; the tests' throwaway profiles change
        // XDG_CONFIG_HOME later, which must not move the keyfile.
        g_get_user_config_dir();
    }
};
KeyfileProfile& keyfileProfile()
{
    static KeyfileProfile profile;
    return profile;
}
const bool ProfileReady = (keyfileProfile(), true);

std::string toolsMissing()
{
    for (const char* tool : {"gsettings", "glib-compile-schemas"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return std::string(tool) + " is not installed (Debian package libglib2.0-bin)";
    }
    return {};
}

class StandInSchemas : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (!toolsMissing().empty())
            return;
        const QString source =
            QStringLiteral(CIRROLUX_TEST_DATA "/gschemas/desktop-stand-ins.gschema.xml");
        const QString copy = keyfileProfile().schemas() + QStringLiteral("/stand-ins.gschema.xml");
        ASSERT_TRUE(QFile::copy(source, copy));
        QProcess compile;
        compile.start(QStringLiteral("glib-compile-schemas"),
                      {QStringLiteral("--strict"), keyfileProfile().schemas()});
        ASSERT_TRUE(compile.waitForFinished(30000));
        ASSERT_EQ(compile.exitCode(), 0) << compile.readAllStandardError().toStdString();
    }
};
const auto* const Schemas = ::testing::AddGlobalTestEnvironment(new StandInSchemas);

// What `gsettings get` prints for a key, without the line end.
std::string gsettingsGet(const char* schema, const char* key)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), keyfileProfile().config());
    environment.insert(QStringLiteral("GSETTINGS_SCHEMA_DIR"), keyfileProfile().schemas());
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("gsettings"),
               {QStringLiteral("get"), QLatin1String(schema), QLatin1String(key)});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return "gsettings failed: " + tool.readAllStandardError().toStdString();
    return tool.readAllStandardOutput().trimmed().toStdString();
}

bool gnomeSchemaInstalled()
{
    QProcess tool;
    tool.start(QStringLiteral("gsettings"),
               {QStringLiteral("list-keys"), QStringLiteral("org.gnome.desktop.background")});
    return tool.waitForFinished(30000) && tool.exitCode() == 0;
}

DesktopWallpaper::Environment environmentFor(const char* currentDesktop)
{
    // No bus: these desktops are found from their name and their schema alone.
    return {QDBusConnection(QStringLiteral("cirrolux-no-bus")),
            QLatin1String(currentDesktop),
            QSize(320, 200),
            {},
            {},
            {}};
}

struct GSettingsCase
{
    const char* currentDesktop;
    const char* desktopName;
    const char* schema;
    const char* pictureKey;
    const char* darkPictureKey; // nullptr: the schema has none
    bool uri;
    int style;
    const char* options;
};

std::ostream& operator<<(std::ostream& out, const GSettingsCase& c)
{
    return out << c.currentDesktop << " style " << c.style;
}

class GSettingsWallpaper : public ::testing::TestWithParam<GSettingsCase>
{
protected:
    void SetUp() override
    {
        if (const std::string missing = toolsMissing(); !missing.empty())
            GTEST_SKIP() << missing;
        if (std::string_view(GetParam().schema).starts_with("org.gnome") && !gnomeSchemaInstalled())
            GTEST_SKIP() << "org.gnome.desktop.background is not installed (Debian package "
                            "gsettings-desktop-schemas)";
    }
};

TEST_P(GSettingsWallpaper, WritesPictureAndLayoutThatTheDesktopReads)
{
    const GSettingsCase& c = GetParam();
    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    // A folder name with a space, as the URI must escape it.
    const QString folder = profile.root() + QStringLiteral("/Cirrolux data");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString bitmap = folder + QStringLiteral("/cirrolux.bmp");
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(bitmap, "BMP"));

    DesktopWallpaper desktop(store, environmentFor(c.currentDesktop));
    ASSERT_NE(desktop.backend(), nullptr);
    EXPECT_EQ(desktop.backend()->name(), c.desktopName);
    EXPECT_TRUE(desktop.SetDesktopWallpaper(bitmap, c.style, 120, 45));

    const QString shown = c.style == 3 ? folder + QStringLiteral("/cirrolux-placed.bmp") : bitmap;
    const std::string expected =
        "'" + (c.uri ? QUrl::fromLocalFile(shown).toEncoded().toStdString() : shown.toStdString()) +
        "'";
    EXPECT_EQ(gsettingsGet(c.schema, c.pictureKey), expected);
    if (c.darkPictureKey != nullptr) {
        EXPECT_EQ(gsettingsGet(c.schema, c.darkPictureKey), expected);
    }
    EXPECT_EQ(gsettingsGet(c.schema, "picture-options"), std::string("'") + c.options + "'");
    EXPECT_TRUE(ui.events().empty());
    if (c.style == 3) {
        const QImage placed(shown);
        ASSERT_EQ(placed.size(), QSize(320, 200));
        EXPECT_EQ(placed.pixel(120, 45), qRgb(255, 0, 0));
        EXPECT_EQ(placed.pixel(159, 74), qRgb(255, 0, 0));
        EXPECT_EQ(placed.pixel(119, 45), qRgb(0, 0, 0));
        EXPECT_EQ(placed.pixel(160, 75), qRgb(0, 0, 0));
    }
}

constexpr const char* Gnome = "org.gnome.desktop.background";
constexpr const char* Cinnamon = "org.cinnamon.desktop.background";
constexpr const char* Mate = "org.mate.background";

INSTANTIATE_TEST_SUITE_P(
    Desktops, GSettingsWallpaper,
    ::testing::Values(
        GSettingsCase{"GNOME", "GNOME", Gnome, "picture-uri", "picture-uri-dark", true, 0,
                      "wallpaper"},
        GSettingsCase{"ubuntu:GNOME", "GNOME", Gnome, "picture-uri", "picture-uri-dark", true, 1,
                      "centered"},
        GSettingsCase{"Unity", "Unity", Gnome, "picture-uri", "picture-uri-dark", true, 2,
                      "stretched"},
        GSettingsCase{"Budgie:GNOME", "Budgie", Gnome, "picture-uri", "picture-uri-dark", true, 3,
                      "centered"},
        GSettingsCase{"X-Cinnamon", "Cinnamon", Cinnamon, "picture-uri", nullptr, true, 0,
                      "wallpaper"},
        GSettingsCase{"X-Cinnamon", "Cinnamon", Cinnamon, "picture-uri", nullptr, true, 2,
                      "stretched"},
        GSettingsCase{"MATE", "MATE", Mate, "picture-filename", nullptr, false, 1, "centered"},
        GSettingsCase{"mate", "MATE", Mate, "picture-filename", nullptr, false, 3, "centered"}),
    [](const auto& info) {
        return test::CaseName(std::string(info.param.currentDesktop) + "_style" +
                              std::to_string(info.param.style));
    });

TEST(GSettingsWallpaperRecord, KeepsTheFiveDesktopValuesInTheSettingsStore)
{
    if (const std::string missing = toolsMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    const QString bitmap = profile.root() + QStringLiteral("/cirrolux.bmp");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(bitmap, "BMP"));

    DesktopWallpaper desktop(store, environmentFor("MATE"));
    desktop.SetDesktopWallpaper(bitmap, 3, 120, 45);
    const auto read = [&](std::string_view name) {
        return store.read_setting(SettingNames::Desktop, name);
    };
    EXPECT_EQ(read(SettingNames::Wallpaper), bitmap.toStdString());
    EXPECT_EQ(read(SettingNames::TileWallpaper), "0");
    EXPECT_EQ(read(SettingNames::WallpaperStyle), "0");
    EXPECT_EQ(read(SettingNames::WallpaperOriginX), "120");
    EXPECT_EQ(read(SettingNames::WallpaperOriginY), "45");
}

// GSettings ends the program on a schema it does not know; these must be refused first.
TEST(GSettingsWallpaperSchema, MissingOrUnfitSchemaIsRefusedWithoutEndingTheProgram)
{
    if (const std::string missing = toolsMissing(); !missing.empty())
        GTEST_SKIP() << missing;
    GSettingsDesktop absent(
        {"Nowhere", "org.cirrolux.test.absent", "picture-uri", "", "picture-options", true});
    EXPECT_FALSE(absent.available());
    try {
        absent.apply(QStringLiteral("/tmp/cirrolux.bmp"), WallpaperFill::Centre);
        FAIL() << "no error";
    } catch (const DesktopError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error - Nowhere did not take the wallpaper /tmp/cirrolux.bmp: the settings "
                  "schema org.cirrolux.test.absent is not installed.");
    }

    GSettingsDesktop odd(
        {"Odd", "org.cirrolux.test.oddbackground", "picture-uri", "", "picture-options", true});
    EXPECT_FALSE(odd.available());
    EXPECT_THROW(odd.apply(QStringLiteral("/tmp/cirrolux.bmp"), WallpaperFill::Tile), DesktopError);
    EXPECT_EQ(gsettingsGet("org.cirrolux.test.oddbackground", "picture-uri"), "0");
}

} // namespace
