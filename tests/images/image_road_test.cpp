// Image commands from catalogue row to picture on the screen, through the real transfer
// component, the service emulator on 127.0.0.1 as the proxy, and the real image window.
#include "CaseName.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"

#include "display/TGIFImage.h"
#include "images/ImageCatalogue.h"
#include "images/ImageDownload.h"
#include "images/TImage.h"
#include "images/TfrmImage.h"
#include "net/TNMHTTP.h"
#include "platform/CommandGuard.h"
#include "platform/SharedState.h"
#include "servicesim/ServiceEmulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace cirrolux;
using servicesim::ServiceEmulator;
using Strings = std::vector<std::string>;

namespace {

class ImageRoad : public ::testing::Test
{
protected:
    ImageRoad()
    {
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        emulator.setNow(QDateTime(QDate(2026, 1, 15), QTime(14, 0), Qt::UTC));
        EXPECT_TRUE(emulator.listen());
        http.Proxy = "127.0.0.1";
        http.ProxyPort = emulator.port();
        QObject::connect(&http, &TNMHTTP::OnSuccess, &http,
                         [this](int) { state.requestSucceeded = "Y"; });
        main.show();
    }
    ~ImageRoad() override
    {
        window.close();
        QDir::setCurrent(m_oldDir);
    }

    // Runs a row's command as its menu entry does, through the command guard.
    bool run(const char* component)
    {
        return runGuarded(ui, [&] { download.runImageCommand(*FindImageSource(component)); });
    }
    Strings requestLines() const
    {
        Strings lines;
        for (const auto& head : emulator.requests())
            lines.push_back(head.raw.left(head.raw.indexOf("\r\n")).toStdString());
        return lines;
    }
    static void turn(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QTemporaryDir m_dir;
    QString m_oldDir;
    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    SharedState state;
    ServiceEmulator emulator;
    TNMHTTP http;
    QWidget main;
    TfrmImage window{
        state, store, ui, {[this] { main.showMinimized(); }, [this] { main.showNormal(); }}};
    Strings status;
    ImageDownload download{
        state, ui, http, window,
        ImageDownload::Hooks{[this](const std::string& text) { status.push_back(text); }, {}}};
};

class EveryImage : public ImageRoad, public ::testing::WithParamInterface<std::size_t>
{
};

TEST_P(EveryImage, DownloadsAndShows)
{
    const ImageSource& row = ImageCatalogue()[GetParam()];
    ASSERT_TRUE(run(std::string(row.component).c_str()));
    EXPECT_TRUE(ui.errors().empty());
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "Thank you for using Cirrolux...");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.imageTitle(), row.windowTitle());
    const std::string file = state.imageFile;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(file)));
    if (state.imageFileUpper.find(".GIF") != std::string::npos) {
        EXPECT_FALSE(window.GIFImage1().Empty()) << file;
        EXPECT_GT(window.GIFImage1().width(), 100);
        EXPECT_TRUE(window.GIFImage1().isVisibleTo(&window));
        EXPECT_FALSE(window.Image1().isVisibleTo(&window));
        EXPECT_EQ(window.GIFImage1().Animate(), row.has(ImageOption::Animate));
    } else {
        EXPECT_FALSE(window.Image1().Picture().isNull()) << file;
        EXPECT_GT(window.Image1().width(), 100);
        EXPECT_TRUE(window.Image1().isVisibleTo(&window));
        EXPECT_FALSE(window.GIFImage1().isVisibleTo(&window));
    }
    EXPECT_EQ(window.backgroundColor(),
              row.has(ImageOption::White) ? QColor(Qt::white) : QColor(Qt::black));
    window.close();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
    EXPECT_EQ(window.backgroundColor(), QColor(Qt::black));
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryImage, ::testing::Range<std::size_t>(0, 99),
                         [](const auto& info) {
                             return test::CaseName(
                                 std::string(ImageCatalogue()[info.param].component));
                         });

TEST_F(ImageRoad, PurdueRadarRetriesTheOlderPictureOnce)
{
    ASSERT_TRUE(run("mnuUSRadarPurdue"));
    EXPECT_EQ(requestLines(),
              (Strings{"GET http://wxp.eas.purdue.edu/radar/rad_comp.gif HTTP/1.0",
                       "GET http://wxp.eas.purdue.edu/radar/previous/rad_comp-2.gif HTTP/1.0"}));
    EXPECT_EQ(ui.messages(),
              Strings{"Sorry, this image is not available at the moment.  I will retry an image "
                      "2 hours older than the current."});
    EXPECT_EQ(state.imageFile, "rad_comp-2.gif");
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.GIFImage1().Empty());
}

TEST_F(ImageRoad, WeatherBankLoopAnimatesFromFrameTwoAtTheCorner)
{
    ASSERT_TRUE(run("mnuUSRadarWeatherBank1"));
    EXPECT_GE(window.GIFImage1().FrameCount(), 10);
    EXPECT_EQ(window.GIFImage1().CurrentFrame(), 2);
    EXPECT_TRUE(window.GIFImage1().Animate());
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(window.size(), window.GIFImage1().size());
    turn(1500);
    EXPECT_NE(window.GIFImage1().CurrentFrame(), 2);
}

TEST_F(ImageRoad, CameraPictureIsDecodedThroughLibjpeg)
{
    ASSERT_TRUE(run("mnuCamCanadaAlbertaBanffBanffCtrArts1"));
    EXPECT_EQ(state.imageFileUpper, "BANFFCAM.JPEG");
    EXPECT_GE(window.Image1().ProgressPaints(), 1);
    EXPECT_EQ(window.Image1().size(), window.Image1().Picture().size());
}

// What the window shows for a camera JPEG, an animated loop and the retried radar: a picture,
// not an empty black window. With CIRROLUX_SHOT_DIR set the window's picture is saved there.
struct ShotCase
{
    const char* component;
    const char* shot;
    friend void PrintTo(const ShotCase& c, std::ostream* os) { *os << c.component; }
};

class ImageShown : public ImageRoad, public ::testing::WithParamInterface<ShotCase>
{
};

TEST_P(ImageShown, PaintsThePicture)
{
    ASSERT_TRUE(run(GetParam().component));
    turn(400);
    const QImage shown = window.grab().toImage();
    ASSERT_FALSE(shown.isNull());
    std::set<QRgb> colours;
    const QRect area = window.centralWidget()->geometry();
    for (int y = area.top(); y < area.bottom(); y += 7)
        for (int x = area.left(); x < area.right(); x += 7)
            colours.insert(shown.pixel(x, y));
    EXPECT_GT(colours.size(), 8u);
    const QString dir = qEnvironmentVariable("CIRROLUX_SHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(shown.save(QDir(dir).filePath(QString::fromLatin1(GetParam().shot))));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ImageShown,
                         ::testing::Values(ShotCase{"mnuCamCanadaAlbertaBanff1", "image-jpeg.png"},
                                           ShotCase{"mnuUSStormWatch1", "image-animated-gif.png"},
                                           ShotCase{"mnuUSRadarPurdue", "image-retry.png"}),
                         [](const auto& info) { return std::string(info.param.component); });

} // namespace
