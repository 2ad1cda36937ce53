#pragma once

#include "imageconvert/ConvertLimits.h"
#include "imageconvert/PictureHeader.h"

#include <QByteArray>
#include <QSize>

namespace cirrolux {

// What the gateway does with a source picture so the program gets the type its file name says.
enum class Conversion {
    PassThrough, // already the right type: unchanged unless it exceeds the size cap
    ToGif,       // a still GIF of at most 256 colours (an animation gives its last frame)
    ToJpeg,      // a JPEG (an animation gives its last frame)
    LastFrame,   // the last frame of an animation as a still GIF
    AnimateGif,  // an animated GIF of at least two frames, unchanged unless it exceeds the cap
};

struct ConvertedPicture
{
    QByteArray bytes;
    PictureFormat format = PictureFormat::Gif;
    QSize size;
    int frames = 1;
    bool unchanged = false; // `bytes` are the input itself
};

// Converts pictures between PNG, GIF and JPEG with a size cap. Every refusal and every failure
// is a ConversionError whose text says what was wrong; the header is checked against the limits
// before anything is decoded.
class ImageConverter
{
public:
    static ConvertedPicture convert(const QByteArray& input, Conversion conversion,
                                    const ConvertOptions& options = {});

    // `size` scaled down to fit in `cap` keeping its aspect ratio (at least 1 x 1); unchanged
    // when it fits already or `cap` is empty.
    static QSize fitted(QSize size, QSize cap);
};

} // namespace cirrolux
