#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <string>

namespace cirrolux {

// Decodes JPEG files through libjpeg. A fatal libjpeg error ends the decode with DecoderError
// carrying libjpeg's own text; the library's state and the file are released first. Warnings
// (a file cut short, say) are not errors: what was decoded is returned.
class JpegDecoder
{
public:
    struct Options
    {
        // Decode at the largest scale n/8 (n = 1..8) at which the picture fits this size; an
        // empty size decodes at full size.
        QSize fit;
        // Called as rows arrive with the picture so far; rows from `rowsDone` on are not set yet.
        // The image is the one being filled: paint from it, don't keep a copy.
        std::function<void(const QImage& image, int rowsDone)> progress;
        // Rows between two progress calls.
        int progressRows = 64;
    };

    // Pictures larger than this are decoded at a smaller scale whatever `fit` says.
    static constexpr long long MaxPixels = 64LL * 1024 * 1024;
    // Pictures whose frame header announces more than this are refused before anything is
    // allocated for them: a few bytes can claim 60000 x 60000 pixels, and even the smallest scale
    // of that would need hundreds of megabytes.
    static constexpr long long MaxSourcePixels = 4 * MaxPixels;

    // Throws DecoderError.
    static QImage decodeFile(const std::string& fileName, const Options& options);
    static QImage decodeFile(const std::string& fileName) { return decodeFile(fileName, {}); }
    // The scale numerator (over 8) that decode would choose for a picture of `size`.
    static int scaleFor(QSize size, QSize fit);
};

} // namespace cirrolux
