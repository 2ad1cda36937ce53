// Feeds arbitrary bytes to the gateway's PNG -> GIF conversion as an upstream answer, with a small
// size cap and pixel limit so each input runs quickly. A bad picture must end in a conversion
// error with a text, never in a crash or a read out of bounds; a converted one must be a GIF
// inside the cap with at least one colour.
#include "imageconvert/ConversionError.h"
#include "imageconvert/ImageConverter.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    ConvertOptions options;
    options.limits.maxSize = QSize(64, 48);
    options.limits.maxPixels = 1024 * 1024;
    options.limits.maxTotalPixels = 4 * 1024 * 1024;
    options.limits.maxFrames = 16;
    options.dither = size % 2 == 1;
    try {
        const ConvertedPicture result = ImageConverter::convert(input, Conversion::ToGif, options);
        require(result.format == PictureFormat::Gif && !result.unchanged);
        require(result.bytes.startsWith("GIF89a"));
        require(result.size.width() >= 1 && result.size.width() <= 64);
        require(result.size.height() >= 1 && result.size.height() <= 48);
    } catch (const ConversionError& error) {
        require(std::strlen(error.what()) > 0);
    }
    return 0;
}
