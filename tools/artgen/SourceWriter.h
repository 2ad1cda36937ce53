#pragma once

#include "Picture.h"

#include <QByteArray>

#include <string>

namespace cirrolux::artgen {

// PNG bytes of a picture; identical pictures give identical bytes.
QByteArray EncodePng(const QImage& image);

// C++ source that defines cirrolux::pictureblobs::All() over the pictures' PNG bytes, in the
// order given.
std::string PictureSource(const PictureList& pictures);

} // namespace cirrolux::artgen
