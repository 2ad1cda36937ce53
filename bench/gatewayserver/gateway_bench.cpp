// The gateway's figures: start-up of the process (to listening, tables loaded) and its resident
// memory after 20,000 distinct addresses, each against the service emulator's process in the
// same run; a cached conditions page answered by the gateway against the emulator answering the
// same path, in process and over loopback.
#include "FakeNoaa.h"
#include "gateway/GatewayServer.h"
#include "gateway/LiveConditions.h"
#include "gateway/StationIndex.h"
#include "locations/CatalogueStations.h"
#include "servicesim/ServiceEmulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

namespace {

using namespace cirrolux;

const QByteArray BostonHead =
    "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\nReferer: Cirrolux by "
    "Tallowmere\r\nProxy-Connection: Keep-Alive\r\n\r\n";
const QByteArray BostonFile = "2026/12/09 17:54\nKBOS 091754Z 31012G22KT 10SM FEW045 BKN250 "
                              "M01/M09 A3012 RMK AO2 SLP201 T10061089\n";

// Kilobytes resident of a process, from /proc; 0 when unknown.
double residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble();
    }
    return 0;
}

// Milliseconds of CPU time (user and system) a process has used so far, from /proc; 0 when
// unknown. Unlike the wall time, it hardly depends on what else the machine is doing.
double cpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // Fields after the command name in parentheses; utime and stime are the 14th and 15th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    const double ticks = fields[11].toDouble() + fields[12].toDouble();
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// Process start to its port on the first line of its output.
void startUntilListening(benchmark::State& state, const QString& program, QStringList arguments)
{
    double rssKb = 0;
    double cpu = 0;
    for (auto _ : state) {
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (!process.canReadLine()) {
            state.SkipWithError("the process did not print its port");
            break;
        }
        state.SetIterationTime(seconds);
        rssKb = residentKb(process.processId());
        cpu += cpuMs(process.processId());
        process.kill();
        process.waitForFinished();
    }
    state.counters["rss_MB"] = rssKb / 1024.0;
    state.counters["cpu_ms"] = state.iterations() > 0 ? cpu / double(state.iterations()) : 0;
}

void BM_GatewayStartup(benchmark::State& state)
{
    if (!QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz"))) {
        state.SkipWithError("weather-util-data is not installed");
        return;
    }
    startUntilListening(state, QStringLiteral(CIRROLUX_GATEWAY_EXE),
                        {QStringLiteral("--port"), QStringLiteral("0")});
}
BENCHMARK(BM_GatewayStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Baseline: the emulator's process, the same Qt start-up without the tables.
void BM_EmulatorStartup(benchmark::State& state)
{
    startUntilListening(state, QStringLiteral(CIRROLUX_SERVICESIM_EXE),
                        {QStringLiteral("--port"), QStringLiteral("0")});
}
BENCHMARK(BM_EmulatorStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Over loopback: a client of its own connects, asks, and reads to the close, while this
// process's event loop runs (it may serve the fake NOAA the gateway fetches from).
QByteArray exchangeOverLoopback(quint16 port, const QByteArray& head);
qint64 fetchOverLoopback(quint16 port, const QByteArray& head)
{
    return exchangeOverLoopback(port, head).size();
}

// A child process started until it prints its port; the port is 0 when it did not.
struct Child
{
    Child(const QString& program, const QStringList& arguments)
    {
        process.setProcessChannelMode(QProcess::SeparateChannels);
        timer.start();
        process.start(program, arguments);
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        startMs = double(timer.nsecsElapsed()) / 1e6;
        if (process.canReadLine())
            port = static_cast<quint16>(process.readLine().trimmed().toUInt());
    }
    ~Child()
    {
        process.kill();
        process.waitForFinished();
    }

    QProcess process;
    QElapsedTimer timer;
    double startMs = 0;
    quint16 port = 0;
};

// A NOAA station file observed a few minutes ago, so the gateway shows it as current.
QByteArray currentBostonFile()
{
    const QDateTime observed = QDateTime::currentDateTimeUtc().addSecs(-5 * 60);
    return observed.toString(QStringLiteral("yyyy/MM/dd HH:mm")).toLatin1() + "\nKBOS " +
           observed.toString(QStringLiteral("ddHHmm")).toLatin1() +
           "Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2\n";
}

// The n-th of the distinct addresses: query variants of a conditions page, pictures and
// conditions addresses that name no place, in turn.
QByteArray distinctAddress(int n)
{
    switch (n % 3) {
    case 0:
        return "GET http://www.wunderground.com/US/MA/Boston.html?n=" + QByteArray::number(n) +
               " HTTP/1.0\r\n\r\n";
    case 1:
        return "GET http://wxp.eas.purdue.edu/radar/r" + QByteArray::number(n) +
               ".gif HTTP/1.0\r\n\r\n";
    default:
        return "GET http://www.wunderground.com/US/MA/Nowhere" + QByteArray::number(n) +
               ".html HTTP/1.0\r\n\r\n";
    }
}

constexpr int kDistinctAddresses = 20000;

// Both processes started in turn, then each asked for the same 20,000 distinct addresses;
// their start-up to listening and resident memory after, and the gateway's against the
// emulator's.
void BM_GatewayAgainstEmulatorAfterDistinctAddresses(benchmark::State& state)
{
    if (!QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz"))) {
        state.SkipWithError("weather-util-data is not installed");
        return;
    }
    fakenoaa::FakeNoaa noaa;
    noaa.setFile("/data/observations/metar/stations/KBOS.TXT", currentBostonFile());
    noaa.listen();
    double gatewayStart = 0, emulatorStart = 0, gatewayRss = 0, emulatorRss = 0;
    double livePages = 0;
    for (auto _ : state) {
        Child gateway(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                      {QStringLiteral("--port"), QStringLiteral("0"),
                       QStringLiteral("--observations"), noaa.observationsBase(),
                       QStringLiteral("--products"), noaa.productsBase()});
        Child emulator(QStringLiteral(CIRROLUX_SERVICESIM_EXE),
                       {QStringLiteral("--port"), QStringLiteral("0")});
        if (gateway.port == 0 || emulator.port == 0) {
            state.SkipWithError("a process did not print its port");
            return;
        }
        gatewayStart = gateway.startMs;
        emulatorStart = emulator.startMs;
        for (int n = 0; n < kDistinctAddresses; ++n) {
            const QByteArray head = distinctAddress(n);
            const QByteArray reply = exchangeOverLoopback(gateway.port, head);
            livePages += reply.startsWith("HTTP/1.0 200 ") && reply.contains("&#176;F");
            fetchOverLoopback(emulator.port, head);
        }
        gatewayRss = residentKb(gateway.process.processId()) / 1024.0;
        emulatorRss = residentKb(emulator.process.processId()) / 1024.0;
        state.SetIterationTime(gateway.startMs / 1000.0);
    }
    state.counters["gateway_start_ms"] = gatewayStart;
    state.counters["emulator_start_ms"] = emulatorStart;
    state.counters["start_ratio"] = emulatorStart > 0 ? gatewayStart / emulatorStart : 0;
    state.counters["gateway_rss_MB"] = gatewayRss;
    state.counters["emulator_rss_MB"] = emulatorRss;
    state.counters["rss_ratio"] = emulatorRss > 0 ? gatewayRss / emulatorRss : 0;
    // Conditions pages written from the fake NOAA's report (a third of the addresses).
    state.counters["gateway_live_pages"] = livePages;
}
BENCHMARK(BM_GatewayAgainstEmulatorAfterDistinctAddresses)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A gateway whose cache holds Boston's observation, fed by a fake NOAA; and an emulator.
struct Servers
{
    Servers()
        : index(gateway::StationIndex::load()), live(index, cirrolux::CatalogueStationDirectory())
    {
        noaa.setFile("/data/observations/metar/stations/KBOS.TXT", BostonFile);
        noaa.listen();
        gateway::UpstreamSettings settings;
        settings.observationsBase = noaa.observationsBase();
        settings.productsBase = noaa.productsBase();
        server = std::make_unique<gateway::GatewayServer>(index, live, settings);
        server->setClock([] { return QDateTime(QDate(2026, 12, 9), QTime(18, 0), Qt::UTC); });
        emulator.setNow(QDateTime(QDate(2026, 12, 9), QTime(18, 0), Qt::UTC));
        emulator.setStationDirectory(cirrolux::CatalogueStationDirectory());
        // Warm the cache: the first answer waits for the fake NOAA.
        bool done = false;
        server->answer(BostonHead, [&](const HttpReply&) { done = true; });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    gateway::StationIndex index;
    gateway::LiveConditions live;
    fakenoaa::FakeNoaa noaa;
    std::unique_ptr<gateway::GatewayServer> server;
    servicesim::ServiceEmulator emulator;
};

Servers& servers()
{
    static Servers instance;
    return instance;
}

void BM_GatewayCachedPageInProcess(benchmark::State& state)
{
    Servers& s = servers();
    qint64 bytes = 0;
    for (auto _ : state) {
        s.server->answer(BostonHead, [&](const HttpReply& reply) { bytes = reply.body.size(); });
    }
    state.counters["page_bytes"] = double(bytes);
}
BENCHMARK(BM_GatewayCachedPageInProcess)->Unit(benchmark::kMicrosecond);

// Baseline: the emulator writing its page for the same path.
void BM_EmulatorPageInProcess(benchmark::State& state)
{
    Servers& s = servers();
    const cirrolux::HttpRequestHead head = cirrolux::HttpRequestHead::parse(BostonHead);
    const QDateTime now(QDate(2026, 12, 9), QTime(18, 0), Qt::UTC);
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = s.emulator.router().route(head, now).body.size();
    state.counters["page_bytes"] = double(bytes);
}
BENCHMARK(BM_EmulatorPageInProcess)->Unit(benchmark::kMicrosecond);

QByteArray exchangeOverLoopback(quint16 port, const QByteArray& head)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    while (socket.state() != QAbstractSocket::ConnectedState &&
           socket.state() != QAbstractSocket::UnconnectedState)
        QCoreApplication::processEvents();
    socket.write(head);
    QByteArray reply;
    while (socket.state() == QAbstractSocket::ConnectedState || socket.bytesAvailable() > 0) {
        QCoreApplication::processEvents();
        reply += socket.readAll();
    }
    return reply;
}

void BM_GatewayCachedPageOverLoopback(benchmark::State& state)
{
    Servers& s = servers();
    if (s.server->port() == 0)
        s.server->listen(0);
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = fetchOverLoopback(s.server->port(), BostonHead);
    state.counters["reply_bytes"] = double(bytes);
}
BENCHMARK(BM_GatewayCachedPageOverLoopback)->Unit(benchmark::kMicrosecond);

void BM_EmulatorPageOverLoopback(benchmark::State& state)
{
    Servers& s = servers();
    if (s.emulator.port() == 0)
        s.emulator.listen(0);
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = fetchOverLoopback(s.emulator.port(), BostonHead);
    state.counters["reply_bytes"] = double(bytes);
}
BENCHMARK(BM_EmulatorPageOverLoopback)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
