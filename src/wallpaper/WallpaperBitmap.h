#pragma once

#include <QImage>
#include <QString>

#include <string_view>

namespace cirrolux {

// The wallpaper bitmap "cirrolux.bmp": made in the working directory from the downloaded image,
// then moved into the data directory (the program's stand-in for the Windows directory), where
// the desktop shows it and the next update replaces it.
namespace WallpaperBitmap {

inline constexpr std::string_view FileName = "cirrolux.bmp";

// Which of the three ways makes the bitmap for a downloaded image file. `imageFileUpper` is the
// upper-case name that the download set when it prepared the image (empty when it prepared
// none); it alone decides between JPEG and GIF, the file's own name tells a regional radar.
enum class Source {
    Jpeg,          // imageFileUpper holds no ".GIF": decode the file as a JPEG
    RadarCapture,  // a regional radar GIF: "_radar.GIF" after the first character of imageFile
    GifFirstFrame, // any other GIF: its first frame
};
Source sourceFor(std::string_view imageFile, std::string_view imageFileUpper);

// "cirrolux.bmp" in the working directory (the current directory, as for the downloads).
QString workingPath();

// Writes `picture` as a BMP file at `path`, replacing a file there only once the new one is
// complete. Returns false for a null picture or a failed write; nothing is left behind then.
bool save(const QImage& picture, const QString& path);

// Moves the bitmap at `bitmap` into `directory` as "cirrolux.bmp", replacing a file there
// without asking, and returns the full path of the moved bitmap. Throws CirroluxError
// ("Error - cirrolux.bmp could not be copied to <directory>.") when it cannot be placed; the
// bitmap then stays where it was.
QString install(const QString& bitmap, const QString& directory);

} // namespace WallpaperBitmap

// The full path of the folder that holds the wallpaper bitmap (the data directory), created when
// missing; empty when it cannot be made.
QString GetWinDir();

} // namespace cirrolux
