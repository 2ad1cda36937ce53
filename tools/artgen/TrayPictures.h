#pragma once

#include "Picture.h"

namespace cirrolux::artgen {

// The 13 tray pictures "IconList0".."IconList12": a hand-placed 16 x 16 picture and a
// separate 32 x 32 drawing for screens of double density.
QImage TrayPicture16(int index);
QImage TrayPicture32(int index);

// The application icon "cirrolux" (sun and cloud) at 16, 32, 48, 64 and 256 pixels.
QImage ApplicationIcon(int size);

// Adds every tray picture at 16 then 32 pixels, and the application icon largest first.
void AddTrayPictures(PictureList& pictures);
void AddApplicationIcon(PictureList& pictures);

inline constexpr int TrayPictureCount = 13;

} // namespace cirrolux::artgen
