#include "settings/IniLines.h"

#include <map>
#include <utility>

namespace cirrolux {

namespace {

// Whether the line reads whole by itself as QSettings reads it: a backslash escapes the next
// character (a backslash at the end escapes the line end, joining the next line), a '"' opens or
// closes a quote, and a ';' outside quotes starts a comment that runs to the line's end.
bool readsWhole(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            if (++i == line.size())
                return false;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            return true;
        }
    }
    return !quoted;
}

// The name a line that reads whole gives a value to: up to its first '=' outside quotes, without
// the spaces around it. Empty for a line without one.
QByteArray nameOf(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\')
            ++i;
        else if (c == '"')
            quoted = !quoted;
        else if (c == ';' && !quoted)
            break;
        else if (c == '=' && !quoted)
            return line.first(i).trimmed().toByteArray();
    }
    return {};
}

// QSettings skips only spaces and TABs before a section's '['.
QByteArrayView withoutIndent(QByteArrayView line)
{
    qsizetype start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    return line.sliced(start);
}

// A section header as QSettings writes one: "[name]" with no quote or ';' in the name, followed
// at most by spaces, TABs and a comment. QSettings also reads "[name" and "[name]junk" as
// headers, which is how a stray '[' moves the values after it out of their section.
bool isPlainHeader(QByteArrayView line)
{
    if (!readsWhole(line))
        return false;
    qsizetype close = 1;
    while (close < line.size() && line[close] != ']') {
        if (line[close] == '"' || line[close] == ';')
            return false;
        ++close;
    }
    if (close == line.size())
        return false;
    qsizetype rest = close + 1;
    while (rest < line.size() && (line[rest] == ' ' || line[rest] == '\t'))
        ++rest;
    return rest == line.size() || line[rest] == ';';
}

// The name between a plain header's brackets, as QSettings trims it.
QByteArray sectionOf(QByteArrayView header)
{
    const qsizetype close = header.indexOf(']');
    return header.sliced(1, close - 1).trimmed().toByteArray();
}

} // namespace

IniLines IniLines::of(QByteArrayView file)
{
    IniLines result;
    // QSettings skips a UTF-8 byte order mark at the start.
    if (file.startsWith("\xEF\xBB\xBF"))
        file = file.sliced(3);

    // Each name's line so far, by section.
    std::map<std::pair<QByteArray, QByteArray>, QByteArrayView> named;
    QByteArray section;
    qsizetype start = 0;
    while (start < file.size()) {
        // QSettings ends a line at a CR or an LF alike.
        qsizetype end = start;
        while (end < file.size() && file[end] != '\n' && file[end] != '\r')
            ++end;
        const QByteArrayView line = file.sliced(start, end - start);
        start = end + 1;

        if (const QByteArrayView header = withoutIndent(line); header.startsWith('[')) {
            if (!isPlainHeader(header)) {
                result.differs = true;
                // A stray quote or backslash in a header is dropped ("[Loc"ations]" is
                // "[Locations]"); any other header that is not plain is left out, so the lines
                // after it stay in the section they were in.
                QByteArray mended = header.toByteArray();
                mended.removeIf([](char c) { return c == '"' || c == '\\'; });
                if (isPlainHeader(mended)) {
                    section = sectionOf(mended);
                    result.wellFormed += mended;
                    result.wellFormed += '\n';
                }
                continue;
            }
            section = sectionOf(header);
        } else if (!readsWhole(line)) {
            result.differs = true;
            result.brokenValueLine = result.brokenValueLine || line.contains('=');
            continue;
        } else if (QByteArray name = nameOf(line); !name.isEmpty()) {
            const auto [earlier, first] = named.try_emplace({section, std::move(name)}, line);
            result.repeatedName = result.repeatedName || (!first && earlier->second != line);
        }
        result.wellFormed += line;
        result.wellFormed += '\n';
    }
    return result;
}

} // namespace cirrolux
