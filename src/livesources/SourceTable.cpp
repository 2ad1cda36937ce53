#include "livesources/SourceTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QString>

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace cirrolux {

namespace {

constexpr int FieldCount = 7;
constexpr int MaxAgeLimit = 366 * 24 * 3600;
constexpr std::array<std::string_view, 4> FillIns = {"{YYYY}", "{YYYYMM}", "{YYYYMMDD}", "{HHMM}"};

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

bool isHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

bool hasControlOrSpace(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

class LineReader
{
public:
    LineReader(std::string_view origin, int line) : m_origin(origin), m_line(line) {}

    [[noreturn]] void fail(const std::string& text) const
    {
        throw SourceTableError(std::string(m_origin) + " line " + std::to_string(m_line) + ": " +
                               text);
    }

    std::string request(std::string_view field) const
    {
        if (field.find("://") != std::string_view::npos)
            fail("the request \"" + std::string(field) +
                 "\" must be host + path without \"http://\"");
        const std::size_t slash = field.find('/');
        if (slash == 0 || slash == std::string_view::npos)
            fail("the request \"" + std::string(field) + "\" must be a host followed by a path");
        const std::string_view host = field.substr(0, slash);
        if (!std::all_of(host.begin(), host.end(), isHostCharacter))
            fail("the request's host \"" + std::string(host) +
                 "\" may hold only lower-case letters, digits, \".\" and \"-\"");
        if (hasControlOrSpace(field))
            fail("the request \"" + std::string(field) + "\" holds a space or control character");
        return std::string(field);
    }

    std::vector<std::string> live(std::string_view field) const
    {
        std::vector<std::string> addresses;
        if (field == "-")
            return addresses;
        for (std::string_view address : split(field, ' ')) {
            if (address.empty())
                fail("the live addresses are separated by single spaces");
            if (!address.starts_with("https://") && !address.starts_with("http://"))
                fail("the live address \"" + std::string(address) +
                     "\" must begin with http:// or https://");
            if (hasControlOrSpace(address))
                fail("the live address \"" + std::string(address) + "\" holds a control character");
            checkFillIns(address);
            addresses.emplace_back(address);
        }
        return addresses;
    }

    void checkFillIns(std::string_view address) const
    {
        for (std::size_t open = address.find('{'); open != std::string_view::npos;
             open = address.find('{', open + 1)) {
            const std::size_t close = address.find('}', open);
            const std::string_view fillIn =
                address.substr(open, close == std::string_view::npos ? close : close - open + 1);
            if (std::find(FillIns.begin(), FillIns.end(), fillIn) == FillIns.end())
                fail("the live address \"" + std::string(address) + "\" has the unknown fill-in \"" +
                     std::string(fillIn) + "\" (known: {YYYY}, {YYYYMM}, {YYYYMMDD}, {HHMM})");
        }
        if (address.find('}') != std::string_view::npos &&
            address.find('{') == std::string_view::npos)
            fail("the live address \"" + std::string(address) + "\" has a \"}\" without \"{\"");
    }

    std::pair<SourceConversion, std::string> conversion(std::string_view field) const
    {
        using C = SourceConversion;
        static constexpr std::array<std::pair<std::string_view, C>, 6> Names = {{
            {"none", C::None},
            {"pass-through", C::PassThrough},
            {"to-gif", C::ToGif},
            {"to-jpeg", C::ToJpeg},
            {"last-frame", C::LastFrame},
            {"animate-gif", C::AnimateGif},
        }};
        for (const auto& [name, value] : Names)
            if (field == name)
                return {value, {}};
        if (field.starts_with("drawn:")) {
            const std::string_view kind = field.substr(6);
            const bool valid = !kind.empty() && std::all_of(kind.begin(), kind.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
            });
            if (!valid)
                fail("the drawing \"" + std::string(field) +
                     "\" must name its kind in lower-case letters, digits and \"-\"");
            return {C::Drawn, std::string(kind)};
        }
        fail("unknown conversion \"" + std::string(field) +
             "\" (known: pass-through, to-gif, to-jpeg, last-frame, animate-gif, drawn:<kind>, "
             "none)");
    }

    int maxAge(std::string_view field) const
    {
        int seconds = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), seconds);
        if (field == "-")
            return 0;
        if (error != std::errc() || end != field.data() + field.size() || seconds < 1 ||
            seconds > MaxAgeLimit)
            fail("the cache lifetime \"" + std::string(field) + "\" must be a number of seconds "
                 "from 1 to " + std::to_string(MaxAgeLimit));
        return seconds;
    }

    Confidence confidence(std::string_view field) const
    {
        if (field == "high")
            return Confidence::High;
        if (field == "medium")
            return Confidence::Medium;
        if (field == "low")
            return Confidence::Low;
        if (field == "none")
            return Confidence::None;
        fail("unknown confidence \"" + std::string(field) + "\" (known: high, medium, low, none)");
    }

private:
    std::string_view m_origin;
    int m_line;
};

SourceRow readRow(const std::vector<std::string_view>& fields, const LineReader& reader, int line)
{
    SourceRow row;
    row.line = line;
    row.request = reader.request(fields[0]);
    row.live = reader.live(fields[1]);
    std::string_view conversion = fields[2];
    constexpr std::string_view captioned = "+caption";
    if (conversion.ends_with(captioned)) {
        conversion.remove_suffix(captioned.size());
        row.caption = true;
    }
    std::tie(row.conversion, row.drawnKind) = reader.conversion(conversion);
    if (row.caption && row.conversion != SourceConversion::PassThrough &&
        row.conversion != SourceConversion::ToGif && row.conversion != SourceConversion::ToJpeg &&
        row.conversion != SourceConversion::LastFrame)
        reader.fail("\"+caption\" goes with a still picture's conversion (pass-through, "
                    "to-gif, to-jpeg, last-frame)");
    row.maxAgeSeconds = reader.maxAge(fields[3]);
    row.credit = fields[4] == "-" ? std::string() : std::string(fields[4]);
    row.confidence = reader.confidence(fields[5]);
    row.reason = fields[6] == "-" ? std::string() : std::string(fields[6]);

    if (row.confidence == Confidence::None) {
        if (!row.live.empty() || row.conversion != SourceConversion::None)
            reader.fail("a row with confidence none has no live address (\"-\") and the "
                        "conversion none");
        if (row.reason.empty())
            reader.fail("a row with confidence none must give the reason");
        return row;
    }
    if (row.live.empty())
        reader.fail("a row with confidence " +
                    std::string(SourceTable::name(row.confidence)) + " needs a live address");
    if (row.conversion == SourceConversion::None)
        reader.fail("a row with a live address needs a conversion other than none");
    if (row.maxAgeSeconds == 0)
        reader.fail("a row with a live address needs a cache lifetime in seconds");
    if (row.credit.empty())
        reader.fail("a row with a live address needs a credit line");
    return row;
}

} // namespace

SourceTable SourceTable::parse(std::string_view text, std::string_view origin)
{
    SourceTable table;
    bool headerSeen = false;
    int line = 0;
    for (std::string_view content : split(text, '\n')) {
        ++line;
        if (content.ends_with('\r'))
            content.remove_suffix(1);
        if (content.empty() || content.starts_with('#'))
            continue;
        const LineReader reader(origin, line);
        if (!headerSeen) {
            if (content != HeaderLine)
                reader.fail("the first line that is not a comment must be the column names "
                            "\"request, live, conversion, max_age, credit, confidence, reason\" "
                            "separated by tabs");
            headerSeen = true;
            continue;
        }
        const std::vector<std::string_view> fields = split(content, '\t');
        if (fields.size() != FieldCount)
            reader.fail("expected " + std::to_string(FieldCount) +
                        " tab-separated fields, found " + std::to_string(fields.size()));
        if (std::any_of(fields.begin(), fields.end(),
                        [](std::string_view field) { return field.empty(); }))
            reader.fail("an empty field; write \"-\" for nothing");
        SourceRow row = readRow(fields, reader, line);
        const auto [at, added] = table.m_index.emplace(row.request, table.m_rows.size());
        if (!added)
            reader.fail("the request \"" + row.request + "\" is already on line " +
                        std::to_string(table.m_rows[at->second].line));
        table.m_rows.push_back(std::move(row));
    }
    if (!headerSeen)
        throw SourceTableError(std::string(origin) + ": the table is empty");
    return table;
}

SourceTable SourceTable::load(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw SourceTableError("Cannot read the image source table " + path + ": " +
                               file.errorString().toStdString());
    constexpr qint64 MaxBytes = 4 * 1024 * 1024;
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes)
        throw SourceTableError("The image source table " + path + " is larger than 4 MB");
    return parse(std::string_view(bytes.constData(), std::size_t(bytes.size())), path);
}

std::string SourceTable::installedPath()
{
    // The folder beside the running program's bin/ first, so a package installed under another
    // prefix than the build's finds its own table; then the build's prefix and the package's.
    const QString name = QString::fromUtf8(FileName.data(), qsizetype(FileName.size()));
    QStringList candidates;
    if (QCoreApplication::instance() != nullptr)
        candidates << QCoreApplication::applicationDirPath() +
                          QStringLiteral("/../share/cirrolux/gateway/") + name;
    candidates << QStringLiteral(CIRROLUX_GATEWAY_DATA_DIR "/") + name
               << QStringLiteral("/usr/share/cirrolux/gateway/") + name;
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).absoluteFilePath().toStdString();
    return candidates[candidates.size() - 2].toStdString();
}

std::string SourceTable::requestKey(std::string_view url)
{
    for (std::string_view scheme : {"http://", "https://"}) {
        if (url.size() >= scheme.size() &&
            std::equal(scheme.begin(), scheme.end(), url.begin(), [](char a, char b) {
                return a == (b >= 'A' && b <= 'Z' ? char(b - 'A' + 'a') : b);
            })) {
            url.remove_prefix(scheme.size());
            break;
        }
    }
    std::string key(url);
    const std::size_t hostEnd = std::min(key.find('/'), key.size());
    std::transform(key.begin(), key.begin() + std::ptrdiff_t(hostEnd), key.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    });
    return key;
}

const SourceRow* SourceTable::find(std::string_view hostAndPath) const
{
    const auto found = m_index.find(std::string(hostAndPath));
    return found == m_index.end() ? nullptr : &m_rows[found->second];
}

SourceTable::Counts SourceTable::counts() const
{
    Counts counts;
    for (const SourceRow& row : m_rows) {
        switch (row.confidence) {
        case Confidence::High:
            ++counts.high;
            break;
        case Confidence::Medium:
            ++counts.medium;
            break;
        case Confidence::Low:
            ++counts.low;
            break;
        case Confidence::None:
            ++counts.none;
            break;
        }
    }
    return counts;
}

std::string_view SourceTable::name(Confidence confidence)
{
    switch (confidence) {
    case Confidence::High:
        return "high";
    case Confidence::Medium:
        return "medium";
    case Confidence::Low:
        return "low";
    case Confidence::None:
        break;
    }
    return "none";
}

std::string_view SourceTable::name(SourceConversion conversion)
{
    using C = SourceConversion;
    switch (conversion) {
    case C::PassThrough:
        return "pass-through";
    case C::ToGif:
        return "to-gif";
    case C::ToJpeg:
        return "to-jpeg";
    case C::LastFrame:
        return "last-frame";
    case C::AnimateGif:
        return "animate-gif";
    case C::Drawn:
        return "drawn";
    case C::None:
        break;
    }
    return "none";
}

} // namespace cirrolux
