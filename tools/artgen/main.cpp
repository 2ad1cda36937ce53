// cirrolux-artgen: draws the program's built-in pictures and writes them as C++ source (PNG
// bytes), optionally also as PNG files and as one contact sheet for looking them over.
//
//   cirrolux-artgen --source <file.cpp> [--png-dir <dir>] [--sheet <file.png>]
//   cirrolux-artgen --icon-theme <dir> --icon-name <name>   (the hicolor icons for installing)
//
// Only QImage and QPainter are used (no text), so no application object or display is needed.
// Everything is drawn from fixed seeds: the same build gives the same bytes.

#include "Backgrounds.h"
#include "ContactSheet.h"
#include "IconTheme.h"
#include "MoonPictures.h"
#include "SourceWriter.h"
#include "TrayPictures.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <string>
#include <string_view>

using namespace cirrolux::artgen;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cirrolux-artgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: cirrolux-artgen --source <file.cpp> [--png-dir <dir>] [--sheet <file>]\n"
                 "       cirrolux-artgen --icon-theme <dir> --icon-name <name>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QString source;
    QString pngDir;
    QString sheet;
    QString iconTheme;
    QString iconName;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc)
            return Usage();
        const QString value = QString::fromLocal8Bit(argv[++i]);
        if (arg == "--source")
            source = value;
        else if (arg == "--png-dir")
            pngDir = value;
        else if (arg == "--sheet")
            sheet = value;
        else if (arg == "--icon-theme")
            iconTheme = value;
        else if (arg == "--icon-name")
            iconName = value;
        else
            return Usage();
    }
    if (iconTheme.isEmpty() != iconName.isEmpty())
        return Usage();
    if (!iconTheme.isEmpty() && !WriteIconTheme(iconTheme, iconName))
        return 1;
    if (source.isEmpty() && pngDir.isEmpty() && sheet.isEmpty())
        return iconTheme.isEmpty() ? Usage() : 0;

    PictureList pictures;
    AddBackgrounds(pictures);
    AddApplicationIcon(pictures);
    AddMoonPictures(pictures);
    AddTrayPictures(pictures);

    if (!source.isEmpty()) {
        const std::string text = PictureSource(pictures);
        if (!WriteFile(source, QByteArray(text.data(), static_cast<qsizetype>(text.size()))))
            return 1;
    }
    if (!pngDir.isEmpty()) {
        if (!QDir().mkpath(pngDir)) {
            std::fprintf(stderr, "cirrolux-artgen: cannot create %s\n", qPrintable(pngDir));
            return 1;
        }
        for (const Picture& picture : pictures) {
            const QString file = QStringLiteral("%1/%2-%3.png")
                                     .arg(pngDir, QString::fromStdString(picture.name))
                                     .arg(picture.image.width());
            if (!WriteFile(file, EncodePng(picture.image)))
                return 1;
        }
    }
    if (!sheet.isEmpty() && !WriteFile(sheet, EncodePng(ContactSheet(pictures))))
        return 1;
    return 0;
}
