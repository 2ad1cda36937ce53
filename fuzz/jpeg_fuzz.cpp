// Feeds arbitrary bytes to the JPEG decoder as a downloaded image file, at full size and fitted
// into a window (its size comes from the first two bytes), with progress reports. A bad file must
// end in a decoder error with a text, never in a crash, a read out of bounds or a picture larger
// than the decoder's limit; a good one must report its rows in order and inside the picture.
#include "images/JpegDecoder.h"
#include "platform/CirroluxError.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The decoded size; empty after a decoder error.
QSize decode(const std::string& fileName, QSize fit)
{
    int lastRows = 0;
    QSize seen;
    JpegDecoder::Options options;
    options.fit = fit;
    options.progressRows = 16;
    options.progress = [&](const QImage& image, int rowsDone) {
        require(!image.isNull());
        require(rowsDone > lastRows && rowsDone <= image.height());
        require(seen.isEmpty() || seen == image.size());
        seen = image.size();
        lastRows = rowsDone;
    };
    try {
        const QImage image = JpegDecoder::decodeFile(fileName, options);
        require(!image.isNull());
        require(static_cast<long long>(image.width()) * image.height() <= JpegDecoder::MaxPixels);
        require(image.format() == QImage::Format_RGB32);
        require(seen.isEmpty() || seen == image.size());
        return image.size();
    } catch (const DecoderError& error) {
        require(error.what()[0] != '\0');
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    static const std::string fileName = folder.filePath(QStringLiteral("image.jpg")).toStdString();
    {
        QFile file(QString::fromStdString(fileName));
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        require(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    const QSize full = decode(fileName, {});
    if (size >= 2) {
        const QSize fit(1 + data[0], 1 + data[1]);
        const QSize fitted = decode(fileName, fit);
        // A picture this small was decoded at its own size, so `full` is its size.
        const bool small =
            static_cast<long long>(full.width()) * full.height() <= JpegDecoder::MaxPixels / 64;
        if (!full.isEmpty() && !fitted.isEmpty() && small) {
            // libjpeg rounds each scaled side up.
            const int n = JpegDecoder::scaleFor(full, fit);
            require(fitted == QSize((full.width() * n + 7) / 8, (full.height() * n + 7) / 8));
        }
    }
    return 0;
}
