#include "CaseName.h"
#include "TempProfile.h"
#include "platform/AppPaths.h"
#include "platform/CirroluxError.h"
#include "wallpaper/WallpaperBitmap.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace cirrolux;
using Source = WallpaperBitmap::Source;

namespace {

struct SourceCase
{
    std::string imageFile;
    Source source;
    const char* imageFileUpper = nullptr; // nullptr: imageFile in capitals, as the download sets
};

std::ostream& operator<<(std::ostream& out, const SourceCase& c)
{
    return out << c.imageFile << " / " << (c.imageFileUpper ? c.imageFileUpper : "(capitals)");
}

class BitmapSource : public ::testing::TestWithParam<SourceCase>
{
};

TEST_P(BitmapSource, FollowsTheUpperCaseNameThenTheFileName)
{
    const SourceCase& c = GetParam();
    const std::string upper = c.imageFileUpper != nullptr
                                  ? c.imageFileUpper
                                  : QString::fromStdString(c.imageFile).toUpper().toStdString();
    EXPECT_EQ(WallpaperBitmap::sourceFor(c.imageFile, upper), c.source);
}

INSTANTIATE_TEST_SUITE_P(
    Names, BitmapSource,
    ::testing::Values(SourceCase{"europe.jpg", Source::Jpeg}, SourceCase{"GGIR.JPG", Source::Jpeg},
                      SourceCase{"00Latest.JPG", Source::Jpeg},
                      SourceCase{"satt0.JpG", Source::Jpeg},
                      SourceCase{"sat_ir_us.gif", Source::GifFirstFrame},
                      SourceCase{"MDR.GIF", Source::GifFirstFrame},
                      SourceCase{"nat_rad.wni.gif", Source::GifFirstFrame},
                      SourceCase{"TX_radar.GIF", Source::RadarCapture},
                      SourceCase{"R3_radar.GIF", Source::RadarCapture},
                      // At the very start it names no area.
                      SourceCase{"_radar.GIF", Source::GifFirstFrame},
                      SourceCase{"TX_radar.gif", Source::GifFirstFrame},
                      // The upper-case name decides JPEG or GIF, whatever the file is called:
                      // an image the download did not prepare has none and goes to the JPEG
                      // decoder, which then says what is wrong with the file.
                      SourceCase{"sat_ir_us.gif", Source::Jpeg, ""},
                      SourceCase{"TX_radar.GIF", Source::Jpeg, ""},
                      SourceCase{"europe.jpg", Source::GifFirstFrame, "SAT_IR_US.GIF"},
                      SourceCase{"TX_radar.GIF", Source::RadarCapture, "TX_RADAR.GIF"}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.imageFile);
    });

QImage testPicture(QImage::Format format)
{
    QImage picture(37, 21, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 6, y * 12, (x + y) % 256));
    return picture.convertToFormat(format);
}

class BitmapSave : public ::testing::TestWithParam<QImage::Format>
{
};

TEST_P(BitmapSave, WritesARealBmpWithThePixels)
{
    test::TempProfile profile;
    const QString path = profile.root() + QStringLiteral("/cirrolux.bmp");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an old bitmap");
    old.close();

    const QImage picture = testPicture(GetParam());
    ASSERT_TRUE(WallpaperBitmap::save(picture, path));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.read(2), QByteArray("BM"));
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapSave,
                         ::testing::Values(QImage::Format_RGB32, QImage::Format_RGB888,
                                           QImage::Format_ARGB32, QImage::Format_Indexed8,
                                           QImage::Format_Grayscale8),
                         [](const auto& info) {
                             switch (info.param) {
                             case QImage::Format_RGB32:
                                 return std::string("RGB32");
                             case QImage::Format_RGB888:
                                 return std::string("RGB888");
                             case QImage::Format_ARGB32:
                                 return std::string("ARGB32");
                             case QImage::Format_Grayscale8:
                                 return std::string("Grayscale8");
                             default:
                                 return std::string("Indexed8");
                             }
                         });

TEST(WallpaperBitmap, NothingIsWrittenForAMissingPictureOrAnUnwritableFolder)
{
    test::TempProfile profile;
    const QString path = profile.root() + QStringLiteral("/cirrolux.bmp");
    EXPECT_FALSE(WallpaperBitmap::save(QImage(), path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(WallpaperBitmap::save(testPicture(QImage::Format_RGB32),
                                       profile.root() + QStringLiteral("/no/such/cirrolux.bmp")));
}

TEST(WallpaperBitmap, WorkingPathIsInTheWorkingDirectory)
{
    test::TempProfile profile;
    const QString before = QDir::currentPath();
    QDir::setCurrent(profile.root());
    EXPECT_EQ(WallpaperBitmap::workingPath(), profile.root() + QStringLiteral("/cirrolux.bmp"));
    QDir::setCurrent(before);
}

TEST(WallpaperBitmap, InstallReplacesTheOldWallpaperAndLeavesNoWorkingCopy)
{
    test::TempProfile profile;
    const QString work = profile.root() + QStringLiteral("/work");
    const QString windows = profile.root() + QStringLiteral("/a rather long data directory path");
    ASSERT_TRUE(QDir().mkpath(work));
    ASSERT_TRUE(QDir().mkpath(windows));
    const QString bitmap = work + QStringLiteral("/cirrolux.bmp");
    ASSERT_TRUE(WallpaperBitmap::save(testPicture(QImage::Format_RGB32), bitmap));
    QFile old(windows + QStringLiteral("/cirrolux.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("yesterday's wallpaper");
    old.close();

    const QString installed = WallpaperBitmap::install(bitmap, windows);
    EXPECT_EQ(installed, windows + QStringLiteral("/cirrolux.bmp"));
    EXPECT_FALSE(QFile::exists(bitmap));
    EXPECT_EQ(QImage(installed), testPicture(QImage::Format_RGB32));
}

TEST(WallpaperBitmap, InstallIntoAMissingFolderFailsAndKeepsTheBitmap)
{
    test::TempProfile profile;
    const QString bitmap = profile.root() + QStringLiteral("/cirrolux.bmp");
    ASSERT_TRUE(WallpaperBitmap::save(testPicture(QImage::Format_RGB32), bitmap));
    const QString missing = profile.root() + QStringLiteral("/gone");
    try {
        WallpaperBitmap::install(bitmap, missing);
        FAIL() << "no error";
    } catch (const CirroluxError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error - cirrolux.bmp could not be copied to " + missing.toStdString() + ".");
    }
    EXPECT_TRUE(QFile::exists(bitmap));
}

TEST(GetWinDir, GivesTheWholeDataDirectoryPathAndMakesIt)
{
    test::TempProfile profile;
    const QString deep =
        profile.root() + QStringLiteral("/data/well beyond twenty-five characters/of path");
    qputenv("XDG_DATA_HOME", deep.toLocal8Bit());
    const QString dir = GetWinDir();
    EXPECT_EQ(dir, deep + QStringLiteral("/Cirrolux"));
    EXPECT_TRUE(QFileInfo(dir).isDir());
}

TEST(GetWinDir, IsEmptyWhenTheFolderCannotBeMade)
{
    test::TempProfile profile;
    const QString file = profile.root() + QStringLiteral("/plain-file");
    QFile blocker(file);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", file.toLocal8Bit());
    EXPECT_EQ(GetWinDir(), QString());
}

} // namespace
