// The web page window end to end: the real transfer component against the service emulator on
// 127.0.0.1, the window headless, and a recorder standing in for the image window.
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "display/TGIFImage.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/SharedState.h"
#include "servicesim/FactbookSite.h"
#include "servicesim/ServiceEmulator.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TFrameViewer.h"
#include "webwindow/TfrmWeb.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace cirrolux;
using servicesim::EmulatorReply;
using servicesim::ServiceEmulator;

namespace {

// The image window as the web page window drives it; it reads the map while the file exists.
class RecordingMapWindow final : public CountryMapWindow
{
public:
    void showCountryMap(const std::string& title, const std::string& gifFile) override
    {
        titles.push_back(title);
        files.push_back(gifFile);
        mapSize = QImage(QString::fromStdString(gifFile)).size();
    }
    void closeImageWindow() override { ++closes; }

    std::vector<std::string> titles;
    std::vector<std::string> files;
    QSize mapSize;
    int closes = 0;
};

// Records what the window's logic shows, in order.
class RecordingWebView final : public WebPageView
{
public:
    void setStatusText(const std::string& text) override { statuses.push_back(text); }
    void setTitle(const std::string& title) override { titles.push_back(title); }
    void setCountries(const std::vector<std::string>& entries) override { countries = entries; }
    std::string chosenCountry() const override { return chosen; }
    void loadPage(const std::string& fileName) override
    {
        QFile file(QString::fromStdString(fileName));
        if (!file.open(QIODevice::ReadOnly))
            throw CirroluxError("Can't locate file: " + fileName);
        page = file.readAll().toStdString();
    }
    void showFlag(const std::string& fileName) override { flags.push_back(fileName); }
    void bringToFront() override { ++raised; }

    std::vector<std::string> statuses, titles, countries, flags;
    std::string chosen, page;
    int raised = 0;
};

class WebRoad : public ::testing::Test
{
protected:
    WebRoad()
    {
        QDir::setCurrent(profile.root());
        emulator.setNow(QDateTime(QDate(2005, 8, 12), QTime(11, 30), Qt::UTC));
        EXPECT_TRUE(emulator.listen());
        http.Proxy = "127.0.0.1";
        http.ProxyPort = emulator.port();
    }
    ~WebRoad() override { QDir::setCurrent(m_old); }

    std::vector<std::string> requestLines() const
    {
        std::vector<std::string> lines;
        for (const auto& head : emulator.requests())
            lines.push_back(head.raw.left(head.raw.indexOf("\r\n")).toStdString());
        return lines;
    }
    static bool exists(const char* name) { return QFile::exists(QString::fromLatin1(name)); }

    QString m_old = QDir::currentPath();
    test::TempProfile profile;
    test::RecordingUserInterface ui;
    SharedState state;
    ServiceEmulator emulator;
    TNMHTTP http;
    RecordingMapWindow map;
};

const std::string Factbook = "http://www.odci.gov/cia/publications/factbook/";

// --- the logic over a recorder -----------------------------------------------------------------

class WebRetrieval : public WebRoad
{
protected:
    RecordingWebView view;
    WebPageRetrieval retrieval{state, http, view, &map};
};

TEST_F(WebRetrieval, CountryListStatusTextsAndTransferSettings)
{
    http.TimeOut = 5;
    http.InputFileMode = true;
    http.HeaderInfo.Referer = "Cirrolux by Tallowmere";
    retrieval.load_countries();
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"Retrieving information...",
                                                       "Information Retrieval complete...",
                                                       "Parsing logic started..."}));
    EXPECT_EQ(requestLines(),
              (std::vector<std::string>{"GET " + Factbook + "country.html HTTP/1.0"}));
    EXPECT_FALSE(emulator.requests()[0].hasHeader("Referer"));
    EXPECT_EQ(http.TimeOut, 60000);
    EXPECT_FALSE(http.InputFileMode);
    EXPECT_EQ(state.webUrl, Factbook + "country.html");
    ASSERT_EQ(view.countries.size(), servicesim::FactbookSite::countries().size());
    EXPECT_EQ(view.countries.front(), "af,Afghanistan");
    EXPECT_EQ(view.countries.back(), "zi,Zimbabwe");
}

TEST_F(WebRetrieval, AfghanistanFetchesFlagMapAndPageAndCleansUp)
{
    state.webMode = "ci";
    view.chosen = "af,Afghanistan";
    ASSERT_TRUE(retrieval.btnGoClick());
    EXPECT_EQ(requestLines(), (std::vector<std::string>{
                                  "GET " + Factbook + "figures/af-t.gif HTTP/1.0",
                                  "GET " + Factbook + "figures/af-150.gif HTTP/1.0",
                                  "GET " + Factbook + "af.html HTTP/1.0",
                              }));
    EXPECT_EQ(view.statuses, (std::vector<std::string>{
                                 "Retrieving flag image...", "Flag Image retrieval complete...",
                                 "Retrieving Map image...", "Map Image retrieval complete...",
                                 "Processing request...", "Document Done..."}));
    EXPECT_EQ(view.titles,
              (std::vector<std::string>{"Cirrolux - Country Information for Afghanistan"}));
    EXPECT_EQ(map.titles, (std::vector<std::string>{"Cirrolux - Country Map for Afghanistan"}));
    EXPECT_EQ(map.files, (std::vector<std::string>{"af-150.gif"}));
    EXPECT_EQ(map.mapSize.width(), 150);
    EXPECT_EQ(view.flags, (std::vector<std::string>{"af-t.gif"}));
    EXPECT_EQ(view.raised, 1);
    EXPECT_EQ(state.countryCode, "af");
    EXPECT_EQ(state.countryName, "Afghanistan");
    EXPECT_EQ(state.imageFile, "af-150.gif");
    EXPECT_EQ(http.TimeOut, 90000);
    EXPECT_TRUE(http.InputFileMode);
    // The page reached the viewer without its lower-case image tags.
    EXPECT_NE(view.page.find("<h1>Afghanistan</h1>"), std::string::npos);
    EXPECT_EQ(view.page.find("<img src"), std::string::npos);
    EXPECT_NE(view.page.find("<IMG SRC"), std::string::npos);
    for (const char* file : {"temp.html", "ttemp.html", "af-t.gif", "af-150.gif"})
        EXPECT_FALSE(exists(file)) << file;
}

TEST_F(WebRetrieval, NoChosenCountryFetchesNothing)
{
    state.webMode = "ci";
    view.chosen = "";
    EXPECT_FALSE(retrieval.btnGoClick());
    EXPECT_TRUE(emulator.requests().empty());
    EXPECT_TRUE(view.statuses.empty());
}

TEST_F(WebRetrieval, PageThatVanishedGivesOneMessageInTheProgramsWords)
{
    state.webMode = "usfi";
    // The page file goes before it can be read, as when the main window's abort removes it.
    QObject::connect(&http, &TNMHTTP::OnDisconnect, &http,
                     [] { QFile::remove(QStringLiteral("temp.html")); });
    try {
        retrieval.btnGoClick();
        ADD_FAILURE() << "no error";
    } catch (const CirroluxError& e) {
        EXPECT_STREQ(e.what(), "Error retrieving document.  Please try again later.");
    }
    EXPECT_TRUE(view.page.empty());
    EXPECT_EQ(view.statuses.back(), "Processing request...");
}

TEST_F(WebRetrieval, StaleTempPageIsNotShownForAFailedTransfer)
{
    QFile stale(QStringLiteral("temp.html"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("<html>the previous page</html>");
    stale.close();
    state.webMode = "usfi";
    emulator.close(); // nobody answers
    EXPECT_THROW(retrieval.btnGoClick(), TransferError);
    EXPECT_TRUE(view.page.empty());
    EXPECT_FALSE(exists("temp.html"));
}

// --- the window ---------------------------------------------------------------------------------

class WebWindow : public WebRoad
{
protected:
    WebWindow()
    {
        window.setMapWindow(&map);
        window.setMainWindowRestorer([this] { ++restores; });
        window.retrieval().setStopWait(std::chrono::milliseconds(300));
    }
    Ui::TfrmWeb& f() { return window.form(); }
    std::string title() const { return window.windowTitle().toStdString(); }
    std::string viewerText() { return window.FrameViewer1().toPlainText().toStdString(); }
    void choose(const QString& entry)
    {
        const int index = f().cboChoose->findText(entry);
        ASSERT_GE(index, 0);
        f().cboChoose->setCurrentIndex(index);
    }

    TfrmWeb window{state, http, ui};
    int restores = 0;
};

TEST_F(WebWindow, CountryModeListsTheCountriesAndShowsTheChosenOne)
{
    window.openWebWindow("ci");
    EXPECT_EQ(state.webMode, "ci");
    EXPECT_EQ(title(), "Cirrolux - Country Info");
    EXPECT_TRUE(f().lblChoose->isVisible());
    EXPECT_EQ(f().lblChoose->text(), QStringLiteral("Choose a Country:"));
    EXPECT_TRUE(f().cboChoose->isVisible());
    EXPECT_EQ(f().cboChoose->count(), int(servicesim::FactbookSite::countries().size()));
    EXPECT_EQ(f().cboChoose->currentIndex(), -1);
    EXPECT_EQ(window.statusText(), "Parsing logic started...");
    EXPECT_EQ(window.FrameViewer1().DefBackground(), QColor(0, 128, 128));

    choose(QStringLiteral("af,Afghanistan"));
    QTest::mouseClick(f().btnGo, Qt::LeftButton);
    EXPECT_TRUE(ui.events().empty()) << ui.texts().front();
    EXPECT_EQ(title(), "Cirrolux - Country Information for Afghanistan");
    EXPECT_EQ(window.statusText(), "Document Done...");
    EXPECT_NE(viewerText().find("Geography"), std::string::npos);
    EXPECT_TRUE(window.GIFImage1().isVisible());
    EXPECT_FALSE(window.GIFImage1().Empty());
    EXPECT_EQ(window.GIFImage1().size(), QSize(72, 40));
    EXPECT_EQ(window.GIFImage1().pos(), QPoint(window.width() / 2 - 36, 0));
    EXPECT_EQ(map.titles, (std::vector<std::string>{"Cirrolux - Country Map for Afghanistan"}));

    // Reload fetches the same three again.
    emulator.clearRequests();
    QTest::mouseClick(f().btnReload, Qt::LeftButton);
    EXPECT_EQ(requestLines().back(), "GET " + Factbook + "af.html HTTP/1.0");
    EXPECT_EQ(requestLines().size(), 3u);
}

TEST_F(WebWindow, FireReportIsFetchedAtOnceWithoutTheChooser)
{
    window.openWebWindow("usfi");
    EXPECT_EQ(title(), "Cirrolux - Current US Fire/Acreage Incident Mgt. Report");
    EXPECT_FALSE(f().lblChoose->isVisible());
    EXPECT_FALSE(f().cboChoose->isVisible());
    EXPECT_EQ(requestLines(),
              (std::vector<std::string>{"GET http://www.nifc.gov/news/sitreprt.html HTTP/1.0"}));
    EXPECT_NE(viewerText().find("Incident Management Situation Report"), std::string::npos);
    EXPECT_NE(viewerText().find("Friday, August 12, 2005"), std::string::npos);
    EXPECT_EQ(window.statusText(), "Document Done...");
    EXPECT_FALSE(exists("temp.html"));
    EXPECT_TRUE(map.titles.empty());
    EXPECT_FALSE(window.GIFImage1().isVisible());
}

TEST_F(WebWindow, CountryModeAfterTheFireReportShowsTheChooserAgain)
{
    window.openWebWindow("usfi");
    ASSERT_FALSE(f().cboChoose->isVisible());
    window.openWebWindow("ci");
    EXPECT_TRUE(f().lblChoose->isVisible());
    EXPECT_TRUE(f().cboChoose->isVisible());
    EXPECT_EQ(title(), "Cirrolux - Country Info");
    EXPECT_GT(f().cboChoose->count(), 250);
}

TEST_F(WebWindow, HostileIndexCodesNeverReachAFileOrAnAddress)
{
    QByteArray page(120, ' ');
    for (const char* link : {"<a href=\"../../etc.html\" target=\"_top\">Up</a>",
                             "<a href=\"a/b.html\" target=\"_top______\">Slash</a>",
                             "<a href=\"ke.html\" target=\"_top\">Kenya</a>"})
        page += link;
    emulator.queueReply(EmulatorReply::make(200, "text/html", page));
    window.openWebWindow("ci");
    ASSERT_EQ(f().cboChoose->count(), 1);
    EXPECT_EQ(f().cboChoose->itemText(0), QStringLiteral("ke,Kenya"));
}

TEST_F(WebWindow, GoWithoutACountryOnlyBeeps)
{
    window.openWebWindow("ci");
    emulator.clearRequests();
    QTest::mouseClick(f().btnGo, Qt::LeftButton);
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_TRUE(emulator.requests().empty());
}

TEST_F(WebWindow, StopAbortsTheTransferAfterItsTextAndAResponsiveWait)
{
    window.openWebWindow("ci");
    choose(QStringLiteral("ke,Kenya"));
    EmulatorReply stall = EmulatorReply::make(200, "image/gif", QByteArray(4096, 'x'));
    stall.delivery = EmulatorReply::Delivery::Stall;
    emulator.queueReply(stall);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
    QTimer::singleShot(200, &window, [&] {
        ticker.start(20);
        QTest::mouseClick(f().btnStop, Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f().btnGo, Qt::LeftButton);
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_EQ(ui.errors(), (std::vector<std::string>{"Socket capture aborted"}));
    EXPECT_EQ(window.statusText(), "Retrieval Aborted...");
    EXPECT_GE(ticks, 5);                  // the wait kept the event loop turning
    EXPECT_EQ(requestLines().size(), 2u); // index, then the flag that stalled
}

TEST_F(WebWindow, MissingPageFileIsNamedByTheViewer)
{
    try {
        window.FrameViewer1().LoadFromFile("nowhere.html");
        ADD_FAILURE() << "no error";
    } catch (const CirroluxError& e) {
        EXPECT_STREQ(e.what(), "Can't locate file: nowhere.html");
    }
}

TEST_F(WebWindow, PrintsThePageWithoutAskingOnThePrinterItIsGiven)
{
    window.openWebWindow("usfi");
    const QString pdf = QDir(profile.root()).filePath(QStringLiteral("page.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    window.printTo(printer);
    EXPECT_EQ(printer.fromPage(), 1);
    EXPECT_EQ(printer.toPage(), 9999);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(WebWindow, CloseClosesTheMapClearsTheModeAndRestoresTheMainWindow)
{
    window.openWebWindow("usfi");
    f().mnuClose1->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(state.webMode, "");
    // Once by the menu command, once more as the window closes.
    EXPECT_EQ(map.closes, 2);
    EXPECT_EQ(restores, 2);
}

TEST_F(WebWindow, ResizeKeepsViewerAndChooserRowInPlace)
{
    window.openWebWindow("usfi");
    window.resize(800, 600);
    EXPECT_EQ(window.FrameViewer1().size(), QSize(788, 446));
    EXPECT_EQ(f().lblChoose->y(), 491);
    for (QWidget* w : {static_cast<QWidget*>(f().cboChoose), static_cast<QWidget*>(f().btnGo),
                       static_cast<QWidget*>(f().btnStop), static_cast<QWidget*>(f().btnReload)})
        EXPECT_EQ(w->y(), 491) << w->objectName().toStdString();
    EXPECT_EQ(window.GIFImage1().x(), 400 - 36);
}

TEST_F(WebWindow, F1OpensTheWindowsHelpPage)
{
    window.openWebWindow("usfi");
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_FALSE(ui.events().empty());
    EXPECT_EQ(ui.events().back(), (test::RecordingUserInterface::Event{
                                      test::RecordingUserInterface::Event::Kind::Help, "web"}));
}

TEST_F(WebWindow, MenuCarriesItsEntries)
{
    EXPECT_EQ(f().mnuOptions->title(), QStringLiteral("&Options"));
    EXPECT_EQ(f().mnuPrint1->text(), QStringLiteral("&Print"));
    EXPECT_EQ(f().mnuClose1->text(), QStringLiteral("&Close"));
    EXPECT_EQ(f().mnuHelp->title(), QStringLiteral("&Help"));
    EXPECT_EQ(f().mnuHelpContentsF11->text(), QStringLiteral("Help &Contents (F1)"));
    EXPECT_EQ(f().btnGo->text(), QStringLiteral("&Go"));
    EXPECT_EQ(f().btnStop->text(), QStringLiteral("&Stop"));
    EXPECT_EQ(f().btnReload->text(), QStringLiteral("&Reload"));
    EXPECT_EQ(window.size(), QSize(646, 448));
    EXPECT_EQ(window.objectName(), QStringLiteral("frmWeb"));
}

} // namespace
