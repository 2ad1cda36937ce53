// cirrolux-fakenoaa: the stand-in for NOAA's file server as a process, for benchmarks that run
// the gateway outside their own process and for running the gateway offline. Serves the files
// under a folder laid out as on the real server ("data/observations/metar/stations/KBOS.TXT")
// on 127.0.0.1, prints its port as the first line of its output and each request it answers on
// its standard error. With --write-samples it fills a folder with current sample files instead
// (see SampleUpstream) and ends.
#include "FakeNoaa.h"
#include "SampleUpstream.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

int writeSamples(int argc, char** argv)
{
    // The pictures are drawn with fonts, which need a GUI application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QDir(QCoreApplication::arguments().at(2)).absolutePath();
    try {
        const auto files =
            cirrolux::fakenoaa::SampleUpstream::write(folder, QDateTime::currentDateTimeUtc());
        for (const auto& file : files)
            std::printf("%s: %s\n", qPrintable(file.path), qPrintable(file.what));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cirrolux-fakenoaa: %s\n", error.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-samples") == 0)
        return writeSamples(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2 || !QDir(arguments.at(1)).exists()) {
        std::fprintf(stderr, "usage: cirrolux-fakenoaa FOLDER  (the folder that holds data/)\n"
                             "       cirrolux-fakenoaa --write-samples FOLDER\n");
        return 2;
    }
    cirrolux::fakenoaa::FakeNoaa noaa;
    noaa.serveFolder(QDir(arguments.at(1)).absolutePath());
    // One line per request on the standard error, as a web server's access log.
    QObject::connect(&noaa, &cirrolux::fakenoaa::FakeNoaa::answered, &noaa,
                     [](const QByteArray& method, const QByteArray& path, int status) {
                         std::fprintf(stderr, "%s %s %d\n", method.constData(), path.constData(),
                                      status);
                         std::fflush(stderr);
                     });
    if (!noaa.listen()) {
        std::fprintf(stderr, "cirrolux-fakenoaa: cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::printf("%u\n", static_cast<unsigned>(noaa.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
