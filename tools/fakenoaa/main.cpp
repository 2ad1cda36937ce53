// cirrolux-fakenoaa: the stand-in for NOAA's file server as a process, for benchmarks that run
// the gateway outside their own process. Serves the files under a folder laid out as on the
// real server ("data/observations/metar/stations/KBOS.TXT") on 127.0.0.1 and prints its port
// as the first line of its output.
#include "FakeNoaa.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2 || !QDir(arguments.at(1)).exists()) {
        std::fprintf(stderr, "usage: cirrolux-fakenoaa FOLDER  (the folder that holds data/)\n");
        return 2;
    }
    cirrolux::fakenoaa::FakeNoaa noaa;
    noaa.serveFolder(QDir(arguments.at(1)).absolutePath());
    if (!noaa.listen()) {
        std::fprintf(stderr, "cirrolux-fakenoaa: cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::printf("%u\n", static_cast<unsigned>(noaa.port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
