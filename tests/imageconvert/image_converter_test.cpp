// Conversions checked by decoding the result again: its type, size and frame count, and colours
// close to the source. The odd PNGs are made here with QImage (palette, 16-bit, alpha, grey) or
// by hand (Adam7 interlacing, see PngBytes.h); the GIFs with giflib (tests/support/GifWriter.h).
#include "GifWriter.h"
#include "PngBytes.h"

#include "imageconvert/ConversionError.h"
#include "imageconvert/ImageConverter.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>

using namespace cirrolux;

namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return bytes;
}

struct Decoded
{
    QByteArray format;
    QImage first;
    QImage last;
    int frames = 0;
};

Decoded decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    Decoded result;
    result.format = reader.format();
    for (QImage frame; reader.read(&frame);) {
        if (result.frames++ == 0)
            result.first = frame;
        result.last = frame;
    }
    return result;
}

// A map-like test picture: colour areas and thin dark lines, no more than a dozen colours.
QImage mapPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            QRgb c = qRgb(40 * ((x * 4) / width), 200, 60 * ((y * 4) / height));
            if (x % 17 == 0 || y % 13 == 0)
                c = qRgb(10, 10, 10);
            image.setPixel(x, y, c);
        }
    return image;
}

// Largest difference of any channel between two pictures of the same size.
int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// ---- Odd PNGs, each to GIF and to JPEG ----------------------------------------------------------

struct OddPng
{
    const char* name;
    std::function<QByteArray()> make;
    QImage expected; // what the picture looks like on white
};

QImage onWhite(const QImage& image)
{
    QImage result(image.size(), QImage::Format_RGB32);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            const int a = qAlpha(c);
            auto mix = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            result.setPixel(x, y, qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c))));
        }
    return result;
}

QImage palettePicture()
{
    // Blocks of 16 x 16, so JPEG's colour subsampling has whole blocks to work on.
    QImage image(64, 48, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 255), qRgb(250, 250, 210), qRgb(0, 0, 0)});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, uint((x / 16 + y / 16) % 4));
    return image;
}

QImage deepPicture()
{
    // 16 bits a channel, but no more than 64 colours once brought down to 8 bits.
    QImage image(41, 29, QImage::Format_RGBA64);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor::fromRgba64(quint16((x / 6) * 9000),
                                                          quint16((y / 4) * 9000), quint16(40000),
                                                          quint16(65535)));
    return image;
}

QImage alphaPicture()
{
    QImage image(32, 20, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(0, 0, 255, x < 8 ? 0 : x < 16 ? 128 : 255));
    return image;
}

QImage greyPicture()
{
    QImage image(30, 18, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, uint((x * 8) & 0xFF));
    return image;
}

QImage grey16Picture()
{
    QImage image(25, 16, QImage::Format_Grayscale16);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint16*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = quint16(x * 2600);
    }
    return image;
}

QImage interlacedPicture()
{
    QImage image(13, 11, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 19, y * 23, (x * y) % 256));
    return image;
}

std::vector<OddPng> oddPngs()
{
    return {
        {"palette", [] { return encoded(palettePicture(), "png"); }, onWhite(palettePicture())},
        {"rgba64", [] { return encoded(deepPicture(), "png"); }, onWhite(deepPicture())},
        {"alpha", [] { return encoded(alphaPicture(), "png"); }, onWhite(alphaPicture())},
        {"grey", [] { return encoded(greyPicture(), "png"); }, onWhite(greyPicture())},
        {"grey16", [] { return encoded(grey16Picture(), "png"); }, onWhite(grey16Picture())},
        {"adam7", [] { return test::Adam7Png(interlacedPicture()); }, interlacedPicture()},
    };
}

class OddPngTable : public testing::TestWithParam<OddPng>
{
};

TEST_P(OddPngTable, BecomesAGifWithTheSameColours)
{
    const OddPng& c = GetParam();
    const ConvertedPicture result = ImageConverter::convert(c.make(), Conversion::ToGif);
    const Decoded back = decode(result.bytes);
    EXPECT_EQ(back.format, "gif");
    EXPECT_EQ(back.frames, 1);
    EXPECT_EQ(back.first.size(), c.expected.size());
    EXPECT_EQ(result.size, c.expected.size());
    EXPECT_FALSE(result.unchanged);
    // Every one of these pictures has at most 256 colours, so the GIF keeps them exactly (the
    // 16-bit ones differ by the rounding of 16 to 8 bits).
    EXPECT_LE(largestDifference(back.first, c.expected), 1) << c.name;
}

TEST_P(OddPngTable, BecomesAJpegWithCloseColours)
{
    const OddPng& c = GetParam();
    const ConvertedPicture result = ImageConverter::convert(c.make(), Conversion::ToJpeg);
    const Decoded back = decode(result.bytes);
    EXPECT_EQ(back.format, "jpeg");
    EXPECT_EQ(back.first.size(), c.expected.size());
    EXPECT_LT(meanDifference(back.first, c.expected), 12.0) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Odd, OddPngTable, testing::ValuesIn(oddPngs()),
                         [](const testing::TestParamInfo<OddPng>& info) {
                             return std::string(info.param.name);
                         });

TEST(ImageConverter, LaysTransparencyOnTheChosenBackground)
{
    ConvertOptions options;
    options.background = QColor(255, 0, 0);
    const Decoded back =
        decode(ImageConverter::convert(encoded(alphaPicture(), "png"), Conversion::ToGif, options)
                   .bytes);
    EXPECT_EQ(back.first.pixel(2, 2), qRgb(255, 0, 0));   // transparent: the background
    EXPECT_EQ(back.first.pixel(10, 2), qRgb(127, 0, 128)); // half: an even mix
    EXPECT_EQ(back.first.pixel(20, 2), qRgb(0, 0, 255));  // opaque: itself
}

// ---- Many colours ------------------------------------------------------------------------------

QImage photoPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (width - 1), y * 255 / (height - 1),
                                      (x + y) * 255 / (width + height - 2)));
    return image;
}

TEST(ImageConverter, QuantisesAManyColourPictureTo256CloseColours)
{
    const QImage source = photoPicture(300, 200);
    for (bool dither : {false, true}) {
        ConvertOptions options;
        options.dither = dither;
        const Decoded back =
            decode(ImageConverter::convert(encoded(source, "png"), Conversion::ToGif, options).bytes);
        ASSERT_EQ(back.first.size(), source.size());
        std::set<QRgb> colours;
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                colours.insert(back.first.pixel(x, y));
        EXPECT_LE(colours.size(), 256u);
        EXPECT_GT(colours.size(), 100u); // the palette is spent, not collapsed
        EXPECT_LT(meanDifference(back.first, source), 6.0) << "dither " << dither;
        EXPECT_LT(largestDifference(back.first, source), 40) << "dither " << dither;
    }
}

TEST(ImageConverter, KeepsAMapsFewColoursExactly)
{
    const QImage source = mapPicture(400, 300);
    const Decoded back =
        decode(ImageConverter::convert(encoded(source, "png"), Conversion::ToGif).bytes);
    EXPECT_EQ(largestDifference(back.first, source), 0);
}

// ---- The size cap ------------------------------------------------------------------------------

struct CapCase
{
    QSize source;
    QSize cap;
    QSize result;
};

class CapTable : public testing::TestWithParam<CapCase>
{
};

TEST_P(CapTable, ScalesDownKeepingTheAspectRatio)
{
    const CapCase& c = GetParam();
    EXPECT_EQ(ImageConverter::fitted(c.source, c.cap), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CapTable,
    testing::Values(CapCase{{3000, 1500}, {1280, 1024}, {1280, 640}},
                    CapCase{{1000, 2000}, {1280, 1024}, {512, 1024}},
                    CapCase{{1808, 1808}, {1280, 1024}, {1024, 1024}},
                    CapCase{{1280, 1024}, {1280, 1024}, {1280, 1024}},
                    CapCase{{800, 600}, {1280, 1024}, {800, 600}},
                    CapCase{{16000, 3}, {1280, 1024}, {1280, 1}},
                    CapCase{{5000, 5000}, {}, {5000, 5000}}));

TEST(ImageConverter, CapsEveryKindOfResult)
{
    ConvertOptions options;
    options.limits.maxSize = QSize(160, 120);
    const QByteArray png = encoded(mapPicture(640, 320), "png");
    const QByteArray jpeg = encoded(photoPicture(640, 320), "jpeg", 90);
    struct Case
    {
        QByteArray input;
        Conversion conversion;
        QByteArray format;
    };
    for (const Case& c : {Case{png, Conversion::ToGif, "gif"}, Case{png, Conversion::ToJpeg, "jpeg"},
                          Case{jpeg, Conversion::ToGif, "gif"},
                          Case{jpeg, Conversion::PassThrough, "jpeg"},
                          Case{png, Conversion::PassThrough, "png"}}) {
        const ConvertedPicture result = ImageConverter::convert(c.input, c.conversion, options);
        const Decoded back = decode(result.bytes);
        EXPECT_EQ(back.format, c.format);
        EXPECT_EQ(back.first.size(), QSize(160, 80));
        EXPECT_EQ(result.size, QSize(160, 80));
    }
}

TEST(ImageConverter, PassesAPictureThatFitsThroughUnchanged)
{
    const QByteArray jpeg = encoded(photoPicture(200, 100), "jpeg", 80);
    const ConvertedPicture result = ImageConverter::convert(jpeg, Conversion::PassThrough);
    EXPECT_TRUE(result.unchanged);
    EXPECT_EQ(result.bytes, jpeg);
    EXPECT_EQ(result.size, QSize(200, 100));
}

// ---- Animations --------------------------------------------------------------------------------

QByteArray numberedGif(int width, int height, int frames)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("loop.gif"));
    EXPECT_TRUE(test::WriteNumberedGif(path, width, height, frames, true, 25));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// A captioned still gets an 11-pixel strip under it, within the cap, whatever the conversion; the
// strip's letters are white on dark grey and a too-long line is cut with "...".
TEST(ImageConverter, PutsTheCaptionUnderEveryKindOfStill)
{
    ConvertOptions options;
    options.limits.maxSize = QSize(160, 120);
    options.caption = "Caltrans (CWWP2), 10 Dec 2026 03:50 UTC";
    const QByteArray png = encoded(mapPicture(640, 320), "png");
    const QByteArray small = encoded(photoPicture(120, 60), "jpeg", 90);
    struct Case
    {
        QByteArray input;
        Conversion conversion;
        QByteArray format;
        QSize size; // picture and strip
    };
    for (const Case& c :
         {Case{png, Conversion::ToGif, "gif", QSize(160, 80 + 11)},
          Case{png, Conversion::ToJpeg, "jpeg", QSize(160, 80 + 11)},
          // A JPEG that fits is written anew rather than passed through.
          Case{small, Conversion::PassThrough, "jpeg", QSize(120, 60 + 11)},
          Case{numberedGif(40, 30, 3), Conversion::LastFrame, "gif", QSize(40, 30 + 11)}}) {
        const ConvertedPicture result = ImageConverter::convert(c.input, c.conversion, options);
        EXPECT_FALSE(result.unchanged);
        const Decoded back = decode(result.bytes);
        EXPECT_EQ(back.format, c.format);
        ASSERT_EQ(back.first.size(), c.size);
        const int strip = c.size.height() - 11;
        int white = 0;
        for (int y = strip; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x)
                white += qGray(back.first.pixel(x, y)) > 200;
        EXPECT_GT(white, 20) << c.format.constData();
        EXPECT_LT(qGray(back.first.pixel(1, strip + 1)), 60) << c.format.constData();
    }
    // Only the 6 characters that fit in a 40-pixel strip: "Cal" and "...".
    const ConvertedPicture narrow =
        ImageConverter::convert(numberedGif(40, 30, 1), Conversion::ToGif, options);
    const QImage shown = decode(narrow.bytes).first;
    int lastWhite = -1;
    for (int x = 0; x < 40; ++x)
        for (int y = 30; y < 41; ++y)
            if (qGray(shown.pixel(x, y)) > 200)
                lastWhite = std::max(lastWhite, x);
    EXPECT_EQ(lastWhite, 3 + 5 * 6 + 2); // the middle column of the last '.'
}

TEST(ImageConverter, LeavesAnAnimationUncaptioned)
{
    ConvertOptions options;
    options.caption = "NOAA";
    const QByteArray gif = numberedGif(40, 30, 3);
    const ConvertedPicture result = ImageConverter::convert(gif, Conversion::AnimateGif, options);
    EXPECT_TRUE(result.unchanged);
    EXPECT_EQ(result.bytes, gif);
}

TEST(ImageConverter, PassesAnAnimationThroughWhenItFits)
{
    const QByteArray gif = numberedGif(40, 30, 3);
    const ConvertedPicture result = ImageConverter::convert(gif, Conversion::AnimateGif);
    EXPECT_TRUE(result.unchanged);
    EXPECT_EQ(result.bytes, gif);
    EXPECT_EQ(result.frames, 3);
}

TEST(ImageConverter, ScalesAnAnimationOverTheCapFrameByFrame)
{
    ConvertOptions options;
    options.limits.maxSize = QSize(100, 100);
    const ConvertedPicture result =
        ImageConverter::convert(numberedGif(200, 80, 4), Conversion::AnimateGif, options);
    EXPECT_FALSE(result.unchanged);
    const Decoded back = decode(result.bytes);
    EXPECT_EQ(back.format, "gif");
    EXPECT_EQ(back.frames, 4);
    EXPECT_EQ(back.first.size(), QSize(100, 40));
    EXPECT_EQ(test::FrameShown(back.first, 50, 20), 1);
    EXPECT_EQ(test::FrameShown(back.last, 50, 20), 4);
}

TEST(ImageConverter, TakesTheLastFrameAsAStill)
{
    const ConvertedPicture result =
        ImageConverter::convert(numberedGif(40, 30, 5), Conversion::LastFrame);
    const Decoded back = decode(result.bytes);
    EXPECT_EQ(back.frames, 1);
    EXPECT_EQ(back.first.size(), QSize(40, 30));
    EXPECT_EQ(test::FrameShown(back.first, 10, 10), 5);
    EXPECT_EQ(back.first.pixel(10, 10), qRgb(5, 250, 15));
}

struct RefusalCase
{
    const char* name;
    std::function<QByteArray()> input;
    Conversion conversion;
    const char* error;
};

class RefusalTable : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(RefusalTable, RefusesWithAClearText)
{
    const RefusalCase& c = GetParam();
    try {
        ImageConverter::convert(c.input(), c.conversion);
        FAIL() << "accepted";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusalTable,
    testing::Values(
        RefusalCase{"still_gif_as_animation", [] { return numberedGif(20, 10, 1); },
                    Conversion::AnimateGif, "The GIF has 1 frame; an animation needs at least 2."},
        RefusalCase{"png_as_animation", [] { return encoded(mapPicture(20, 10), "png"); },
                    Conversion::AnimateGif, "The answer is a PNG picture; an animation needs a GIF."},
        RefusalCase{"broken_png",
                    [] {
                        QByteArray bytes = test::PngHead(20, 10);
                        test::AppendChunk(bytes, "IDAT", "not deflate data");
                        test::AppendChunk(bytes, "IEND", {});
                        return bytes;
                    },
                    Conversion::ToGif,
                    "The PNG picture could not be decoded: Unable to read image data"},
        RefusalCase{"truncated_jpeg",
                    [] { return encoded(photoPicture(64, 64), "jpeg", 80).left(30); },
                    Conversion::ToGif, "The JPEG picture has no frame header."}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

} // namespace
