#include "ReportContent.h"

#include "ReportStates.h"
#include "StableHash.h"
#include "net/ServiceAddresses.h"

#include <QUrl>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace cirrolux::servicesim {

namespace {

using Text = std::string;

QByteArray hostOf(std::string_view address)
{
    return QUrl(QString::fromLatin1(address.data(), qsizetype(address.size())))
        .host()
        .toLatin1()
        .toLower();
}

QByteArray bytes(const Text& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

Text num(long long value)
{
    return std::to_string(value);
}

Text padLeft(Text text, std::size_t width)
{
    return text.size() >= width ? text : Text(width - text.size(), ' ') + text;
}

Text padRight(Text text, std::size_t width)
{
    return text.size() >= width ? text : text + Text(width - text.size(), ' ');
}

Text withCommas(long long value)
{
    const Text digits = num(value);
    Text out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::uint64_t dayHash(const QDateTime& now, std::string_view what)
{
    return mixHash(stableHash(what), std::uint64_t(now.date().toJulianDay()));
}

// "1030 AM EST THU JAN 15 2026"
Text issueLine(const QDateTime& now)
{
    const QDateTime local = now.toUTC().addSecs(-5 * 3600);
    const int hour = local.time().hour();
    const int h12 = hour % 12 == 0 ? 12 : hour % 12;
    return num(h12) + "00 " + (hour < 12 ? "AM" : "PM") + " EST " +
           local.date().toString(QStringLiteral("ddd MMM d yyyy")).toUpper().toStdString();
}

// "151530": day, hour and minute of issue.
Text issueStamp(const QDateTime& now)
{
    return now.toUTC().toString(QStringLiteral("ddHH00")).toStdString();
}

Text zoneId(const ReportState& state, std::size_t index)
{
    Text number = num(long(index * 3 + 2));
    return Text(state.code) + "Z" + Text(3 - std::min<std::size_t>(3, number.size()), '0') + number;
}

constexpr std::array<const char*, 8> Skies{"SUNNY",         "MOSTLY SUNNY",     "PARTLY CLOUDY",
                                           "MOSTLY CLOUDY", "CLOUDY",           "RAIN LIKELY",
                                           "SNOW LIKELY",   "SCATTERED SHOWERS"};
constexpr std::array<const char*, 8> Winds{"NORTH", "NORTHEAST", "EAST", "SOUTHEAST",
                                           "SOUTH", "SOUTHWEST", "WEST", "NORTHWEST"};
constexpr std::array<const char*, 7> Days{"MONDAY", "TUESDAY",  "WEDNESDAY", "THURSDAY",
                                          "FRIDAY", "SATURDAY", "SUNDAY"};

int seasonalHigh(const QDateTime& now, std::uint64_t hash)
{
    // Warmest in July, coldest in January; the hash spreads states and counties apart.
    const int month = now.date().month();
    const int distance = std::abs(month - 7);
    return 88 - distance * 9 + int(spread(hash, -8, 9));
}

Text decade(int temperature)
{
    const int ten = (temperature / 10) * 10;
    const int unit = temperature % 10;
    const char* part = unit < 4 ? "LOWER" : unit < 7 ? "MID" : "UPPER";
    return Text(part) + " " + num(ten) + "S";
}

Text forecastPeriods(const ReportState& state, std::string_view county, const QDateTime& now)
{
    const std::uint64_t h = mixHash(dayHash(now, state.code), stableHash(county));
    const int high = seasonalHigh(now, h);
    const int low = high - 14 - int(h % 7);
    const char* sky = Skies[h % Skies.size()];
    const char* wind = Winds[(h >> 8) % Winds.size()];
    const int dayIndex = now.date().dayOfWeek(); // 1 = Monday
    Text text = ".TODAY..." + Text(sky) + ". HIGHS IN THE " + decade(std::max(high, 10)) + ". " +
                wind + " WINDS 10 TO 15 MPH.\n";
    text += ".TONIGHT..." + Text(Skies[(h >> 16) % 5]) + ". LOWS AROUND " + num(low) + ".\n";
    for (int d = 0; d < 3; ++d) {
        const std::uint64_t dh = mixHash(h, std::uint64_t(d) + 1);
        text += "." + Text(Days[std::size_t((dayIndex + d) % 7)]) + "..." +
                Skies[dh % Skies.size()] + ". HIGHS&nbsp;AROUND " +
                num(high + int(spread(dh, -6, 7))) + "&#176;.\n";
    }
    return text;
}

Text nwsHeader(const ReportState& state, const char* title, const char* product, const char* awips,
               const QDateTime& now)
{
    return "<html>\n<head><title>" + Text(state.name) + " " + title +
           "</title></head>\n<body bgcolor=\"#FFFFFF\">\n<center><h2>" + Text(state.name) + " " +
           title + "</h2></center>\n<hr>\n<pre>\n" + product + " K" + Text(state.office) + " " +
           issueStamp(now) + "\n" + awips + Text(state.office) + "\n\n";
}

Text nwsFooter(const ReportState& state)
{
    return "<hr>\n<p>Back to the <a href=\"http://iwin.nws.noaa.gov/iwin/" + Text(state.code) +
           "/\">" + Text(state.name) +
           "</a> page | <a href=\"http://iwin.nws.noaa.gov/iwin/\">IWIN</a> home</p>\n"
           "</body></html>\n";
}

Text zonePage(const ReportState& state, const QDateTime& now)
{
    Text page = nwsHeader(state, "Zone Forecasts", "FPUS51", "ZFP", now);
    page += "ZONE FORECAST PRODUCT FOR " +
            QString::fromLatin1(state.name.data(), qsizetype(state.name.size()))
                .toUpper()
                .toStdString() +
            "\nNATIONAL WEATHER SERVICE " + Text(state.officeCity) + "\n" + issueLine(now) + "\n\n";
    for (std::size_t i = 0; i < state.counties.size(); ++i) {
        page += zoneId(state, i) + "-" + issueStamp(now) + "-\n" + Text(state.counties[i]) + "-\n" +
                issueLine(now) + "\n\n" + forecastPeriods(state, state.counties[i], now) +
                "\n$$\n\n";
    }
    return page + "</pre>\n" + nwsFooter(state);
}

Text nowcastPage(const ReportState& state, const QDateTime& now)
{
    Text page = nwsHeader(state, "Short Term Forecast", "FPUS71", "NOW", now);
    page += "SHORT TERM FORECAST\nNATIONAL WEATHER SERVICE " + Text(state.officeCity) + "\n" +
            issueLine(now) + "\n\n";
    for (std::size_t i = 0; i < state.counties.size(); i += 2) {
        const bool pair = i + 1 < state.counties.size();
        page += zoneId(state, i) + (pair ? "-" + zoneId(state, i + 1).substr(3) : Text()) + "-" +
                issueStamp(now) + "-\n" + Text(state.counties[i]) + "-" +
                (pair ? Text(state.counties[i + 1]) + "-" : Text()) + "\n" + issueLine(now) +
                "\n\n.NOW...\n";
        const std::uint64_t h = mixHash(dayHash(now, state.code), i);
        page += "OVER THE NEXT FEW HOURS..." + Text(Skies[h % Skies.size()]) +
                " SKIES WILL CONTINUE. TEMPERATURES WILL HOLD NEAR " +
                num(seasonalHigh(now, h) - 4) + "&#176; WITH " + Winds[(h >> 4) % Winds.size()] +
                " WINDS AROUND " + num(5 + long(h % 15)) + " MPH.\n\n$$\n\n";
    }
    return page + "</pre>\n" + nwsFooter(state);
}

Text productPage(const ReportState& state, std::string_view product, const QDateTime& now)
{
    static constexpr struct
    {
        std::string_view file;
        const char* title;
        const char* heading;
        const char* awips;
    } Products[] = {
        {"public", "Public Information", "PUBLIC INFORMATION STATEMENT", "PNS"},
        {"allwarnings", "Warnings and Advisories", "WARNINGS AND ADVISORIES", "WSW"},
        {"special", "Special Weather Statements", "SPECIAL WEATHER STATEMENT", "SPS"},
        {"hydro", "Hydrological Data", "HYDROLOGIC SUMMARY", "RVA"},
    };
    const auto* it = std::find_if(std::begin(Products), std::end(Products),
                                  [&](const auto& p) { return p.file == product; });
    if (ReportContent::productMissing(state.code, product)) {
        return "<html><head><title>" + Text(state.name) + " " + it->title +
               "</title></head>\n<body>\n<p>The " + it->title + " product for " + Text(state.name) +
               " is not currently available.</p>\n" + nwsFooter(state);
    }
    Text page = nwsHeader(state, it->title, "NOUS41", it->awips, now);
    page += Text(it->heading) + "\nNATIONAL WEATHER SERVICE " + Text(state.officeCity) + "\n" +
            issueLine(now) + "\n\n";
    const std::uint64_t h = dayHash(now, Text(state.code) + Text(product));
    const std::string_view county = state.counties[h % state.counties.size()];
    if (product == "public") {
        page += "...NWS SKYWARN SPOTTER TRAINING IN " + Text(county) +
                " COUNTY...\n\nTHE NATIONAL WEATHER SERVICE IN " + Text(state.officeCity) +
                " WILL HOLD A SPOTTER TRAINING SESSION ON " + Days[h % 7] +
                " EVENING AT 7 PM.\nTHE SESSION IS FREE AND OPEN TO THE PUBLIC.\n\n"
                "FOR MORE INFORMATION SEE <a href=\"http://www.nws.noaa.gov/skywarn/\">"
                "SKYWARN</a>.\n\n$$\n";
    } else if (product == "allwarnings") {
        if (h % 3 == 0) {
            page += "THERE ARE NO WARNINGS OR ADVISORIES IN EFFECT FOR " + Text(state.code) +
                    " AT THIS TIME.\n\n$$\n";
        } else {
            page += zoneId(state, h % state.counties.size()) + "-" + issueStamp(now) + "-\n" +
                    Text(county) + "-\n\n...WIND ADVISORY IN EFFECT UNTIL 6 PM " +
                    "EST...\n\n"
                    "WINDS " +
                    Winds[h % 8] + " 25 TO 35 MPH WITH GUSTS TO " + num(45 + long(h % 10)) +
                    " MPH.\n\n$$\n";
        }
    } else if (product == "special") {
        page += Text(county) +
                "-\n\n...PATCHY DENSE FOG THROUGH MID MORNING...\n\n"
                "VISIBILITY WILL DROP BELOW ONE QUARTER MILE AT TIMES. SLOW DOWN AND USE "
                "LOW BEAMS.\n\n$$\n";
    } else {
        page += "RIVER/LOCATION        FLOOD   STAGE   24-HR\n"
                "                      STAGE   TODAY   CHANGE\n";
        for (std::size_t i = 0; i < state.counties.size(); ++i) {
            const std::uint64_t rh = mixHash(h, i);
            const int flood = 10 + int(rh % 20);
            const double stage = spread(rh, 1.0, double(flood) - 0.5);
            char line[96];
            std::snprintf(line, sizeof line, "%-22s%5d   %5.1f   %+5.1f\n",
                          (Text(state.counties[i]).substr(0, 20)).c_str(), flood, stage,
                          spread(rh >> 3, -1.5, 1.5));
            page += line;
        }
        page += "\n$$\n";
    }
    return page + "</pre>\n" + nwsFooter(state);
}

Text epaPage(const QDateTime& now)
{
    Text page = "<html><head><title>Green Book - Currently Designated Nonattainment Areas by "
                "State</title></head>\n<body>\n<h2>Air Pollution Levels by State</h2>\n"
                "<p>Counts of counties designated nonattainment&nbsp;for each pollutant, as of " +
                now.date().toString(QStringLiteral("MMMM d, yyyy")).toStdString() +
                ".</p>\n<pre>\nSTATE                  OZONE   CO  PM-10  SO2  NO2  LEAD\n"
                "--------------------   -----  ---  -----  ---  ---  ----\n";
    for (const ReportState& state : ReportStates()) {
        const std::uint64_t h = stableHash(state.name);
        Text line = padRight(Text(state.name), 23);
        line += padLeft(num(long(h % 9)), 5) + padLeft(num(long((h >> 4) % 3)), 5) +
                padLeft(num(long((h >> 8) % 4)), 7) + padLeft(num(long((h >> 12) % 2)), 5) +
                padLeft("0", 5) + padLeft(num(long((h >> 16) % 2)), 6);
        page += line + "\n";
    }
    page += "</pre>\n<p>Source: <a href=\"http://www.epa.gov/oar/oaqps/greenbk/\">EPA Green "
            "Book</a></p>\n</body></html>\n";
    return page;
}

Text cropPage(const ReportState& state, const QDateTime& now)
{
    const std::uint64_t h = dayHash(now, Text(state.code) + "crop");
    const int shortPct = int(h % 30);
    const int adequate = 40 + int((h >> 5) % 30);
    const int surplus = 100 - shortPct - adequate;
    const int temperature = seasonalHigh(now, h) - 12;
    Text page = "<html><head><title>" + Text(state.name) +
                " Crop Weather</title></head>\n<body>\n<h2>" + Text(state.name) +
                " Crop Progress and Condition</h2>\n<pre>\n" +
                QString::fromLatin1(state.name.data(), qsizetype(state.name.size()))
                    .toUpper()
                    .toStdString() +
                " CROP WEATHER\nFor the week ending " +
                now.date().toString(QStringLiteral("MMMM d, yyyy")).toStdString() + "\n\n";
    page += "Temperatures averaged " + num(temperature) + "&#176;F, " + num(long(h % 5)) +
            "&#176; above normal. Precipitation totaled " + num(long((h >> 3) % 3)) + "." +
            num(long((h >> 7) % 10)) + num(long((h >> 11) % 10)) + " inches.\n\n";
    page += "SOIL MOISTURE      THIS WEEK\n"
            "Topsoil  short     " +
            padLeft(num(shortPct), 3) + "%\n" + "         adequate  " + padLeft(num(adequate), 3) +
            "%\n" + "         surplus   " + padLeft(num(surplus), 3) + "%\n\n";
    page += "CROP PROGRESS      THIS WEEK  LAST WEEK  5-YR AVG\n";
    for (const char* crop :
         {"Corn planted", "Soybeans planted", "Winter wheat headed", "Hay, first cutting"}) {
        const std::uint64_t ch = mixHash(h, stableHash(crop));
        const int now_ = int(ch % 90) + 5;
        page += padRight(crop, 19) + padLeft(num(now_) + "%", 9) +
                padLeft(num(std::max(0, now_ - 12)) + "%", 11) +
                padLeft(num(std::min(100, now_ + int((ch >> 9) % 10))) + "%", 10) + "\n";
    }
    page += "</pre>\n<p>Prepared by the " + Text(state.name) +
            " Agricultural Statistics Service. More at http://www.nass.usda.gov/" +
            Text(state.code) +
            "/ and <a href=\"http://www.usda.gov/\">USDA</a>.</p>\n"
            "</body></html>\n";
    return page;
}

Text ranksFile(bool salaries)
{
    struct Row
    {
        std::string_view name;
        long value;
    };
    std::vector<Row> rows;
    for (const ReportState& state : ReportStates()) {
        const std::uint64_t h = stableHash(Text(state.name) + (salaries ? "pay" : "income"));
        rows.push_back({state.name, salaries ? 23000 + long(h % 14000) : 26000 + long(h % 18000)});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.value > b.value; });
    Text text = salaries ? "No. 18.  Average Annual Pay, 1997\r\n[In dollars]\r\n\r\n"
                         : "No. 20.  Median Household Income, 1997\r\n[In dollars]\r\n\r\n";
    text += "Rank  State                    Amount\r\n----  -----------------------  -------\r\n";
    for (std::size_t i = 0; i < rows.size(); ++i)
        text += padLeft(num(long(i + 1)), 4) + "  " + padRight(Text(rows[i].name), 23) + "  " +
                padLeft(withCommas(rows[i].value), 7) + "\r\n";
    text += "\r\nSource: U.S. Bureau of the Census, Statistical Abstract of the United States: "
            "1998, http://www.census.gov/statab/www/\r\n";
    return text;
}

Text censusTables(const std::string& key, const std::string& title)
{
    const std::uint64_t h = stableHash(key);
    const long persons = 50000 + long(h % 9000000);
    const long male = persons / 2 - long((h >> 8) % 5000);
    Text page = "<html><head><title>1990 US Census Lookup: " + title +
                "</title></head>\r\n<body>\r\n<h2>1990 Census of Population and Housing</h2>\r\n"
                "<h3>" +
                title + "</h3>\r\n<pre>\r\n";
    const auto table = [&](const char* name, const char* universe,
                           std::initializer_list<std::pair<const char*, long>> rows) {
        page += Text(name) + "\r\n|\r\nUniverse: " + universe + "\r\n";
        for (const auto& [label, value] : rows)
            page += "  " + padRight(label, 40) + padLeft(withCommas(value), 12) + "\r\n";
        page += "\r\n";
    };
    table("P1. PERSONS", "Persons", {{"Total", persons}});
    table("P5. SEX", "Persons", {{"Male", male}, {"Female", persons - male}});
    table("P6. URBAN AND RURAL", "Persons",
          {{"Urban", persons * 3 / 4}, {"Rural", persons - persons * 3 / 4}});
    table("P80A. MEDIAN HOUSEHOLD INCOME IN 1989", "Households",
          {{"Median household income", 21000 + long((h >> 12) % 20000)}});
    table("H5. OCCUPANCY STATUS", "Housing units",
          {{"Occupied", persons / 3}, {"Vacant", persons / 30}});
    table("H61A. MEDIAN VALUE", "Specified owner-occupied housing units",
          {{"Median value (dollars)", 45000 + long((h >> 20) % 150000)}});
    page += "</pre>\r\n<p>U.S. Bureau of the Census. Questions: http://venus.census.gov/cdrom/"
            "lookup/</p>\r\n</body></html>\r\n";
    return page;
}

Text censusLookup(const QByteArray& path)
{
    const qsizetype sel = path.indexOf("/SEL=");
    const qsizetype tail = sel < 0 ? -1 : path.indexOf("/T=", sel);
    const QByteArray choice = QByteArray::fromPercentEncoding(
        sel < 0 ? QByteArray() : path.mid(sel + 5, tail < 0 ? -1 : tail - sel - 5));
    const Text selection = choice.toStdString();
    if (path.contains("/LEV=ZIP/")) {
        const bool zip =
            selection.size() == 5 && std::all_of(selection.begin(), selection.end(),
                                                 [](char c) { return c >= '0' && c <= '9'; });
        if (zip)
            return censusTables("zip" + selection, "ZIP Code " + selection);
    } else if (const std::size_t comma = selection.find(','); comma != Text::npos) {
        if (const ReportState* state = FindReportStateByFips(selection.substr(0, comma)))
            return censusTables("state" + Text(state->fips),
                                Text(state->name) + " (FIPS.STATE=" + Text(state->fips) + ")");
    }
    return "<html><head><title>1990 US Census Lookup</title></head>\r\n<body>\r\n"
           "<p>No records match the selection &quot;" +
           selection + "&quot;.</p>\r\n</body></html>\r\n";
}

Text bulletinPage(const QDateTime& now)
{
    static constexpr struct
    {
        const char* name;
        double lat;
        double lon;
    } Regions[] = {
        {"NEAR EAST COAST OF HONSHU, JAPAN", 36.5, 141.5},
        {"SOUTHERN PERU", -15.8, -72.5},
        {"FIJI ISLANDS REGION", -18.0, -178.5},
        {"CENTRAL ALASKA", 63.2, -150.0},
        {"NORTHERN SUMATERA, INDONESIA", 2.5, 97.0},
        {"OFFSHORE N. CALIFORNIA", 40.4, -125.5},
        {"SOUTHERN GREECE", 37.0, 22.0},
        {"TONGA ISLANDS", -20.0, -174.5},
        {"KURIL ISLANDS", 45.5, 150.5},
        {"CENTRAL CHILE", -33.0, -71.5},
    };
    const QDateTime utc = now.toUTC();
    Text page = "<html><head><title>Near-Real Time Earthquake Bulletin</title></head>\n<body>\n"
                "<h1>NEIC: Near-Real Time Earthquake Bulletin</h1>\n"
                "<p><a href=\"/neis/\">Home</a> | <a href=\"/neis/qed/\">Lists</a></p>\n"
                "<p>Current Time: " +
                utc.toString(QStringLiteral("ddd MMM d HH:mm:ss 'UTC' yyyy")).toStdString() +
                "</p>\n<pre>\n  DATE-(UTC)-TIME    LAT     LON     DEP  MAG  Q  COMMENTS\n"
                "  yy/mm/dd hh:mm:ss  deg.    deg.    km\n";
    for (int i = 0; i < 12; ++i) {
        const std::uint64_t h = mixHash(dayHash(now, "quake"), std::uint64_t(i));
        const QDateTime when = utc.addSecs(-qint64(i) * 5400 - qint64(h % 3600));
        const auto& region = Regions[(h >> 27) % std::size(Regions)];
        const double lat = region.lat + spread(h, -1.5, 1.5);
        const double lon = region.lon + spread(h >> 7, -1.5, 1.5);
        char line[128];
        std::snprintf(line, sizeof line, " %s %5.2f%c %6.2f%c %5.1f %3.1f  %c  %s\n",
                      when.toString(QStringLiteral("yy/MM/dd HH:mm:ss")).toLatin1().constData(),
                      lat < 0 ? -lat : lat, lat < 0 ? 'S' : 'N', lon < 0 ? -lon : lon,
                      lon < 0 ? 'W' : 'E', spread(h >> 13, 5, 200), spread(h >> 19, 4.0, 6.9),
                      "ABCD"[(h >> 23) % 4], region.name);
        page += line;
    }
    page += "</pre>\n<p>Click on an earthquake below for more detail.</p>\n"
            "<p><img src=\"world.gif\" alt=\"map\"></p>\n"
            "<h2>Explanation of earthquake parameters</h2>\n"
            "<p>DEP is the depth in kilometres, MAG the magnitude, Q the quality of the location "
            "from A (good) to D (poor). Times are UTC; 0&#176; latitude is the equator.</p>\n"
            "<p>More at http://neic.usgs.gov/neis/general/handouts/</p>\n</body></html>\n";
    return page;
}

std::optional<Text> nwsPage(const QByteArray& path, const QDateTime& now)
{
    const QList<QByteArray> parts = path.split('/');
    if (parts.size() != 4 || parts[1] != "iwin")
        return std::nullopt;
    const ReportState* state = FindReportState(parts[2].toStdString());
    if (state == nullptr || !parts[3].endsWith(".html"))
        return std::nullopt;
    const std::string file = parts[3].chopped(5).toStdString();
    if (file == "zone")
        return zonePage(*state, now);
    if (file == "shortterm")
        return nowcastPage(*state, now);
    if (file == "public" || file == "allwarnings" || file == "special" || file == "hydro")
        return productPage(*state, file, now);
    return std::nullopt;
}

enum class Site { None, Nws, Epa, Usda, CensusRanks, CensusLookup, Usgs };

Site siteOf(const QByteArray& host)
{
    if (host == hostOf(ServiceAddresses::NwsBase))
        return Site::Nws;
    if (host == hostOf(ServiceAddresses::EpaBase))
        return Site::Epa;
    if (host == hostOf(ServiceAddresses::UsdaNassBase))
        return Site::Usda;
    if (host == hostOf(ServiceAddresses::CensusRanksBase))
        return Site::CensusRanks;
    if (host == hostOf(ServiceAddresses::CensusLookupBase))
        return Site::CensusLookup;
    if (host == hostOf(ServiceAddresses::UsgsNeicBase))
        return Site::Usgs;
    return Site::None;
}

std::optional<Text> sitePage(Site site, const QByteArray& path, const QDateTime& now)
{
    switch (site) {
    case Site::Nws:
        return nwsPage(path, now);
    case Site::Epa:
        if (path == "/oar/oaqps/greenbk/aycl.html")
            return epaPage(now);
        break;
    case Site::Usda:
        if (path.startsWith("/weather/cpcurr/") && path.endsWith("-crop-weather")) {
            const QByteArray code = path.mid(16, path.size() - 16 - 13);
            if (const ReportState* state = FindReportState(code.toStdString()))
                return cropPage(*state, now);
        }
        break;
    case Site::CensusRanks:
        if (path == "/statab/ranks/pg18.txt")
            return ranksFile(true);
        if (path == "/statab/ranks/pg20.txt")
            return ranksFile(false);
        break;
    case Site::CensusLookup:
        if (path.startsWith("/cdrom/lookup/"))
            return censusLookup(path);
        break;
    case Site::Usgs:
        if (path == "/neis/bulletin/bulletin.html")
            return bulletinPage(now);
        break;
    case Site::None:
        break;
    }
    return std::nullopt;
}

} // namespace

bool ReportContent::productMissing(std::string_view stateCode, std::string_view product)
{
    static constexpr std::array<std::string_view, 4> Dry{"AZ", "NV", "HI", "DC"};
    const bool dry = std::find(Dry.begin(), Dry.end(), stateCode) != Dry.end();
    return dry && (product == "special" || product == "hydro");
}

std::optional<QByteArray> ReportContent::page(const QByteArray& host, const QByteArray& path,
                                              const QDateTime& now)
{
    if (const std::optional<Text> text = sitePage(siteOf(host), path, now))
        return bytes(*text);
    return std::nullopt;
}

std::optional<EmulatorReply> ReportContent::route(const QByteArray& host, const QByteArray& path,
                                                  bool anySite, const QDateTime& now)
{
    const Site site = siteOf(host);
    const QByteArray type = path.endsWith(".txt") ? "text/plain" : "text/html";
    if (site != Site::None) {
        if (const std::optional<Text> text = sitePage(site, path, now))
            return EmulatorReply::make(200, type, bytes(*text));
        return EmulatorReply::make(
            404, "text/html",
            "<html><head><title>404 Not Found</title></head><body>\n<h1>Not Found</h1>\n"
            "<p>The requested URL was not found on this server.</p>\n</body></html>\n");
    }
    if (!anySite)
        return std::nullopt;
    for (const Site any :
         {Site::Nws, Site::Epa, Site::Usda, Site::CensusRanks, Site::CensusLookup, Site::Usgs}) {
        if (const std::optional<Text> text = sitePage(any, path, now))
            return EmulatorReply::make(200, type, bytes(*text));
    }
    return std::nullopt;
}

} // namespace cirrolux::servicesim
