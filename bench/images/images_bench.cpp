// Picture decoding and animation of the image window.
//
// - A 4000 x 3000 JPEG decoded through JpegDecoder and through QImageReader (Qt's own libjpeg
//   plugin), the same file, alternating in one run; then the wrapper's decode at the scale that
//   fits a 1920 x 1080 screen.
// - A 100-frame 800 x 600 radar loop animating in the GIF control for 10 s: CPU time over wall
//   time, and how far the resident memory rises above where it was before the load.
#include "GifWriter.h"
#include "JpegWriter.h"

#include "display/TGIFImage.h"
#include "images/JpegDecoder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <random>

using namespace cirrolux;

namespace {

QTemporaryDir* scratch = nullptr;

QString scratchFile(const char* name)
{
    return scratch->filePath(QString::fromLatin1(name));
}

// A camera-like picture: smooth sky, noisy ground, so the file has a realistic size.
const QString& largeJpeg()
{
    static const QString file = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        std::mt19937 random(7);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int noise = y > 1800 ? int(random() % 64) : 0;
                line[x] = qRgb((x / 16 + noise) & 0xFF, (y / 12 + noise) & 0xFF, 200 - y / 20);
            }
        }
        const QString path = scratchFile("large.jpg");
        test::WriteJpeg(path, image, 85);
        return path;
    }();
    return file;
}

void BM_Jpeg_Wrapper_4000x3000(benchmark::State& state)
{
    const std::string file = largeJpeg().toStdString();
    for (auto _ : state) {
        QImage image = JpegDecoder::decodeFile(file);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Jpeg_QImageReader_4000x3000(benchmark::State& state)
{
    const QString file = largeJpeg();
    for (auto _ : state) {
        QImageReader reader(file);
        reader.setAllocationLimit(0);
        QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("QImageReader could not read the file");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Jpeg_Wrapper_4000x3000_FitTo1920x1080(benchmark::State& state)
{
    const std::string file = largeJpeg().toStdString();
    JpegDecoder::Options options;
    options.fit = QSize(1920, 1080);
    QSize size;
    for (auto _ : state) {
        QImage image = JpegDecoder::decodeFile(file, options);
        size = image.size();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A radar loop: the same map under echoes that move a little each frame.
QString radarLoop()
{
    const QString file = scratchFile("loop.gif");
    const int width = 800, height = 600;
    std::vector<test::GifFrame> frames;
    for (int k = 0; k < 100; ++k) {
        test::GifFrame frame;
        frame.delayCs = 10;
        frame.pixels.resize(std::size_t(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int ex = (x + 4 * k) % width, ey = y;
                const bool echo = ((ex / 40 + ey / 30) % 7 == 0) && ((ex * 7 + ey * 3) % 5 != 0);
                frame.pixels[std::size_t(y) * width + x] =
                    std::uint8_t(echo ? 200 + (ex + ey) % 40 : 20 + ((x / 50 + y / 50) % 2) * 10);
            }
        frames.push_back(std::move(frame));
    }
    test::WriteGif(file, width, height, frames, true);
    return file;
}

// Resident memory now, from /proc (the peak of getrusage would still hold the JPEG runs).
double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void BM_RadarLoop_100x800x600_Animating10s(benchmark::State& state)
{
    const QString file = radarLoop();
    for (auto _ : state) {
        TGIFImage control;
        control.show();
        const double before = residentMB();
        double highest = before;
        QTimer sample;
        QObject::connect(&sample, &QTimer::timeout, &sample,
                         [&] { highest = std::max(highest, residentMB()); });
        sample.start(100);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        control.LoadFromFile(file);
        control.SetAnimate(true);
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const double wall = double(clock.elapsed()) / 1000.0;
        state.counters["cpu_percent_of_one_core"] = 100.0 * (cpuSeconds() - cpuBefore) / wall;
        state.counters["rss_growth_MB"] = highest - before;
        state.counters["frames_shown"] = control.DecodedFrames();
        state.counters["frames_per_second"] = control.DecodedFrames() / wall;
        state.SetIterationTime(wall);
    }
}

} // namespace

BENCHMARK(BM_Jpeg_QImageReader_4000x3000)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_Jpeg_Wrapper_4000x3000)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_Jpeg_Wrapper_4000x3000_FitTo1920x1080)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_RadarLoop_100x800x600_Animating10s)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    scratch = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
