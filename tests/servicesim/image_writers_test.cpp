// The pieces the emulator's pictures are made of: the canvas, the pixel font, the GIF and JPEG
// writers (read back with Qt's readers), the land mask and the catalogue lookup.
#include "drawing/GeoMap.h"
#include "drawing/PixelCanvas.h"
#include "drawing/PixelFont.h"
#include "servicesim/GifWriter.h"
#include "servicesim/ImageCatalogue.h"
#include "servicesim/JpegWriter.h"
#include "servicesim/WeatherField.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cmath>

namespace cirrolux::test {
namespace {

using namespace drawing;
using namespace servicesim;

int count(const PixelCanvas& canvas, std::uint8_t colour)
{
    int n = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            n += canvas.at(x, y) == colour ? 1 : 0;
    return n;
}

QList<QImage> readAll(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QList<QImage> frames;
    for (QImage frame = reader.read(); !frame.isNull() && frames.size() < 100;
         frame = reader.read())
        frames.append(frame.convertToFormat(QImage::Format_RGB32));
    return frames;
}

QRgb rgbOf(const PixelCanvas& canvas, int x, int y)
{
    const Rgb c = canvas.palette()[canvas.at(x, y)];
    return qRgb(c.r, c.g, c.b);
}

// A picture with a few colours and something in every corner.
PixelCanvas sample(int width, int height, int shift)
{
    PixelCanvas canvas(width, height);
    const std::uint8_t back = canvas.addColour({10, 20, 30});
    const std::uint8_t red = canvas.addColour({250, 0, 0});
    const std::uint8_t green = canvas.addColour({0, 240, 0});
    canvas.fill(back);
    canvas.fillRect(shift, 3, 7, 5, red);
    canvas.fillCircle(width - 10, height - 10 - shift, 6, green);
    return canvas;
}

struct ShapeRow
{
    const char* name;
    int expected; // pixels filled
    std::function<void(PixelCanvas&, std::uint8_t)> draw;
};

class CanvasShape : public ::testing::TestWithParam<ShapeRow>
{
};

TEST_P(CanvasShape, FillsTheExpectedPixels)
{
    PixelCanvas canvas(40, 30);
    canvas.addColour({0, 0, 0});
    const std::uint8_t ink = canvas.addColour({255, 255, 255});
    GetParam().draw(canvas, ink);
    EXPECT_EQ(count(canvas, ink), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, CanvasShape,
    ::testing::Values(
        ShapeRow{"Rect", 12, [](PixelCanvas& c, std::uint8_t i) { c.fillRect(2, 2, 4, 3, i); }},
        ShapeRow{"RectCutAtTheEdges", 4 * 3,
                 [](PixelCanvas& c, std::uint8_t i) { c.fillRect(-2, 27, 6, 9, i); }},
        ShapeRow{"RectOutside", 0,
                 [](PixelCanvas& c, std::uint8_t i) { c.fillRect(100, -50, 10, 10, i); }},
        ShapeRow{"SquarePolygon", 100,
                 [](PixelCanvas& c, std::uint8_t i) {
                     c.fillPolygon({{5, 5}, {15, 5}, {15, 15}, {5, 15}}, i);
                 }},
        // Half of 100, plus the ten pixels whose centres lie on the diagonal.
        ShapeRow{"TrianglePolygonHalfASquare", 55,
                 [](PixelCanvas& c, std::uint8_t i) {
                     c.fillPolygon({{0, 0}, {10, 0}, {0, 10}}, i);
                 }},
        ShapeRow{"PolygonFarOutsideIsCut", 40 * 30,
                 [](PixelCanvas& c, std::uint8_t i) {
                     c.fillPolygon({{-1e6, -1e6}, {1e6, -1e6}, {1e6, 1e6}, {-1e6, 1e6}}, i);
                 }},
        ShapeRow{"ClippedPolygon", 6 * 4,
                 [](PixelCanvas& c, std::uint8_t i) {
                     c.setClip(10, 10, 6, 4);
                     c.fillPolygon({{0, 0}, {40, 0}, {40, 30}, {0, 30}}, i);
                     c.clearClip();
                 }},
        ShapeRow{"ClipAlsoHoldsText", 0,
                 [](PixelCanvas& c, std::uint8_t i) {
                     c.setClip(0, 0, 40, 5);
                     c.text(2, 10, "88", i);
                     c.clearClip();
                 }},
        ShapeRow{"FrameRect", 2 * 10 + 2 * 6,
                 [](PixelCanvas& c, std::uint8_t i) { c.frameRect(1, 1, 10, 8, i); }},
        ShapeRow{"HorizontalLine", 11,
                 [](PixelCanvas& c, std::uint8_t i) { c.line(3, 4, 13, 4, i); }},
        ShapeRow{"WildLineDrawsNothing", 0,
                 [](PixelCanvas& c, std::uint8_t i) { c.line(0, 0, 1e300, NAN, i); }},
        ShapeRow{"TextOfOneGlyph", 1 + 2 + 1 + 1 + 1 + 1 + 3,
                 [](PixelCanvas& c, std::uint8_t i) { c.text(0, 0, "1", i); }}),
    [](const ::testing::TestParamInfo<ShapeRow>& info) { return std::string(info.param.name); });

TEST(CanvasPieces, CircleAreaIsAboutPiRSquared)
{
    PixelCanvas canvas(60, 60);
    canvas.addColour({0, 0, 0});
    const std::uint8_t ink = canvas.addColour({255, 255, 255});
    canvas.fillCircle(30, 30, 20, ink);
    EXPECT_NEAR(count(canvas, ink), 3.14159 * 400, 40);
}

TEST(CanvasPieces, PaletteFullGivesTheNearestColour)
{
    PixelCanvas canvas(2, 2);
    for (int i = 0; i < 256; ++i)
        canvas.addColour({std::uint8_t(i), 0, 0});
    EXPECT_EQ(canvas.palette().size(), 256u);
    EXPECT_EQ(canvas.addColour({201, 3, 0}), 201);
    EXPECT_EQ(canvas.palette().size(), 256u);
}

TEST(CanvasPieces, TextWidthMatchesWhatIsDrawn)
{
    PixelCanvas canvas(200, 20);
    canvas.addColour({0, 0, 0});
    const std::uint8_t ink = canvas.addColour({255, 255, 255});
    const int end = canvas.text(0, 0, "WX 42", ink, 2);
    EXPECT_EQ(end, 5 * 12);
    EXPECT_EQ(PixelCanvas::textWidth("WX 42", 2), 5 * 12 - 2);
    int rightmost = -1;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.at(x, y) == ink)
                rightmost = std::max(rightmost, x);
    EXPECT_LT(rightmost, PixelCanvas::textWidth("WX 42", 2));
}

// Every character of every heading and file name drawn on a picture has a glyph.
TEST(PixelFontGlyphs, CoverEveryLabel)
{
    for (const ServedImage& image : ImageCatalogue::images()) {
        for (const std::string& text : {image.label, image.file}) {
            for (const char c : text) {
                if (c == ' ')
                    continue;
                const auto& glyph = pixelGlyph(c);
                bool inked = false;
                for (const std::uint8_t row : glyph)
                    inked = inked || row != 0;
                EXPECT_TRUE(inked) << "no glyph for '" << c << "' in " << text;
            }
        }
    }
}

TEST(GifWriterTest, StillKeepsEveryPixel)
{
    const PixelCanvas picture = sample(33, 21, 2);
    const QList<QImage> frames = readAll(GifWriter::still(picture));
    ASSERT_EQ(frames.size(), 1);
    ASSERT_EQ(frames[0].size(), QSize(33, 21));
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(frames[0].pixel(x, y), rgbOf(picture, x, y)) << x << "," << y;
}

// Later frames hold only what changed; the reader must still put the whole picture together.
TEST(GifWriterTest, AnimationFramesComposeToTheDrawnPictures)
{
    std::vector<PixelCanvas> drawn;
    for (int i = 0; i < 6; ++i)
        drawn.push_back(sample(40, 30, i % 4 == 3 ? 0 : i * 3)); // frame 3 repeats frame 0
    drawn.push_back(drawn.back());                               // and one frame that is the same
    const QByteArray bytes = GifWriter::animation(drawn, 25, 100);
    EXPECT_TRUE(bytes.contains("NETSCAPE2.0"));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    EXPECT_EQ(reader.loopCount(), -1);
    QList<int> delays;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const QImage frame = reader.read().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(frame.isNull()) << "frame " << i;
        delays.append(reader.nextImageDelay());
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(frame.pixel(x, y), rgbOf(drawn[i], x, y))
                    << "frame " << i << " at " << x << "," << y;
    }
    EXPECT_TRUE(reader.read().isNull());
    // The delay read after a frame is that of the next one.
    EXPECT_EQ(delays.front(), 250);
}

TEST(GifWriterTest, AnimationNeedsAFrame)
{
    EXPECT_THROW(GifWriter::animation({}, 10, 10), std::runtime_error);
}

struct JpegRow
{
    const char* name;
    int width;
    int height;
    bool compact;
    qint64 below; // bytes
};

class JpegWriterTest : public ::testing::TestWithParam<JpegRow>
{
};

TEST_P(JpegWriterTest, DecodesCloseToTheColours)
{
    const JpegRow& row = GetParam();
    PixelCanvas picture(row.width, row.height);
    const std::uint8_t blue = picture.addColour({20, 60, 200});
    picture.fill(blue);
    const QByteArray bytes = JpegWriter::write(picture, 90, row.compact);
    EXPECT_LT(bytes.size(), row.below);
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8"));
    const QList<QImage> frames = readAll(bytes);
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].size(), QSize(row.width, row.height));
    const QRgb middle = frames[0].pixel(row.width / 2, row.height / 2);
    if (row.compact) {
        EXPECT_NEAR(qRed(middle), qBlue(middle), 2) << "grey";
        EXPECT_NEAR(qGray(middle), (20 * 77 + 60 * 150 + 200 * 29) >> 8, 6);
    } else {
        EXPECT_NEAR(qRed(middle), 20, 6);
        EXPECT_NEAR(qGreen(middle), 60, 6);
        EXPECT_NEAR(qBlue(middle), 200, 6);
    }
}

INSTANTIATE_TEST_SUITE_P(Pieces, JpegWriterTest,
                         ::testing::Values(JpegRow{"OnePixel", 1, 1, false, 2000},
                                           JpegRow{"OddSize", 37, 23, false, 3000},
                                           JpegRow{"Large", 1200, 900, false, 60000},
                                           JpegRow{"CompactIsTiny", 16, 16, true, 500}),
                         [](const ::testing::TestParamInfo<JpegRow>& info) {
                             return std::string(info.param.name);
                         });

struct PlaceRow
{
    const char* name;
    double lon;
    double lat;
    bool land;
};

class LandMask : public ::testing::TestWithParam<PlaceRow>
{
};

TEST_P(LandMask, KnowsLandFromSea)
{
    EXPECT_EQ(isLand(GetParam().lon, GetParam().lat), GetParam().land);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, LandMask,
    ::testing::Values(
        PlaceRow{"Kansas", -98.0, 38.5, true}, PlaceRow{"Sahara", 10.0, 23.0, true},
        PlaceRow{"Siberia", 100.0, 62.0, true}, PlaceRow{"CentralAustralia", 134.0, -25.0, true},
        PlaceRow{"Brazil", -50.0, -10.0, true}, PlaceRow{"MidPacific", -150.0, 0.0, false},
        PlaceRow{"MidAtlantic", -35.0, 30.0, false}, PlaceRow{"IndianOcean", 80.0, -20.0, false},
        PlaceRow{"PastTheDateLineWraps", -98.0 + 360.0, 38.5, true},
        PlaceRow{"SouthPoleCorner", 0.0, -95.0, true}),
    [](const ::testing::TestParamInfo<PlaceRow>& info) { return std::string(info.param.name); });

TEST(MapViewTest, PixelAndPlaceRoundTrip)
{
    const MapView view({-126, -66, 22, 52}, 10, 20, 600, 300);
    const QPointF corner = view.toPixel(-126, 52);
    EXPECT_DOUBLE_EQ(corner.x(), 10);
    EXPECT_DOUBLE_EQ(corner.y(), 20);
    const QPointF place = view.toGeo(310, 170);
    const QPointF back = view.toPixel(place.x(), place.y());
    EXPECT_NEAR(back.x(), 310.5, 1e-9);
    EXPECT_NEAR(back.y(), 170.5, 1e-9);
}

// Loops look like motion only when the storms of one moment are close to those a little later.
TEST(WeatherFieldTest, StormsMoveSmoothlyAndRepeat)
{
    const WeatherField& field = weatherField();
    const double hours = 306000.25;
    const std::vector<StormCell> now = field.storms(hours);
    const std::vector<StormCell> again = field.storms(hours);
    ASSERT_EQ(now.size(), again.size());
    ASSERT_FALSE(now.empty());
    const std::vector<StormCell> later = field.storms(hours + 0.25);
    int followed = 0;
    for (const StormCell& cell : now) {
        for (const StormCell& next : later) {
            if (std::hypot(next.lon - cell.lon, next.lat - cell.lat) < 0.5 &&
                std::abs(next.strength - cell.strength) < 0.2)
                ++followed;
        }
    }
    EXPECT_GE(followed, int(now.size()) - 2);
    for (const StormCell& cell : now) {
        EXPECT_GT(cell.strength, 0.0);
        EXPECT_LE(cell.strength, 1.0);
    }
}

struct LookupRow
{
    const char* name;
    QByteArray path;
    const char* file; // null: none
};

class CatalogueLookup : public ::testing::TestWithParam<LookupRow>
{
};

TEST_P(CatalogueLookup, FindsByPathOrName)
{
    const ServedImage* found = ImageCatalogue::find(GetParam().path);
    if (!GetParam().file) {
        EXPECT_EQ(found, nullptr) << found->file;
        return;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->file, GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, CatalogueLookup,
    ::testing::Values(LookupRow{"WholePath", "/FE/00Latest.jpg", "00Latest.JPG"},
                      LookupRow{"PathWithItsQuery", "/cgi-bin/pcugifd.pl?1", "pcugif.gif"},
                      LookupRow{"QueryDoesNotHideThePath", "/radar/rad_comp.gif?x=1",
                                "rad_comp.gif"},
                      LookupRow{"PercentEncodedName", "/cams/sky%63am.jpg", "skycam.jpg"},
                      LookupRow{"NameOfTheSavedFile", "/elsewhere/EXP_FP_F.GIF", "exp_fp_f.gif"},
                      LookupRow{"LastSegmentOfTheCgi", "/other/pcwgif", "pcwgif.gif"},
                      LookupRow{"TrailingSlashNamesNothing", "/FULLDISK/GEIR.JPG/", nullptr},
                      LookupRow{"NameInTheMiddleIsNotEnough", "/skycam.jpg/index.html", nullptr},
                      LookupRow{"Empty", "", nullptr},
                      LookupRow{"OnlyAQuery", "?sim-image=tiny", nullptr},
                      LookupRow{"NearMiss", "/cams/skycam.jpg.bak", nullptr},
                      LookupRow{"VeryLong", "/" + QByteArray(100000, 'a') + ".gif", nullptr},
                      LookupRow{"BytesAboveAscii", "/\xFF\xFE\x80.gif", nullptr}),
    [](const ::testing::TestParamInfo<LookupRow>& info) { return std::string(info.param.name); });

} // namespace
} // namespace cirrolux::test
