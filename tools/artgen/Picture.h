#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace cirrolux::artgen {

// One drawn picture under its lookup name. A name may appear more than once with different
// sizes (the tray pictures at 16 and 32 pixels, the application icon at five sizes); the first
// entry of a name is its nominal size.
struct Picture
{
    std::string name;
    QImage image;
};

using PictureList = std::vector<Picture>;

} // namespace cirrolux::artgen
