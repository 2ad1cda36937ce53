// Hostile servers and bad files against the whole program: the real main window, image window and
// web page window, started as the program starts them, fetching through the real transfer
// component from the service emulator on 127.0.0.1. Every case must end in one of the program's
// own messages, keep the settings, the presets and the readings on screen, and leave the event
// loop turning: a 10 ms timer keeps firing all through it.
#include "FullDisk.h"
#include "GifWriter.h"
#include "JpegWriter.h"
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "WaitFor.h"

#include "display/TGIFImage.h"
#include "images/TfrmImage.h"
#include "locations/CatalogueStations.h"
#include "net/TNMHTTP.h"
#include "servicesim/ServiceEmulator.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "shell/Startup.h"
#include "shell/TForm1.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TfrmWeb.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#if defined(__SANITIZE_ADDRESS__)
#define CIRROLUX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CIRROLUX_ASAN 1
#endif
#endif

using namespace cirrolux;
using servicesim::EmulatorReply;
using servicesim::ServiceEmulator;
using Strings = std::vector<std::string>;
namespace names = cirrolux::SettingNames;

namespace {

// Commands that end sooner are not held to the tick count.
constexpr qint64 ShortCommandMs = 400;
constexpr const char* LoopUrl = "http://www.wunderground.com/sim/redirect-loop";

// What a case may use to set up its server and its files, and to undo what it changed.
struct Scene
{
    ServiceEmulator& emulator;
    TForm1& main;
    test::RecordingUserInterface& ui;
    QByteArray page; // the conditions page the first fetch showed
    QString work;    // the program's working directory
    QString outside; // the folder that holds it
    std::vector<std::function<void()>> undo;
    std::map<std::string, std::string> notes; // recorded with the test's result

    TfrmWeb& web() { return *qobject_cast<TfrmWeb*>(main.webWindow()); }
    TfrmImage& image() { return *main.imageWindow(); }
};

struct HostileCase
{
    const char* name = "";
    const char* command = ""; // objectName of the menu entry the user picks
    std::function<void(Scene&)> arrange = {};
    int abortAfterMs = 0;         // the user picks "Abort GetStats connection" after this long
    Strings errors = {};          // error boxes, in order
    Strings messages = {};        // message boxes, in order
    const char* status = nullptr; // the main status panel afterwards; null: not checked
    std::function<void(Scene&)> check = {};

    friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
};

EmulatorReply rawReply(const QByteArray& headerLines, const QByteArray& body)
{
    return EmulatorReply::rawBytes("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n" + headerLines +
                                   "\r\n" + body);
}

QByteArray randomBytes(int size)
{
    QRandomGenerator random(14);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A real JPEG whose frame header then claims `width` x `height` pixels.
QByteArray jpegClaiming(int width, int height)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("small.jpg"));
    test::WriteJpeg(file, test::GradientPicture(64, 64));
    QByteArray bytes = readFile(file);
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        return {};
    // Marker, length (2), precision (1), then height and width, big-endian.
    bytes[frame + 5] = char(height >> 8);
    bytes[frame + 6] = char(height & 0xFF);
    bytes[frame + 7] = char(width >> 8);
    bytes[frame + 8] = char(width & 0xFF);
    return bytes;
}

QByteArray gifOfFrames(int count)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("frames.gif"));
    std::vector<test::GifFrame> frames(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        frames[std::size_t(i)] = {std::vector<std::uint8_t>(16 * 16, std::uint8_t(i % 256)), 2};
    test::WriteGif(file, 16, 16, frames, true);
    return readFile(file);
}

// The address space of this process, in bytes (unused under the address sanitizer).
[[maybe_unused]] std::optional<long long> addressSpace()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(0).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

// Lets the process grow by at most `bytes` of address space until the scene ends, so a decoder
// that asked for a picture's buffer would fail instead of getting it.
void limitGrowth(Scene& scene, long long bytes)
{
#ifdef CIRROLUX_ASAN
    // The sanitizer's shadow memory needs a huge address space of its own.
    scene.notes["memory limit"] = "none (address sanitizer)";
    (void)bytes;
#else
    const auto now = addressSpace();
    rlimit old{};
    if (!now || ::getrlimit(RLIMIT_AS, &old) != 0)
        return;
    rlimit limit = old;
    limit.rlim_cur = rlim_t(*now + bytes);
    if (::setrlimit(RLIMIT_AS, &limit) != 0)
        return;
    scene.notes["memory limit"] = std::to_string(bytes / (1024 * 1024)) + " MB above the start";
    scene.undo.push_back([old] { ::setrlimit(RLIMIT_AS, &old); });
#endif
}

void writeToFullDisk(Scene& scene)
{
    const QString folder = scene.work + QStringLiteral("/full");
    auto disk = std::make_shared<test::FullDisk>(folder, 64 * 1024);
    scene.notes["full disk"] = disk->describe();
    ASSERT_NE(disk->method(), test::FullDisk::Method::None);
    QDir::setCurrent(folder);
    scene.undo.push_back([disk, work = scene.work]() mutable {
        QDir::setCurrent(work);
        disk.reset();
    });
    EmulatorReply reply = EmulatorReply::make(200, "image/jpeg", {});
    reply.generatedLength = 1024 * 1024;
    scene.emulator.queueReply(reply);
}

QByteArray countryIndex()
{
    QByteArray page = "<html><head><title>The World Factbook -- Country Listing</title></head>" +
                      QByteArray(60, ' ') + "<body>\n";
    const char* links[][2] = {{"af", "Afghanistan"},
                              {"../x", "Escape"},
                              {"/e", "Rooted"},
                              {"..\\\\y", "Backslashed"},
                              {"br", "Brazil"}};
    for (const auto& [code, name] : links)
        page += QByteArray("<a href=\"") + code + ".html\" target=\"_top\">" + name + "</a><br>\n";
    return page + "</body></html>\n";
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

void escapeThroughTheCountryList(Scene& scene)
{
    QComboBox* list = scene.web().form().cboChoose;
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("af,Afghanistan"), QStringLiteral("br,Brazil")}));

    // Even a code that reached the list some other way is refused before any address or file.
    const QStringList outsideBefore = entriesOf(scene.outside);
    const QStringList workBefore = entriesOf(scene.work);
    const std::size_t requests = scene.emulator.requests().size();
    for (const char* entry : {"../x,Escape", "..,Up", "/e,Rooted"}) {
        list->addItem(QString::fromLatin1(entry));
        list->setCurrentIndex(list->count() - 1);
        scene.ui.clear();
        scene.web().btnGoClick();
        EXPECT_EQ(scene.ui.beeps(), 1) << entry;
        EXPECT_TRUE(scene.ui.texts().empty()) << entry;
    }
    EXPECT_EQ(scene.emulator.requests().size(), requests);
    EXPECT_EQ(entriesOf(scene.outside), outsideBefore);
    EXPECT_EQ(entriesOf(scene.work), workBefore);
    EXPECT_EQ(scene.main.state().countryCode, "");
    scene.web().close();
}

const HostileCase Cases[] = {
    {.name = "StallBeforeTheStatusLine",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             EmulatorReply silent;
             silent.delivery = EmulatorReply::Delivery::Silent;
             s.emulator.queueReply(silent);
         },
     .abortAfterMs = 600,
     .errors = {"Socket capture aborted"},
     .status = "Connection Aborted..."},
    {.name = "StallAfterTheHeader",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             EmulatorReply stall = EmulatorReply::make(200, "text/html", s.page);
             stall.delivery = EmulatorReply::Delivery::Stall;
             s.emulator.queueReply(stall);
         },
     .abortAfterMs = 600,
     .errors = {"Socket capture aborted"},
     .status = "Connection Aborted..."},
    {.name = "HeaderLineOfTwoMegabytes",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             s.emulator.queueReply(
                 rawReply("X-Padding: " + QByteArray(2 * 1024 * 1024, 'a') + "\r\n", s.page));
         },
     .errors = {"Reply header too large"}},
    {.name = "HundredThousandHeaderLines",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             QByteArray lines;
             for (int i = 0; i < 100000; ++i)
                 lines += "X: " + QByteArray::number(i % 10) + "\r\n";
             s.emulator.queueReply(rawReply(lines, s.page));
         },
     .status = "Thank you for using Cirrolux..."},
    {.name = "EndlessRedirects",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             // Off to a page that sends the client back to itself, for ever.
             EmulatorReply moved = EmulatorReply::make(302, "text/html", "<html>Moved</html>");
             moved.addHeader("Location", LoopUrl);
             s.emulator.queueReply(moved);
         },
     .errors = {"Too many redirects"},
     .check =
         [](Scene& s) {
             // Twenty rounds of one Get, then no more.
             ASSERT_EQ(s.emulator.requests().size(), 20u);
             EXPECT_EQ(s.emulator.requests().back().raw.left(
                           s.emulator.requests().back().raw.indexOf("\r\n")),
                       QByteArray("GET ") + LoopUrl + " HTTP/1.0");
         }},
    {.name = "ContentLengthLargerThanTheBody",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             EmulatorReply cut =
                 EmulatorReply::make(200, "text/html", s.page.left(s.page.size() / 2));
             cut.delivery = EmulatorReply::Delivery::Short;
             cut.announcedLength = s.page.size();
             s.emulator.queueReply(cut);
         },
     .errors = {"Reply cut short"},
     .status = "Disconnected..."},
    {.name = "ContentLengthSmallerThanTheBody",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             EmulatorReply more = EmulatorReply::make(200, "text/html", s.page);
             more.delivery = EmulatorReply::Delivery::Short;
             more.announcedLength = 100;
             s.emulator.queueReply(more);
         },
     .status = "Thank you for using Cirrolux..."},
    {.name = "ResetMidBody",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             EmulatorReply reset = EmulatorReply::make(200, "text/html", s.page);
             reset.delivery = EmulatorReply::Delivery::Reset;
             reset.resetAfter = s.page.size() / 2;
             s.emulator.queueReply(reset);
         },
     .errors = {"Reply cut short"},
     .status = "Disconnected..."},
    {.name = "BinaryBodyWhereAPageIsExpected",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             s.emulator.queueReply(
                 EmulatorReply::make(200, "application/octet-stream", randomBytes(64 * 1024)));
         },
     .messages = {"Error (P1) occurred parsing data.  Please try again in a few minutes.",
                  "Error (P2) occurred parsing data.  Please try again in a few minutes."}},
    {.name = "ImageWrittenToAFullDisk",
     .command = "mnuEuropeSat1",
     .arrange = writeToFullDisk,
     .errors = {"Cannot write to file: europe.jpg"},
     .check = [](Scene& s) { EXPECT_FALSE(s.image().isVisible()); }},
    {.name = "GifOfTenThousandFrames",
     .command = "mnuUSRadarWeatherBank1",
     .arrange =
         [](Scene& s) {
             s.emulator.queueReply(EmulatorReply::make(200, "image/gif", gifOfFrames(10000)));
         },
     .status = "Thank you for using Cirrolux...",
     .check =
         [](Scene& s) {
             TGIFImage& gif = s.image().GIFImage1();
             ASSERT_TRUE(s.image().isVisible());
             EXPECT_EQ(gif.FrameCount(), 10000);
             EXPECT_EQ(gif.CurrentFrame(), 2);
             // Loaded three times and moved to frame 2, yet only the frames shown are decoded.
             EXPECT_LT(gif.DecodedFrames(), 10);
             EXPECT_EQ(s.image().width(), std::max(16, s.image().minimumSizeHint().width()));
             // It animates without holding the window up.
             const int before = gif.DecodedFrames();
             test::WaitFor([&] { return gif.DecodedFrames() > before + 2; }, 2000);
             EXPECT_GT(gif.DecodedFrames(), before + 2);
             s.image().close();
         }},
    {.name = "JpegOfSixtyThousandPixelsSquare",
     .command = "mnuEuropeSat1",
     .arrange =
         [](Scene& s) {
             const QByteArray jpeg = jpegClaiming(60000, 60000);
             ASSERT_FALSE(jpeg.isEmpty());
             s.emulator.queueReply(EmulatorReply::make(200, "image/jpeg", jpeg));
             // Even a scaled-down decode of it would need 200 MB.
             limitGrowth(s, 128LL * 1024 * 1024);
         },
     .errors = {"Image too large (60000 x 60000)"},
     .status = "Preparing image for display...",
     .check = [](Scene& s) { EXPECT_FALSE(s.image().isVisible()); }},
    {.name = "CountryCodeLeavingTheWorkingFolder",
     .command = "mnuWorldFactsCIA1",
     .arrange =
         [](Scene& s) {
             s.emulator.queueReply(EmulatorReply::make(200, "text/html", countryIndex()));
         },
     .check = escapeThroughTheCountryList},
};

const HostileCase SlowCases[] = {
    {.name = "TrickleOneByteForAMinuteThenAbort",
     .command = "mnuViewstats0",
     .arrange =
         [](Scene& s) {
             EmulatorReply drip = EmulatorReply::make(200, "text/html", s.page);
             drip.delivery = EmulatorReply::Delivery::Trickle;
             drip.trickleHead = true;
             drip.tricklePiece = 1;
             drip.tricklePauseMs = 20;
             s.emulator.queueReply(drip);
         },
     .abortAfterMs = 60000,
     .errors = {"Socket capture aborted"},
     .status = "Connection Aborted...",
     .check =
         [](Scene& s) {
             // It was still coming, a byte at a time, when the user gave up.
             EXPECT_GT(s.main.NMHTTP1().ReceivedCount(), 100);
             EXPECT_LT(s.main.NMHTTP1().ReceivedCount(), s.page.size());
         }},
};

class HostileServer : public ::testing::TestWithParam<HostileCase>
{
protected:
    HostileServer()
    {
        QDir().mkpath(m_work);
        QDir::setCurrent(m_work);
        emulator.setNow(QDateTime(QDate(2026, 1, 15), QTime(14, 0), Qt::UTC));
        emulator.setStationDirectory(cirrolux::CatalogueStationDirectory());
        EXPECT_TRUE(emulator.listen());
        store.write_setting(names::Settings, names::StartupLoc, "None");
        store.write_setting(names::Settings, names::Metric, "n");
        store.write_setting(names::Settings, names::ProxyUse, "y");
        store.write_setting(names::Settings, names::Proxy, "127.0.0.1");
        store.write_setting(names::Settings, names::ProxyPort, std::to_string(emulator.port()));
        store.write_setting(names::Locations, "loc0", "Boston, MA");
        store.write_setting(names::Locations, "loc1", "Denver, CO");
        TForm1::Options options;
        options.startupDelayMs = 24 * 3600 * 1000;
        options.autoUpdateFirstMs = 24 * 3600 * 1000;
        options.trayAvailable = true;
        options.today = [] { return QDate(1998, 1, 13); };
        startup = std::make_unique<Startup>(store, ui, options);
        startup->run();
    }
    ~HostileServer() override { QDir::setCurrent(m_old); }

    TForm1& main() { return startup->mainWindow(); }

    void trigger(const char* command)
    {
        QAction* entry = main().action(QString::fromLatin1(command));
        ASSERT_NE(entry, nullptr) << command;
        ASSERT_TRUE(entry->isEnabled()) << command;
        entry->trigger();
    }

    // The readings and captions on the main window, by label.
    std::map<std::string, std::string> screen()
    {
        std::map<std::string, std::string> texts;
        for (const QLabel* label : main().findChildren<QLabel*>())
            if (label->window() == &main() && label->objectName().startsWith(QLatin1String("lbl")))
                texts[label->objectName().toStdString()] = label->text().toStdString();
        texts["title"] = main().windowTitle();
        return texts;
    }

    void run(const HostileCase& c)
    {
        // What the user has before the hostile reply: a place on screen and two presets.
        trigger("mnuViewstats0");
        ASSERT_TRUE(ui.events().empty()) << ui.texts().front();
        ASSERT_EQ(main().windowTitle(), "Cirrolux - Boston, MA");
        const auto readings = screen();
        const QByteArray settings = readFile(profile.settingsFile());
        ASSERT_FALSE(settings.isEmpty());
        emulator.clearRequests();

        Scene scene{emulator, main(),         ui, QByteArray::fromStdString(main().NMHTTP1().Body),
                    m_work,   profile.root(), {}, {}};
        c.arrange(scene);
        if (::testing::Test::HasFatalFailure())
            return;

        if (c.abortAfterMs > 0)
            QTimer::singleShot(c.abortAfterMs, &main(), [this] { trigger("mnuAbortconnection"); });
        int ticks = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
        QElapsedTimer clock;
        clock.start();
        ticker.start(10);
        trigger(c.command);
        const qint64 elapsed = clock.elapsed();
        ticker.stop();

        EXPECT_EQ(ui.errors(), c.errors);
        EXPECT_EQ(ui.messages(), c.messages);
        if (c.status) {
            EXPECT_EQ(main().statusPanel(0)->text().toStdString(), c.status);
        }
        // The window kept turning: at least half the ticks the time allowed (less one for the
        // start). A command over in a blink cannot have held the window, and on a busy machine
        // its few ticks say more about the scheduler than about the program.
        if (elapsed >= ShortCommandMs) {
            EXPECT_GE(ticks, elapsed / 20 - 1) << elapsed << " ms";
        }
        RecordProperty("elapsed_ms", std::to_string(elapsed));
        RecordProperty("ticks", std::to_string(ticks));

        if (c.check)
            c.check(scene);
        for (auto undo = scene.undo.rbegin(); undo != scene.undo.rend(); ++undo)
            (*undo)();
        for (const auto& [what, how] : scene.notes)
            RecordProperty(what, how);

        // Nothing lost: the readings on screen, the settings and the presets.
        EXPECT_EQ(screen(), readings);
        EXPECT_EQ(readFile(profile.settingsFile()), settings);
        EXPECT_EQ(store.read_setting(names::Locations, "loc0"), "Boston, MA");
        EXPECT_EQ(store.read_setting(names::Locations, "loc1"), "Denver, CO");
        EXPECT_FALSE(main().NMHTTP1().Busy());

        // And the program goes on: the next fetch works as before.
        ui.clear();
        trigger("mnuViewstats0");
        EXPECT_TRUE(ui.events().empty()) << ui.texts().front();
        EXPECT_EQ(screen(), readings);
    }

    test::TempProfile profile;
    SettingsStore store = profile.store();
    test::RecordingUserInterface ui;
    ServiceEmulator emulator;
    std::unique_ptr<Startup> startup;

private:
    QString m_old = QDir::currentPath();
    QString m_work = profile.root() + QStringLiteral("/work");
};

TEST_P(HostileServer, EndsInTheProgramsWordsAndLosesNothing)
{
    run(GetParam());
}

const auto caseName = [](const ::testing::TestParamInfo<HostileCase>& info) {
    return std::string(info.param.name);
};

INSTANTIATE_TEST_SUITE_P(Cases, HostileServer, ::testing::ValuesIn(Cases), caseName);
INSTANTIATE_TEST_SUITE_P(Slow, HostileServer, ::testing::ValuesIn(SlowCases), caseName);

} // namespace
