#pragma once

#include <QByteArray>
#include <QImage>

namespace cirrolux {

// Writes baseline JPEG files with libjpeg. libjpeg's fatal errors come back as ConversionError
// with its own text; they never end the process.
class JpegEncoder
{
public:
    // `image` is taken as opaque RGB (alpha, if any, is ignored); `quality` is 1 to 100.
    static QByteArray write(const QImage& image, int quality = 85);
};

} // namespace cirrolux
