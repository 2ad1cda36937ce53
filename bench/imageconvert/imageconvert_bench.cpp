// The gateway's PNG -> GIF conversion of an 1800 x 1080 picture against Qt decoding the same PNG
// and writing it again as PNG, alternating in one run; the "ratio" counter is GIF time over Qt
// time (goal: at most 2).
//
// Two pictures: a satellite-like one (smooth gradients with noise, far more than 256 colours, so
// the median cut runs) and a map-like one (a few flat colours and lines, kept exactly).
#include "imageconvert/ImageConverter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <benchmark/benchmark.h>

#include <random>

using namespace cirrolux;

namespace {

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

const QByteArray& satellitePng()
{
    static const QByteArray bytes = [] {
        QImage image(1800, 1080, QImage::Format_RGB32);
        std::mt19937 random(11);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int noise = int(random() % 24);
                const int cloud = ((x * 7 + y * 3) / 9 + noise) & 0xFF;
                line[x] = qRgb((cloud + x / 20) & 0xFF, (cloud + y / 12) & 0xFF, 90 + noise * 4);
            }
        }
        return pngOf(image);
    }();
    return bytes;
}

const QByteArray& mapPng()
{
    static const QByteArray bytes = [] {
        QImage image(1800, 1080, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                QRgb c = qRgb(60 * ((x * 5) / 1800), 180, 50 * ((y * 5) / 1080));
                if (x % 37 == 0 || y % 29 == 0)
                    c = qRgb(0, 0, 0);
                line[x] = c;
            }
        }
        return pngOf(image);
    }();
    return bytes;
}

QByteArray qtRoundTrip(const QByteArray& png)
{
    QBuffer in;
    in.setData(png);
    in.open(QIODevice::ReadOnly);
    QImageReader reader(&in, "png");
    const QImage image = reader.read();
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return out;
}

void runPair(benchmark::State& state, const QByteArray& png)
{
    double gifSeconds = 0;
    double qtSeconds = 0;
    std::int64_t gifBytes = 0;
    ConvertOptions options;
    options.limits.maxSize = QSize(); // no cap
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const ConvertedPicture gif = ImageConverter::convert(png, Conversion::ToGif, options);
        gifSeconds += double(timer.nsecsElapsed()) / 1e9;
        gifBytes = gif.bytes.size();
        timer.restart();
        const QByteArray again = qtRoundTrip(png);
        qtSeconds += double(timer.nsecsElapsed()) / 1e9;
        benchmark::DoNotOptimize(again.data());
    }
    const double n = double(state.iterations());
    state.counters["gif_ms"] = 1000 * gifSeconds / n;
    state.counters["qt_png_ms"] = 1000 * qtSeconds / n;
    state.counters["ratio"] = gifSeconds / qtSeconds;
    state.counters["png_KB"] = double(png.size()) / 1024;
    state.counters["gif_KB"] = double(gifBytes) / 1024;
}

// The cap is off in both (the default 1280 x 1024 would scale the picture first).
void BM_PngToGif_vs_QtPng_Satellite_1800x1080(benchmark::State& state)
{
    runPair(state, satellitePng());
}

void BM_PngToGif_vs_QtPng_Map_1800x1080(benchmark::State& state)
{
    runPair(state, mapPng());
}

} // namespace

BENCHMARK(BM_PngToGif_vs_QtPng_Satellite_1800x1080)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_PngToGif_vs_QtPng_Map_1800x1080)->Unit(benchmark::kMillisecond)->MinTime(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
