#pragma once

#include "drawing/PixelCanvas.h"

#include <QByteArray>

#include <vector>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;

// Writes GIF files with giflib. Every frame uses the first frame's palette (as the global colour
// table) and size.
class GifWriter
{
public:
    // One picture. Throws std::runtime_error when giflib fails.
    static QByteArray still(const PixelCanvas& picture);
    // An animation that loops forever (NETSCAPE2.0 extension), `delay` hundredths of a second per
    // frame and `lastDelay` on the last one. Frames after the first hold only the rectangle that
    // changed, drawn over the one before, which keeps long radar loops small and quick to write.
    static QByteArray animation(const std::vector<PixelCanvas>& frames, int delay, int lastDelay);
};

} // namespace cirrolux::servicesim
