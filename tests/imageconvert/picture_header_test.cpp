// Pictures are judged by their first bytes before anything is decoded: the format, the size the
// header announces, and a clear refusal of absurd sizes and of bytes that are no picture.
#include "PngBytes.h"

#include "imageconvert/ConversionError.h"
#include "imageconvert/ImageConverter.h"
#include "imageconvert/PictureHeader.h"

#include <gtest/gtest.h>

#include <string>

using namespace cirrolux;

namespace {

QByteArray gifHead(int width, int height)
{
    QByteArray out("GIF89a");
    out.append(char(width & 0xFF)).append(char(width >> 8));
    out.append(char(height & 0xFF)).append(char(height >> 8));
    out.append(QByteArray("\x00\x00\x00", 3));
    return out;
}

// SOI, an APP0 segment to skip, then a baseline frame header (SOF0).
QByteArray jpegHead(int width, int height, char frameMarker = '\xC0')
{
    QByteArray out("\xFF\xD8\xFF\xE0\x00\x04\x4A\x46", 8);
    out.append('\xFF').append(frameMarker).append(QByteArray("\x00\x11\x08", 3));
    out.append(char(height >> 8)).append(char(height & 0xFF));
    out.append(char(width >> 8)).append(char(width & 0xFF));
    out.append(QByteArray("\x03\x01\x22\x00", 4));
    return out;
}

struct HeaderCase
{
    const char* name;
    QByteArray bytes;
    const char* format; // expected format name, or null when refused
    QSize size;
    const char* error;
};

class PictureHeaderTable : public testing::TestWithParam<HeaderCase>
{
};

TEST_P(PictureHeaderTable, ReadsOrRefusesWithTheExpectedText)
{
    const HeaderCase& c = GetParam();
    if (c.format != nullptr) {
        const PictureHeader header = PictureHeader::read(c.bytes, ConvertLimits{});
        EXPECT_EQ(PictureHeader::name(header.format), c.format);
        EXPECT_EQ(header.size, c.size);
        return;
    }
    try {
        PictureHeader::read(c.bytes, ConvertLimits{});
        FAIL() << "accepted";
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PictureHeaderTable,
    testing::Values(
        HeaderCase{"png", test::PngHead(1800, 1080), "PNG", QSize(1800, 1080), nullptr},
        HeaderCase{"gif", gifHead(640, 480), "GIF", QSize(640, 480), nullptr},
        HeaderCase{"jpeg", jpegHead(1250, 750), "JPEG", QSize(1250, 750), nullptr},
        HeaderCase{"progressive_jpeg", jpegHead(300, 200, '\xC2'), "JPEG", QSize(300, 200),
                   nullptr},
        HeaderCase{"png_10000_square", test::PngHead(10000, 10000), nullptr, {},
                   "The PNG picture is 10000 x 10000 pixels; the gateway refuses pictures of more "
                   "than 32000000 pixels or 16384 pixels a side."},
        HeaderCase{"png_long_strip", test::PngHead(20000, 10), nullptr, {},
                   "The PNG picture is 20000 x 10 pixels; the gateway refuses pictures of more "
                   "than 32000000 pixels or 16384 pixels a side."},
        HeaderCase{"png_huge_claim", test::PngHead(0x7FFFFFFF, 0x7FFFFFFF), nullptr, {},
                   "The PNG picture is 2147483647 x 2147483647 pixels; the gateway refuses "
                   "pictures of more than 32000000 pixels or 16384 pixels a side."},
        HeaderCase{"png_impossible", test::PngHead(0x80000000u, 1), nullptr, {},
                   "The PNG picture's header names an impossible size."},
        HeaderCase{"png_zero", test::PngHead(0, 5), nullptr, {},
                   "The PNG picture's header gives it no pixels (0 x 5)."},
        HeaderCase{"png_signature_only", QByteArray("\x89PNG\r\n\x1a\n", 8), nullptr, {},
                   "The PNG picture has no header chunk."},
        HeaderCase{"gif_65535_square", gifHead(65535, 65535), nullptr, {},
                   "The GIF picture is 65535 x 65535 pixels; the gateway refuses pictures of more "
                   "than 32000000 pixels or 16384 pixels a side."},
        HeaderCase{"gif_cut", QByteArray("GIF89a\x10", 7), nullptr, {},
                   "The GIF picture ends inside its header."},
        HeaderCase{"jpeg_60000_square", jpegHead(60000, 60000), nullptr, {},
                   "The JPEG picture is 60000 x 60000 pixels; the gateway refuses pictures of "
                   "more than 32000000 pixels or 16384 pixels a side."},
        HeaderCase{"jpeg_no_frame", QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6), nullptr, {},
                   "The JPEG picture has no frame header."},
        HeaderCase{"jpeg_bad_marker", QByteArray("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\x12\x34\x56\x78", 12),
                   nullptr, {}, "The JPEG picture's markers are damaged."},
        HeaderCase{"html", QByteArray("<html><body>Not found</body></html>"), nullptr, {},
                   "The answer is not a PNG, GIF or JPEG picture."},
        HeaderCase{"empty", QByteArray(), nullptr, {},
                   "The answer is not a PNG, GIF or JPEG picture."}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

TEST(PictureHeader, RefusesInputLongerThanTheLimitUnread)
{
    ConvertLimits limits;
    limits.maxInputBytes = 100;
    const QByteArray bytes = test::PngHead(10, 10) + QByteArray(200, '\0');
    try {
        PictureHeader::read(bytes, limits);
        FAIL() << "accepted";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(),
                     "The picture is 233 bytes; the gateway converts pictures of at most 100 bytes.");
    }
}

// A 10,000 x 10,000 PNG reaches the converter as a few bytes; every conversion refuses it from
// the header, so nothing the size of the picture is ever allocated.
TEST(PictureHeader, EveryConversionRefusesTheHugePngBeforeDecoding)
{
    QByteArray bytes = test::PngHead(10000, 10000);
    test::AppendChunk(bytes, "IDAT", qCompress(QByteArray(1000, '\0')).mid(4));
    test::AppendChunk(bytes, "IEND", {});
    for (Conversion conversion : {Conversion::PassThrough, Conversion::ToGif, Conversion::ToJpeg,
                                  Conversion::LastFrame, Conversion::AnimateGif}) {
        try {
            ImageConverter::convert(bytes, conversion);
            ADD_FAILURE() << "accepted conversion " << int(conversion);
        } catch (const ConversionError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(
                "The PNG picture is 10000 x 10000 pixels; the gateway refuses"));
        }
    }
}

} // namespace
