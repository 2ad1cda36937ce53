// cirrolux-servicesim: the service emulator as a process, for the run script and for tests
// that want it outside their own process.
#include "ServiceEmulator.h"
#include "locations/CatalogueStations.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cirrolux-servicesim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stands in for the outside services of Cirrolux on 127.0.0.1. Prints the port it "
        "listens on as the first line of its output."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on; 0 picks a free one."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption nowOption(
        QStringLiteral("now"),
        QStringLiteral("Fixed time for every reply, ISO 8601 (e.g. 2005-01-12T20:51:00Z)."),
        QStringLiteral("time"));
    const QCommandLineOption versionOption(QStringLiteral("latest-version"),
                                           QStringLiteral("Version the version file announces."),
                                           QStringLiteral("version"));
    parser.addOptions({portOption, nowOption, versionOption});
    parser.process(app);

    bool portIsNumber = false;
    const uint port = parser.value(portOption).toUInt(&portIsNumber);
    if (!portIsNumber || port > 65535) {
        std::fprintf(stderr, "cirrolux-servicesim: --port needs a number from 0 to 65535\n");
        return 2;
    }

    cirrolux::servicesim::ServiceEmulator emulator;
    emulator.setStationDirectory(cirrolux::CatalogueStationDirectory());
    if (parser.isSet(nowOption)) {
        const QDateTime now = QDateTime::fromString(parser.value(nowOption), Qt::ISODate);
        if (!now.isValid()) {
            std::fprintf(stderr, "cirrolux-servicesim: --now is not an ISO 8601 time\n");
            return 2;
        }
        emulator.setNow(now);
    }
    if (parser.isSet(versionOption))
        emulator.setVersion(parser.value(versionOption).toStdString());
    if (!emulator.listen(static_cast<quint16>(port))) {
        std::fprintf(stderr, "cirrolux-servicesim: cannot listen on 127.0.0.1:%u: %s\n", port,
                     qPrintable(emulator.errorString()));
        return 1;
    }
    std::printf("%u\n", static_cast<unsigned>(emulator.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
