#pragma once

#include "drawing/PixelCanvas.h"

#include <QByteArray>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;

// Writes baseline JPEG files with libjpeg.
class JpegWriter
{
public:
    // The picture in full colour at `quality` (1-100), or in grey with optimised tables when
    // `compact` (the smallest valid file). Throws std::runtime_error with libjpeg's own message
    // when it fails; libjpeg's error exit never ends the process.
    static QByteArray write(const PixelCanvas& picture, int quality = 82, bool compact = false);
};

} // namespace cirrolux::servicesim
