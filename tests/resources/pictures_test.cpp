#include "CaseName.h"
#include "resources/BuiltinPictures.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace cirrolux {
namespace {

// ---- helpers --------------------------------------------------------------------------------

using cirrolux::test::CaseName;

QImage Argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

int DistinctColours(const QImage& image)
{
    std::set<QRgb> colours;
    const QImage argb = Argb(image);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            colours.insert(argb.pixel(x, y));
    return static_cast<int>(colours.size());
}

struct MeanColour
{
    double red = 0, green = 0, blue = 0;
};

MeanColour Mean(const QImage& image)
{
    MeanColour mean;
    const QImage argb = Argb(image);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = argb.pixelColor(x, y);
            mean.red += c.red();
            mean.green += c.green();
            mean.blue += c.blue();
        }
    }
    const double n = static_cast<double>(argb.width()) * argb.height();
    mean.red /= n;
    mean.green /= n;
    mean.blue /= n;
    return mean;
}

// ---- names and sizes ------------------------------------------------------------------------

struct Expected
{
    std::string name;
    int width;
    int height;
};

std::vector<Expected> AllExpected()
{
    std::vector<Expected> all = {
        {"GIFbkforest1", 64, 64},  {"GIFbkgd1", 64, 64},         {"GIFbkSky1", 200, 200},
        {"GIFbkwater1", 180, 120}, {"GIFbkmahogany1", 150, 150}, {"GIFbkglobe1", 228, 184},
        {"cirrolux", 256, 256},    {"GIFImagenew", 50, 50},      {"GIFImageFull", 50, 50},
    };
    for (int tenth = 1; tenth <= 9; ++tenth) {
        all.push_back({"GIFImagel" + std::to_string(tenth) + "0x", 50, 50});
        all.push_back({"GIFImage" + std::to_string(tenth) + "0x", 50, 50});
    }
    for (int index = 0; index <= 12; ++index)
        all.push_back({"IconList" + std::to_string(index), 16, 16});
    return all;
}

void PrintTo(const Expected& e, std::ostream* os)
{
    *os << e.name << ' ' << e.width << 'x' << e.height;
}

class PictureSize : public ::testing::TestWithParam<Expected>
{
};

TEST_P(PictureSize, ExistsAtItsSizeAndIsNotBlank)
{
    const Expected& expected = GetParam();
    const QImage image = BuiltinPicture(expected.name);
    ASSERT_FALSE(image.isNull()) << expected.name;
    EXPECT_EQ(image.width(), expected.width);
    EXPECT_EQ(image.height(), expected.height);
    EXPECT_GE(DistinctColours(image), 2) << expected.name << " is one flat colour";
}

INSTANTIATE_TEST_SUITE_P(Builtin, PictureSize, ::testing::ValuesIn(AllExpected()),
                         [](const ::testing::TestParamInfo<Expected>& info) {
                             return CaseName(info.param.name);
                         });

TEST(BuiltinPictureNames, ListsEveryPictureOnce)
{
    const std::vector<std::string> names = BuiltinPictureNames();
    const std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), names.size());
    std::set<std::string> expected;
    for (const Expected& e : AllExpected())
        expected.insert(e.name);
    EXPECT_EQ(unique, expected);
    EXPECT_EQ(names.size(), 40u);
}

TEST(BuiltinPicture, UnknownNamesGiveNothing)
{
    EXPECT_TRUE(BuiltinPicture("").isNull());
    EXPECT_TRUE(BuiltinPicture("GIFImage00x").isNull());
    EXPECT_TRUE(BuiltinPicture("IconList13").isNull());
    EXPECT_TRUE(BuiltinPicture("GIFbkforest").isNull()); // a prefix is not a match
    EXPECT_TRUE(BuiltinPicture("GIFbkforest1 ").isNull());
    EXPECT_TRUE(BuiltinPicture("IconList3", 24).isNull());
    EXPECT_TRUE(BuiltinPicture("nosuch", 16).isNull());
    EXPECT_TRUE(BuiltinIcon("nosuch").isNull());
}

TEST(BuiltinPicture, NamesMatchWithoutRegardToCase)
{
    // The moon logic builds "GifImageL40x" for the picture called "GIFImagel40x".
    const QImage waxing = BuiltinPicture("GIFImagel40x");
    ASSERT_FALSE(waxing.isNull());
    EXPECT_EQ(BuiltinPicture("GifImageL40x"), waxing);
    EXPECT_EQ(BuiltinPicture("gifimage40x"), BuiltinPicture("GIFImage40x"));
    EXPECT_NE(BuiltinPicture("GifImage40x"), waxing);
    EXPECT_EQ(BuiltinPicture("ICONLIST7"), BuiltinPicture("IconList7"));
}

TEST(BuiltinPicture, DefaultBackgroundIsTheForestTile)
{
    EXPECT_EQ(BuiltinPicture("GIFbkgd1"), BuiltinPicture("GIFbkforest1"));
}

TEST(BuiltinPicture, EveryOtherPictureIsItsOwn)
{
    const std::vector<std::string> names = BuiltinPictureNames();
    std::vector<QImage> images;
    for (const std::string& name : names)
        images.push_back(Argb(BuiltinPicture(name)));
    for (std::size_t a = 0; a < names.size(); ++a) {
        for (std::size_t b = a + 1; b < names.size(); ++b) {
            const bool twins = (names[a] == "GIFbkforest1" && names[b] == "GIFbkgd1") ||
                               (names[a] == "GIFbkgd1" && names[b] == "GIFbkforest1");
            if (!twins) {
                EXPECT_NE(images[a], images[b]) << names[a] << " and " << names[b];
            }
        }
    }
}

// ---- backgrounds ----------------------------------------------------------------------------

TEST(Backgrounds, HaveTheirColours)
{
    const MeanColour forest = Mean(BuiltinPicture("GIFbkforest1"));
    EXPECT_GT(forest.green, forest.red * 1.4);
    EXPECT_GT(forest.green, forest.blue * 1.4);
    EXPECT_LT(forest.green, 140) << "foliage should be dark";

    const MeanColour mahogany = Mean(BuiltinPicture("GIFbkmahogany1"));
    EXPECT_GT(mahogany.red, mahogany.green * 2);
    EXPECT_GT(mahogany.red, mahogany.blue * 2);
    EXPECT_LT(mahogany.red, 160) << "the wood should be dark";

    for (const char* name : {"GIFbkSky1", "GIFbkwater1"}) {
        const MeanColour light = Mean(BuiltinPicture(name));
        EXPECT_GT(light.blue, light.red) << name;
        EXPECT_GT(light.blue, light.green) << name;
        EXPECT_GT(light.blue, 200) << name << " should be light";
    }
}

// Tiles must not show a seam: the step from the last column (row) back to the first is no
// bigger than the steps between neighbouring columns (rows) inside the tile.
class TileSeam : public ::testing::TestWithParam<std::string>
{
};

double Step(const QImage& image, int x0, int y0, int x1, int y1)
{
    const QColor a = image.pixelColor(x0, y0);
    const QColor b = image.pixelColor(x1, y1);
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// Mean step between column x and column x + 1 (wrapping), or between rows when `rows`.
double LineStep(const QImage& image, int at, bool rows)
{
    const int w = image.width();
    const int h = image.height();
    double sum = 0;
    const int length = rows ? w : h;
    for (int i = 0; i < length; ++i) {
        if (rows)
            sum += Step(image, i, at, i, (at + 1) % h);
        else
            sum += Step(image, at, i, (at + 1) % w, i);
    }
    return sum / length;
}

TEST_P(TileSeam, EdgesJoinLikeTheInside)
{
    const QImage tile = Argb(BuiltinPicture(GetParam()));
    ASSERT_FALSE(tile.isNull());
    for (const bool rows : {false, true}) {
        const int lines = rows ? tile.height() : tile.width();
        double largestInside = 0;
        for (int at = 0; at + 1 < lines; ++at)
            largestInside = std::max(largestInside, LineStep(tile, at, rows));
        EXPECT_LE(LineStep(tile, lines - 1, rows), largestInside)
            << (rows ? "top and bottom edges" : "left and right edges");
    }
}

INSTANTIATE_TEST_SUITE_P(Builtin, TileSeam,
                         ::testing::Values("GIFbkforest1", "GIFbkSky1", "GIFbkwater1",
                                           "GIFbkmahogany1"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

struct Place
{
    std::string name;
    double longitude;
    double latitude;
    bool land;
};

void PrintTo(const Place& p, std::ostream* os)
{
    *os << p.name << " (" << p.longitude << ", " << p.latitude << ")";
}

class WorldMap : public ::testing::TestWithParam<Place>
{
};

TEST_P(WorldMap, ShowsLandAndSeaInTheirPlaces)
{
    const Place& place = GetParam();
    const QImage map = Argb(BuiltinPicture("GIFbkglobe1"));
    ASSERT_EQ(map.size(), QSize(228, 184));
    const int x = static_cast<int>((place.longitude + 180.0) / 360.0 * map.width());
    const int y = static_cast<int>((90.0 - place.latitude) / 180.0 * map.height());
    const QColor c = map.pixelColor(x, y);
    if (place.land) {
        EXPECT_GT(c.green(), 100) << place.name;
        EXPECT_GT(c.green(), c.red() + 40) << place.name;
        EXPECT_GT(c.green(), c.blue() + 40) << place.name;
    } else {
        EXPECT_LT(c.red() + c.green() + c.blue(), 30) << place.name << " should be black sea";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Builtin, WorldMap,
    ::testing::Values(Place{"Kansas", -98, 38, true}, Place{"Brazil", -50, -10, true},
                      Place{"Congo", 22, -2, true}, Place{"Sahara", 10, 24, true},
                      Place{"Siberia", 100, 62, true}, Place{"India", 78, 20, true},
                      Place{"Australia", 134, -25, true}, Place{"Greenland", -40, 74, true},
                      Place{"Antarctica", 40, -85, true}, Place{"NorthAtlantic", -40, 40, false},
                      Place{"SouthAtlantic", -15, -25, false}, Place{"Pacific", -140, 10, false},
                      Place{"IndianOcean", 75, -20, false}, Place{"Tasman", 160, -40, false},
                      Place{"BlackSea", 37.5, 43, false}, Place{"Mediterranean", 18, 34.5, false},
                      Place{"HudsonBay", -86, 57.5, false}),
    [](const ::testing::TestParamInfo<Place>& info) { return info.param.name; });

TEST(WorldMap, HasGridLines)
{
    // The meridian of 90 degrees west crosses the Pacific between the Galapagos and Mexico:
    // there the map is not black.
    const QImage map = Argb(BuiltinPicture("GIFbkglobe1"));
    const int x = qRound((-90.0 + 180.0) / 360.0 * map.width());
    const int y = static_cast<int>((90.0 - 5.0) / 180.0 * map.height());
    const QColor line = map.pixelColor(x, y);
    EXPECT_GT(line.red() + line.green() + line.blue(), 120);
}

// ---- moon pictures --------------------------------------------------------------------------

constexpr double MoonCentre = 25.0;
constexpr double MoonRadius = 23.0;

bool IsLit(const QColor& c)
{
    return c.red() > 150 && c.green() > 150;
}

bool IsDarkBlue(const QColor& c)
{
    return c.blue() > 60 && c.blue() > c.red() + 40 && c.red() < 60;
}

double Distance(int x, int y)
{
    return std::hypot(x + 0.5 - MoonCentre, y + 0.5 - MoonCentre);
}

struct MoonCount
{
    int disc = 0;     // pixels well inside the disc
    int lit = 0;      // of those, lit
    int litLeft = 0;  // lit, left of the centre column
    int litRight = 0; // lit, right of it
    double litMeanX = 0;
};

MoonCount CountMoon(const QImage& picture)
{
    const QImage image = Argb(picture);
    MoonCount count;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Distance(x, y) > MoonRadius - 0.8)
                continue;
            ++count.disc;
            if (!IsLit(image.pixelColor(x, y)))
                continue;
            ++count.lit;
            count.litMeanX += x + 0.5;
            if (x + 0.5 < MoonCentre)
                ++count.litLeft;
            else
                ++count.litRight;
        }
    }
    if (count.lit > 0)
        count.litMeanX /= count.lit;
    return count;
}

std::string MoonName(int tenth, bool waxing)
{
    return std::string(waxing ? "GIFImagel" : "GIFImage") + std::to_string(tenth) + "0x";
}

struct Phase
{
    int tenth;
    bool waxing;
};

void PrintTo(const Phase& p, std::ostream* os)
{
    *os << (p.waxing ? "waxing " : "waning ") << p.tenth << "0";
}

class MoonPhasePicture : public ::testing::TestWithParam<Phase>
{
};

TEST_P(MoonPhasePicture, LitShareAndSideMatchTheTenth)
{
    const Phase phase = GetParam();
    const QImage picture = BuiltinPicture(MoonName(phase.tenth, phase.waxing));
    ASSERT_EQ(picture.size(), QSize(50, 50));
    const MoonCount count = CountMoon(picture);
    const double share = static_cast<double>(count.lit) / count.disc;
    const double expected = (phase.tenth + 0.5) / 10.0;
    EXPECT_NEAR(share, expected, 0.04);

    const int litSide = phase.waxing ? count.litRight : count.litLeft;
    const int darkSide = phase.waxing ? count.litLeft : count.litRight;
    const int half = count.disc / 2;
    if (expected < 0.5) {
        EXPECT_EQ(darkSide, 0) << "a crescent is lit on one side only";
    } else {
        EXPECT_GT(litSide, half * 97 / 100) << "a gibbous moon has its lit half whole";
    }
    if (phase.waxing) {
        EXPECT_GT(count.litMeanX, MoonCentre);
    } else {
        EXPECT_LT(count.litMeanX, MoonCentre);
    }
}

TEST_P(MoonPhasePicture, UnlitPartIsDarkBlueOnBlack)
{
    const Phase phase = GetParam();
    const QImage image = Argb(BuiltinPicture(MoonName(phase.tenth, phase.waxing)));
    // Along the middle row the unlit part runs from the dark limb to the terminator; look at
    // its middle.
    const double fraction = (phase.tenth + 0.5) / 10.0;
    const double limb = MoonCentre - MoonRadius;
    const double terminator = MoonCentre + (1.0 - 2.0 * fraction) * MoonRadius;
    const int waxingX = static_cast<int>((limb + terminator) / 2);
    const int x = phase.waxing ? waxingX : 49 - waxingX;
    const QColor unlit = image.pixelColor(x, 25);
    EXPECT_TRUE(IsDarkBlue(unlit)) << x << ": " << unlit.name().toStdString();
    for (const QPoint corner : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 49), QPoint(49, 49)})
        EXPECT_EQ(image.pixelColor(corner), QColor(Qt::black));
}

std::vector<Phase> AllPhases()
{
    std::vector<Phase> phases;
    for (const bool waxing : {true, false})
        for (int tenth = 1; tenth <= 9; ++tenth)
            phases.push_back({tenth, waxing});
    return phases;
}

INSTANTIATE_TEST_SUITE_P(Builtin, MoonPhasePicture, ::testing::ValuesIn(AllPhases()),
                         [](const ::testing::TestParamInfo<Phase>& info) {
                             return std::string(info.param.waxing ? "Waxing" : "Waning") +
                                    std::to_string(info.param.tenth) + "0";
                         });

TEST(MoonPictures, LitShareGrowsWithTheTenth)
{
    for (const bool waxing : {true, false}) {
        int previous = 0;
        for (int tenth = 1; tenth <= 9; ++tenth) {
            const int lit = CountMoon(BuiltinPicture(MoonName(tenth, waxing))).lit;
            EXPECT_GT(lit, previous) << MoonName(tenth, waxing);
            previous = lit;
        }
        EXPECT_GT(CountMoon(BuiltinPicture("GIFImageFull")).lit, previous);
    }
}

TEST(MoonPictures, WaningIsTheMirrorOfWaxing)
{
    for (int tenth = 1; tenth <= 9; ++tenth) {
        const QImage waxing = Argb(BuiltinPicture(MoonName(tenth, true)));
        const QImage waning = Argb(BuiltinPicture(MoonName(tenth, false)));
        int differ = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                if (IsLit(waxing.pixelColor(x, y)) != IsLit(waning.pixelColor(49 - x, y)))
                    ++differ;
        EXPECT_LE(differ, 30) << "tenth " << tenth;
    }
}

TEST(MoonPictures, NewMoonIsAllDarkBlue)
{
    const QImage image = Argb(BuiltinPicture("GIFImagenew"));
    const MoonCount count = CountMoon(image);
    EXPECT_EQ(count.lit, 0);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (Distance(x, y) < MoonRadius - 0.8) {
                EXPECT_TRUE(IsDarkBlue(c)) << x << "," << y;
            } else if (Distance(x, y) > MoonRadius + 0.8) {
                EXPECT_EQ(c, QColor(Qt::black)) << x << "," << y;
            }
        }
    }
}

TEST(MoonPictures, FullMoonIsAllLitPaleYellow)
{
    const QImage image = Argb(BuiltinPicture("GIFImageFull"));
    const MoonCount count = CountMoon(image);
    EXPECT_EQ(count.lit, count.disc);
    const QColor centre = image.pixelColor(36, 36);
    EXPECT_GT(centre.red(), 200);
    EXPECT_GE(centre.red(), centre.blue());
    EXPECT_GE(DistinctColours(image), 20) << "the full moon should carry some texture";
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
}

TEST(MoonPictures, AreAntialiased)
{
    // The terminator and the limb are blended, not stair-stepped between two colours only.
    for (const char* name : {"GIFImagel30x", "GIFImage70x", "GIFImagenew"}) {
        const QImage image = Argb(BuiltinPicture(name));
        int between = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (!IsLit(c) && !IsDarkBlue(c) && c != QColor(Qt::black))
                    ++between;
            }
        EXPECT_GE(between, 20) << name;
    }
}

// ---- tray pictures and the application icon ------------------------------------------------

class TrayPicture : public ::testing::TestWithParam<int>
{
protected:
    std::string name() const { return "IconList" + std::to_string(GetParam()); }
};

TEST_P(TrayPicture, HasAHandMade16AndA32)
{
    const QImage small = BuiltinPicture(name(), 16);
    const QImage large = BuiltinPicture(name(), 32);
    ASSERT_EQ(small.size(), QSize(16, 16));
    ASSERT_EQ(large.size(), QSize(32, 32));
    EXPECT_EQ(BuiltinPicture(name()), small);

    const QIcon icon = BuiltinIcon(name());
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    // On a double-density screen the icon uses the 32-pixel drawing, not an enlargement.
    const QImage doubled = Argb(icon.pixmap(QSize(16, 16), 2.0).toImage());
    EXPECT_EQ(doubled.size(), QSize(32, 32));
    EXPECT_EQ(doubled, Argb(large));
    EXPECT_EQ(Argb(icon.pixmap(QSize(16, 16), 1.0).toImage()), Argb(small));
}

TEST_P(TrayPicture, SixteenPixelsAreCrisp)
{
    // Every pixel is either fully drawn or fully clear: no blurred edges at the tray's size.
    const QImage small = Argb(BuiltinPicture(name(), 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int alpha = qAlpha(small.pixel(x, y));
            EXPECT_TRUE(alpha == 0 || alpha == 255) << x << "," << y << " alpha " << alpha;
        }
}

TEST_P(TrayPicture, SkyPicturesFillTheSquareOthersStandFree)
{
    const std::set<int> withSky = {1, 4, 9, 11, 12};
    for (const int width : {16, 32}) {
        const QImage image = Argb(BuiltinPicture(name(), width));
        int clear = 0;
        for (int y = 0; y < width; ++y)
            for (int x = 0; x < width; ++x)
                if (qAlpha(image.pixel(x, y)) == 0)
                    ++clear;
        if (withSky.count(GetParam())) {
            EXPECT_EQ(clear, 0) << width;
        } else {
            EXPECT_GT(clear, width * width / 5) << width;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Builtin, TrayPicture, ::testing::Range(0, 13),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "IconList" + std::to_string(info.param);
                         });

TEST(TrayPictures, SkyColoursFitTheirWeather)
{
    // 4 and 11: blue day sky; 9 and 12: dark night sky; 1: grey sky.
    const auto corner = [](int index) {
        return Argb(BuiltinPicture("IconList" + std::to_string(index))).pixelColor(0, 15);
    };
    for (const int day : {4, 11}) {
        const QColor c = corner(day);
        EXPECT_GT(c.blue(), c.red() + 80) << day;
        EXPECT_GT(c.blue(), 180) << day;
    }
    for (const int night : {9, 12}) {
        const QColor c = corner(night);
        EXPECT_LT(c.red() + c.green() + c.blue(), 200) << night;
        EXPECT_GT(c.blue(), c.red()) << night;
    }
    const QColor grey = corner(1);
    EXPECT_LT(std::abs(grey.red() - grey.blue()), 40);
    EXPECT_GT(grey.red(), 100);
}

TEST(TrayPictures, SunnyPictureIsMostlySunAndSky)
{
    const QImage sun = Argb(BuiltinPicture("IconList11"));
    const QColor middle = sun.pixelColor(8, 8);
    EXPECT_GT(middle.red(), 200);
    EXPECT_GT(middle.green(), 150);
    EXPECT_LT(middle.blue(), 100);
}

TEST(ApplicationIcon, HasEverySize)
{
    const QIcon icon = BuiltinIcon("cirrolux");
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 32, 48, 64, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
        const QImage image = BuiltinPicture("cirrolux", side);
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_GE(DistinctColours(image), 4) << side;
    }
    EXPECT_EQ(BuiltinPicture("cirrolux").size(), QSize(256, 256));
}

} // namespace
} // namespace cirrolux
