#include "CaseName.h"
#include "net/ServiceAddresses.h"
#include "wallpaper/WallpaperCatalogue.h"

#include <gtest/gtest.h>

#include <set>

using namespace cirrolux;

namespace {

struct CatalogueCase
{
    std::string value;
    std::optional<WallpaperSource> expected;
};

std::ostream& operator<<(std::ostream& out, const CatalogueCase& c)
{
    return out << c.value;
}

using P = WallpaperProvider;

class WallpaperCatalogueFind : public ::testing::TestWithParam<CatalogueCase>
{
};

TEST_P(WallpaperCatalogueFind, GivesTheRowOfTheWholeValue)
{
    EXPECT_EQ(WallpaperCatalogue::find(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WallpaperCatalogueFind,
    ::testing::Values(
        CatalogueCase{"US Radar Image - Purdue",
                      WallpaperSource{P::PurdueRadar, "/radar/rad_comp.gif", "rad_comp.gif"}},
        CatalogueCase{"US Radar Image - Texas A&&M",
                      WallpaperSource{P::TexasAM, "/mcsat/mcimages/MDR/MDR.GIF", "MDR.GIF"}},
        CatalogueCase{
            "US Radar w/Topography - Texas A&&M",
            WallpaperSource{P::TexasAM, "/mcsat/mcimages/MDR/MDRTOPO.GIF", "MDRTOPO.GIF"}},
        CatalogueCase{"GMS-5 - Japan and Far East Infrared",
                      WallpaperSource{P::KochiUniversity, "/FE/00Latest.jpg", "00Latest.JPG"}},
        CatalogueCase{
            "U.S. StormWatch",
            WallpaperSource{P::EarthWatch, "/STORMWATCH/images/SWUS2D.gif", "SWUS2D.gif"}},
        // The ampersand is stored doubled; the single form is another text.
        CatalogueCase{"US Radar Image - Texas A&M", std::nullopt},
        // Letter case and surrounding text count.
        CatalogueCase{"us radar image - purdue", std::nullopt},
        CatalogueCase{"US RADAR IMAGE - PURDUE", std::nullopt},
        CatalogueCase{"US Radar Image - Purdue ", std::nullopt}, CatalogueCase{"n/a", std::nullopt},
        CatalogueCase{"None", std::nullopt}, CatalogueCase{"", std::nullopt},
        CatalogueCase{
            "Regional/State Radar=TX",
            WallpaperSource{P::MakerImages, "/assets/images/wbank/TX_radar.GIF", "TX_radar.GIF"}},
        CatalogueCase{
            "Regional/State Radar=R3",
            WallpaperSource{P::MakerImages, "/assets/images/wbank/R3_radar.GIF", "R3_radar.GIF"}},
        // The code is the two characters after the first "=".
        CatalogueCase{
            "Regional/State Radar=NTX",
            WallpaperSource{P::MakerImages, "/assets/images/wbank/NT_radar.GIF", "NT_radar.GIF"}},
        CatalogueCase{"regional/state radar=TX", std::nullopt},
        // Mend: no code, a short one, or one that would leave the working directory.
        CatalogueCase{"Regional/State Radar=", std::nullopt},
        CatalogueCase{"Regional/State Radar=T", std::nullopt},
        CatalogueCase{"Regional/State Radar=..", std::nullopt},
        CatalogueCase{"Regional/State Radar=/x", std::nullopt}),
    [](const auto& info) {
        return test::CaseName(std::to_string(info.index) + "_" + info.param.value);
    });

TEST(WallpaperCatalogue, RowsKeepTheirOrderAndEachTitleFindsItsOwnRow)
{
    const auto& rows = WallpaperCatalogue::rows();
    EXPECT_EQ(rows.front().title, "US Radar Image - Purdue");
    EXPECT_EQ(rows[11].title, "GMS Infrared - Australia, east Asia, west Pacific Ocean");
    EXPECT_EQ(rows.back().title, "U.S. StormWatch");
    std::set<std::string_view> files;
    for (const auto& row : rows) {
        const auto found = WallpaperCatalogue::find(row.title);
        ASSERT_TRUE(found) << row.title;
        EXPECT_EQ(found->path, row.path);
        EXPECT_EQ(found->localFile, row.localFile);
        // Every local file is the last part of its path, but for the one renamed in case.
        if (row.localFile != "00Latest.JPG") {
            EXPECT_TRUE(row.path.ends_with(std::string("/") + std::string(row.localFile)));
        }
        files.insert(row.localFile);
    }
    EXPECT_EQ(files.size(), rows.size());
}

TEST(WallpaperCatalogue, RadarRowIsFetchedFromTheMakersServer)
{
    const auto radar = WallpaperCatalogue::find("Regional/State Radar=TX");
    ASSERT_TRUE(radar);
    EXPECT_EQ(radar->address(ServiceAddresses::MakerSite),
              "http://www.cirrolux.net/assets/images/wbank/TX_radar.GIF");
    EXPECT_EQ(WallpaperCatalogue::providerName(radar->provider), "the maker's image server");
    EXPECT_EQ(WallpaperCatalogue::providerName(P::TexasAM), "Texas A&M");
}

} // namespace
