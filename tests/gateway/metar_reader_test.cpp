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
