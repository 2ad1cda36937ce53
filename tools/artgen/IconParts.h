#pragma once

#include "PixelArt.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace cirrolux::artgen {

// Pieces of the weather symbols, in two forms: hand-placed pixel grids for the 16-pixel
// pictures and smooth shapes for the larger ones (coordinates in a 32-unit square).

// The shared colours of the pixel grids.
const Palette& IconPalette();

// Pixel grids. Clouds are bodies only: give them a ring with Outline() where they stand on a
// transparent ground.
extern const Grid SunWithRays16; // 16 x 16, the full picture of a sunny sky minus the sky
extern const Grid SmallSun;      // 10 x 10 sun with short rays
extern const Grid BigCloud;      // 14 x 7
extern const Grid MediumCloud;   // 11 x 5
extern const Grid SmallCloud;    // 8 x 4
extern const Grid Bolt;          // 10 x 14
extern const Grid Snowflake;     // 15 x 15
extern const Grid Wind;          // 16 x 16
extern const Grid Thermometer;   // 16 x 16; mercury 'M' in the upper tube, 'm' below

// Smooth shapes.
void PaintSky(QPainter& painter, double side, const QColor& top, const QColor& bottom);
void PaintSun(QPainter& painter, const QPointF& centre, double radius, double rayFrom, double rayTo,
              double rayWidth);
QPainterPath CloudShape(const QRectF& box);
void PaintCloud(QPainter& painter, const QRectF& box, const QColor& top, const QColor& bottom,
                const QColor& outline, double outlineWidth);
void PaintDrop(QPainter& painter, const QPointF& tip, double length, const QColor& colour);
void PaintStar(QPainter& painter, const QPointF& centre, double size, const QColor& colour);

} // namespace cirrolux::artgen
