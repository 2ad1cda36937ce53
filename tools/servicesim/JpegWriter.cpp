#include "JpegWriter.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;
using drawing::Rgb;

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

bool compress(Compression& c, const PixelCanvas& picture, int quality, bool compact)
{
    c.info.err = jpeg_std_error(&c.error.manager);
    c.error.manager.error_exit = jumpBack;
    if (setjmp(c.error.back)) {
        jpeg_destroy_compress(&c.info);
        return false;
    }
    jpeg_create_compress(&c.info);
    jpeg_mem_dest(&c.info, &c.buffer, &c.size);
    c.info.image_width = static_cast<JDIMENSION>(picture.width());
    c.info.image_height = static_cast<JDIMENSION>(picture.height());
    c.info.input_components = compact ? 1 : 3;
    c.info.in_color_space = compact ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality, TRUE);
    c.info.optimize_coding = compact ? TRUE : FALSE;
    jpeg_start_compress(&c.info, TRUE);
    const std::vector<Rgb>& palette = picture.palette();
    while (c.info.next_scanline < c.info.image_height) {
        const std::uint8_t* pixels = picture.row(static_cast<int>(c.info.next_scanline));
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb colour = pixels[x] < palette.size() ? palette[pixels[x]] : Rgb{};
            if (compact) {
                c.line[std::size_t(x)] =
                    static_cast<JSAMPLE>((colour.r * 77 + colour.g * 150 + colour.b * 29) >> 8);
                continue;
            }
            c.line[std::size_t(x) * 3] = colour.r;
            c.line[std::size_t(x) * 3 + 1] = colour.g;
            c.line[std::size_t(x) * 3 + 2] = colour.b;
        }
        JSAMPROW row = c.line.data();
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    jpeg_destroy_compress(&c.info);
    return true;
}

} // namespace

QByteArray JpegWriter::write(const PixelCanvas& picture, int quality, bool compact)
{
    Compression c;
    c.line.resize(std::size_t(picture.width()) * 3);
    const bool done = compress(c, picture, quality, compact);
    QByteArray bytes;
    if (done)
        bytes = QByteArray(reinterpret_cast<const char*>(c.buffer), static_cast<qsizetype>(c.size));
    std::free(c.buffer);
    if (!done)
        throw std::runtime_error(std::string("JPEG writer: ") + c.error.message);
    return bytes;
}

} // namespace cirrolux::servicesim
