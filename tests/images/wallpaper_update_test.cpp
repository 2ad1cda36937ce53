#include "images/WallpaperUpdate.h"

#include "CaseName.h"
#include "ImageFixture.h"
#include "JpegWriter.h"
#include "platform/AppPaths.h"
#include "settings/SettingNames.h"

#include <QFile>
#include <QImageReader>

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
    WallpaperUpdate update{state,
                           settings,
                           ui,
                           http,
                           download,
                           wallpaperWindow,
                           [this](const QString& path, int style, int x, int y) {
                               desktop.push_back(path.toStdString() + "|" + std::to_string(style) +
                                                 "|" + std::to_string(x) + "|" + std::to_string(y));
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
        // A reply too short to be a picture still reports success during a timed refresh; it
        // must not become the wallpaper.
        AutoCase{"ShortReply",
                 "Europe Satellite Image",
                 "",
                 QByteArray(100, 'x'),
                 "GET http://weather.yahoo.com/graphics/satellite/europe.jpg HTTP/1.0",
                 "",
                 {},
                 {},
                 {}},
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
// it is; on any other image a bitmap in the working directory is left over and made again.
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
