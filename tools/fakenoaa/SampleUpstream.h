#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

#include <vector>

namespace cirrolux::fakenoaa {

// A throwaway upstream folder for running the gateway without the internet: Boston's current
// observation and zone forecast laid out as on NOAA's file server, the North Texas radar site's
// loop as the NWS RIDGE server publishes it, and a PNG map for a picture the gateway converts.
// Everything is drawn here and dated from the clock given, so the gateway takes it as current.
// Drawing needs a QGuiApplication (fonts).
class SampleUpstream
{
public:
    struct File
    {
        QString path; // relative to the folder, as asked for on the fake ("data/...", "host/...")
        QString what; // one line for the person running it
    };

    static constexpr int kLoopFrames = 6;
    static constexpr QSize kLoopSize{600, 550};
    // The loop's land colour, which fills the middle of every frame (echoes and lines keep
    // away from it), so a copy of a frame can be recognised by its centre.
    static constexpr QRgb kLand = 0xff4a5a3cu;
    static constexpr QSize kMapSize{720, 540};
    static constexpr const char* kLoopPath = "radar.weather.gov/ridge/standard/KFWS_loop.gif";
    static constexpr const char* kMapPath = "hprcc.unl.edu/products/maps/acis/30dPNormUS.png";
    static constexpr const char* kObservationPath = "data/observations/metar/stations/KBOS.TXT";
    static constexpr const char* kForecastPath = "data/forecasts/zone/ma/maz015.txt";

    // The station file of Boston Logan (KBOS), issued at the last :54 before `nowUtc`.
    static QByteArray observation(const QDateTime& nowUtc);
    // Boston's zone forecast (MAZ015) issued within the last hours of `nowUtc`.
    static QByteArray zoneForecast(const QDateTime& nowUtc);
    // Frame `frame` (0 = oldest) of the loop ending at `nowUtc`: a map with echoes that move
    // east-northeast from frame to frame, a title bar with the frame's time and a dBZ legend.
    static QImage radarFrame(int frame, const QDateTime& nowUtc);
    // The loop as a GIF89a animation of kLoopFrames frames with one palette.
    static QByteArray radarLoop(const QDateTime& nowUtc);
    // A percent-of-normal precipitation map of the lower 48 as a PNG.
    static QByteArray precipitationMap(const QDateTime& nowUtc);

    // Writes every file under `folder` (made when missing). Throws std::runtime_error naming the
    // file that could not be written.
    static std::vector<File> write(const QString& folder, const QDateTime& nowUtc);
};

} // namespace cirrolux::fakenoaa
