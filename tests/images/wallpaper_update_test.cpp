#include "images/WallpaperUpdate.h"

#include "CaseName.h"
#include "ImageFixture.h"
#include "JpegWriter.h"
#include "platform/AppPaths.h"
#include "platform/CommandGuard.h"
#include "platform/DesktopWallpaper.h"
#include "settings/SettingNames.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>

namespace cirrolux {
namespace {

// The image window as the wallpaper update sees it: a capture and a first frame of fixed sizes.
struct FakeWallpaperWindow final : WallpaperUpdate::Window
{
    std::string title = "Cirrolux ";
    QImage firstFrame = QImage(30, 20, QImage::Format_RGB32);
    std::vector<std::string> captured;

    std::string imageTitle() const override { return title; }
    QImage captureRadar(const std::string& file) override
    {
        captured.push_back(file);
        QImage picture(40, 25, QImage::Format_RGB32);
        picture.fill(Qt::green);
        return picture;
    }
    QImage gifFirstFrame() const override { return firstFrame; }
};

QByteArray jpegBytes(int width, int height)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    test::WriteJpeg(path, test::GradientPicture(width, height));
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

test::ScriptedServer::Script body(const QByteArray& bytes)
{
    return test::ScriptedServer::reply(
        "HTTP/1.0 200 OK", {"Content-Length: " + QByteArray::number(bytes.size())}, bytes);
}

class WallpaperUpdateTest : public test::ImageFixture
{
protected:
    WallpaperUpdateTest()
    {
        // Downloads and the bitmap share the program's working directory.
        QDir().mkpath(AppPaths::workingDirectory());
        QDir::setCurrent(AppPaths::workingDirectory());
        state.automaticRequest = "y";
    }

    void set(std::string_view name, const std::string& value)
    {
        settings.write_setting(SettingNames::Settings, name, value);
    }
    QString installedBitmap() const
    {
        return QDir(AppPaths::windowsDirectory()).filePath(QStringLiteral("cirrolux.bmp"));
    }
    QSize installedSize() const { return QImageReader(installedBitmap()).size(); }

    SettingsStore settings = profile.store();
    FakeWallpaperWindow wallpaperWindow;
    std::vector<std::string> desktop; // "path|style|x|y"
    bool desktopTakesIt = true;       // false: a desktop the program does not know
    WallpaperUpdate update{state,
                           settings,
                           ui,
                           http,
                           download,
                           wallpaperWindow,
                           [this](const QString& path, int style, int x, int y) {
                               desktop.push_back(path.toStdString() + "|" + std::to_string(style) +
                                                 "|" + std::to_string(x) + "|" + std::to_string(y));
                               return desktopTakesIt;
                           },
                           [this](const std::string& text) { status.push_back(text); }};
};

struct AutoCase
{
    std::string name;
    std::string autoWallpaper;
    std::string wallpaperloc; // empty: not stored
    QByteArray reply;         // the image body served
    std::string request;      // request line expected; empty: nothing fetched
    std::string placement;    // "style|x|y" given to the desktop; empty: desktop untouched
    QSize bitmap;             // size of the installed bitmap
    std::vector<std::string> captured;
    std::vector<std::string> messages;
};

void PrintTo(const AutoCase& c, std::ostream* os)
{
    *os << c.name;
}

class AutoWallpaper : public WallpaperUpdateTest, public ::testing::WithParamInterface<AutoCase>
{
};

TEST_P(AutoWallpaper, TimedRefreshSetsTheChosenImage)
{
    const AutoCase& c = GetParam();
    set(SettingNames::AutoWallpaper, c.autoWallpaper);
    if (!c.wallpaperloc.empty())
        set(SettingNames::WallpaperLoc, c.wallpaperloc);
    server.setScript(body(c.reply));

    update.UpdateAutoWallpaper();

    EXPECT_EQ(requestLine(0), c.request);
    EXPECT_EQ(wallpaperWindow.captured, c.captured);
    EXPECT_EQ(ui.messages(), c.messages);
    if (c.placement.empty()) {
        EXPECT_TRUE(desktop.empty());
    } else {
        EXPECT_EQ(desktop,
                  std::vector<std::string>{installedBitmap().toStdString() + "|" + c.placement});
        EXPECT_EQ(installedSize(), c.bitmap);
        EXPECT_EQ(QImageReader(installedBitmap()).format(), "bmp");
        EXPECT_EQ(status.back(), "Wallpaper updated...");
    }
    // The working copy is moved, and the names are cleared for the next refresh.
    EXPECT_FALSE(QFile::exists(QStringLiteral("cirrolux.bmp")));
    EXPECT_TRUE(state.imageFile.empty());
    EXPECT_TRUE(state.requestSucceeded.empty());
}

const QByteArray Gif(2000, 'g'); // the fake window never decodes it

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoWallpaper,
    ::testing::Values(
        AutoCase{"JpegAtPosition",
                 "Europe Satellite Image",
                 "120,45",
                 jpegBytes(64, 48),
                 "GET http://weather.yahoo.com/graphics/satellite/europe.jpg HTTP/1.0",
                 "3|120|45",
                 {64, 48},
                 {},
                 {}},
        AutoCase{"UpperCaseJpegStretched",
                 "GOES-East Infrared - North and South America",
                 "2",
                 jpegBytes(80, 80),
                 "GET http://www.goes.noaa.gov/FULLDISK/GEIR.JPG HTTP/1.0",
                 "2|0|0",
                 {80, 80},
                 {},
                 {}},
        AutoCase{"RegionalRadarCaptured",
                 "Regional/State Radar=TX",
                 "0",
                 Gif,
                 "GET http://www.cirrolux.net/assets/images/wbank/TX_radar.GIF HTTP/1.0",
                 "0|0|0",
                 {40, 25},
                 {"TX_radar.GIF"},
                 {}},
        AutoCase{"GifFirstFrameCentred",
                 "US Infrared Satellite Image - Purdue",
                 "",
                 Gif,
                 "GET http://wxp.eas.purdue.edu/satellite/sat_ir_us.gif HTTP/1.0",
                 "1|0|0",
                 {30, 20},
                 {},
                 {}},
        AutoCase{"TexasAMRow",
                 "US Radar w/Topography - Texas A&&M",
                 "1",
                 Gif,
                 "GET http://www.met.tamu.edu/mcsat/mcimages/MDR/MDRTOPO.GIF HTTP/1.0",
                 "1|0|0",
                 {30, 20},
                 {},
                 {}},
        AutoCase{
            "LetterCaseDiffers", "europe satellite image", "", jpegBytes(8, 8), "", "", {}, {}, {}},
        AutoCase{"None", "None", "", jpegBytes(8, 8), "", "", {}, {}, {}},
        AutoCase{"PositionNotNumbers",
                 "Europe Satellite Image",
                 "12a,5",
                 jpegBytes(16, 16),
                 "GET http://weather.yahoo.com/graphics/satellite/europe.jpg HTTP/1.0",
                 "1|0|0",
                 {16, 16},
                 {},
                 {}}),
    [](const auto& info) { return test::CaseName(info.param.name); });

struct ShortCase
{
    std::string name;
    std::string autoWallpaper;
    std::string openWindowUpper; // imageFileUpper of an image window open before the refresh
    std::string request;
};

void PrintTo(const ShortCase& c, std::ostream* os)
{
    *os << c.name;
}

class ShortReply : public WallpaperUpdateTest, public ::testing::WithParamInterface<ShortCase>
{
};

// A reply too short to be a picture still reports success during a timed refresh. The download
// does not prepare it, so it has no upper-case name and goes to the JPEG decoder, whose error
// ends the refresh in the error box; a name left by an open image window does not choose the
// window's GIF instead.
TEST_P(ShortReply, EndsInTheDecodersErrorBox)
{
    const ShortCase& c = GetParam();
    set(SettingNames::AutoWallpaper, c.autoWallpaper);
    state.imageFileUpper = c.openWindowUpper;
    server.setScript(body(QByteArray(100, 'x')));

    EXPECT_FALSE(runGuarded(ui, [this] { update.UpdateAutoWallpaper(); }));

    EXPECT_EQ(requestLine(0), c.request);
    ASSERT_EQ(ui.errors().size(), 1u);
    EXPECT_EQ(ui.errors()[0], "Not a JPEG file: starts with 0x78 0x78");
    EXPECT_TRUE(desktop.empty());
    EXPECT_TRUE(wallpaperWindow.captured.empty());
    EXPECT_EQ(status, (std::vector<std::string>{"Problems retrieving image...100", "(repaint)",
                                                "Processing wallpaper image..."}));
    EXPECT_FALSE(QFile::exists(QStringLiteral("cirrolux.bmp")));
    EXPECT_TRUE(state.imageFile.empty());
    EXPECT_TRUE(state.imageFileUpper.empty());
    EXPECT_TRUE(state.requestSucceeded.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortReply,
    ::testing::Values(
        ShortCase{"Jpeg", "Europe Satellite Image", "",
                  "GET http://weather.yahoo.com/graphics/satellite/europe.jpg HTTP/1.0"},
        ShortCase{"Gif", "US Infrared Satellite Image - Purdue", "",
                  "GET http://wxp.eas.purdue.edu/satellite/sat_ir_us.gif HTTP/1.0"},
        ShortCase{"RegionalRadar", "Regional/State Radar=TX", "",
                  "GET http://www.cirrolux.net/assets/images/wbank/TX_radar.GIF HTTP/1.0"},
        ShortCase{"GifWindowOpen", "Europe Satellite Image", "HR00US.GIF",
                  "GET http://weather.yahoo.com/graphics/satellite/europe.jpg HTTP/1.0"}),
    [](const auto& info) { return test::CaseName(info.param.name); });

// One message box per run for a desktop the program does not know; later timed refreshes say it
// in the status bar. "Save As &Wallpaper" is asked for by the user, who always gets the box.
TEST_F(WallpaperUpdateTest, UnknownDesktopIsToldOncePerRunThenInTheStatusBar)
{
    desktopTakesIt = false;
    set(SettingNames::AutoWallpaper, "Europe Satellite Image");
    server.setScripts({body(jpegBytes(16, 16)), body(jpegBytes(16, 16)), body(jpegBytes(16, 16))});
    const std::vector<std::string> told{DesktopWallpaper::noDesktopMessage(installedBitmap())};
    for (int refresh = 0; refresh < 3; ++refresh) {
        update.UpdateAutoWallpaper();
        EXPECT_EQ(ui.messages(), told) << refresh;
        EXPECT_EQ(status.back(), "Wallpaper not set: desktop not supported...") << refresh;
        EXPECT_EQ(std::count(status.begin(), status.end(), "Wallpaper updated..."), 0);
    }
    EXPECT_EQ(desktop.size(), 3u);
    EXPECT_TRUE(ui.errors().empty());

    test::WriteJpeg(QStringLiteral("europe.jpg"), test::GradientPicture(8, 8));
    state.automaticRequest.clear();
    state.imageFile = "europe.jpg";
    state.imageFileUpper = "EUROPE.JPG";
    update.do_wallpaper();
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages().back(), told[0]);
    EXPECT_EQ(status.back(), "Wallpaper not set: desktop not supported...");
}

TEST_F(WallpaperUpdateTest, DesktopThatTakesItIsReportedUpdated)
{
    set(SettingNames::AutoWallpaper, "Europe Satellite Image");
    server.setScript(body(jpegBytes(16, 16)));
    update.UpdateAutoWallpaper();
    EXPECT_EQ(status.back(), "Wallpaper updated...");
    EXPECT_TRUE(ui.events().empty());
}

struct ByHandCase
{
    std::string name;
    std::string imageFile;
    std::string imageFileUpper;
    QSize bitmap; // empty: the JPEG decoder refuses the GIF file
};

void PrintTo(const ByHandCase& c, std::ostream* os)
{
    *os << c.name;
}

class ByHandDecoder : public WallpaperUpdateTest, public ::testing::WithParamInterface<ByHandCase>
{
};

// The upper-case name that the download set decides JPEG or GIF, as it decided how the window
// shows the image; the file's own name does not.
TEST_P(ByHandDecoder, FollowsTheUpperCaseName)
{
    const ByHandCase& c = GetParam();
    state.automaticRequest.clear();
    test::WriteJpeg(QStringLiteral("europe.jpg"), test::GradientPicture(12, 10));
    QFile gif(QStringLiteral("sat_ir_us.gif"));
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.write(Gif);
    gif.close();
    state.imageFile = c.imageFile;
    state.imageFileUpper = c.imageFileUpper;

    const bool done = runGuarded(ui, [this] { update.do_wallpaper(); });

    if (c.bitmap.isEmpty()) {
        EXPECT_FALSE(done);
        EXPECT_EQ(ui.errors(), std::vector<std::string>{"Not a JPEG file: starts with 0x67 0x67"});
        EXPECT_TRUE(desktop.empty());
    } else {
        EXPECT_TRUE(done);
        EXPECT_EQ(installedSize(), c.bitmap);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ByHandDecoder,
    ::testing::Values(ByHandCase{"Jpeg", "europe.jpg", "EUROPE.JPG", {12, 10}},
                      ByHandCase{"Gif", "sat_ir_us.gif", "SAT_IR_US.GIF", {30, 20}},
                      // The window's GIF when the name says GIF, whatever the file is called.
                      ByHandCase{"GifName", "europe.jpg", "SAT_IR_US.GIF", {30, 20}},
                      // No upper-case name (a timed refresh cleared it): the JPEG decoder.
                      ByHandCase{"NoName", "sat_ir_us.gif", "", {}}),
    [](const auto& info) { return test::CaseName(info.param.name); });

TEST_F(WallpaperUpdateTest, UnreadableGifMakesNoBitmap)
{
    set(SettingNames::AutoWallpaper, "US Frontal Positions - Purdue");
    wallpaperWindow.firstFrame = QImage();
    server.setScript(body(Gif));
    update.UpdateAutoWallpaper();
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"Error - cirrolux.bmp not found; msg#: xUnit1."});
    EXPECT_TRUE(desktop.empty());
    EXPECT_EQ(status.back(), "Wallpaper updated...");
}

TEST_F(WallpaperUpdateTest, BadPositionReportedOncePerRun)
{
    set(SettingNames::AutoWallpaper, "Europe Satellite Image");
    set(SettingNames::WallpaperLoc, "12a,5");
    server.setScript(body(jpegBytes(16, 16)));
    update.UpdateAutoWallpaper();
    update.UpdateAutoWallpaper();
    EXPECT_EQ(ui.errors().size(), 1u);
    EXPECT_EQ(desktop.size(), 2u);
}

TEST_F(WallpaperUpdateTest, LeftoverBitmapIsNotTakenForTheNextImage)
{
    QImage stale(5, 5, QImage::Format_RGB32);
    stale.fill(Qt::red);
    ASSERT_TRUE(stale.save(QStringLiteral("cirrolux.bmp"), "BMP"));
    set(SettingNames::AutoWallpaper, "Europe Satellite Image");
    server.setScript(body(jpegBytes(64, 48)));
    update.UpdateAutoWallpaper();
    EXPECT_EQ(installedSize(), QSize(64, 48));
}

TEST_F(WallpaperUpdateTest, ExistingWallpaperIsReplaced)
{
    set(SettingNames::AutoWallpaper, "Europe Satellite Image");
    server.setScripts({body(jpegBytes(64, 48)), body(jpegBytes(32, 24))});
    update.UpdateAutoWallpaper();
    EXPECT_EQ(installedSize(), QSize(64, 48));
    update.UpdateAutoWallpaper();
    EXPECT_EQ(installedSize(), QSize(32, 24));
    EXPECT_TRUE(ui.texts().empty());
}

struct SaveAsCase
{
    std::string name;
    std::string title;
    bool captureUsed; // the window's own capture becomes the wallpaper
};

void PrintTo(const SaveAsCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaveAsWallpaper : public WallpaperUpdateTest, public ::testing::WithParamInterface<SaveAsCase>
{
};

// "Save As &Wallpaper" after the window saved its WeatherBank capture: that bitmap is used as
// it is; on any other image a bitmap in the working directory is left over from an update that
// stopped, belongs to another image, and is made again.
TEST_P(SaveAsWallpaper, CaptureOnlyForWeatherBank)
{
    const SaveAsCase& c = GetParam();
    QImage captured(7, 9, QImage::Format_RGB32);
    captured.fill(Qt::blue);
    ASSERT_TRUE(captured.save(QStringLiteral("cirrolux.bmp"), "BMP"));
    wallpaperWindow.title = c.title;
    state.automaticRequest.clear();
    state.imageFile = "hr00us.gif";
    state.imageFileUpper = "HR00US.GIF";

    update.do_wallpaper();

    EXPECT_EQ(installedSize(), c.captureUsed ? QSize(7, 9) : QSize(30, 20));
    EXPECT_EQ(desktop.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveAsWallpaper,
    ::testing::Values(
        SaveAsCase{"WeatherBank", "Cirrolux - US Radar Image - WeatherBank, Inc.", true},
        SaveAsCase{"StateRadar", "Cirrolux - Alabama Radar - Courtesy of WeatherBank, Inc.", true},
        SaveAsCase{"OtherGif", "Cirrolux - US Frontal Positions - Purdue", false},
        SaveAsCase{"WeatherBankAtFirstCharacter", "WeatherBank", false}),
    [](const auto& info) { return test::CaseName(info.param.name); });

} // namespace
} // namespace cirrolux
