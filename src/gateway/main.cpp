// cirrolux-gateway: serves the program's pages from live NOAA observations and products on
// 127.0.0.1, for the program's proxy setting.
#include "gateway/GatewayServer.h"
#include "gateway/LiveConditions.h"
#include "gateway/StationIndex.h"
#include "gateway/StopSignals.h"
#include "gateway/UpstreamSettings.h"
#include "locations/CatalogueStations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <exception>

using namespace cirrolux;

int main(int argc, char** argv)
{
    QElapsedTimer started;
    started.start();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cirrolux-gateway"));
    QCoreApplication::setApplicationVersion(gateway::GatewayVersion());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Answers Cirrolux's requests with live NOAA weather on 127.0.0.1 (set it as the "
        "program's HTTP proxy). Prints the port it listens on as the first line of its output."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Port to listen on (default 8088); 0 picks a free one."),
        QStringLiteral("N"), QStringLiteral("8088"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"),
        QStringLiteral("Folder of weather-util-data's correlation files (default "
                       "/usr/share/weather-util)."),
        QStringLiteral("dir"), QStringLiteral("/usr/share/weather-util"));
    const QCommandLineOption observationsOption(
        QStringLiteral("observations"),
        QStringLiteral("Base address of the station observation files (default "
                       "https://tgftp.nws.noaa.gov/data/observations/metar/stations/)."),
        QStringLiteral("url"));
    const QCommandLineOption productsOption(
        QStringLiteral("products"),
        QStringLiteral("Base address of the NWS text products (default "
                       "https://tgftp.nws.noaa.gov/data/)."),
        QStringLiteral("url"));
    const QCommandLineOption timeoutOption(
        QStringLiteral("timeout"),
        QStringLiteral("Deadline for a whole upstream transfer in milliseconds (default 15000)."),
        QStringLiteral("ms"));
    parser.addOptions({portOption, dataOption, observationsOption, productsOption, timeoutOption});
    parser.process(app);

    bool portIsNumber = false;
    const uint port = parser.value(portOption).toUInt(&portIsNumber);
    if (!portIsNumber || port > 65535) {
        std::fprintf(stderr, "cirrolux-gateway: --port needs a number from 0 to 65535\n");
        return 2;
    }
    gateway::UpstreamSettings settings = gateway::UpstreamSettings::fromEnvironment();
    if (parser.isSet(observationsOption))
        settings.observationsBase =
            gateway::UpstreamSettings::baseAddress(parser.value(observationsOption));
    if (parser.isSet(productsOption))
        settings.productsBase =
            gateway::UpstreamSettings::baseAddress(parser.value(productsOption));
    if (parser.isSet(timeoutOption)) {
        bool ok = false;
        const int ms = parser.value(timeoutOption).toInt(&ok);
        if (!ok || ms <= 0) {
            std::fprintf(stderr, "cirrolux-gateway: --timeout needs a positive number\n");
            return 2;
        }
        settings.timeout = std::chrono::milliseconds(ms);
    }

    std::optional<gateway::StationIndex> index;
    QElapsedTimer loading;
    loading.start();
    try {
        index = gateway::StationIndex::load(parser.value(dataOption));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cirrolux-gateway: %s\n", error.what());
        return 1;
    }
    const qint64 loadMs = loading.elapsed();
    const gateway::LiveConditions live(*index, cirrolux::CatalogueStationDirectory());
    gateway::GatewayServer server(*index, live, settings);
    if (!server.listen(static_cast<quint16>(port))) {
        std::fprintf(stderr, "cirrolux-gateway: cannot listen on 127.0.0.1:%u: %s\n", port,
                     qPrintable(server.errorString()));
        return 1;
    }
    // SIGTERM (the service manager's stop) and SIGINT end the loop: the listener closes and
    // open connections are dropped before the process leaves.
    gateway::StopSignals stopSignals;
    QObject::connect(&stopSignals, &gateway::StopSignals::stopRequested, &app, [&](int number) {
        std::fprintf(stderr, "cirrolux-gateway: stopping on %s\n",
                     number == SIGTERM ? "SIGTERM" : "SIGINT");
        server.close();
        QCoreApplication::exit(0);
    });
    std::printf("%u\n", static_cast<unsigned>(server.port()));
    std::fprintf(stderr,
                 "cirrolux-gateway %s: listening on 127.0.0.1:%u after %lld ms (tables: %zu "
                 "stations in %lld ms); set the program's proxy to 127.0.0.1 port %u\n",
                 qPrintable(gateway::GatewayVersion()), static_cast<unsigned>(server.port()),
                 static_cast<long long>(started.elapsed()), index->stationCount(),
                 static_cast<long long>(loadMs), static_cast<unsigned>(server.port()));
    std::fflush(stdout);
    std::fflush(stderr);
    return QCoreApplication::exec();
}
