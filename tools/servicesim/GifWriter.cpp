#include "GifWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;
using drawing::Rgb;

namespace {

int appendBytes(GifFileType* file, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(file->UserData)
        ->append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
    return length;
}

[[noreturn]] void fail(const char* step, int error)
{
    const char* text = GifErrorString(error);
    throw std::runtime_error(std::string("GIF writer: ") + step + ": " +
                             (text ? text : "unknown error"));
}

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The smallest rectangle holding every pixel where `next` differs from `previous` (at least one
// pixel, since a GIF frame cannot be empty).
Rect changedRect(const PixelCanvas& previous, const PixelCanvas& next)
{
    int left = next.width();
    int right = -1;
    int top = next.height();
    int bottom = -1;
    for (int y = 0; y < next.height(); ++y) {
        const std::uint8_t* a = previous.row(y);
        const std::uint8_t* b = next.row(y);
        int first = 0;
        while (first < next.width() && a[first] == b[first])
            ++first;
        if (first == next.width())
            continue;
        int last = next.width() - 1;
        while (a[last] == b[last])
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0)
        return {0, 0, 1, 1};
    return {left, top, right - left + 1, bottom - top + 1};
}

class Encoder
{
public:
    explicit Encoder(const PixelCanvas& first)
    {
        int error = 0;
        m_file = EGifOpen(&m_bytes, appendBytes, &error);
        if (!m_file)
            fail("open", error);
        EGifSetGifVersion(m_file, true);

        const std::vector<Rgb>& palette = first.palette();
        int size = 2;
        while (size < static_cast<int>(palette.size()) && size < 256)
            size *= 2;
        std::vector<GifColorType> colours(std::size_t(size), GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < palette.size() && i < colours.size(); ++i)
            colours[i] = {palette[i].r, palette[i].g, palette[i].b};
        ColorMapObject* map = GifMakeMapObject(size, colours.data());
        if (!map)
            fail("colour map", E_GIF_ERR_NOT_ENOUGH_MEM);
        const int result =
            EGifPutScreenDesc(m_file, first.width(), first.height(), GifBitSize(size), 0, map);
        GifFreeMapObject(map);
        if (result == GIF_ERROR)
            fail("screen", m_file->Error);
    }

    ~Encoder()
    {
        if (m_file)
            EGifCloseFile(m_file, nullptr);
    }

    void loopForever()
    {
        static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                                   'P', 'E', '2', '.', '0'};
        static const GifByteType kLoop[] = {1, 0, 0}; // sub-block 1: repeat count 0, forever
        if (EGifPutExtensionLeader(m_file, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(m_file, sizeof kApplication, kApplication) == GIF_ERROR ||
            EGifPutExtensionBlock(m_file, sizeof kLoop, kLoop) == GIF_ERROR ||
            EGifPutExtensionTrailer(m_file) == GIF_ERROR)
            fail("loop extension", m_file->Error);
    }

    void timing(int delay)
    {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.UserInputFlag = false;
        control.DelayTime = delay;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(m_file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
            GIF_ERROR)
            fail("frame timing", m_file->Error);
    }

    void image(const PixelCanvas& picture, Rect rect)
    {
        if (EGifPutImageDesc(m_file, rect.x, rect.y, rect.width, rect.height, false, nullptr) ==
            GIF_ERROR)
            fail("image", m_file->Error);
        std::vector<GifPixelType> line(std::size_t(rect.width));
        for (int y = rect.y; y < rect.y + rect.height; ++y) {
            std::copy_n(picture.row(y) + rect.x, rect.width, line.begin());
            if (EGifPutLine(m_file, line.data(), rect.width) == GIF_ERROR)
                fail("pixels", m_file->Error);
        }
    }

    QByteArray finish()
    {
        int error = 0;
        GifFileType* file = std::exchange(m_file, nullptr);
        if (EGifCloseFile(file, &error) == GIF_ERROR)
            fail("close", error);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    GifFileType* m_file = nullptr;
};

} // namespace

QByteArray GifWriter::still(const PixelCanvas& picture)
{
    Encoder encoder(picture);
    encoder.image(picture, {0, 0, picture.width(), picture.height()});
    return encoder.finish();
}

QByteArray GifWriter::animation(const std::vector<PixelCanvas>& frames, int delay, int lastDelay)
{
    if (frames.empty())
        throw std::runtime_error("GIF writer: an animation needs a frame");
    Encoder encoder(frames.front());
    encoder.loopForever();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        encoder.timing(i + 1 == frames.size() ? lastDelay : delay);
        const Rect rect = i == 0 ? Rect{0, 0, frames[i].width(), frames[i].height()}
                                 : changedRect(frames[i - 1], frames[i]);
        encoder.image(frames[i], rect);
    }
    return encoder.finish();
}

} // namespace cirrolux::servicesim
