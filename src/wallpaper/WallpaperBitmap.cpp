#include "wallpaper/WallpaperBitmap.h"

#include "platform/AppPaths.h"
#include "platform/CirroluxError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace cirrolux {

namespace WallpaperBitmap {

namespace {
QString fileName()
{
    return QString::fromLatin1(FileName.data(), qsizetype(FileName.size()));
}

// Removes `to` before renaming `from` to it: ext4 writes a file out to disk at once when it is
// renamed over another, which costs more than making the bitmap; the bitmap is made again at the
// next update anyway.
std::error_code moveReplacing(const QString& from, const QString& to)
{
    std::error_code error;
    const std::string target = QFile::encodeName(to).toStdString();
    std::filesystem::remove(target, error);
    error.clear();
    std::filesystem::rename(QFile::encodeName(from).toStdString(), target, error);
    return error;
}
} // namespace

Source sourceFor(std::string_view imageFile, std::string_view imageFileUpper)
{
    if (imageFileUpper.find(".GIF") == std::string_view::npos)
        return Source::Jpeg;
    const std::size_t radar = imageFile.find("_radar.GIF");
    if (radar != std::string_view::npos && radar > 0)
        return Source::RadarCapture;
    return Source::GifFirstFrame;
}

QString workingPath()
{
    // The program runs in its working directory, where the downloads are too.
    return QDir::current().filePath(fileName());
}

bool save(const QImage& picture, const QString& path)
{
    if (picture.isNull())
        return false;
    // Written beside the target and renamed over it, so a stopped write never leaves a partial
    // bitmap under the real name. No flush to disk: the next update makes the bitmap again.
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Qt's BMP writer works on 32-bit rows; other formats would be converted on the way anyway.
    const bool written = picture.depth() == 32 || picture.depth() <= 8
                             ? picture.save(&file, "BMP")
                             : picture.convertToFormat(QImage::Format_RGB32).save(&file, "BMP");
    file.close();
    std::error_code error;
    if (written && file.error() == QFileDevice::NoError)
        error = moveReplacing(part, path);
    if (!written || file.error() != QFileDevice::NoError || error) {
        QFile::remove(part);
        return false;
    }
    return true;
}

QString install(const QString& bitmap, const QString& directory)
{
    const QString target = directory + QLatin1Char('/') + fileName();
    const std::string failed = "Error - cirrolux.bmp could not be copied to " +
                               QDir::toNativeSeparators(directory).toLatin1().toStdString() + ".";
    if (QFileInfo(bitmap).absoluteFilePath() == QFileInfo(target).absoluteFilePath())
        return target;

    // A rename is instant; across file systems the bitmap is copied.
    if (!QFileInfo(directory).isDir())
        throw CirroluxError(failed);
    if (!moveReplacing(bitmap, target))
        return target;

    QFile source(bitmap);
    QSaveFile copy(target);
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly))
        throw CirroluxError(failed);
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || copy.write(block) != block.size())
            throw CirroluxError(failed);
    }
    if (!copy.commit())
        throw CirroluxError(failed);
    source.close();
    QFile::remove(bitmap);
    return target;
}

} // namespace WallpaperBitmap

QString GetWinDir()
{
    const QString directory = AppPaths::windowsDirectory();
    if (!QDir().mkpath(directory))
        return {};
    return QDir(directory).absolutePath();
}

} // namespace cirrolux
