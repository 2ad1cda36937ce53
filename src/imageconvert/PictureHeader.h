#pragma once

#include "imageconvert/ConvertLimits.h"

#include <QByteArray>
#include <QSize>

#include <string_view>

namespace cirrolux {

enum class PictureFormat { Png, Gif, Jpeg };

// The format and size a picture's first bytes announce, read without decoding anything.
struct PictureHeader
{
    PictureFormat format = PictureFormat::Png;
    QSize size;

    // Throws ConversionError for bytes that are not a PNG, GIF or JPEG header, a size of zero,
    // and a size beyond `limits` (its pixel count or its longest side).
    static PictureHeader read(const QByteArray& bytes, const ConvertLimits& limits);
    // "PNG", "GIF" or "JPEG".
    static std::string_view name(PictureFormat format);
};

} // namespace cirrolux
