// The conditions page: every reading where a reader counting offsets from the label words
// expects it, for hand-made observations covering every row variant.
#include "CaseName.h"
#include "LayoutCheck.h"
#include "PageText.h"
#include "SamplePlaces.h"

#include "pagelayout/ConditionsPageBuilder.h"
#include "servicesim/WeatherModel.h"

#include <gtest/gtest.h>

namespace cirrolux::test {
namespace {

using cirrolux::ConditionsPageBuilder;
using cirrolux::Observation;
using cirrolux::Place;
using HeatIndexRow = Observation::HeatIndexRow;

Place boston()
{
    Place place;
    place.kind = Place::Kind::UsCity;
    place.key = "US/MA/Boston";
    place.title = "Boston, Massachusetts";
    place.observed = "Boston, MA";
    place.breadcrumb = "Massachusetts";
    return place;
}

Observation mild()
{
    Observation obs;
    obs.time = "3:51 PM EST";
    obs.date = "January 12, 2005";
    obs.temperatureF = 72;
    obs.temperatureC = 22;
    obs.humidity = 65;
    obs.dewPointF = 60;
    obs.dewPointC = 16;
    obs.windMph = 12;
    obs.wind = "NW at 12 mph";
    obs.pressureIn = 30.12;
    obs.sky = "Partly Cloudy";
    obs.visibilityMiles = 10.0;
    obs.clouds = "Few 4500 ft";
    obs.sunrise = "7:07 AM EST";
    obs.sunset = "4:34 PM EST";
    obs.moonRise = "9:12 AM EST";
    obs.moonSet = "9:37 PM EST";
    obs.moonPhase = "Waxing Crescent";
    obs.moonIlluminated = 5;
    return obs;
}

struct LayoutCase
{
    const char* name;
    Observation obs;
};

std::vector<LayoutCase> layoutCases()
{
    std::vector<LayoutCase> cases;
    cases.push_back({"Mild", mild()});

    Observation hot = mild();
    hot.temperatureF = 104;
    hot.temperatureC = 40;
    hot.humidity = 12;
    hot.heatIndexRow = HeatIndexRow::Value;
    hot.heatIndexF = 101;
    hot.sky = "Sunny";
    cases.push_back({"HotWithHeatIndex", hot});

    Observation hotEmpty = hot;
    hotEmpty.heatIndexRow = HeatIndexRow::Empty;
    hotEmpty.humidity = 100;
    cases.push_back({"HotWithEmptyHeatIndex", hotEmpty});

    Observation coolEmpty = mild();
    coolEmpty.heatIndexRow = HeatIndexRow::Empty;
    cases.push_back({"EmptyHeatIndexRow", coolEmpty});

    Observation frigid = mild();
    frigid.temperatureF = -12;
    frigid.temperatureC = -24;
    frigid.dewPointF = -20;
    frigid.dewPointC = -29;
    frigid.windChillF = -35;
    frigid.wind = "WNW at 24 mph, gusting to 37 mph";
    frigid.windMph = 24;
    frigid.humidity = 100;
    frigid.sky = "Light Snow Showers";
    frigid.visibilityMiles = 0.4;
    cases.push_back({"BelowZeroGustyWithWindChill", frigid});

    Observation calm = mild();
    calm.windMph = 0;
    calm.wind = "Calm";
    calm.sky = "Patches of Fog";
    calm.visibilityMiles = 0.2;
    calm.humidity = 8;
    cases.push_back({"CalmFogDryAir", calm});

    Observation variable = mild();
    variable.windMph = 4;
    variable.wind = "Variable at 4 mph";
    variable.sky = "Light Thunderstorms and Rain";
    cases.push_back({"VariableWindLongSky", variable});

    Observation polar = mild();
    polar.sunrise = "-";
    polar.sunset = "-";
    polar.temperatureF = 5;
    polar.windChillF = -9;
    cases.push_back({"PolarNight", polar});
    return cases;
}

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class PageLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(PageLayout, ReadingsSitAtTheirOffsets)
{
    const std::string page = ConditionsPageBuilder::page(boston(), GetParam().obs);
    expectReadingsInPlace(page, GetParam().obs);
}

TEST_P(PageLayout, TitleEndsBeforeWeatherForecast)
{
    const std::string page = ConditionsPageBuilder::page(boston(), GetParam().obs);
    const std::size_t after = page.find("Underground:");
    ASSERT_NE(after, std::string::npos);
    const std::string rest = page.substr(after + 12);
    EXPECT_EQ(rest.substr(0, rest.find("Weather")), " Boston, Massachusetts ");
    EXPECT_LT(rest.find("Weather"), rest.find("Forecast</title"));
}

INSTANTIATE_TEST_SUITE_P(Builder, PageLayout, ::testing::ValuesIn(layoutCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageBuilder, ValueTexts)
{
    EXPECT_EQ(ConditionsPageBuilder::temperatureText(72, 22), "72\xB0"
                                                              "F / 22\xB0"
                                                              "C");
    EXPECT_EQ(ConditionsPageBuilder::temperatureText(-12, -24), "-12\xB0"
                                                                "F / -24\xB0"
                                                                "C");
    EXPECT_EQ(ConditionsPageBuilder::pressureText(30.12), "30.12 in / 1020 hPa");
    EXPECT_EQ(ConditionsPageBuilder::visibilityText(10.0), "10.0 mi");
    EXPECT_EQ(ConditionsPageBuilder::visibilityText(7.0), " 7.0 mi");
    EXPECT_EQ(ConditionsPageBuilder::visibilityText(0.2), " 0.2 mi");
}

TEST(PageBuilder, UsesTheEntitiesOfTheService)
{
    const std::string page = ConditionsPageBuilder::page(boston(), mild());
    EXPECT_NE(page.find("<b>72</b>&#176;F&nbsp;/&nbsp;<b>22</b>&#176;C"), std::string::npos);
    EXPECT_EQ(page.find('\r'), std::string::npos) << "a CR would add a space to every gap";
    EXPECT_EQ(page.find('\xB0'), std::string::npos) << "the degree sign is written as an entity";
}

TEST(PageBuilder, MarkupInPlaceNamesIsEscaped)
{
    Place place = boston();
    place.title = "<b>Odd & Co</b>, Nowhere";
    place.observed = place.title;
    const std::string page = ConditionsPageBuilder::page(place, mild());
    EXPECT_NE(page.find("Underground: &lt;b&gt;Odd &amp; Co&lt;/b&gt;, Nowhere Weather"),
              std::string::npos);
    expectReadingsInPlace(page, mild());
}

TEST(PageBuilder, SearchPageHasNoConditions)
{
    const std::string page = ConditionsPageBuilder::searchPage("12<3");
    EXPECT_NE(page.find("Underground:"), std::string::npos);
    EXPECT_EQ(page.find("Forecast</title"), std::string::npos);
    EXPECT_EQ(page.find("Updated:"), std::string::npos);
    EXPECT_EQ(page.find("Temperature"), std::string::npos);
    EXPECT_NE(page.find("12&lt;3"), std::string::npos);
}

// Pages drawn from the weather model for many places and hours keep the same layout.
class ModelPageLayout : public ::testing::TestWithParam<Place>
{
};

TEST_P(ModelPageLayout, EveryFifthHourOfTwoWeeksInJanuaryAndJuly)
{
    for (const QDateTime& start : {utc(2005, 1, 3, 0, 55), utc(2005, 7, 3, 0, 55)}) {
        for (int hour = 0; hour < 24 * 14; hour += 5) {
            const QDateTime now = start.addSecs(hour * 3600);
            const Observation obs = servicesim::WeatherModel::observe(GetParam(), now);
            SCOPED_TRACE(now.toString(Qt::ISODate).toStdString() + " " + obs.sky + " " +
                         std::to_string(obs.temperatureF));
            expectReadingsInPlace(ConditionsPageBuilder::page(GetParam(), obs), obs);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Builder, ModelPageLayout, ::testing::ValuesIn(samplePlaces()),
                         [](const auto& info) { return CaseName(info.param.key); });

} // namespace
} // namespace cirrolux::test
