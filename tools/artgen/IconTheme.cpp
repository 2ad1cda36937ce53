#include "IconTheme.h"

#include "SourceWriter.h"
#include "TrayPictures.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace cirrolux::artgen {

bool WriteIconTheme(const QString& dir, const QString& name)
{
    for (const int size : IconThemeSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cirrolux-artgen: cannot create %s\n", qPrintable(folder));
            return false;
        }
        const QByteArray png = EncodePng(ApplicationIcon(size));
        QFile file(QStringLiteral("%1/%2.png").arg(folder, name));
        if (png.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(png) != png.size()) {
            std::fprintf(stderr, "cirrolux-artgen: cannot write %s\n", qPrintable(file.fileName()));
            return false;
        }
    }
    return true;
}

} // namespace cirrolux::artgen
