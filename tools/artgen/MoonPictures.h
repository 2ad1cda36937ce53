#pragma once

#include "Picture.h"

#include <QPainterPath>
#include <QPointF>

namespace cirrolux::artgen {

// The lit part of a moon disc of `radius` around `centre` for the lit share `fraction`
// (0 < fraction < 1). The terminator is half an ellipse with semi-axis |1 - 2 fraction| r
// across, so the lit area is exactly `fraction` of the disc: a crescent below one half, gibbous
// above. Waxing moons are lit on the right, waning ones on the left (as seen from the north).
QPainterPath LitPart(const QPointF& centre, double radius, double fraction, bool waxing);

// A 50 x 50 moon on black: the unlit part dark blue, the lit part pale yellow with faint maria.
// `fraction` 0 gives the new moon, 1 the full moon.
QImage MoonPicture(double fraction, bool waxing);

// The 20 moon pictures: "GIFImagenew", "GIFImageFull", "GIFImagel10x".."GIFImagel90x" (waxing)
// and "GIFImage10x".."GIFImage90x" (waning). Each tenth is drawn at the middle of its range
// (0.15 for the tenth 1, ...).
void AddMoonPictures(PictureList& pictures);

} // namespace cirrolux::artgen
