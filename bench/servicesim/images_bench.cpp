// How long the emulator takes to make every picture it serves from nothing (a fresh cache), and
// the baseline of encoding the same frames alone, drawn beforehand.
#include "servicesim/GifWriter.h"
#include "servicesim/ImageCatalogue.h"
#include "servicesim/ImageContent.h"
#include "servicesim/ImagePainter.h"
#include "servicesim/JpegWriter.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace cirrolux::servicesim;

// 12 January 2005, 20:00 UTC, in hours since 1970.
constexpr std::int64_t kHour = 1105560000 / 3600;

void BM_DrawAndEncodeEveryPicture(benchmark::State& state)
{
    std::int64_t hour = kHour;
    qint64 bytes = 0;
    for (auto _ : state) {
        ImageContent content; // nothing cached
        for (const ServedImage& image : ImageCatalogue::images())
            bytes += content.picture(image, hour, ImageSize::Full).size();
        ++hour; // another hour: other weather, nothing reused
    }
    state.counters["pictures"] = double(ImageCatalogue::images().size());
    state.counters["MB_per_round"] = double(bytes) / double(state.iterations()) / (1024.0 * 1024.0);
}

void BM_EncodeEveryPictureOnly(benchmark::State& state)
{
    std::vector<std::vector<PixelCanvas>> drawn;
    for (const ServedImage& image : ImageCatalogue::images())
        drawn.push_back(ImagePainter::paint(image, {kHour, 1}));
    for (auto _ : state) {
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            const ServedImage& image = ImageCatalogue::images()[i];
            const auto& frames = drawn[i];
            QByteArray bytes = !image.isGif()       ? JpegWriter::write(frames.front())
                               : frames.size() == 1 ? GifWriter::still(frames.front())
                                                    : GifWriter::animation(frames, 50, 200);
            benchmark::DoNotOptimize(bytes);
        }
    }
}

void BM_CachedEveryPicture(benchmark::State& state)
{
    ImageContent content;
    for (const ServedImage& image : ImageCatalogue::images())
        content.picture(image, kHour, ImageSize::Full);
    for (auto _ : state) {
        for (const ServedImage& image : ImageCatalogue::images())
            benchmark::DoNotOptimize(content.picture(image, kHour, ImageSize::Full));
    }
}

} // namespace

BENCHMARK(BM_DrawAndEncodeEveryPicture)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_EncodeEveryPictureOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_CachedEveryPicture)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
