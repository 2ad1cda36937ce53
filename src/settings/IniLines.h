#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace cirrolux {

// An INI file read line by line, so that one damaged line cannot take others with it.
//
// QSettings reads a quote that is never closed, or a backslash at a line's end, as going on into
// the next lines: one stray '"' swallows every value after it, silently. It also takes "[name"
// and "[name]junk" for section headers, moving every value after them into another section.
// Here each line stands on its own: the lines that read whole by themselves (balanced quotes,
// no line-end escape) are kept under the last plain section header ("[name]", or one that is
// plain without its quotes and backslashes), so that QSettings parsing the result shows every
// value the file still holds on a readable line, in the section it was written in.
struct IniLines
{
    // Every plain section header and every other line that reads whole on its own, one a line.
    QByteArray wellFormed;
    // A line with a '=' that does not read whole on its own (its value runs on into the next
    // lines): the file is damaged even where no whole line was lost.
    bool brokenValueLine = false;
    // Two lines that read whole give one name in one section different values: QSettings keeps
    // the last, and the other is lost.
    bool repeatedName = false;
    // Whether `wellFormed` leaves out anything but blank lines of the file; when not, it and
    // the file read the same.
    bool differs = false;

    static IniLines of(QByteArrayView file);
};

} // namespace cirrolux
