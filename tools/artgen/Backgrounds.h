#pragma once

#include "Picture.h"

namespace cirrolux::artgen {

// The stats panel's background pictures. The four tiles wrap at their edges so that tiling
// shows no seams; the world map is stretched and need not wrap.
QImage ForestTile();   // 64 x 64 dark green foliage
QImage SkyTile();      // 200 x 200 light blue sky with clouds
QImage WaterTile();    // 180 x 120 water drops on light blue
QImage MahoganyTile(); // 150 x 150 dark red wood grain
QImage WorldMap();     // 228 x 184 green land on black, 30-degree grid

void AddBackgrounds(PictureList& pictures);

} // namespace cirrolux::artgen
