// Look-up, connect, time-outs, aborts, events and the event loop while Get waits.
#include "FullBacklogListener.h"
#include "TransferFixture.h"
#include "net/QtHostResolver.h"

#include <QTcpServer>
#include <QTimer>

#include <optional>

using namespace cirrolux;
using namespace cirrolux::test;
using S = ScriptedServer;

namespace {

class Control : public TransferFixture
{
};

// A loopback port with nothing listening.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

TEST_F(Control, EmptyUrl)
{
    EXPECT_EQ(getError(""), "Empty URL");
    EXPECT_FALSE(http->Busy());
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(Control, RefusedConnectionFails)
{
    EXPECT_EQ(getError("http://127.0.0.1:" + std::to_string(closedPort()) + "/"),
              "Connection Failed");
    EXPECT_EQ(log->count("ConnectionFailed"), 1);
    EXPECT_EQ(log->count("Connect"), 0);
}

TEST_F(Control, LookUpTimesOut)
{
    resolver->neverAnswers = true;
    http->TimeOut = 50;
    EXPECT_EQ(getError("http://www.example.com/"), "Host Lookup Timed Out");
    EXPECT_EQ(resolver->cancelled, std::vector<int>{1});
    EXPECT_EQ(log->count("ConnectionFailed"), 0);
    EXPECT_FALSE(http->Busy());
}

TEST_F(Control, ConnectTimesOut)
{
    FullBacklogListener silent;
    ASSERT_TRUE(silent.ok());
    http->TimeOut = 200;
    http->ReportLevel = 8;
    EXPECT_EQ(getError("http://127.0.0.1:" + std::to_string(silent.port()) + "/"),
              "Connection Timed Out");
    EXPECT_EQ(log->count("ConnectionFailed"), 1);
    EXPECT_EQ(log->count("Status Timer Triggered"), 1);
}

TEST_F(Control, UnknownHostAsksTheHandlerOnceThenFails)
{
    resolver->answers = {{}};
    QObject::connect(http.get(), &TNMHTTP::OnInvalidHost, &server,
                     [](bool& retry) { retry = true; });
    EXPECT_EQ(getError("http://nowhere.example.com/"), "Null Remote Address");
    EXPECT_EQ(log->count("InvalidHost"), 1);
    EXPECT_EQ(resolver->asked.size(), 2u);
}

TEST_F(Control, UnknownHostWithoutRetryFailsAtOnce)
{
    resolver->answers = {{}};
    EXPECT_EQ(getError("http://nowhere.example.com/"), "Null Remote Address");
    EXPECT_EQ(log->count("InvalidHost"), 1);
    EXPECT_EQ(resolver->asked.size(), 1u);
}

TEST_F(Control, InvalidHostHandlerRetrySucceeds)
{
    server.setScript(S::reply("HTTP/1.0 200 OK", {}, "found"));
    resolver->answers = {{}, {QHostAddress(QHostAddress::LocalHost)}};
    QObject::connect(http.get(), &TNMHTTP::OnInvalidHost, &server,
                     [](bool& retry) { retry = true; });
    EXPECT_EQ(getError("http://flaky.example.com:" + std::to_string(server.port()) + "/"), "");
    EXPECT_EQ(http->Body, "found");
    EXPECT_EQ(log->count("InvalidHost"), 1);
    EXPECT_EQ(log->count("HostResolved"), 1);
}

// How a test brings the transfer to the phase it aborts in, and which text it expects.
struct AbortCase
{
    const char* name;
    std::function<std::string(TNMHTTP&, ScriptedServer&, ScriptedResolver&)> arrange;
    std::string error;
    bool connectionWasOpen;
};

class Abort : public TransferFixture, public ::testing::WithParamInterface<AbortCase>
{
};

// Aborts from a timer once the component reports `status`.
void abortLaterOn(TNMHTTP& http, QObject& context, const std::string& status)
{
    QObject::connect(&http, &TNMHTTP::OnStatus, &context, [&http, status](const std::string& s) {
        if (s == status)
            QTimer::singleShot(0, &http, &TNMHTTP::AbortTransfer);
    });
}

TEST_P(Abort, EndsTheTransferWithThePhasesText)
{
    FullBacklogListener silent;
    ASSERT_TRUE(silent.ok());
    http->ReportLevel = 16;
    std::string url = GetParam().arrange(*http, server, *resolver);
    if (url.empty())
        url = "http://127.0.0.1:" + std::to_string(silent.port()) + "/";
    EXPECT_EQ(getError(url), GetParam().error);
    EXPECT_FALSE(http->Busy());
    EXPECT_EQ(log->count("Status Canceling"), 1);
    EXPECT_EQ(log->lines.back(), "Status Checking Error In Error Manager");
    if (GetParam().connectionWasOpen) {
        EXPECT_TRUE(waitUntil([&] { return server.closedByClient() == 1; }));
    }
}

std::string serverUrl(const ScriptedServer& server)
{
    return "http://127.0.0.1:" + std::to_string(server.port()) + "/";
}

INSTANTIATE_TEST_SUITE_P(
    Phases, Abort,
    ::testing::Values(AbortCase{"LookUp",
                                [](TNMHTTP& http, ScriptedServer& server, ScriptedResolver& r) {
                                    r.neverAnswers = true;
                                    abortLaterOn(http, server, "Resolve Host");
                                    return std::string("http://www.example.com/");
                                },
                                "Host Lookup Canceled", false},
                      AbortCase{"Connect",
                                [](TNMHTTP& http, ScriptedServer& server, ScriptedResolver&) {
                                    abortLaterOn(http, server, "Connecting");
                                    return std::string(); // the silent port
                                },
                                "Connection Canceled", false},
                      AbortCase{"Send",
                                [](TNMHTTP& http, ScriptedServer& server, ScriptedResolver&) {
                                    server.setScript({});
                                    QObject::connect(&http, &TNMHTTP::OnConnect, &server,
                                                     [&http] { http.AbortTransfer(); });
                                    return serverUrl(server);
                                },
                                "Socket send aborted", true},
                      AbortCase{"Header",
                                [](TNMHTTP& http, ScriptedServer& server, ScriptedResolver&) {
                                    server.setScript({S::send("HTTP/1.0 200 OK\r\n")});
                                    QObject::connect(
                                        &http, &TNMHTTP::OnPacketSent, &server, [&http] {
                                            QTimer::singleShot(0, &http, &TNMHTTP::AbortTransfer);
                                        });
                                    return serverUrl(server);
                                },
                                "Socket capture aborted", true},
                      AbortCase{"BodyFromTimer",
                                [](TNMHTTP& http, ScriptedServer& server, ScriptedResolver&) {
                                    server.setScript(
                                        {S::send("HTTP/1.0 200 OK\r\n\r\npart of the body")});
                                    abortLaterOn(http, server, "Capture String");
                                    return serverUrl(server);
                                },
                                "Socket capture aborted", true},
                      AbortCase{"BodyFromPacketHandler",
                                [](TNMHTTP& http, ScriptedServer& server, ScriptedResolver&) {
                                    server.setScript({S::send("HTTP/1.0 200 OK\r\n\r\n"),
                                                      S::waitRelease(), S::send("more")});
                                    QObject::connect(&http, &TNMHTTP::OnStatus, &server,
                                                     [&server](const std::string& s) {
                                                         if (s == "Capture String")
                                                             server.release();
                                                     });
                                    QObject::connect(&http, &TNMHTTP::OnPacketRecvd, &server,
                                                     [&http] { http.AbortTransfer(); });
                                    return serverUrl(server);
                                },
                                "Socket capture aborted", true}),
    [](const ::testing::TestParamInfo<AbortCase>& info) { return std::string(info.param.name); });

TEST_F(Control, AbortBeforeGetDoesNotCancelTheNextTransfer)
{
    server.setScript(S::reply("HTTP/1.0 200 OK", {}, "fine"));
    http->AbortTransfer();
    EXPECT_EQ(getError(direct("/")), "");
    EXPECT_EQ(http->Body, "fine");
}

TEST_F(Control, NestedGetFromAHandlerIsRefusedAndTheFirstGoesOn)
{
    server.setScript(S::reply("HTTP/1.0 200 OK", {}, "first"));
    std::string nestedError;
    bool busyInHandler = false;
    QObject::connect(http.get(), &TNMHTTP::OnConnect, &server, [&] {
        busyInHandler = http->Busy();
        try {
            http->Get(direct("/nested"));
        } catch (const TransferError& e) {
            nestedError = e.what();
        }
    });
    EXPECT_EQ(getError(direct("/")), "");
    EXPECT_TRUE(busyInHandler);
    EXPECT_EQ(nestedError, "Already connected");
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(http->Body, "first");
}

TEST_F(Control, TimersRunWhileGetWaitsAndTheirGetIsRefused)
{
    server.setScript(
        {S::send("HTTP/1.0 200 OK\r\n\r\n"), S::waitRelease(), S::send("late"), S::close()});
    int ticks = 0;
    std::string nestedError;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, &server, [&] {
        if (++ticks == 3) {
            try {
                http->Get(direct("/from-timer"));
            } catch (const TransferError& e) {
                nestedError = e.what();
            }
            server.release();
        }
    });
    timer.start();
    http->Get(direct("/"));
    timer.stop();
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(nestedError, "Already connected");
    EXPECT_EQ(http->Body, "late");
}

TEST_F(Control, DeletedFromATimerWhileWaitingEndsGetCleanly)
{
    server.setScript({S::send("HTTP/1.0 200 OK\r\n")});
    TNMHTTP* raw = http.get();
    log.reset();
    QObject::connect(raw, &TNMHTTP::OnPacketSent, &server,
                     [&] { QTimer::singleShot(0, &server, [&] { http.reset(); }); });
    std::string error;
    try {
        raw->Get(direct("/"));
    } catch (const TransferError& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "Transfer Canceled");
    EXPECT_EQ(http, nullptr);
    EXPECT_TRUE(waitUntil([&] { return server.closedByClient() == 1; }));
}

TEST_F(Control, EventsInOrderAtLevel16)
{
    server.setScript(
        {S::send("HTTP/1.0 200 OK\r\n\r\n"), S::waitRelease(), S::send("hello"), S::close()});
    QObject::connect(http.get(), &TNMHTTP::OnStatus, &server, [this](const std::string& s) {
        if (s == "Capture String")
            server.release();
    });
    http->ReportLevel = 16;
    http->TimeOut = 10000;
    http->Get("http://www.example.com:" + std::to_string(server.port()) + "/page.htm");
    EXPECT_EQ(log->lines, (std::vector<std::string>{
                              "AboutToSend",
                              "Status Connecting",
                              "Status Resolve Host",
                              "Status Timer On",
                              "Status Timer Off",
                              "HostResolved",
                              "Status Timer On",
                              "Status Timer Off",
                              "Connect",
                              "Status Sending Buffer",
                              "PacketSent",
                              "Status Capture String",
                              "PacketRecvd",
                              "Success 0",
                              "Status Transaction Completed",
                              "Status Disconnecting",
                              "Status Request Close Socket",
                              "Disconnect",
                          }));
}

TEST_F(Control, RedirectRoundsRepeatTheEventsAndRedirectComesAfterTheClose)
{
    server.setScripts({S::reply("HTTP/1.0 302 Found", {"Location: b.htm"}, ""),
                       S::reply("HTTP/1.0 200 OK", {}, "")});
    useProxy();
    http->ReportLevel = 4;
    http->Get("http://www.example.com/a.htm");
    EXPECT_EQ(log->lines,
              (std::vector<std::string>{
                  "AboutToSend", "Connect", "Status Sending Buffer", "PacketSent",
                  "Status Request Close Socket", "Disconnect", "Redirect", "AboutToSend", "Connect",
                  "Status Sending Buffer", "PacketSent", "Success 0",
                  "Status Transaction Completed", "Status Request Close Socket", "Disconnect"}));
}

struct LevelCase
{
    const char* name;
    int level;
    std::vector<std::string> statuses;
};

class ReportLevel : public TransferFixture, public ::testing::WithParamInterface<LevelCase>
{
};

TEST_P(ReportLevel, FiltersStatusTexts)
{
    server.setScript(S::reply("HTTP/1.0 200 OK", {}, ""));
    http->ReportLevel = GetParam().level;
    http->Get(direct("/"));
    std::vector<std::string> statuses;
    for (const std::string& line : log->lines)
        if (line.rfind("Status ", 0) == 0)
            statuses.push_back(line.substr(7));
    EXPECT_EQ(statuses, GetParam().statuses);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportLevel,
    ::testing::Values(
        LevelCase{"Nothing", 0, {}}, LevelCase{"Default", 1, {}},
        LevelCase{"Completed", 2, {"Transaction Completed"}},
        LevelCase{
            "Conditions", 4, {"Sending Buffer", "Transaction Completed", "Request Close Socket"}},
        LevelCase{"Everything",
                  16,
                  {"Connecting", "Sending Buffer", "Capture String", "Transaction Completed",
                   "Disconnecting", "Request Close Socket"}}),
    [](const ::testing::TestParamInfo<LevelCase>& info) { return std::string(info.param.name); });

TEST_F(Control, ErrorIsReportedAtLevel16AndTheConnectionClosed)
{
    http->ReportLevel = 16;
    EXPECT_EQ(getError("http://127.0.0.1:" + std::to_string(closedPort()) + "/"),
              "Connection Failed");
    EXPECT_EQ(log->lines,
              (std::vector<std::string>{"AboutToSend", "Status Connecting", "ConnectionFailed",
                                        "Status Checking Error In Error Manager"}));
}

} // namespace

namespace {

TEST(SystemResolver, LocalhostComesBackAsLoopbackIPv4First)
{
    QtHostResolver resolver;
    QObject context;
    std::optional<QList<QHostAddress>> answer;
    resolver.lookup(QStringLiteral("localhost"), &context,
                    [&](const QList<QHostAddress>& addresses) { answer = addresses; });
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
    ASSERT_FALSE(answer->isEmpty());
    EXPECT_EQ(answer->front(), QHostAddress(QHostAddress::LocalHost));
}

TEST(SystemResolver, IsTheDefaultOfTheComponent)
{
    ScriptedServer server;
    server.setScript(S::reply("HTTP/1.0 200 OK", {}, "via the system"));
    TNMHTTP http;
    http.ReportLevel = 8;
    std::vector<std::string> statuses;
    QObject::connect(&http, &TNMHTTP::OnStatus, &server,
                     [&](const std::string& s) { statuses.push_back(s); });
    http.Get("http://localhost:" + std::to_string(server.port()) + "/");
    EXPECT_EQ(http.Body, "via the system");
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "Resolve Host"), 1);
}

} // namespace
