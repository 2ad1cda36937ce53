#include "imageconvert/JpegEncoder.h"

#include "imageconvert/ConversionError.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <string>
#include <vector>

namespace cirrolux {

namespace {

struct ErrorJump
{
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    auto* error = reinterpret_cast<ErrorJump*>(info->err);
    error->manager.format_message(info, error->message);
    std::longjmp(error->back, 1);
}

// Everything libjpeg may jump over lives outside the function that calls setjmp, so no C++
// object is skipped by the jump.
struct Compression
{
    jpeg_compress_struct info{};
    ErrorJump error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<JSAMPLE> line;
};

bool compress(Compression& c, const QImage& image, int quality)
{
    c.info.err = jpeg_std_error(&c.error.manager);
    c.error.manager.error_exit = jumpBack;
    if (setjmp(c.error.back)) {
        jpeg_destroy_compress(&c.info);
        return false;
    }
    jpeg_create_compress(&c.info);
    jpeg_mem_dest(&c.info, &c.buffer, &c.size);
    c.info.image_width = JDIMENSION(image.width());
    c.info.image_height = JDIMENSION(image.height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        const auto* pixels =
            reinterpret_cast<const QRgb*>(image.constScanLine(int(c.info.next_scanline)));
        for (int x = 0; x < image.width(); ++x) {
            c.line[std::size_t(x) * 3] = JSAMPLE(qRed(pixels[x]));
            c.line[std::size_t(x) * 3 + 1] = JSAMPLE(qGreen(pixels[x]));
            c.line[std::size_t(x) * 3 + 2] = JSAMPLE(qBlue(pixels[x]));
        }
        JSAMPROW row = c.line.data();
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    jpeg_destroy_compress(&c.info);
    return true;
}

} // namespace

QByteArray JpegEncoder::write(const QImage& source, int quality)
{
    if (source.isNull() || source.width() > 65500 || source.height() > 65500)
        throw ConversionError("Writing the JPEG failed: the picture has no pixels or a size a "
                              "JPEG cannot hold.");
    const QImage image = source.format() == QImage::Format_RGB32 ||
                                 source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    Compression c;
    c.line.resize(std::size_t(image.width()) * 3);
    const bool done = compress(c, image, std::clamp(quality, 1, 100));
    QByteArray bytes;
    if (done)
        bytes = QByteArray(reinterpret_cast<const char*>(c.buffer), qsizetype(c.size));
    std::free(c.buffer);
    if (!done)
        throw ConversionError(std::string("Writing the JPEG failed: ") + c.error.message);
    return bytes;
}

} // namespace cirrolux
