#include "FactbookSite.h"

#include "GifPicture.h"
#include "StableHash.h"
#include "pagelayout/HtmlText.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cirrolux::servicesim {

namespace {

QByteArray latin1(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

QByteArray escaped(std::string_view text)
{
    return latin1(escapeHtml(text));
}

std::uint64_t seed(std::string_view code, std::string_view what)
{
    return mixHash(stableHash(code), stableHash(what));
}

QByteArray number(std::uint64_t hash, double low, double high)
{
    return QByteArray::number(static_cast<qlonglong>(spread(hash, low, high)));
}

// Colours flags are made of.
const std::vector<GifPicture::Color> FlagColors{
    {206, 17, 38},  {0, 56, 147}, {255, 255, 255}, {0, 122, 61},
    {252, 209, 22}, {0, 0, 0},    {255, 130, 0},   {117, 170, 219},
};

} // namespace

std::optional<FactbookSite::Country> FactbookSite::country(std::string_view code)
{
    const auto& list = countries();
    const auto found =
        std::find_if(list.begin(), list.end(), [code](const Country& c) { return c.code == code; });
    if (found == list.end())
        return std::nullopt;
    return *found;
}

QByteArray FactbookSite::indexPage()
{
    QByteArray page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\n"
        "<html>\n<head>\n<title>The World Factbook -- Country Listing</title>\n</head>\n"
        "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#000080\" vlink=\"#800080\">\n"
        "<center><h2>The World Factbook</h2>\n<h3>Country Listing</h3></center>\n<hr>\n"
        "<p><font size=\"2\">\n";
    for (const Country& c : countries())
        page += "<a href=\"" + latin1(c.code) + ".html\" target=\"_top\">" + escaped(c.name) +
                "</a><br>\n";
    page += "</font></p>\n<hr>\n<p><font size=\"1\">The World Factbook, Central Intelligence "
            "Agency, Washington, DC.</font></p>\n</body>\n</html>\n";
    return page;
}

QByteArray FactbookSite::countryPage(const Country& c)
{
    const QByteArray code = latin1(c.code);
    const QByteArray name = escaped(c.name);
    const std::uint64_t h = stableHash(c.code);
    QByteArray page = "<html>\n<head>\n<title>CIA -- The World Factbook -- " + name +
                      "</title>\n</head>\n<body bgcolor=\"#FFFFFF\">\n<center>\n"
                      "<img src=\"figures/" +
                      code + "-t.gif\" alt=\"Flag of " + name + "\"> <img src=\"figures/" + code +
                      "-150.gif\" width=\"150\">\n"
                      "<h1>" +
                      name + "</h1>\n</center>\n<hr>\n";
    const auto row = [&page](const char* label, const QByteArray& value) {
        page += "<p><b>" + QByteArray(label) + ":</b> " + value + "</p>\n";
    };
    page += "<h2>Geography</h2>\n";
    row("Area", "<i>total:</i> " + number(seed(c.code, "area"), 20, 9800000) + " sq km");
    row("Coastline", number(seed(c.code, "coast"), 0, 30000) + " km");
    row("Climate", QByteArray(spread(seed(c.code, "climate"), 0, 1) < 0.5
                                  ? "temperate; cold winters and warm summers"
                                  : "tropical; hot, humid; dry season and rainy season"));
    row("Elevation extremes",
        "<i>highest point:</i> " + number(seed(c.code, "high"), 10, 8850) + " m");
    page += "<h2>People</h2>\n";
    row("Population", number(seed(c.code, "people"), 50, 1300000000) + " (July 2005 est.)");
    row("Life expectancy at birth", number(seed(c.code, "life"), 40, 82) + " years");
    page += "<h2>Government</h2>\n";
    row("Country name", "<i>conventional short form:</i> " + name);
    row("Capital", name + " City");
    page += "<h2>Economy</h2>\n";
    row("GDP - per capita", "$" + number(h, 500, 60000) + " (2004 est.)");
    row("Currency code", code.toUpper() + "D");
    page += "<pre>\nPage last updated on 10 February 2005\n</pre>\n"
            "<img src=\"../graphics/bar.gif\"><IMG SRC=\"../graphics/logo.gif\">\n"
            "</body>\n</html>\n";
    return page;
}

QByteArray FactbookSite::flag(const Country& c)
{
    const std::uint64_t h = stableHash(c.code);
    GifPicture picture(72, 36 + int(h % 5), FlagColors);
    const auto pick = [&](int i) { return std::uint8_t(mixHash(h, std::uint64_t(i)) % 8); };
    const std::uint8_t a = pick(1);
    std::uint8_t b = pick(2);
    if (b == a)
        b = std::uint8_t((b + 3) % 8);
    std::uint8_t third = pick(3);
    if (third == a || third == b)
        third = 2;
    if (h % 2 == 0) { // three stripes across
        const int band = picture.height / 3;
        picture.fill(0, 0, picture.width, band, a);
        picture.fill(0, band, picture.width, 2 * band, third);
        picture.fill(0, 2 * band, picture.width, picture.height, b);
    } else { // three bands down
        picture.fill(0, 0, 24, picture.height, a);
        picture.fill(24, 0, 48, picture.height, third);
        picture.fill(48, 0, 72, picture.height, b);
    }
    // A disc in the middle for every third country.
    if (h % 3 == 0) {
        const int cx = picture.width / 2, cy = picture.height / 2, r = picture.height / 5;
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                    picture.set(x, y, 4);
    }
    return picture.encode();
}

QByteArray FactbookSite::map(const Country& c)
{
    const std::uint64_t h = stableHash(c.code);
    const int width = 150;
    const int height = 110 + int(h % 60);
    // sea, land, border, capital, grid
    GifPicture picture(
        width, height,
        {{153, 204, 255}, {255, 236, 179}, {128, 96, 64}, {220, 0, 0}, {120, 170, 230}});
    for (int y = 0; y < height; y += 20)
        picture.fill(0, y, width, y + 1, 4);
    for (int x = 0; x < width; x += 20)
        picture.fill(x, 0, x + 1, height, 4);
    // A blob of land whose outline wobbles by the code.
    const double cx = width / 2.0, cy = height / 2.0;
    const double rx = width * 0.36, ry = height * 0.36;
    const double p1 = spread(seed(c.code, "p1"), 0, 6.283),
                 p2 = spread(seed(c.code, "p2"), 0, 6.283);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            const double angle = std::atan2(dy, dx);
            const double edge =
                1.0 + 0.18 * std::sin(3 * angle + p1) + 0.1 * std::sin(5 * angle + p2);
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= edge)
                picture.set(x, y, d > edge - 0.04 ? 2 : 1);
        }
    }
    const int capitalX = int(cx + spread(seed(c.code, "cx"), -0.3, 0.3) * rx);
    const int capitalY = int(cy + spread(seed(c.code, "cy"), -0.3, 0.3) * ry);
    picture.fill(capitalX - 2, capitalY - 2, capitalX + 3, capitalY + 3, 3);
    return picture.encode();
}

FactbookSite::Document FactbookSite::document(const QByteArray& path)
{
    if (path == "country.html")
        return {"text/html", indexPage()};
    if (path.startsWith("figures/")) {
        const QByteArray file = path.mid(8);
        const qsizetype dash = file.indexOf('-');
        if (dash < 0)
            return {};
        const std::optional<Country> c = country(file.left(dash).toStdString());
        if (!c)
            return {};
        if (file.mid(dash) == "-t.gif")
            return {"image/gif", flag(*c)};
        if (file.mid(dash) == "-150.gif")
            return {"image/gif", map(*c)};
        return {};
    }
    if (path.endsWith(".html")) {
        if (const std::optional<Country> c = country(path.chopped(5).toStdString()))
            return {"text/html", countryPage(*c)};
    }
    return {};
}

QByteArray FireReportPage(int year, int dayOfYear)
{
    const QDate date = QDate(year, 1, 1).addDays(dayOfYear - 1);
    const std::uint64_t day = mixHash(std::uint64_t(year), std::uint64_t(dayOfYear));
    const int level = 1 + int(spread(mixHash(day, 1), 0, 5));
    QByteArray page =
        "<html>\n<head>\n<title>National Interagency Coordination Center - Incident Management "
        "Situation Report</title>\n</head>\n<body bgcolor=\"#FFFFFF\">\n"
        "<img src=\"/images/nifc_logo.gif\">\n<center><h2>Incident Management Situation "
        "Report</h2>\n<h3>" +
        date.toString(QStringLiteral("dddd, MMMM d, yyyy")).toLatin1() +
        " - 0530 MDT</h3>\n<h3>National Preparedness Level " + QByteArray::number(level) +
        "</h3></center>\n<hr>\n<pre>\n";
    page += "Geographic Area      New fires  New acres  Uncontained large fires\n";
    static const char* const areas[] = {
        "Alaska",           "Northwest",    "Northern California", "Southern California",
        "Northern Rockies", "Great Basin",  "Southwest",           "Rocky Mountain",
        "Eastern Area",     "Southern Area"};
    int fires = 0;
    qlonglong acres = 0;
    for (int i = 0; i < 10; ++i) {
        const std::uint64_t h = mixHash(day, std::uint64_t(100 + i));
        const int newFires = int(spread(h, 0, 90));
        const qlonglong newAcres = qlonglong(spread(mixHash(h, 2), 0, 25000));
        const int large = int(spread(mixHash(h, 3), 0, 6));
        fires += newFires;
        acres += newAcres;
        char line[96];
        std::snprintf(line, sizeof line, "%-20s %9d %10lld %24d\n", areas[i], newFires, newAcres,
                      large);
        page += line;
    }
    char total[96];
    std::snprintf(total, sizeof total, "%-20s %9d %10lld\n", "Total", fires, acres);
    page += total;
    page += "</pre>\n<h3>Large fires</h3>\n<table border=\"1\">\n"
            "<tr><th>Incident</th><th>Unit</th><th>Acres</th><th>Contained</th></tr>\n";
    static const char* const names[] = {"Cedar Creek", "Bear Butte", "Sawtooth", "Dry Lake",
                                        "Pine Ridge",  "Coyote",     "Red Rock", "Willow"};
    for (int i = 0; i < 8; ++i) {
        const std::uint64_t h = mixHash(day, std::uint64_t(200 + i));
        page += "<tr><td>" + QByteArray(names[i]) + "</td><td>" + QByteArray(areas[i % 10]) +
                "</td><td>" + QByteArray::number(qlonglong(spread(h, 100, 120000))) + "</td><td>" +
                QByteArray::number(int(spread(mixHash(h, 4), 0, 100))) + " %</td></tr>\n";
    }
    page += "</table>\n<p>U.S. Fire/Acreage Incident Report of the National Interagency Fire "
            "Center, Boise, Idaho.</p>\n</body>\n</html>\n";
    return page;
}

} // namespace cirrolux::servicesim

#include "net/ServiceAddresses.h"

#include <QUrl>

namespace cirrolux::servicesim::WebWindowSites {

namespace {

QByteArray hostOf(std::string_view address)
{
    return QUrl(QString::fromLatin1(address.data(), qsizetype(address.size())))
        .host()
        .toLatin1()
        .toLower();
}

} // namespace

QByteArray factbookHost()
{
    return hostOf(ServiceAddresses::FactbookSite);
}

QByteArray fireReportHost()
{
    return hostOf(ServiceAddresses::FireReportSite);
}

bool serves(const QByteArray& host)
{
    return host == factbookHost() || host == fireReportHost();
}

std::optional<EmulatorReply> reply(const QByteArray& host, const QByteArray& path, bool anySite,
                                   const QDateTime& now)
{
    const QByteArray folder(ServiceAddresses::FactbookPath.data(),
                            qsizetype(ServiceAddresses::FactbookPath.size()));
    if ((host == factbookHost() || anySite) && path.startsWith(folder)) {
        FactbookSite::Document document = FactbookSite::document(path.mid(folder.size()));
        if (document.contentType.isEmpty())
            return std::nullopt;
        return EmulatorReply::make(200, document.contentType, std::move(document.body));
    }
    const QByteArray report(ServiceAddresses::FireReportPath.data(),
                            qsizetype(ServiceAddresses::FireReportPath.size()));
    if ((host == fireReportHost() || anySite) && path == report) {
        const QDate day = now.toUTC().date();
        return EmulatorReply::make(200, "text/html", FireReportPage(day.year(), day.dayOfYear()));
    }
    return std::nullopt;
}

} // namespace cirrolux::servicesim::WebWindowSites
