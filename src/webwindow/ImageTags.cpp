#include "webwindow/ImageTags.h"

#include "platform/CirroluxError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace cirrolux {

namespace {

constexpr std::string_view ImageTag = "<img src";
constexpr std::string_view Remark = "<REM";

QString localName(const std::string& name)
{
    return QString::fromLocal8Bit(name.data(), qsizetype(name.size()));
}

} // namespace

std::string StripImageTags(std::string_view page)
{
    std::string out;
    out.reserve(page.size());
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = page.find(ImageTag, from);
        if (at == std::string_view::npos)
            break;
        out.append(page.substr(from, at - from));
        out.append(Remark);
        from = at + ImageTag.size();
    }
    out.append(page.substr(from));
    return out;
}

bool parse_imgsrcs(const std::string& fileName)
{
    QFile page(localName(fileName));
    if (!page.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = page.readAll();
    page.close();

    const QFileInfo info(page.fileName());
    const QString temporaryName = info.dir().filePath(QStringLiteral("t") + info.fileName());
    QFile temporary(temporaryName);
    const std::string stripped =
        StripImageTags(std::string_view(text.constData(), std::size_t(text.size())));
    if (!temporary.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        temporary.write(stripped.data(), qint64(stripped.size())) != qint64(stripped.size()) ||
        !temporary.flush()) {
        temporary.close();
        temporary.remove();
        throw CirroluxError("Cannot write to file: t" + fileName);
    }
    temporary.close();
    if (!QFile::remove(page.fileName()) || !QFile::rename(temporaryName, page.fileName()))
        throw CirroluxError("Cannot write to file: " + fileName);
    return true;
}

} // namespace cirrolux
