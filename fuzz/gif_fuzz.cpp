// Feeds arbitrary bytes to the GIF control as a downloaded image file: load, step through the
// frames, go back to the first and clear. A file that cannot be decoded must leave the control
// empty; a loaded one must keep its frame numbers inside the file's frames and a picture on show.
#include "display/TGIFImage.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Enough frames to reach the decoder's later paths without a long file taking seconds an input.
constexpr int MaxFramesStepped = 40;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    static const QString fileName = folder.filePath(QStringLiteral("image.gif"));
    {
        QFile file(fileName);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        require(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    TGIFImage gif;
    gif.resize(7, 9);
    if (!gif.LoadFromFile(fileName)) {
        require(gif.Empty() && gif.FrameCount() == 0 && gif.CurrentFrame() == 0);
        require(gif.FirstFrameBitmap().isNull());
        require(gif.size() == QSize(7, 9)); // a failed load keeps the size
        return 0;
    }
    require(!gif.Empty() && gif.CurrentFrame() == 1 && gif.FrameCount() >= 1);
    require(gif.size() == gif.CurrentBitmap().size());
    require(gif.FirstFrameBitmap().size() == gif.CurrentBitmap().size());

    gif.SetCurrentFrame(std::min(gif.FrameCount(), MaxFramesStepped));
    require(gif.CurrentFrame() >= 1 && gif.CurrentFrame() <= gif.FrameCount());
    require(gif.Empty() || !gif.CurrentBitmap().isNull());
    gif.SetCurrentFrame(-5);
    require(gif.Empty() || gif.CurrentFrame() == 1);
    gif.SetAnimate(true);
    (void)gif.grab(); // paints the frame on show
    gif.Clear();
    require(gif.Empty() && gif.FrameCount() == 0);
    return 0;
}
