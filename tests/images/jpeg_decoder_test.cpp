#include "JpegWriter.h"

#include "images/JpegDecoder.h"
#include "platform/CirroluxError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace cirrolux;
using namespace cirrolux::test;

namespace {

class Jpeg : public ::testing::Test
{
protected:
    std::string path(const char* name) const
    {
        return m_dir.filePath(QString::fromLatin1(name)).toStdString();
    }
    std::string picture(int width, int height)
    {
        const std::string file = path("picture.jpg");
        EXPECT_TRUE(WriteJpeg(QString::fromStdString(file), GradientPicture(width, height)));
        return file;
    }
    QByteArray bytesOf(const std::string& file)
    {
        QFile in(QString::fromStdString(file));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }
    std::string write(const char* name, const QByteArray& bytes)
    {
        const std::string file = path(name);
        QFile out(QString::fromStdString(file));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return file;
    }
    QTemporaryDir m_dir;
};

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 12 && std::abs(qGreen(a) - qGreen(b)) < 12 &&
           std::abs(qBlue(a) - qBlue(b)) < 12;
}

TEST_F(Jpeg, DecodesAtFullSize)
{
    const QImage image = JpegDecoder::decodeFile(picture(160, 120));
    ASSERT_EQ(image.size(), QSize(160, 120));
    const QImage expected = GradientPicture(160, 120);
    for (const QPoint at : {QPoint(0, 0), QPoint(159, 0), QPoint(0, 119), QPoint(80, 60)})
        EXPECT_TRUE(near(image.pixel(at), expected.pixel(at))) << at.x() << "," << at.y();
}

TEST_F(Jpeg, ScaledDecodeFitsTheBox)
{
    JpegDecoder::Options options;
    options.fit = QSize(300, 300);
    const QImage image = JpegDecoder::decodeFile(picture(800, 600), options);
    EXPECT_EQ(image.size(), QSize(300, 225));
    EXPECT_TRUE(near(image.pixel(299, 224), qRgb(255, 255, 128)));
}

struct ScaleCase
{
    QSize picture, fit;
    int numerator;
};

std::string scaleName(const ScaleCase& c)
{
    std::string name = std::to_string(c.picture.width()) + "x" + std::to_string(c.picture.height());
    if (c.fit.isEmpty())
        return name + "_full";
    return name + "_in_" + std::to_string(c.fit.width()) + "x" + std::to_string(c.fit.height());
}

class JpegScale : public ::testing::TestWithParam<ScaleCase>
{
};

TEST_P(JpegScale, LargestEighthThatFits)
{
    EXPECT_EQ(JpegDecoder::scaleFor(GetParam().picture, GetParam().fit), GetParam().numerator);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, JpegScale,
    ::testing::Values(ScaleCase{{4000, 3000}, {1920, 1080}, 2}, ScaleCase{{4000, 3000}, {}, 8},
                      ScaleCase{{640, 480}, {1920, 1080}, 8},
                      ScaleCase{{1920, 1080}, {1920, 1080}, 8},
                      ScaleCase{{1921, 1080}, {1920, 1080}, 7},
                      ScaleCase{{30000, 30000}, {100, 100}, 1},
                      // A forged header: never more than 64 million pixels, whatever the box.
                      ScaleCase{{16000, 16000}, {}, 4}),
    [](const auto& info) { return scaleName(info.param); });

TEST_F(Jpeg, RowsArriveBeforeTheEnd)
{
    JpegDecoder::Options options;
    options.progressRows = 16;
    std::vector<int> rows;
    bool topShownFirst = false;
    options.progress = [&](const QImage& image, int done) {
        if (rows.empty())
            topShownFirst = near(image.pixel(10, 15), GradientPicture(64, 256).pixel(10, 15));
        rows.push_back(done);
    };
    JpegDecoder::decodeFile(picture(64, 256), options);
    EXPECT_EQ(rows, (std::vector<int>{16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208,
                                      224, 240, 256}));
    EXPECT_TRUE(topShownFirst);
}

TEST_F(Jpeg, ACutOffPictureShowsWhatArrived)
{
    const QByteArray whole = bytesOf(picture(200, 400));
    const QImage image = JpegDecoder::decodeFile(write("cut.jpg", whole.left(whole.size() / 2)));
    ASSERT_EQ(image.size(), QSize(200, 400));
    EXPECT_TRUE(near(image.pixel(100, 10), GradientPicture(200, 400).pixel(100, 10)));
}

struct BadCase
{
    const char* name;
    QByteArray bytes;
    const char* error; // empty: any text
    friend void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }
};

class JpegBadFile : public Jpeg, public ::testing::WithParamInterface<BadCase>
{
};

TEST_P(JpegBadFile, RaisesTheDecodersText)
{
    const std::string file = write("bad.jpg", GetParam().bytes);
    try {
        JpegDecoder::decodeFile(file);
        FAIL() << "decoded";
    } catch (const DecoderError& error) {
        if (*GetParam().error)
            EXPECT_STREQ(error.what(), GetParam().error);
        else
            EXPECT_STRNE(error.what(), "");
    }
    // The decoder is left in a fit state: the next picture decodes.
    EXPECT_EQ(JpegDecoder::decodeFile(picture(16, 16)).size(), QSize(16, 16));
}

QByteArray headOfAJpeg(int bytes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("head.jpg"));
    WriteJpeg(file, GradientPicture(64, 64));
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    return in.readAll().left(bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, JpegBadFile,
    ::testing::Values(
        BadCase{"zero_length", QByteArray(""), "Empty input file"},
        BadCase{"error_page", QByteArray("<HTML><BODY>Not Found</BODY></HTML>"),
                "Not a JPEG file: starts with 0x3c 0x48"},
        BadCase{"garbage", QByteArray(4096, '\x5A'), "Not a JPEG file: starts with 0x5a 0x5a"},
        BadCase{"only_the_start_marker", QByteArray("\xFF\xD8", 2), ""},
        BadCase{"cut_in_the_header", headOfAJpeg(40), ""},
        // A frame header claiming 65500 x 65500 pixels.
        BadCase{"huge_frame",
                QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\xFF\xDC\xFF\xDC\x03\x01\x22\x00\x02\x11"
                           "\x01\x03\x11\x01\xFF\xD9",
                           23),
                ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Jpeg, AMissingFileIsAnError)
{
    EXPECT_THROW(JpegDecoder::decodeFile(path("missing.jpg")), DecoderError);
}

// A real picture whose frame header was changed to claim another size: a claim above the limit
// is refused before any buffer is made for it, one within it decodes (libjpeg fills what the
// data does not cover).
struct ClaimCase
{
    const char* name;
    int width;
    int height;
    const char* error; // empty: decodes
};

class JpegClaim : public Jpeg, public ::testing::WithParamInterface<ClaimCase>
{
};

TEST_P(JpegClaim, RefusedAboveTheLimitBeforeDecoding)
{
    QByteArray bytes = bytesOf(picture(64, 64));
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    const ClaimCase& c = GetParam();
    bytes[frame + 5] = char(c.height >> 8);
    bytes[frame + 6] = char(c.height & 0xFF);
    bytes[frame + 7] = char(c.width >> 8);
    bytes[frame + 8] = char(c.width & 0xFF);
    const std::string file = write("claim.jpg", bytes);
    int progressCalls = 0;
    JpegDecoder::Options options;
    options.fit = QSize(640, 640);
    options.progress = [&](const QImage&, int) { ++progressCalls; };
    if (*c.error) {
        try {
            JpegDecoder::decodeFile(file, options);
            FAIL() << "decoded";
        } catch (const DecoderError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
        EXPECT_EQ(progressCalls, 0);
    } else {
        const QImage image = JpegDecoder::decodeFile(file, options);
        const int scale = JpegDecoder::scaleFor(QSize(c.width, c.height), options.fit);
        EXPECT_EQ(image.size(), QSize((c.width * scale + 7) / 8, (c.height * scale + 7) / 8));
    }
}

INSTANTIATE_TEST_SUITE_P(Claims, JpegClaim,
                         ::testing::Values(ClaimCase{"sixty_thousand_square", 60000, 60000,
                                                     "Image too large (60000 x 60000)"},
                                           ClaimCase{"one_row_over_the_limit", 16384, 16385,
                                                     "Image too large (16384 x 16385)"},
                                           ClaimCase{"wide_and_flat_over_the_limit", 65000, 4200,
                                                     "Image too large (65000 x 4200)"},
                                           ClaimCase{"within_the_limit", 4096, 2048, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
