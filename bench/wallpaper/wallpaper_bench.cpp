// The wallpaper bitmap of a 4000 x 3000 JPEG: decode, write "cirrolux.bmp" in the working
// directory and move it into the data directory, against QImage::load + save of the same file
// in the same run (alternating rounds, medians). The decode goes through the program's libjpeg
// wrapper, as the wallpaper update does.
#include "images/JpegDecoder.h"
#include "wallpaper/WallpaperBitmap.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Rounds = 10;

QString jpegPath;
QString workDir;
QString dataDir;
double oursMedian = 0;
double baselineMedian = 0;

// A satellite-like picture: smooth bands with noise, so the JPEG is of realistic size.
void writeTestJpeg(const QString& path)
{
    QImage picture(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator noise(42);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int n = int(noise.bounded(24));
            line[x] = qRgb((x / 16 + n) & 0xFF, (y / 12 + n) & 0xFF, ((x + y) / 28) & 0xFF);
        }
    }
    if (!picture.save(path, "JPEG", 85))
        throw std::runtime_error("cannot write the test JPEG");
}

double seconds(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double oursOnce()
{
    const auto start = std::chrono::steady_clock::now();
    const QImage picture = cirrolux::JpegDecoder::decodeFile(jpegPath.toStdString());
    const QString bitmap = workDir + QStringLiteral("/cirrolux.bmp");
    if (!cirrolux::WallpaperBitmap::save(picture, bitmap))
        throw std::runtime_error("bitmap not written");
    cirrolux::WallpaperBitmap::install(bitmap, dataDir);
    return seconds(start);
}

double baselineOnce()
{
    const auto start = std::chrono::steady_clock::now();
    QImage picture;
    if (!picture.load(jpegPath) || !picture.save(workDir + QStringLiteral("/plain.bmp"), "BMP"))
        throw std::runtime_error("baseline failed");
    return seconds(start);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void compare(benchmark::State& state)
{
    std::vector<double> ours;
    std::vector<double> baseline;
    try {
        // Which goes first changes every round: the second runs while the first one's 36 MB
        // are still being written out.
        bool oursFirst = false;
        for (auto _ : state) {
            if (oursFirst)
                ours.push_back(oursOnce());
            baseline.push_back(baselineOnce());
            if (!oursFirst)
                ours.push_back(oursOnce());
            state.SetIterationTime(ours.back());
            oursFirst = !oursFirst;
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    oursMedian = median(ours);
    baselineMedian = median(baseline);
    state.counters["ours_ms"] = oursMedian * 1000;
    state.counters["load_save_ms"] = baselineMedian * 1000;
    state.counters["ratio"] = oursMedian / baselineMedian;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    jpegPath = dir.path() + QStringLiteral("/GEIR.JPG");
    workDir = dir.path() + QStringLiteral("/work");
    dataDir = dir.path() + QStringLiteral("/data");
    QDir().mkpath(workDir);
    QDir().mkpath(dataDir);
    writeTestJpeg(jpegPath);

    benchmark::RegisterBenchmark("wallpaper_bitmap_4000x3000_jpeg_vs_QImage_load_save", compare)
        ->Iterations(Rounds)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (baselineMedian > 0)
        std::printf("\n4000 x 3000 JPEG to cirrolux.bmp, medians of %d alternating rounds:\n"
                    "ours %.0f ms   QImage::load + save %.0f ms   ratio %.2f (goal <= 1.0)\n",
                    Rounds, oursMedian * 1000, baselineMedian * 1000, oursMedian / baselineMedian);
    return 0;
}
