#include "gateway/MetarReader.h"

#include "CaseName.h"

#include "PrintCase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace cirrolux::gateway {
namespace {

using test::PrintTo;

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::round(value * 10.0) / 10.0);
    return text;
}

// The decoded report as one line, so each table row states everything that was read.
std::string describe(const Metar& m)
{
    std::string out = m.station;
    if (m.day != 0) {
        char time[16];
        std::snprintf(time, sizeof time, " %02d/%02d:%02d", m.day, m.hour, m.minute);
        out += time;
    }
    if (m.automatic)
        out += " auto";
    if (m.corrected)
        out += " cor";
    if (m.missing)
        out += " nil";
    if (m.wind) {
        out += " wind=" + (m.wind->directionDeg ? std::to_string(*m.wind->directionDeg)
                                                : std::string(m.wind->calm() ? "calm" : "vrb"));
        out += "@" + number(m.wind->speedKt);
        if (m.wind->gustKt)
            out += "G" + number(*m.wind->gustKt);
        if (m.wind->variableFromDeg)
            out += " " + std::to_string(*m.wind->variableFromDeg) + "V" +
                   std::to_string(*m.wind->variableToDeg);
    }
    if (m.visibilityMetres)
        out += std::string(" vis=") + (m.visibilityBelow ? "<" : "") + number(*m.visibilityMetres);
    if (m.cavok)
        out += " cavok";
    for (const Metar::Weather& w : m.weather)
        out += " [" + w.text + "]";
    for (const Metar::SkyLayer& layer : m.sky) {
        static const char* const covers[] = {"few", "sct", "bkn", "ovc", "vv"};
        out += std::string(" ") + covers[static_cast<int>(layer.cover)] +
               (layer.heightFt ? std::to_string(*layer.heightFt) : std::string("?")) +
               layer.cloudType;
    }
    if (m.skyClear)
        out += " clear";
    out += " t=" + (m.temperatureC ? number(*m.temperatureC) : std::string("?"));
    out += " td=" + (m.dewPointC ? number(*m.dewPointC) : std::string("?"));
    if (m.relativeHumidity())
        out += " rh=" + std::to_string(*m.relativeHumidity());
    if (m.altimeterInHg)
        out += " A" + number(*m.altimeterInHg * 100);
    if (m.qnhHpa)
        out += " Q" + number(*m.qnhHpa);
    out += " -> " + m.skyText();
    return out;
}

struct ReportCase
{
    const char* name;
    const char* report;
    const char* expected; // describe() of the result, "" when the report does not read
};

class MetarTable : public ::testing::TestWithParam<ReportCase>
{
};

TEST_P(MetarTable, DecodesEveryGroup)
{
    const ReportCase& c = GetParam();
    const auto metar = MetarReader::read(c.report);
    if (std::string_view(c.expected).empty()) {
        EXPECT_FALSE(metar) << describe(*metar);
        return;
    }
    ASSERT_TRUE(metar);
    EXPECT_EQ(describe(*metar), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, MetarTable,
    ::testing::Values(
        ReportCase{"gusts_and_below_zero",
                   "KBOS 091854Z 28012G25KT 10SM FEW045 SCT250 M05/M12 A3012 RMK AO2 SLP201 "
                   "T10501122",
                   "KBOS 09/18:54 wind=280@12G25 vis=16093.4 few4500 sct25000 t=-5 td=-12 rh=58 "
                   "A3012 -> Scattered Clouds"},
        ReportCase{"calm", "KSLC 091853Z 00000KT 10SM CLR M02/M08 A3035 RMK AO2",
                   "KSLC 09/18:53 wind=calm@0 vis=16093.4 clear t=-2 td=-8 rh=64 A3035 -> Clear"},
        ReportCase{"variable_light_wind", "KDEN 091853Z VRB03KT 9SM BKN120 04/M09 A3001",
                   "KDEN 09/18:53 wind=vrb@3 vis=14484.1 bkn12000 t=4 td=-9 rh=38 A3001 -> "
                   "Mostly Cloudy"},
        ReportCase{"direction_varies_and_qnh",
                   "EGLL 091850Z 31015KT 280V350 9999 FEW020 08/03 Q1013 NOSIG",
                   "EGLL 09/18:50 wind=310@15 280V350 vis=9999 few2000 t=8 td=3 rh=71 Q1013 -> "
                   "Partly Cloudy"},
        ReportCase{"cavok", "LFPG 091900Z 22005KT CAVOK 12/07 Q1021 NOSIG",
                   "LFPG 09/19:00 wind=220@5 vis=10000 cavok clear t=12 td=7 rh=71 Q1021 -> Clear"},
        ReportCase{"mixed_fraction_miles_and_snow",
                   "KORD 091851Z 36010KT 1 1/2SM -SN BR OVC008 M01/M02 A2992 RMK AO2",
                   "KORD 09/18:51 wind=360@10 vis=2414 [Light Snow] [Mist] ovc800 t=-1 td=-2 "
                   "rh=93 A2992 -> Light Snow"},
        ReportCase{"less_than_quarter_mile_fog",
                   "KJFK 091851Z 05006KT M1/4SM FG VV002 03/03 A2998 RMK AO2",
                   "KJFK 09/18:51 wind=50@6 vis=<402.3 [Fog] vv200 t=3 td=3 rh=100 A2998 -> Fog"},
        ReportCase{"automatic", "KXYZ 091855Z AUTO 18008KT 10SM CLR 15/10 A3000 RMK AO2",
                   "KXYZ 09/18:55 auto wind=180@8 vis=16093.4 clear t=15 td=10 rh=72 A3000 -> "
                   "Clear"},
        ReportCase{"corrected", "KBOS 091854Z COR 27010KT 10SM FEW050 02/M06 A3010",
                   "KBOS 09/18:54 cor wind=270@10 vis=16093.4 few5000 t=2 td=-6 rh=55 A3010 -> "
                   "Partly Cloudy"},
        ReportCase{"metres_per_second_and_runway_range",
                   "METAR UUEE 091830Z 27005MPS 5000 -SHSN BKN015CB M08/M10 Q1005 R24L/290050 "
                   "NOSIG",
                   "UUEE 09/18:30 wind=270@9.7 vis=5000 [Light Snow Showers] bkn1500CB t=-8 "
                   "td=-10 rh=86 Q1005 -> Light Snow Showers"},
        ReportCase{"kilometres_per_hour", "ZBAA 091800Z 09036KMH 8000 RA SCT020 OVC040 14/12 Q0998",
                   "ZBAA 09/18:00 wind=90@19.4 vis=8000 [Rain] sct2000 ovc4000 t=14 td=12 rh=88 "
                   "Q998 -> Rain"},
        ReportCase{"runway_range_skipped",
                   "KSEA 091853Z 16012KT 1/2SM R16L/2400V4000FT FG OVC002 09/09 A2985",
                   "KSEA 09/18:53 wind=160@12 vis=804.7 [Fog] ovc200 t=9 td=9 rh=100 A2985 -> Fog"},
        ReportCase{"heavy_thunderstorm",
                   "KMIA 091853Z 09015G30KT 2SM +TSRA SCT010 BKN020CB 26/24 A2990",
                   "KMIA 09/18:53 wind=90@15G30 vis=3218.7 [Heavy Thunderstorms and Rain] "
                   "sct1000 bkn2000CB t=26 td=24 rh=89 A2990 -> Heavy Thunderstorms and Rain"},
        ReportCase{"vicinity_and_freezing",
                   "KANC 091853Z 00000KT 1/4SM FZFG VCSH VV001 M15/M16 A3002",
                   "KANC 09/18:53 wind=calm@0 vis=402.3 [Freezing Fog] [Showers in the Vicinity] "
                   "vv100 t=-15 td=-16 rh=92 A3002 -> Freezing Fog"},
        ReportCase{"more_than_six_miles", "KLAX 091853Z 25010KT P6SM SCT020 18/12 A2995",
                   "KLAX 09/18:53 wind=250@10 vis=9656.1 sct2000 t=18 td=12 rh=68 A2995 -> "
                   "Scattered Clouds"},
        ReportCase{"missing_groups", "KABC 091855Z /////KT //// ///// ////// A////",
                   "KABC 09/18:55 t=? td=? -> Unknown"},
        ReportCase{"missing_dew_point", "KABC 091855Z 18005KT 10SM CLR 22/ A3001",
                   "KABC 09/18:55 wind=180@5 vis=16093.4 clear t=22 td=? A3001 -> Clear"},
        ReportCase{"lone_slash_after_temperature", "KABC 091855Z 18005KT 10SM CLR 22/12 / A3001",
                   "KABC 09/18:55 wind=180@5 vis=16093.4 clear t=22 td=12 rh=53 A3001 -> Clear"},
        ReportCase{"missing_report", "KBOS 091854Z NIL", "KBOS 09/18:54 nil t=? td=? -> Unknown"},
        ReportCase{"station_only", "KBOS", "KBOS t=? td=? -> Unknown"},
        ReportCase{"directional_visibility_keeps_the_first",
                   "LIRF 091850Z 02008KT 3000 1200NE BR BKN005 07/06 Q1019",
                   "LIRF 09/18:50 wind=20@8 vis=3000 [Mist] bkn500 t=7 td=6 rh=93 Q1019 -> Mist"},
        ReportCase{"tornado_and_drifting_snow",
                   "KOKC 091853Z 20035G50KT 1/2SM +FC DRSN BLSN OVC010 M01/M03 A2950",
                   "KOKC 09/18:53 wind=200@35G50 vis=804.7 [Tornado] [Low Drifting Snow] "
                   "[Blowing Snow] ovc1000 t=-1 td=-3 rh=86 A2950 -> Tornado"},
        ReportCase{"remarks_are_not_read",
                   "KBOS 091854Z 27010KT 10SM CLR 05/M01 A3010 RMK AO2 TSB05 OVC010 RAB15",
                   "KBOS 09/18:54 wind=270@10 vis=16093.4 clear t=5 td=-1 rh=65 A3010 -> Clear"},
        ReportCase{"implausible_values_are_passed_over",
                   "KBOS 991854Z 99912KT 00000KT 10SM A9999 Q0001 M99/M99 A3012",
                   "KBOS wind=calm@0 vis=16093.4 t=-99 td=-99 rh=100 A3012 -> Unknown"},
        ReportCase{"no_station", "091854Z 28012KT 10SM", ""}, ReportCase{"empty", "", ""},
        ReportCase{"lower_case", "kbos 091854Z", ""}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

// Real reports (sources in README.md beside this file), each row naming the fault it pins.
INSTANTIATE_TEST_SUITE_P(
    RealReports, MetarTable,
    ::testing::Values(
        // All-slash groups after the temperature ("///" for the trend, a lone "/") leave it.
        ReportCase{"later_slashes_keep_temperature",
                   "ETHC 262120Z AUTO 27003KT 3700 // ////// 14/14 Q1023 ///",
                   "ETHC 26/21:20 auto wind=270@3 vis=3700 t=14 td=14 rh=100 Q1023 -> Unknown"},
        ReportCase{"lone_slash_before_temperature",
                   "METAR KQEL 011150Z AUTO 20002KT / // CLR 23/16 A2979 RMK A02 TSNO=",
                   "KQEL 01/11:50 auto wind=200@2 clear t=23 td=16 rh=65 A2979 -> Clear"},
        // Trend groups are a forecast, not the observation.
        ReportCase{"inter_trend",
                   "YPAD 020000Z 23021KT 9999 FEW025 16/11 Q1017 INTER 0000/0300 23022G35KT 5000 "
                   "SHRA SCT012 BKN020",
                   "YPAD 02/00:00 wind=230@21 vis=9999 few2500 t=16 td=11 rh=72 Q1017 -> Partly "
                   "Cloudy"},
        ReportCase{"tempo_with_gusts_and_thunder",
                   "METAR URWI 011200Z 02005MPS 9999 SCT///CB 19/14 Q1012 R27/190060 TEMPO "
                   "35018G25MPS 0800 +TSRAGR SCT003 BKN020CB=",
                   "URWI 01/12:00 wind=20@9.7 vis=9999 sct?CB t=19 td=14 rh=73 Q1012 -> Scattered "
                   "Clouds"},
        ReportCase{"from_time_trend",
                   "SPECI YMML 011200Z 01027G39KT CAVOK 09/05 Q1017 FM1215 36017G30KT CAVOK",
                   "YMML 01/12:00 wind=10@27G39 vis=10000 cavok clear t=9 td=5 rh=76 Q1017 -> "
                   "Clear"},
        ReportCase{"colour_state_before_trend",
                   "SPECI EHWO 011159Z AUTO 29012KT 240V330 9999 SCT022 BKN031 BKN040 20/14 Q1018 "
                   "WHT 27010G20KT 9999 BKN035=",
                   "EHWO 01/11:59 auto wind=290@12 240V330 vis=9999 sct2200 bkn3100 bkn4000 t=20 "
                   "td=14 rh=68 Q1018 -> Mostly Cloudy"},
        // Every cloud genus, and layers whose height or genus the station cannot tell.
        ReportCase{"cloud_genera",
                   "METAR LOXZ 141420Z 08006KT 20KM VCSH FEW025SC SCT040SC "
                   "BKN090AC 21/14 Q1015 BECMG SCT090",
                   "LOXZ 14/14:20 wind=80@6 [Showers in the Vicinity] few2500SC sct4000SC "
                   "bkn9000AC t=21 td=14 rh=64 Q1015 -> Showers in the Vicinity"},
        ReportCase{"overcast_without_height", "KXYZ 091855Z AUTO 18008KT OVC/// 15/10 A3000",
                   "KXYZ 09/18:55 auto wind=180@8 ovc? t=15 td=10 rh=72 A3000 -> Overcast"},
        ReportCase{"heights_without_genus",
                   "LFRK 011230Z AUTO 32004KT 240V030 9999 BKN027/// BKN041/// 20/13 Q1023 NOSIG=",
                   "LFRK 01/12:30 auto wind=320@4 240V30 vis=9999 bkn2700 bkn4100 t=20 td=13 rh=64 "
                   "Q1023 -> Mostly Cloudy"},
        // A missing gust keeps the wind.
        ReportCase{"missing_gust", "CYAZ 171600Z 14040G//KT 10SM -RA OVC012 12/11 A2895 RMK NS8",
                   "CYAZ 17/16:00 wind=140@40 vis=16093.4 [Light Rain] ovc1200 t=12 td=11 rh=94 "
                   "A2895 -> Light Rain"},
        // COR before the station and between station and time.
        ReportCase{"cor_before_station", "METAR COR FBSP 011200Z 27010KT CAVOK 29/10 Q1017=",
                   "FBSP 01/12:00 cor wind=270@10 vis=10000 cavok clear t=29 td=10 rh=31 Q1017 -> "
                   "Clear"},
        ReportCase{"cor_before_time", "MRLB COR 262100Z 19005KT 9999 FEW020 SCT250 24/23 A2982",
                   "MRLB 26/21:00 cor wind=190@5 vis=9999 few2000 sct25000 t=24 td=23 rh=94 A2982 "
                   "-> Scattered Clouds"},
        // A direction beyond 360 is not believed.
        ReportCase{"variation_beyond_360",
                   "GCXO 011230Z 31016KT 340V361 9999 FEW011 SCT018 20/13 Q1024 NOSIG=",
                   "GCXO 01/12:30 wind=310@16 vis=9999 few1100 sct1800 t=20 td=13 rh=64 Q1024 -> "
                   "Scattered Clouds"}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return info.param.name; });

// The readings a page shows, from real reports: visibility in tenths of a mile (exact, rounded
// half up), whether it is a lower bound, and the pressure in both units.
struct ReadingCase
{
    const char* name;
    const char* report;
    const char* expected;
};

class ReadingTable : public ::testing::TestWithParam<ReadingCase>
{
};

TEST_P(ReadingTable, ExactVisibilityAndReportedPressure)
{
    const auto metar = MetarReader::read(GetParam().report);
    ASSERT_TRUE(metar);
    char text[96];
    std::snprintf(text, sizeof text, "vis=%d%s in=%.2f hPa=%d",
                  metar->visibilityTenthsOfMile().value_or(-1), metar->visibilityBelow ? "-" : "",
                  metar->pressureInHg().value_or(0), metar->pressureHpa().value_or(0));
    EXPECT_EQ(text, std::string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    RealReports, ReadingTable,
    ::testing::Values(
        ReadingCase{"one_and_three_quarters",
                    "KHAF 111515Z AUTO 00000KT 1 3/4SM BR OVC003 10/09 A3028 RMK AO2",
                    "vis=18 in=30.28 hPa=1025"},
        ReadingCase{"one_and_a_quarter",
                    "KVIS 111422Z AUTO 06003KT 1 1/4SM BR FEW040 06/06 A3031 RMK AO2",
                    "vis=13 in=30.31 hPa=1026"},
        ReadingCase{"three_sixteenths",
                    "KRIV 111456Z 04004KT 3/16SM R32/0800V1000FT FG VV001 08/08 A3019 RMK AO2A",
                    "vis=2 in=30.19 hPa=1022"},
        ReadingCase{"less_than_a_quarter",
                    "KF70 111455Z AUTO 00000KT M1/4SM OVC002 07/07 A3020 RMK AO1",
                    "vis=3- in=30.20 hPa=1023"},
        ReadingCase{"metres", "METAR SLCP 011200Z 18008KT 0100 FG VV/// 19/19 Q1019=",
                    "vis=1 in=30.09 hPa=1019"},
        // Both groups: each value as reported, where converting one gives the other unit
        // 1 hPa off.
        ReadingCase{"qnh_then_altimeter",
                    "METAR MSLP 011150Z 01007KT 9999 SCT076 26/21 Q1011 A2987 NOSIG=",
                    "vis=62 in=29.87 hPa=1011"},
        ReadingCase{
            "qnh_then_altimeter_below_1000",
            "METAR OIBB 011150Z 26012KT CAVOK 38/23 Q0995 A2941=", "vis=62 in=29.41 hPa=995"},
        ReadingCase{"altimeter_then_qnh",
                    "METAR MZBZ 011200Z 10005KT 9999 FEW016 27/26 A2998 Q1015 NOSIG=",
                    "vis=62 in=29.98 hPa=1015"},
        ReadingCase{"qnh_only", "METAR OJAM 011200Z 32008KT 5000 HZ FEW030 32/13 Q1011 NOSIG=",
                    "vis=31 in=29.85 hPa=1011"}),
    [](const ::testing::TestParamInfo<ReadingCase>& info) { return info.param.name; });

TEST(MetarReader, HumidityAgreesWithPublishedValues)
{
    // Relative humidity tables (WMO, Magnus form): 25 C over a 15 C dew point is 54 %,
    // 0 C over -10 C is 47 %, 30 C over 25 C is 75 %.
    struct Row
    {
        double t, td;
        int rh;
    };
    for (const Row row : {Row{25, 15, 54}, Row{0, -10, 47}, Row{30, 25, 75}, Row{10, 10, 100}}) {
        Metar m;
        m.temperatureC = row.t;
        m.dewPointC = row.td;
        EXPECT_EQ(m.relativeHumidity(), row.rh) << row.t << "/" << row.td;
    }
}

TEST(MetarReader, PressureFromEitherGroup)
{
    Metar m;
    EXPECT_FALSE(m.pressureInHg());
    m.qnhHpa = 1013.25;
    EXPECT_NEAR(*m.pressureInHg(), 29.92, 0.005);
    m.altimeterInHg = 30.12;
    EXPECT_DOUBLE_EQ(*m.pressureInHg(), 30.12);
}

struct FileCase
{
    const char* name;
    const char* file;
    const char* time; // ISO UTC, "" when the file does not read
    const char* station;
};

class StationFileTable : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(StationFileTable, ReadsTimeLineAndReport)
{
    const FileCase& c = GetParam();
    const auto report = MetarReader::readStationFile(c.file);
    if (std::string_view(c.time).empty()) {
        EXPECT_FALSE(report);
        return;
    }
    ASSERT_TRUE(report);
    EXPECT_EQ(report->observedUtc.toString(Qt::ISODate).toStdString(), c.time);
    EXPECT_EQ(report->metar.station, c.station);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StationFileTable,
    ::testing::Values(
        FileCase{"noaa", "2026/12/09 18:54\nKBOS 091854Z 28012KT 10SM CLR M05/M12 A3012\n",
                 "2026-12-09T18:54:00Z", "KBOS"},
        FileCase{"crlf_and_blank_lead", "\r\n2026/12/09 18:54\r\nKBOS 091854Z 28012KT\r\n",
                 "2026-12-09T18:54:00Z", "KBOS"},
        FileCase{"report_over_two_lines", "2026/01/02 03:04\nEGLL 020304Z 31015KT\n9999 08/03\n",
                 "2026-01-02T03:04:00Z", "EGLL"},
        FileCase{"no_time_line", "KBOS 091854Z 28012KT 10SM\n", "", ""},
        FileCase{"impossible_date", "2026/13/40 25:61\nKBOS 091854Z\n", "", ""},
        FileCase{"time_line_only", "2026/12/09 18:54\n", "", ""},
        FileCase{"html_error_page", "<html><body>404 Not Found</body></html>\n", "", ""},
        FileCase{"empty", "", "", ""}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return info.param.name; });

} // namespace
} // namespace cirrolux::gateway
