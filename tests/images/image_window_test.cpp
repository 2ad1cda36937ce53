#include "GifWriter.h"
#include "JpegWriter.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"

#include "display/TGIFImage.h"
#include "images/TImage.h"
#include "images/TfrmImage.h"
#include "images/WallpaperCommands.h"
#include "platform/CirroluxError.h"
#include "platform/SharedState.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cirrolux;
using namespace cirrolux::test;

namespace {

class CountingWallpaper : public WallpaperCommands
{
public:
    void do_wallpaper() override
    {
        ++calls;
        bitmapFound = QFile::exists(QStringLiteral("cirrolux.bmp"));
    }
    int calls = 0;
    bool bitmapFound = false;
};

class ImageWindowTest : public ::testing::Test
{
protected:
    ImageWindowTest()
    {
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        main.resize(340, 360);
        main.show();
    }
    ~ImageWindowTest() override { QDir::setCurrent(m_oldDir); }

    QAction* action(const char* name) const
    {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    }
    void gif(const char* name, int width, int height, int frames)
    {
        ASSERT_TRUE(WriteNumberedGif(QString::fromLatin1(name), width, height, frames, true));
    }

    QTemporaryDir m_dir;
    QString m_oldDir;
    TempProfile profile;
    SettingsStore settings = profile.store();
    RecordingUserInterface ui;
    SharedState state;
    QWidget main;
    TfrmImage window{
        state, settings, ui, {[this] { main.showMinimized(); }, [this] { main.showNormal(); }}};
};

TEST_F(ImageWindowTest, StartsAsDesigned)
{
    EXPECT_EQ(window.objectName(), QStringLiteral("frmImage"));
    EXPECT_EQ(window.size(), QSize(332, 316));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Cirrolux "));
    EXPECT_EQ(window.backgroundColor(), QColor(Qt::black));
    EXPECT_EQ(window.Image1().objectName(), QStringLiteral("Image1"));
    EXPECT_EQ(window.GIFImage1().geometry(), QRect(0, 0, 185, 81));
    EXPECT_EQ(window.Image1().geometry(), QRect(9, 104, 246, 73));
    EXPECT_FALSE(window.GIFImage1().Animate());
    const QLabel* status = window.findChild<QLabel*>(QStringLiteral("StatusBar1Text"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral(" Thank you for using Cirrolux..."));

    // The menu, in order, with the component names.
    std::vector<std::string> lines;
    for (QAction* top : window.menuBar()->actions()) {
        lines.push_back(top->menu()->objectName().toStdString() + " " + top->text().toStdString());
        for (QAction* item : top->menu()->actions()) {
            if (item->isSeparator()) {
                lines.push_back("  -");
                continue;
            }
            const QString name = item->menu() ? item->menu()->objectName() : item->objectName();
            lines.push_back("  " + name.toStdString() + " " + item->text().toStdString());
            if (item->menu())
                for (QAction* sub : item->menu()->actions())
                    lines.push_back("    " + sub->objectName().toStdString() + " " +
                                    sub->text().toStdString() + (sub->isChecked() ? " (x)" : ""));
        }
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Options1 &Options", "  MaximizeonOpen1 &Maximize on open",
                                        "    mnuMOYes1 &Yes", "    mnuMONo1 &No (x)",
                                        "  mnuSaveAsWallpaper1 Save As &Wallpaper", "  -",
                                        "  mnuPrint1 &Print", "  mnuClose1 &Close", "Help1 &Help",
                                        "  mnuHelpContentsF11 Help &Contents (F1)"}));
    // The caption names the key; a shortcut on the entry would show "F1" a second time.
    EXPECT_TRUE(action("mnuHelpContentsF11")->shortcut().isEmpty());
}

TEST_F(ImageWindowTest, PrintDialogOffersNoPrintingToAFile)
{
    action("mnuPrint1")->trigger();
    ASSERT_FALSE(ui.events().empty());
    EXPECT_EQ(ui.events().back().kind, RecordingUserInterface::Event::Kind::PrintDialog);
    EXPECT_FALSE(ui.printToFileOffered());
}

// The picture control is anchored to the left, top and right edges: its right edge keeps its
// distance from the window's as the window grows or shrinks.
TEST_F(ImageWindowTest, PictureFollowsTheRightEdge)
{
    window.show();
    QCoreApplication::processEvents();
    const int margin = window.width() - window.Image1().geometry().right();
    const int left = window.Image1().x();
    for (const int width : {500, 400, 332}) {
        window.resize(width, window.height());
        QCoreApplication::processEvents();
        EXPECT_EQ(window.width() - window.Image1().geometry().right(), margin) << width;
        EXPECT_EQ(window.Image1().x(), left);
    }
    window.close();
}

struct MaxOpenCase
{
    const char* stored; // null: never set
    bool maximised;
    friend void PrintTo(const MaxOpenCase& c, std::ostream* os)
    {
        *os << (c.stored ? c.stored : "unset");
    }
};

class MaxOpenImage : public ImageWindowTest, public ::testing::WithParamInterface<MaxOpenCase>
{
};

TEST_P(MaxOpenImage, DecidesTheStateOnShow)
{
    if (GetParam().stored)
        settings.write_setting(SettingNames::Settings, SettingNames::MaxOpenImage,
                               GetParam().stored);
    window.resizeWindow(332, 316);
    window.showWindow();
    EXPECT_EQ(window.isMaximized(), GetParam().maximised);
    EXPECT_EQ(action("mnuMOYes1")->isChecked(), GetParam().maximised);
    EXPECT_EQ(action("mnuMONo1")->isChecked(), !GetParam().maximised);
    EXPECT_TRUE(main.windowState() & Qt::WindowMinimized);
    window.close();
    EXPECT_FALSE(main.windowState() & Qt::WindowMinimized);
}

INSTANTIATE_TEST_SUITE_P(Values, MaxOpenImage,
                         ::testing::Values(MaxOpenCase{"y", true}, MaxOpenCase{"", false},
                                           MaxOpenCase{"n", false}, MaxOpenCase{nullptr, false},
                                           MaxOpenCase{"Y", false}),
                         [](const auto& info) {
                             const char* s = info.param.stored;
                             return std::string(!s ? "unset" : *s ? s : "empty");
                         });

TEST_F(ImageWindowTest, YesAndNoStoreTheChoice)
{
    action("mnuMOYes1")->trigger();
    EXPECT_EQ(settings.read_setting(SettingNames::Settings, SettingNames::MaxOpenImage), "y");
    EXPECT_TRUE(action("mnuMOYes1")->isChecked());
    EXPECT_FALSE(action("mnuMONo1")->isChecked());
    action("mnuMONo1")->trigger();
    EXPECT_EQ(settings.read_setting(SettingNames::Settings, SettingNames::MaxOpenImage), "");
    EXPECT_FALSE(action("mnuMOYes1")->isChecked());
    EXPECT_TRUE(action("mnuMONo1")->isChecked());
}

struct CloseCase
{
    const char* name;
    const char* automaticRequest;
    const char* webMode;
    bool namesKept;
    bool mainRestored;
    friend void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }
};

class ImageWindowClose : public ImageWindowTest, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(ImageWindowClose, DeletesTheFileAndRestores)
{
    gif("pcwgif.gif", 60, 40, 3);
    state.imageFile = "pcwgif.gif";
    state.imageFileUpper = "PCWGIF.GIF";
    state.automaticRequest = GetParam().automaticRequest;
    state.webMode = GetParam().webMode;
    window.setWhiteBackground();
    window.removeMaximizeButton();
    EXPECT_FALSE(window.maximizeButtonShown());
    window.prepareGif();
    window.loadGif("pcwgif.gif");
    window.setGifAnimate(true);
    window.showWindow();
    ASSERT_TRUE(main.windowState() & Qt::WindowMinimized);

    action("mnuClose1")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("pcwgif.gif")));
    EXPECT_TRUE(window.maximizeButtonShown());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.backgroundColor(), QColor(Qt::black));
    EXPECT_FALSE(window.GIFImage1().Animate());
    EXPECT_TRUE(window.GIFImage1().Empty());
    EXPECT_EQ(state.imageFile.empty(), !GetParam().namesKept);
    EXPECT_EQ(state.imageFileUpper.empty(), !GetParam().namesKept);
    EXPECT_EQ(!(main.windowState() & Qt::WindowMinimized), GetParam().mainRestored);
}

INSTANTIATE_TEST_SUITE_P(Modes, ImageWindowClose,
                         ::testing::Values(CloseCase{"user", "", "", false, true},
                                           CloseCase{"timed_refresh", "y", "", true, true},
                                           CloseCase{"country_information", "", "ci", false, false},
                                           CloseCase{"fire_report", "", "usfi", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImageWindowTest, NoMaximizeButtonUntilClosed)
{
    window.removeMaximizeButton();
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(ImageWindowTest, PictureSizesItselfAndAnUndecodableOneRaises)
{
    ASSERT_TRUE(WriteJpeg(QStringLiteral("cam.jpg"), GradientPicture(300, 200)));
    window.preparePicture();
    window.loadPicture("cam.jpg");
    EXPECT_EQ(window.Image1().geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(window.GIFImage1().size(), QSize(0, 0));
    EXPECT_GE(window.Image1().ProgressPaints(), 3);

    QFile page(QStringLiteral("page.jpg"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<HTML>Moved</HTML>");
    page.close();
    try {
        window.loadPicture("page.jpg");
        FAIL();
    } catch (const DecoderError& error) {
        EXPECT_STREQ(error.what(), "Not a JPEG file: starts with 0x3c 0x48");
    }
}

TEST_F(ImageWindowTest, PrintsTheClientAreaAtScreenSize)
{
    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    ui.printToPdf(pdf);
    action("mnuPrint1")->trigger();
    EXPECT_TRUE(ui.errors().empty());
    EXPECT_GT(QFileInfo(pdf).size(), 0);
}

TEST_F(ImageWindowTest, HelpOpensTheContents)
{
    action("mnuHelpContentsF11")->trigger();
    ASSERT_EQ(ui.events().size(), 1u);
    EXPECT_EQ(ui.events()[0],
              (RecordingUserInterface::Event{RecordingUserInterface::Event::Kind::Help, "image"}));
}

TEST_F(ImageWindowTest, WallpaperEntryWaitsForItsCommand)
{
    EXPECT_FALSE(action("mnuSaveAsWallpaper1")->isEnabled());
    CountingWallpaper wallpaper;
    window.setWallpaperCommands(&wallpaper);
    EXPECT_TRUE(action("mnuSaveAsWallpaper1")->isEnabled());
    window.setWallpaperCommands(nullptr);
    action("mnuSaveAsWallpaper1")->trigger();
    EXPECT_EQ(wallpaper.calls, 0);
}

struct WallpaperCase
{
    const char* title;
    bool captured;
    friend void PrintTo(const WallpaperCase& c, std::ostream* os) { *os << c.title; }
};

class SaveAsWallpaper : public ImageWindowTest, public ::testing::WithParamInterface<WallpaperCase>
{
};

TEST_P(SaveAsWallpaper, WeatherBankLoopsAreCapturedFirst)
{
    CountingWallpaper wallpaper;
    window.setWallpaperCommands(&wallpaper);
    window.setCaptureDelay(10);
    gif("hr00us.gif", 300, 200, 4);
    window.setImageTitle(GetParam().title);
    window.prepareGif();
    window.loadGif("hr00us.gif");
    window.move(50, 60);
    window.resize(332, 316);
    window.showWindow();
    const QRect before = window.geometry();
    QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
    action("mnuSaveAsWallpaper1")->trigger();
    EXPECT_EQ(wallpaper.calls, 1);
    EXPECT_EQ(wallpaper.bitmapFound, GetParam().captured);
    if (GetParam().captured) {
        EXPECT_EQ(window.pos(), QPoint(0, 0));
        EXPECT_EQ(window.size(), QSize(310, 260));
        const QImage saved(QStringLiteral("cirrolux.bmp"));
        EXPECT_EQ(saved.pixel(5, 5), window.GIFImage1().CurrentBitmap().pixel(5, 5));
        // The capture went through the clipboard, which keeps it for the user to paste.
        const QImage kept = QGuiApplication::clipboard()->image();
        EXPECT_EQ(kept.size(), saved.size());
        EXPECT_EQ(kept.pixel(5, 5), saved.pixel(5, 5));
    } else {
        EXPECT_EQ(window.geometry(), before);
        // Nothing was captured, so the user's clipboard is left alone.
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own text"));
    }
    EXPECT_TRUE(ui.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Titles, SaveAsWallpaper,
    ::testing::Values(WallpaperCase{"Cirrolux - US Radar Image - WeatherBank, Inc.", true},
                      WallpaperCase{"Cirrolux - US Radar Image - Yahoo", false},
                      // Only after the first character.
                      WallpaperCase{"WeatherBank", false}),
    [](const auto& info) {
        return std::string(info.param.captured ? "captured_" : "kept_") +
               std::to_string(std::strlen(info.param.title));
    });

} // namespace
