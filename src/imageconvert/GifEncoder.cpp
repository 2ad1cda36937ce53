#include "imageconvert/GifEncoder.h"

#include "imageconvert/ConversionError.h"

#include <gif_lib.h>

#include <string>
#include <utility>

namespace cirrolux {

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
    throw ConversionError(std::string("Writing the GIF failed (") + step + "): " +
                          (text ? text : "unknown error"));
}

class Writer
{
public:
    Writer(int width, int height, const std::vector<QRgb>& palette)
    {
        int error = 0;
        m_file = EGifOpen(&m_bytes, appendBytes, &error);
        if (!m_file)
            fail("open", error);
        EGifSetGifVersion(m_file, true);
        int size = 2;
        while (size < int(palette.size()) && size < 256)
            size *= 2;
        std::vector<GifColorType> colours(std::size_t(size), GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < palette.size() && i < colours.size(); ++i)
            colours[i] = {GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                          GifByteType(qBlue(palette[i]))};
        ColorMapObject* map = GifMakeMapObject(size, colours.data());
        if (!map)
            fail("colour map", E_GIF_ERR_NOT_ENOUGH_MEM);
        const int result = EGifPutScreenDesc(m_file, width, height, GifBitSize(size), 0, map);
        GifFreeMapObject(map);
        if (result == GIF_ERROR)
            fail("screen", m_file->Error);
    }
    ~Writer()
    {
        if (m_file)
            EGifCloseFile(m_file, nullptr);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void loopForever()
    {
        static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                                  'P', 'E', '2', '.', '0'};
        static const GifByteType loop[] = {1, 0, 0}; // repeat count 0: forever
        if (EGifPutExtensionLeader(m_file, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(m_file, sizeof application, application) == GIF_ERROR ||
            EGifPutExtensionBlock(m_file, sizeof loop, loop) == GIF_ERROR ||
            EGifPutExtensionTrailer(m_file) == GIF_ERROR)
            fail("loop extension", m_file->Error);
    }

    void delay(int hundredths)
    {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.DelayTime = hundredths;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(m_file, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
            fail("frame delay", m_file->Error);
    }

    void image(const IndexedPicture& picture)
    {
        if (EGifPutImageDesc(m_file, 0, 0, picture.width, picture.height, false, nullptr) ==
            GIF_ERROR)
            fail("image", m_file->Error);
        // giflib takes a non-const line but only reads it.
        auto* pixels = const_cast<GifPixelType*>(picture.pixels.data());
        for (int y = 0; y < picture.height; ++y)
            if (EGifPutLine(m_file, pixels + std::size_t(y) * std::size_t(picture.width),
                            picture.width) == GIF_ERROR)
                fail("pixels", m_file->Error);
    }

    QByteArray finish()
    {
        int error = 0;
        if (EGifCloseFile(std::exchange(m_file, nullptr), &error) == GIF_ERROR)
            fail("close", error);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    GifFileType* m_file = nullptr;
};

void check(const IndexedPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 65535 ||
        picture.height > 65535 ||
        picture.pixels.size() != std::size_t(picture.width) * std::size_t(picture.height))
        throw ConversionError("Writing the GIF failed: the picture has no pixels or a size a GIF "
                              "cannot hold.");
}

} // namespace

QByteArray GifEncoder::still(const IndexedPicture& picture, const std::vector<QRgb>& palette)
{
    check(picture);
    Writer writer(picture.width, picture.height, palette);
    writer.image(picture);
    return writer.finish();
}

QByteArray GifEncoder::animation(const std::vector<Frame>& frames, const std::vector<QRgb>& palette)
{
    if (frames.empty())
        throw ConversionError("Writing the GIF failed: an animation needs a frame.");
    const IndexedPicture& first = frames.front().picture;
    for (const Frame& frame : frames) {
        check(frame.picture);
        if (frame.picture.width != first.width || frame.picture.height != first.height)
            throw ConversionError("Writing the GIF failed: the frames differ in size.");
    }
    Writer writer(first.width, first.height, palette);
    writer.loopForever();
    for (const Frame& frame : frames) {
        writer.delay(frame.delayCs);
        writer.image(frame.picture);
    }
    return writer.finish();
}

} // namespace cirrolux
