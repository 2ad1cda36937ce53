#include "ImageFixture.h"

#include "CaseName.h"

#include "images/ImageCatalogue.h"
#include "net/ServiceAddresses.h"

#include <QFile>

using namespace cirrolux;
using namespace cirrolux::test;
using Strings = std::vector<std::string>;

namespace {

const ImageSource& rowWithFile(const std::string& file)
{
    for (const ImageSource& row : ImageCatalogue())
        if (row.localFile() == file)
            return row;
    throw std::runtime_error("no row for " + file);
}

const Strings ShownStatus = {"Image retrieved...", "(repaint)", "Preparing image for display...",
                             "(repaint)", "Thank you for using Cirrolux..."};

// Which control a file name goes to, and the steps that follow.
struct RoutingCase
{
    const char* file;
    Strings steps;
    friend void PrintTo(const RoutingCase& c, std::ostream* os) { *os << c.file; }
};

class ImageRouting : public ImageFixture, public ::testing::WithParamInterface<RoutingCase>
{
};

TEST_P(ImageRouting, ByFileName)
{
    const ImageSource& row = rowWithFile(GetParam().file);
    server.setScript(image(2000));
    window.gifW = 640;
    window.gifH = 480;
    download.runImageCommand(row);
    EXPECT_EQ(window.steps, GetParam().steps);
    EXPECT_EQ(window.title, row.windowTitle());
    EXPECT_EQ(requestLine(0), "GET " + row.url() + " HTTP/1.0");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(row.localFile())));
    EXPECT_EQ(state.imageFile, GetParam().file);
    EXPECT_EQ(status, ShownStatus);
    EXPECT_EQ(state.requestSucceeded, "");
    EXPECT_TRUE(ui.events().empty());
}

const Strings PictureSteps(const std::string& file)
{
    return {"picture control", "size 332x316", "repaint", "load picture " + file, "show"};
}
const Strings GifSteps(const std::string& file)
{
    return {"GIF control", "size 332x316", "repaint", "load GIF " + file, "show"};
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImageRouting,
    ::testing::Values(RoutingCase{"00Latest.JPG", PictureSteps("00Latest.JPG")},
                      RoutingCase{"banffcam.jpeg", PictureSteps("banffcam.jpeg")},
                      RoutingCase{"last.md.jpeg", PictureSteps("last.md.jpeg")},
                      RoutingCase{"SWUS2D.gif",
                                  [] {
                                      Strings s = GifSteps("SWUS2D.gif");
                                      s.insert(s.begin(), "animate on");
                                      return s;
                                  }()},
                      RoutingCase{"pcwgif.gif",
                                  [] {
                                      Strings s = GifSteps("pcwgif.gif");
                                      s.insert(s.begin(), {"white", "no maximize"});
                                      return s;
                                  }()},
                      // The WeatherBank loop: top-left, sized to the image, running from frame 2.
                      RoutingCase{"hr00us.gif",
                                  {"animate on", "frame 2", "GIF control", "size 332x316",
                                   "repaint", "load GIF hr00us.gif", "move 0,0", "animate on",
                                   "frame 2", "load GIF hr00us.gif", "size 640x480",
                                   "load GIF hr00us.gif", "repaint", "animate on", "frame 2",
                                   "show"}}),
    [](const auto& info) { return CaseName(info.param.file); });

// The Purdue radar retry: announced lengths of the first and the second reply.
struct RetryCase
{
    const char* name;
    std::vector<int> announced; // one reply per entry
    int requests;
    std::string finalFile;
    Strings status;
    friend void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.name; }
};

class RadarRetry : public ImageFixture, public ::testing::WithParamInterface<RetryCase>
{
};

const std::string RetryText = "Sorry, this image is not available at the moment.  I will retry an "
                              "image 2 hours older than the current.";

TEST_P(RadarRetry, OnceBelowTenThousandBytes)
{
    std::vector<ScriptedServer::Script> scripts;
    for (int length : GetParam().announced)
        scripts.push_back(image(length));
    server.setScripts(scripts);
    download.runImageCommand(*FindImageSource("mnuUSRadarPurdue"));

    EXPECT_EQ(int(server.requests().size()), GetParam().requests);
    EXPECT_EQ(requestLine(0), "GET http://wxp.eas.purdue.edu/radar/rad_comp.gif HTTP/1.0");
    if (GetParam().requests == 2) {
        EXPECT_EQ(requestLine(1),
                  "GET http://wxp.eas.purdue.edu/radar/previous/rad_comp-2.gif HTTP/1.0");
        EXPECT_EQ(ui.messages(), Strings{RetryText});
    } else {
        EXPECT_TRUE(ui.messages().empty());
    }
    EXPECT_EQ(state.imageFile, GetParam().finalFile);
    EXPECT_EQ(http.Body, GetParam().finalFile);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(GetParam().finalFile)));
    EXPECT_EQ(status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, RadarRetry,
    ::testing::Values(RetryCase{"at_9999", {9999, 20000}, 2, "rad_comp-2.gif", ShownStatus},
                      RetryCase{"at_10000", {10000}, 1, "rad_comp.gif", ShownStatus},
                      // The retry is short too: no third try; 600 bytes still count as received.
                      RetryCase{"short_again", {600, 700}, 2, "rad_comp-2.gif", ShownStatus},
                      RetryCase{"retry_too_short",
                                {100, 200},
                                2,
                                "rad_comp-2.gif",
                                {"Problems retrieving image...200", "(repaint)"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The size test: announced and received bytes decide together.
struct SizeCase
{
    const char* name;
    ScriptedServer::Script reply;
    Strings status;
    friend void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }
};

class ImageSize : public ImageFixture, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(ImageSize, ReceivedFromFiveHundredBytes)
{
    server.setScript(GetParam().reply);
    download.runImageCommand(*FindImageSource("mnuUSRadarYahoo"));
    EXPECT_EQ(status, GetParam().status);
    EXPECT_EQ(window.shown, GetParam().status == ShownStatus);
    EXPECT_EQ(state.requestSucceeded, "");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ImageSize,
    ::testing::Values(SizeCase{"no_length_499",
                               ImageFixture::image(499, false),
                               {"Problems retrieving image...0", "(repaint)"}},
                      SizeCase{"no_length_500", ImageFixture::image(500, false), ShownStatus},
                      SizeCase{"announced_499",
                               ImageFixture::image(499),
                               {"Problems retrieving image...499", "(repaint)"}},
                      // Announced but cut short: the announcement is enough.
                      SizeCase{"announced_500_sent_10", ImageFixture::announced(500, 10),
                               ShownStatus},
                      SizeCase{"empty",
                               ImageFixture::image(0, false),
                               {"Problems retrieving image...0", "(repaint)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImageFixture, EnoughBytesWithoutSuccessBeepsAndShowsNothing)
{
    server.setScript(image(2000, true, "HTTP/1.0 404 Not Found"));
    download.runImageCommand(*FindImageSource("mnuUSRadarYahoo"));
    EXPECT_EQ(status, (Strings{"Image retrieved...", "(repaint)", "Error retrieving image..."}));
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_FALSE(window.shown);
    EXPECT_TRUE(window.steps.empty());
}

TEST_F(ImageFixture, TimedRefreshLoadsTheWindowWithoutShowingIt)
{
    state.automaticRequest = "y";
    server.setScript(image(2000));
    download.runImageCommand(*FindImageSource("mnuUSRadarWeatherBank1"));
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(std::count(window.steps.begin(), window.steps.end(), "load GIF hr00us.gif"), 3);
    EXPECT_EQ(state.requestSucceeded, "Y");
    EXPECT_EQ(state.imageFileUpper, "HR00US.GIF");
    EXPECT_EQ(status.back(), "Thank you for using Cirrolux...");
}

TEST_F(ImageFixture, TheNoteFollowsAlsoAFailedDownload)
{
    server.setScript(image(10, false));
    download.runImageCommand(*FindImageSource("mnu12monthUSTemperatureOutlook1"));
    EXPECT_EQ(ui.messages(),
              Strings{"Note: The letters above the purple bars indicate the respective months."});
    EXPECT_EQ(status, (Strings{"Problems retrieving image...0", "(repaint)"}));
}

TEST_F(ImageFixture, TransferErrorEndsTheCommandWithNothingShown)
{
    http.ProxyPort = 1; // nothing listens there
    state.requestSucceeded = "Y";
    EXPECT_THROW(download.runImageCommand(*FindImageSource("mnu1and3monthUSPrecipitation1")),
                 TransferError);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(window.shown);
    EXPECT_TRUE(status.empty());
    EXPECT_EQ(state.imageFile, "page2.gif");
}

TEST_F(ImageFixture, UndecodablePictureLeavesThePreparingStatus)
{
    window.pictureError = "Not a JPEG file: starts with 0x3c 0x48";
    server.setScript(image(2000));
    EXPECT_THROW(download.runImageCommand(*FindImageSource("mnuEuropeSat1")), DecoderError);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(status.back(), "(repaint)");
    EXPECT_EQ(status[status.size() - 2], "Preparing image for display...");
}

TEST_F(ImageFixture, TransferSettingsOfAnImage)
{
    server.setScript(image(2000));
    http.TimeOut = 5;
    http.OutputFileMode = true;
    download.runImageCommand(*FindImageSource("mnuEuropeSat1"));
    EXPECT_EQ(http.TimeOut, 90000);
    EXPECT_TRUE(http.InputFileMode);
    EXPECT_FALSE(http.OutputFileMode);
    EXPECT_EQ(http.ReportLevel, 16);
    EXPECT_NE(server.requests()[0].indexOf("Referer: Cirrolux by Tallowmere\r\n"), -1);
}

} // namespace
