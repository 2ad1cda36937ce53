// The forecast window's NWS pages written from NOAA's zone files, read back through the
// window's own extraction.
#include "forecast/ReportText.h"
#include "gateway/NwsProducts.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace cirrolux;
using namespace cirrolux::gateway;

namespace {

std::string fixture(const char* path)
{
    QFile file(QStringLiteral(CIRROLUX_TEST_DATA "/gatewayserver/data/") + QLatin1String(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return file.readAll().toStdString();
}

struct PathCase
{
    const char* name;
    const char* path;
    bool isProduct;
    ProductPage page;
    const char* state;
};

class ProductPaths : public ::testing::TestWithParam<PathCase>
{
};

TEST_P(ProductPaths, NameTheLivePagesOnly)
{
    const std::optional<ProductRequest> request = ProductRequestOf(GetParam().path);
    ASSERT_EQ(request.has_value(), GetParam().isProduct);
    if (request) {
        EXPECT_EQ(request->page, GetParam().page);
        EXPECT_EQ(request->state, GetParam().state);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProductPaths,
    ::testing::Values(
        PathCase{"ZoneForecast", "/iwin/MA/zone.html", true, ProductPage::ZoneForecast, "MA"},
        PathCase{"LowerCaseState", "/iwin/tx/shortterm.html", true, ProductPage::Nowcast, "TX"},
        PathCase{"Warnings", "/iwin/CO/allwarnings.html", true, ProductPage::Warnings, "CO"},
        PathCase{"Special", "/iwin/FL/special.html", true, ProductPage::Special, "FL"},
        // No live equivalent: left to the emulator's content.
        PathCase{"PublicInformation", "/iwin/MA/public.html", false, {}, ""},
        PathCase{"Hydrological", "/iwin/MA/hydro.html", false, {}, ""},
        PathCase{"ForeignPlace", "/iwin/Peru (O)/zone.html", false, {}, ""},
        PathCase{"NoState", "/iwin//zone.html", false, {}, ""},
        PathCase{"DigitsForState", "/iwin/12/zone.html", false, {}, ""},
        PathCase{"OtherSite", "/US/MA/Boston.html", false, {}, ""},
        PathCase{"Empty", "", false, {}, ""}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(ProductFiles, FollowTheZoneTablesAddresses)
{
    ASSERT_EQ(ProductFiles(ProductPage::ZoneForecast).size(), 1u);
    EXPECT_EQ(ProductFilePath(ProductFiles(ProductPage::ZoneForecast)[0], "maz015"),
              "forecasts/zone/ma/maz015.txt");
    EXPECT_EQ(ProductFilePath(ProductFiles(ProductPage::Nowcast)[0], "txz211"),
              "forecasts/nowcast/tx/txz211.txt");
    EXPECT_EQ(ProductFilePath(ProductFiles(ProductPage::Special)[0], "maz015"),
              "watches_warnings/special_weather_stmt/ma/maz015.txt");
    EXPECT_EQ(ProductFilePath(ProductFiles(ProductPage::Warnings)[0], "maz015"),
              "watches_warnings/non_precip/ma/maz015.txt");
}

TEST(ProductText, IsUpperCaseWithoutExpiryLineCarriageReturnsOrMarkup)
{
    EXPECT_EQ(NormalisedProductText("\nExpires:202601152100;;402211\r\nFPUS51 KBOX 151530\r\n"
                                    "See <weather.gov/box> or http://x.\tDone\x01\n"),
              "FPUS51 KBOX 151530\nSEE WEATHER.GOV/BOX OR HTTP://X. DONE \n");
    EXPECT_EQ(NormalisedProductText(""), "");
    EXPECT_EQ(NormalisedProductText("Expires:1"), "");
}

const ProductRequest ZoneMa{ProductPage::ZoneForecast, "MA"};

TEST(ZoneForecastPage, HasEachZonesSectionOnceAndTheWindowFindsTheCounty)
{
    const std::vector<ZoneProduct> files{
        {"maz006", fixture("forecasts/zone/ma/maz006.txt")},
        {"maz007", fixture("forecasts/zone/ma/maz007.txt")}, // the same section as maz006
        {"maz015", fixture("forecasts/zone/ma/maz015.txt")}};
    const std::string page = BuildProductPage(ZoneMa, "Massachusetts", files);

    EXPECT_TRUE(page.starts_with("<html>\n<head><title>Massachusetts Zone Forecasts</title>"));
    // One heading, then the two distinct sections.
    EXPECT_EQ(page.find("ZONE FORECAST PRODUCT FOR MASSACHUSETTS"),
              page.rfind("ZONE FORECAST PRODUCT FOR MASSACHUSETTS"));
    EXPECT_EQ(page.find("MAZ006-007-152100-"), page.rfind("MAZ006-007-152100-"));
    EXPECT_LT(page.find("MAZ006-007-152100-"), page.find("MAZ015-152100-"));
    EXPECT_EQ(page.find("EXPIRES"), std::string::npos);

    const CountySection suffolk = ExtractCountySection(page, "Suffolk", CountyKind::Forecast, "MA");
    EXPECT_TRUE(suffolk.found);
    EXPECT_EQ(StripReportHtml(suffolk.section),
              "SUFFOLK-\nINCLUDING THE CITY OF BOSTON\n1030 AM EST THU JAN 15 2026\n\n"
              ".TODAY...MOSTLY CLOUDY. HIGHS IN THE MID 30S. NORTHWEST WINDS\n10 TO 15 MPH.\n"
              ".TONIGHT...PARTLY CLOUDY. LOWS AROUND 20. SEE WEATHER.GOV/BOX.\n"
              ".FRIDAY...SUNNY. HIGHS AROUND 32.");
    EXPECT_TRUE(ExtractCountySection(page, "Essex", CountyKind::Forecast, "MA").found);
    // The whole page as the window shows it when no county is asked for: cut before the link.
    const std::string text = parse_text(StripReportHtml(page));
    EXPECT_NE(text.find("MAZ015-152100-"), std::string::npos);
}

TEST(ZoneForecastPage, WithoutAnyFileSaysItIsNotCurrentlyAvailable)
{
    const std::string page = BuildProductPage(ZoneMa, "Massachusetts", {});
    EXPECT_NE(page.find("The Zone Forecasts product for Massachusetts is not currently "
                        "available (NOAA publishes none for its zones at the moment)."),
              std::string::npos);
}

struct WarningCase
{
    const char* name;
    ProductPage page;
    std::vector<const char*> files;
    const char* shown; // a line the window shows
    const char* absent;
};

class WarningPages : public ::testing::TestWithParam<WarningCase>
{
};

TEST_P(WarningPages, ShowEachProductOnceOrSayNoneIsInEffect)
{
    std::vector<ZoneProduct> files;
    for (const char* path : GetParam().files)
        files.push_back({"maz0xx", fixture(path)});
    const std::string page =
        BuildProductPage(ProductRequest{GetParam().page, "MA"}, "Massachusetts", files);
    const std::string shown = parse_warning_html(page, "MA");
    EXPECT_NE(shown.find(GetParam().shown), std::string::npos) << shown;
    EXPECT_EQ(shown.find(GetParam().absent), std::string::npos) << shown;
    EXPECT_TRUE(shown.ends_with("--- End of File --"));
    const std::size_t first = page.find("<pre>");
    ASSERT_NE(first, std::string::npos);
    // A product sent for two zones is shown once.
    EXPECT_EQ(page.find("WWUS71 KBOX"), page.rfind("WWUS71 KBOX"));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WarningPages,
    ::testing::Values(
        WarningCase{"WindAdvisoryForTwoZones",
                    ProductPage::Warnings,
                    {"watches_warnings/non_precip/ma/maz015.txt",
                     "watches_warnings/non_precip/ma/maz016.txt"},
                    "...WIND ADVISORY IN EFFECT FROM 1 PM THIS AFTERNOON TO 7 PM EST",
                    "THERE ARE NO WARNINGS"},
        WarningCase{"NoWarnings",
                    ProductPage::Warnings,
                    {},
                    "THERE ARE NO WARNINGS OR ADVISORIES IN EFFECT FOR MA AT THIS TIME.",
                    "WIND ADVISORY"},
        WarningCase{"SpecialStatement",
                    ProductPage::Special,
                    {"watches_warnings/special_weather_stmt/ma/maz015.txt"},
                    "...SLICK SPOTS ON UNTREATED ROADS THIS MORNING...",
                    "THERE ARE NO SPECIAL"},
        WarningCase{"NoSpecialStatement",
                    ProductPage::Special,
                    {},
                    "THERE ARE NO SPECIAL WEATHER STATEMENTS IN EFFECT FOR MA AT THIS TIME.",
                    "SLICK"}),
    [](const ::testing::TestParamInfo<WarningCase>& info) { return std::string(info.param.name); });

TEST(UnavailablePage, SaysWhyAndTheWindowShowsItsNotice)
{
    const std::string page = ProductUnavailablePage(ProductRequest{ProductPage::Warnings, "MA"},
                                                    "Massachusetts", "no answer <within> 15000 ms");
    EXPECT_NE(page.find("is not currently available (no answer within 15000 ms)."),
              std::string::npos);
    EXPECT_NE(parse_warning_html(page, "MA").find("not currently available"), std::string::npos);
}

TEST(ProductPage, ANoteGoesOnTop)
{
    const std::vector<ZoneProduct> files{{"maz015", fixture("forecasts/zone/ma/maz015.txt")}};
    const std::string page =
        BuildProductPage(ZoneMa, "Massachusetts", files, "Note: 1 of 26 zone files failed.");
    EXPECT_LT(page.find("NOTE: 1 OF 26 ZONE FILES FAILED."), page.find("FPUS51 KBOX"));
}

} // namespace
