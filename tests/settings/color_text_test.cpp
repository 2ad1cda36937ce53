#include "settings/ColorText.h"

#include <gtest/gtest.h>

using namespace cirrolux;

struct ColorCase
{
    TColor color;
    const char* text;
};

class ColorRoundTrip : public ::testing::TestWithParam<ColorCase>
{
};

TEST_P(ColorRoundTrip, StoredTextAndBack)
{
    const ColorCase& c = GetParam();
    EXPECT_EQ(ColorToText(c.color), c.text);
    EXPECT_EQ(TextToColor(c.text), c.color);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, ColorRoundTrip,
    ::testing::Values(ColorCase{0x00000000, "clBlack"}, ColorCase{0x00000080, "clMaroon"},
                      ColorCase{0x00008000, "clGreen"}, ColorCase{0x00008080, "clOlive"},
                      ColorCase{0x00800000, "clNavy"}, ColorCase{0x00800080, "clPurple"},
                      ColorCase{0x00808000, "clTeal"}, ColorCase{0x00808080, "clGray"},
                      ColorCase{0x00C0C0C0, "clSilver"}, ColorCase{0x000000FF, "clRed"},
                      ColorCase{0x0000FF00, "clLime"}, ColorCase{0x0000FFFF, "clYellow"},
                      ColorCase{0x00FF0000, "clBlue"}, ColorCase{0x00FF00FF, "clFuchsia"},
                      ColorCase{0x00FFFF00, "clAqua"}, ColorCase{0x00FFFFFF, "clWhite"},
                      ColorCase{0x80000000, "clScrollBar"}, ColorCase{0x80000005, "clWindow"},
                      ColorCase{0x80000008, "clWindowText"}, ColorCase{0x8000000F, "clBtnFace"},
                      ColorCase{0x80000018, "clInfoBk"}, ColorCase{0x1FFFFFFF, "clNone"},
                      // Unnamed colours: "$" + 8 upper-case hex digits, blue-green-red.
                      ColorCase{0x004080FF, "$004080FF"}, ColorCase{0x00010101, "$00010101"},
                      ColorCase{0x80000019, "$80000019"}));

struct ReadCase
{
    const char* text;
    std::optional<TColor> color;
};

class ColorReading : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ColorReading, AcceptsNamesAnyCaseAndNumbers)
{
    EXPECT_EQ(TextToColor(GetParam().text), GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ColorReading,
    ::testing::Values(ReadCase{"CLRED", 0x000000FF}, ReadCase{"clwindowtext", 0x80000008},
                      ReadCase{"cl3ddkshadow", 0x80000015}, ReadCase{"$00ff00", 0x0000FF00},
                      ReadCase{"255", 0x000000FF}, ReadCase{"-2147483643", 0x80000005},
                      ReadCase{"blue", std::nullopt}, ReadCase{"", std::nullopt},
                      ReadCase{"$", std::nullopt}, ReadCase{"$12G", std::nullopt},
                      ReadCase{"12 ", std::nullopt}, ReadCase{"n/a", std::nullopt},
                      ReadCase{"99999999999", std::nullopt}));

TEST(ColorText, ScreenColoursFollowBlueGreenRedOrder)
{
    EXPECT_EQ(FromQColor(QColor(255, 128, 64)), 0x004080FFu);
    EXPECT_EQ(ToQColor(0x004080FF), QColor(255, 128, 64));
    EXPECT_EQ(ColorToText(FromQColor(QColor(0, 0, 0))), "clBlack");
    EXPECT_EQ(ColorToText(FromQColor(QColor(0, 0, 1))), "$00010000");
}
