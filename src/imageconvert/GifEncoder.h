#pragma once

#include "imageconvert/PaletteQuantiser.h"

#include <QByteArray>
#include <QRgb>

#include <vector>

namespace cirrolux {

// Writes GIF files with giflib from palette pictures. Throws ConversionError when giflib fails.
class GifEncoder
{
public:
    static QByteArray still(const IndexedPicture& picture, const std::vector<QRgb>& palette);

    struct Frame
    {
        IndexedPicture picture;
        int delayCs = 10; // hundredths of a second before the next frame
    };
    // An animation that loops forever; every frame has the palette and the size of the first.
    static QByteArray animation(const std::vector<Frame>& frames, const std::vector<QRgb>& palette);
};

} // namespace cirrolux
