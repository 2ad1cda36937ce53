#pragma once

#include "Picture.h"

namespace cirrolux::artgen {

// One picture showing every picture enlarged (tiles repeated 2 x 2 to show their seams, small
// pictures magnified without smoothing), for looking them over.
QImage ContactSheet(const PictureList& pictures);

} // namespace cirrolux::artgen
