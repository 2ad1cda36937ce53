#pragma once

#include <QIcon>
#include <QImage>

#include <string>
#include <string_view>
#include <vector>

namespace cirrolux {

// The pictures built into the program, drawn at build time by tools/artgen:
// - backgrounds "GIFbkforest1", "GIFbkgd1" (the same tile), "GIFbkSky1", "GIFbkwater1",
//   "GIFbkmahogany1", "GIFbkglobe1";
// - moon pictures "GIFImagenew", "GIFImageFull", "GIFImagel10x".."GIFImagel90x" (waxing, lit
//   on the right) and "GIFImage10x".."GIFImage90x" (waning, lit on the left), 50 x 50;
// - tray pictures "IconList0".."IconList12", 16 x 16 with a 32 x 32 drawing beside;
// - the application icon "cirrolux" at 16, 32, 48, 64 and 256 pixels.
// Names are matched without regard to case, as component names are ("GifImageL40x" finds
// "GIFImagel40x").

// The picture at its nominal size (tray pictures 16 x 16, the application icon 256 x 256), or
// a null image when there is no picture of that name.
QImage BuiltinPicture(std::string_view name);

// The drawing of that name that is `width` pixels wide, or a null image when there is none.
QImage BuiltinPicture(std::string_view name, int width);

// Every drawing of the name as one icon, so that the icon picks the hand-made size for each
// use (16 and 32 for tray pictures). Null icon for an unknown name. Needs a QGuiApplication.
QIcon BuiltinIcon(std::string_view name);

// The names of all built-in pictures, each once.
std::vector<std::string> BuiltinPictureNames();

} // namespace cirrolux
