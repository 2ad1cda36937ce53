#include "LocalZone.h"

#include "UsStates.h"

#include <QFile>
#include <QLocale>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace cirrolux::gateway {

namespace {

std::string comparable(QString name)
{
    name = name.toLower();
    std::string out;
    for (const QChar c : name) {
        if (c.isLetter() && c.unicode() < 0x80)
            out += static_cast<char>(c.unicode());
    }
    return out;
}

// The catalogue's country names to Qt's territories, by their letters alone.
const std::map<std::string, QLocale::Territory>& territories()
{
    static const std::map<std::string, QLocale::Territory> byName = [] {
        std::map<std::string, QLocale::Territory> names;
        for (int t = 1; t <= static_cast<int>(QLocale::LastTerritory); ++t) {
            const auto territory = static_cast<QLocale::Territory>(t);
            names.emplace(comparable(QLocale::territoryToString(territory)), territory);
        }
        // The catalogue's and Qt's names differ for a few.
        static constexpr std::array<std::pair<const char*, QLocale::Territory>, 12> aliases{{
            {"russia", QLocale::Russia},
            {"southkorea", QLocale::SouthKorea},
            {"northkorea", QLocale::NorthKorea},
            {"czechrepublic", QLocale::Czechia},
            {"ivorycoast", QLocale::IvoryCoast},
            {"burma", QLocale::Myanmar},
            {"england", QLocale::UnitedKingdom},
            {"scotland", QLocale::UnitedKingdom},
            {"wales", QLocale::UnitedKingdom},
            {"holland", QLocale::Netherlands},
            {"usa", QLocale::UnitedStates},
            {"unitedstatesofamerica", QLocale::UnitedStates},
        }};
        for (const auto& [name, territory] : aliases)
            names.emplace(name, territory);
        for (const char* province :
             {"alberta", "britishcolumbia", "manitoba", "newbrunswick", "newfoundland",
              "novascotia", "ontario", "princeedwardisland", "quebec", "saskatchewan", "yukon",
              "northwestterritories", "nunavut"})
            names.emplace(province, QLocale::Canada);
        return names;
    }();
    return byName;
}

// One row of the time zone database's zone.tab: a zone of a country and the place it is named
// after.
struct ZoneRow
{
    QString countryCode;
    QByteArray id;
    double latitudeDeg;
    double longitudeDeg;
};

// "+4024" / "-00341" / "+404251" in degrees.
double tabAngle(QStringView text, int degreeDigits)
{
    if (text.size() < 1 + degreeDigits + 2)
        return 0;
    const double sign = text.front() == u'-' ? -1.0 : 1.0;
    const double deg = text.mid(1, degreeDigits).toDouble();
    const double min = text.mid(1 + degreeDigits, 2).toDouble();
    const double sec =
        text.size() >= 1 + degreeDigits + 4 ? text.mid(3 + degreeDigits, 2).toDouble() : 0;
    return sign * (deg + min / 60.0 + sec / 3600.0);
}

const std::vector<ZoneRow>& zoneTable()
{
    static const std::vector<ZoneRow> rows = [] {
        std::vector<ZoneRow> table;
        QFile file(QStringLiteral("/usr/share/zoneinfo/zone.tab"));
        if (!file.open(QIODevice::ReadOnly))
            return table;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u'\t');
            if (fields.size() < 3 || fields[1].size() < 11)
                continue;
            // The longitude starts at the second sign.
            const QString& coords = fields[1];
            qsizetype split = 1;
            while (split < coords.size() && coords[split] != u'+' && coords[split] != u'-')
                ++split;
            table.push_back({fields[0], fields[2].toLatin1(),
                             tabAngle(QStringView(coords).left(split), 2),
                             tabAngle(QStringView(coords).mid(split), 3)});
        }
        return table;
    }();
    return rows;
}

double squaredDistance(double lat1, double lon1, double lat2, double lon2)
{
    const double dLat = lat1 - lat2;
    double dLon = std::abs(lon1 - lon2);
    if (dLon > 180)
        dLon = 360 - dLon;
    dLon *= std::cos((lat1 + lat2) * 0.5 * 3.14159265358979 / 180.0);
    return dLat * dLat + dLon * dLon;
}

} // namespace

QTimeZone LocalZone::byLongitude(double longitudeDeg)
{
    const int hours = static_cast<int>(std::lround(std::clamp(longitudeDeg, -180.0, 180.0) / 15.0));
    return QTimeZone(hours * 3600);
}

QTimeZone LocalZone::forUsState(std::string_view stateCode, double longitudeDeg)
{
    if (const auto state = FindUsState(stateCode)) {
        const std::string_view id = state->zoneAt(longitudeDeg);
        QTimeZone zone(QByteArray(id.data(), static_cast<qsizetype>(id.size())));
        if (zone.isValid())
            return zone;
    }
    return byLongitude(longitudeDeg);
}

QTimeZone LocalZone::forCountry(std::string_view country, double latitudeDeg, double longitudeDeg)
{
    const auto found = territories().find(
        comparable(QString::fromUtf8(country.data(), static_cast<qsizetype>(country.size()))));
    if (found == territories().end())
        return byLongitude(longitudeDeg);
    const QString code = QLocale::territoryToCode(found->second);
    const ZoneRow* nearest = nullptr;
    double best = 0;
    for (const ZoneRow& row : zoneTable()) {
        if (row.countryCode != code)
            continue;
        const double d =
            squaredDistance(latitudeDeg, longitudeDeg, row.latitudeDeg, row.longitudeDeg);
        if (nearest == nullptr || d < best) {
            nearest = &row;
            best = d;
        }
    }
    if (nearest != nullptr) {
        QTimeZone zone(nearest->id);
        if (zone.isValid())
            return zone;
    }
    // Without the zone table, a country Qt knows one zone for still gets it.
    const QList<QByteArray> ids = QTimeZone::availableTimeZoneIds(found->second);
    if (ids.size() == 1 && QTimeZone(ids.front()).isValid())
        return QTimeZone(ids.front());
    return byLongitude(longitudeDeg);
}

QString LocalZone::abbreviation(const QTimeZone& zone, const QDateTime& at)
{
    const QString letters = zone.abbreviation(at);
    return letters.isEmpty() ? zone.displayName(at, QTimeZone::OffsetName) : letters;
}

} // namespace cirrolux::gateway
