#pragma once

#include "imageconvert/GifEncoder.h"
#include "imageconvert/ImageConverter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

namespace cirrolux::test {

// Small pictures in the sources' real formats, made here rather than checked in.

// A map-like picture: a few flat colours and a diagonal line.
inline QImage MapPicture(int width, int height, QRgb tint = qRgb(30, 90, 200))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(240, 240, 230));
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, QColor(tint));
    painter.setPen(QColor(200, 20, 20));
    painter.drawLine(0, height - 1, width - 1, 0);
    return image;
}

inline QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A still GIF of `image` at its own size (Qt writes no GIF).
inline QByteArray StillGif(const QImage& image)
{
    ConvertOptions options;
    options.limits.maxSize = QSize(8000, 8000);
    return ImageConverter::convert(Encoded(image, "png"), Conversion::ToGif, options).bytes;
}

// A radar loop: `frames` frames of `width` x `height`, each with a different echo position.
inline QByteArray RadarLoop(int width, int height, int frames)
{
    const std::vector<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 200, 0),
                                       qRgb(250, 200, 0)};
    std::vector<GifEncoder::Frame> loop;
    for (int f = 0; f < frames; ++f) {
        GifEncoder::Frame frame;
        frame.picture.width = width;
        frame.picture.height = height;
        frame.picture.pixels.assign(std::size_t(width) * std::size_t(height), 1);
        for (int y = 0; y < height / 3; ++y)
            for (int x = 0; x < width / 4; ++x)
                frame.picture
                    .pixels[std::size_t(y + f * 2) * std::size_t(width) + std::size_t(x + f * 3)] =
                    std::uint8_t(2 + f % 2);
        frame.delayCs = 50;
        loop.push_back(std::move(frame));
    }
    return GifEncoder::animation(loop, palette);
}

struct Decoded
{
    QByteArray format;
    QSize size;
    int frames = 0;
};

inline Decoded Decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    Decoded decoded{reader.format(), reader.size(), reader.imageCount()};
    return decoded;
}

} // namespace cirrolux::test
