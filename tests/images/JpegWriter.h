#pragma once

#include <QImage>
#include <QString>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace cirrolux::test {

// A picture whose colour tells the position: red grows to the right, green downwards.
inline QImage GradientPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), 128));
    return image;
}

// Writes `image` as a baseline JPEG through libjpeg (the default error handler is fine here:
// the test writes its own well-formed input).
inline bool WriteJpeg(const QString& path, const QImage& image, int quality = 90)
{
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (file == nullptr)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width()) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            row[std::size_t(x) * 3] = static_cast<JSAMPLE>(qRed(p));
            row[std::size_t(x) * 3 + 1] = static_cast<JSAMPLE>(qGreen(p));
            row[std::size_t(x) * 3 + 2] = static_cast<JSAMPLE>(qBlue(p));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace cirrolux::test
