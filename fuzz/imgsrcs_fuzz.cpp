// Feeds arbitrary bytes to the web page window's image tag removal, in memory and through the
// page file rewrite. No image tag of the page may survive, everything else is kept byte for
// byte, and the file ends up holding exactly the stripped page.
#include "webwindow/ImageTags.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Occurrences of `pattern` that do not overlap, left to right.
std::size_t count(std::string_view text, std::string_view pattern)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + pattern.size()))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    const std::string_view page(reinterpret_cast<const char*>(data), size);

    const std::string stripped = cirrolux::StripImageTags(page);
    require(stripped.find("<img src") == std::string::npos);
    const std::size_t tags = count(page, "<img src");
    require(stripped.size() == page.size() - 4 * tags);
    require(count(stripped, "<REM") >= tags);
    // Putting the tags back gives the page.
    std::string restored;
    std::size_t from = 0;
    for (std::size_t left = tags; left > 0;) {
        const std::size_t at = stripped.find("<REM", from);
        require(at != std::string::npos);
        restored.append(stripped, from, at - from);
        // A "<REM" of the page itself stays; one made from a tag had "<img src" there.
        const bool made = page.compare(restored.size(), 8, "<img src") == 0;
        restored.append(made ? "<img src" : "<REM");
        left -= made;
        from = at + 4;
    }
    restored.append(stripped, from);
    require(restored == page);

    const std::string fileName = folder.filePath(QStringLiteral("temp.html")).toStdString();
    {
        QFile file(QString::fromStdString(fileName));
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        require(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    require(cirrolux::parse_imgsrcs(fileName));
    QFile file(QString::fromStdString(fileName));
    require(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    require(std::string_view(written.constData(), std::size_t(written.size())) == stripped);
    require(!QFile::exists(folder.filePath(QStringLiteral("ttemp.html"))));
    return 0;
}
