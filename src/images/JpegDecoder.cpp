#include "images/JpegDecoder.h"

#include "platform/CirroluxError.h"

#include <QtEndian>

#include <csetjmp>
#include <cstdio>
#include <memory>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace cirrolux {

namespace {

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's default would print the message and exit(); come back to the decoder instead.
[[noreturn]] void errorExit(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (corrupt data, premature end) would go to stderr; the picture shows them anyway.
void outputMessage(j_common_ptr) {}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE Rgb32Space = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE Rgb32Space = JCS_EXT_XRGB;
#endif

// Adobe CMYK JPEGs store inverted values; libjpeg has no conversion of its own to RGB.
void cmykToRgb32(const JSAMPLE* from, QRgb* to, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, from += 4) {
        int c = from[0], m = from[1], y = from[2], k = from[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        to[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// Everything between setjmp and the last libjpeg call lives in trivially destructible locals or
// in objects made before setjmp, so the jump skips no destructor.
bool decode(jpeg_decompress_struct& info, ErrorManager& errors, std::FILE* file,
            const JpegDecoder::Options& options, QImage& image)
{
    if (setjmp(errors.jump) != 0)
        return false;
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height >
        JpegDecoder::MaxSourcePixels) {
        std::snprintf(errors.message, sizeof errors.message, "Image too large (%u x %u)",
                      info.image_width, info.image_height);
        return false;
    }

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : Rgb32Space;
    info.scale_num = static_cast<unsigned>(JpegDecoder::scaleFor(
        QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height)),
        options.fit));
    info.scale_denom = 8;
    info.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&info);

    if (static_cast<long long>(info.output_width) * info.output_height > JpegDecoder::MaxPixels) {
        std::snprintf(errors.message, sizeof errors.message, "Image too large (%u x %u)",
                      info.image_width, info.image_height);
        return false;
    }
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB32);
    if (image.isNull()) {
        std::snprintf(errors.message, sizeof errors.message, "Insufficient memory");
        return false;
    }

    const bool inverted = info.saw_Adobe_marker != 0;

    jpeg_start_decompress(&info);
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk)
        cmykRow = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            info.output_width * 4, 1);
    const int step = std::max(1, options.progressRows);
    int sinceProgress = 0;
    while (info.output_scanline < info.output_height) {
        auto* line =
            reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(info.output_scanline)));
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            cmykToRgb32(cmykRow[0], line, info.output_width, inverted);
        } else {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(line);
            jpeg_read_scanlines(&info, &row, 1);
        }
        if (options.progress && ++sinceProgress >= step) {
            sinceProgress = 0;
            options.progress(image, static_cast<int>(info.output_scanline));
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

int JpegDecoder::scaleFor(QSize size, QSize fit)
{
    const auto scaled = [&](int n) {
        return QSize((size.width() * n + 7) / 8, (size.height() * n + 7) / 8);
    };
    const auto fits = [&](int n) {
        const QSize s = scaled(n);
        if (static_cast<long long>(s.width()) * s.height() > MaxPixels)
            return false;
        return fit.isEmpty() || (s.width() <= fit.width() && s.height() <= fit.height());
    };
    for (int n = 8; n > 1; --n)
        if (fits(n))
            return n;
    return 1;
}

QImage JpegDecoder::decodeFile(const std::string& fileName, const Options& options)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file)
        throw DecoderError("Cannot open " + fileName);

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.output_message = outputMessage;

    QImage image;
    const bool decoded = decode(info, errors, file.get(), options, image);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        throw DecoderError(errors.message);
    return image;
}

} // namespace cirrolux
