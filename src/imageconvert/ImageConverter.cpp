#include "imageconvert/ImageConverter.h"

#include "drawing/PixelFont.h"
#include "imageconvert/ConversionError.h"
#include "imageconvert/GifEncoder.h"
#include "imageconvert/JpegEncoder.h"
#include "imageconvert/PaletteQuantiser.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace cirrolux {

namespace {

[[noreturn]] void fail(const std::string& text)
{
    throw ConversionError(text);
}

std::string formatName(PictureFormat format)
{
    return std::string(PictureHeader::name(format));
}

// Reads the frames of a picture from memory, one at a time.
class FrameReader
{
public:
    FrameReader(const QByteArray& bytes, PictureFormat format) : m_bytes(bytes), m_format(format)
    {
        m_buffer.setData(m_bytes);
        m_buffer.open(QIODevice::ReadOnly);
        m_reader = std::make_unique<QImageReader>(&m_buffer, formatKey());
        m_reader->setDecideFormatFromContent(false);
    }

    // Frames the file holds; 1 for PNG and JPEG.
    int count()
    {
        if (m_format != PictureFormat::Gif)
            return 1;
        const int frames = m_reader->imageCount();
        if (frames <= 0)
            fail("The GIF picture has no readable frame: " +
                 m_reader->errorString().toStdString());
        return frames;
    }

    // The next frame, composed on the ones before it; null after the last.
    QImage next()
    {
        QImage image;
        if (!m_reader->read(&image))
            return {};
        m_delayMs = m_reader->nextImageDelay();
        return image;
    }

    QString error() const { return m_reader->errorString(); }
    int delayMs() const { return m_delayMs; }

private:
    QByteArray formatKey() const
    {
        switch (m_format) {
        case PictureFormat::Png:
            return "png";
        case PictureFormat::Gif:
            return "gif";
        case PictureFormat::Jpeg:
            return "jpeg";
        }
        return {};
    }

    QByteArray m_bytes;
    PictureFormat m_format;
    QBuffer m_buffer;
    std::unique_ptr<QImageReader> m_reader;
    int m_delayMs = 0;
};

// An opaque RGB32 copy of `image`, transparent parts laid on `background`.
QImage flatten(const QImage& image, QColor background)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_RGB32);
    const int br = background.red();
    const int bg = background.green();
    const int bb = background.blue();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int a = qAlpha(in[x]);
            auto mix = [a](int over, int under) { return (over * a + under * (255 - a) + 127) / 255; };
            out[x] = qRgb(mix(qRed(in[x]), br), mix(qGreen(in[x]), bg), mix(qBlue(in[x]), bb));
        }
    }
    return result;
}

QImage capped(const QImage& image, QSize cap)
{
    const QSize size = ImageConverter::fitted(image.size(), cap);
    if (size == image.size())
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void checkFrames(int frames, QSize size, const ConvertLimits& limits)
{
    if (frames > limits.maxFrames)
        fail("The GIF animation has " + std::to_string(frames) + " frames; the gateway converts "
             "animations of at most " + std::to_string(limits.maxFrames) + " frames.");
    if (std::int64_t(frames) * size.width() * size.height() > limits.maxTotalPixels)
        fail("The GIF animation's " + std::to_string(frames) + " frames hold more than " +
             std::to_string(limits.maxTotalPixels) + " pixels in all; the gateway refuses it.");
}

constexpr int kCaptionHeight = 11;

// `image` with a strip under it holding `caption` in white 5 x 7 letters, cut to the width.
QImage captioned(const QImage& image, std::string_view caption)
{
    QImage out(image.width(), image.height() + kCaptionHeight, QImage::Format_RGB32);
    out.fill(qRgb(32, 32, 32));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out.scanLine(y), image.constScanLine(y), std::size_t(image.width()) * 4);
    const int fits = std::max(0, (image.width() - 4) / 6);
    std::string text(caption.substr(0, std::size_t(fits)));
    if (caption.size() > text.size() && fits > 3)
        text.replace(text.size() - 3, 3, "...");
    const int top = image.height() + 2;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto& glyph = drawing::pixelGlyph(text[i]);
        for (int row = 0; row < 7; ++row) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(top + row));
            for (int column = 0; column < 5; ++column) {
                if (glyph[std::size_t(row)] & (0x10 >> column))
                    line[3 + int(i) * 6 + column] = qRgb(255, 255, 255);
            }
        }
    }
    return out;
}

// The last frame (the only one of a PNG or JPEG), opaque and within the cap, with its caption.
QImage lastFrame(const QByteArray& input, const PictureHeader& header,
                 const ConvertOptions& options)
{
    FrameReader reader(input, header.format);
    checkFrames(reader.count(), header.size, options.limits);
    QImage last;
    int read = 0;
    for (QImage frame = reader.next(); !frame.isNull(); frame = reader.next()) {
        last = std::move(frame);
        if (++read >= options.limits.maxFrames)
            break;
    }
    if (last.isNull())
        fail("The " + formatName(header.format) + " picture could not be decoded: " +
             reader.error().toStdString());
    if (options.caption.empty())
        return capped(flatten(last, options.background), options.limits.maxSize);
    // The strip counts against the cap too.
    const QSize cap = options.limits.maxSize;
    const QImage picture =
        capped(flatten(last, options.background),
               QSize(cap.width(), std::max(1, cap.height() - kCaptionHeight)));
    return captioned(picture, options.caption);
}

ConvertedPicture gifStill(const QImage& image, const ConvertOptions& options)
{
    std::vector<QRgb> palette;
    const IndexedPicture picture = PaletteQuantiser::quantise(image, options.dither, palette);
    return {GifEncoder::still(picture, palette), PictureFormat::Gif, image.size(), 1, false};
}

// Every frame scaled to the cap with one palette for all: the frames are decoded twice, once
// to count their colours and once to map them, so only one full-size frame is held at a time.
ConvertedPicture scaledAnimation(const QByteArray& input, const PictureHeader& header, int frames,
                                 const ConvertOptions& options)
{
    const auto eachFrame = [&](const std::function<void(const QImage&, int delayMs)>& use) {
        FrameReader reader(input, header.format);
        int read = 0;
        for (QImage frame = reader.next(); !frame.isNull() && read < frames;
             frame = reader.next(), ++read)
            use(capped(flatten(frame, options.background), options.limits.maxSize),
                reader.delayMs());
        if (read < 2)
            fail("The GIF animation could not be decoded: " + reader.error().toStdString());
    };
    PaletteQuantiser quantiser;
    eachFrame([&](const QImage& frame, int) { quantiser.add(frame); });
    quantiser.choosePalette();
    std::vector<GifEncoder::Frame> out;
    eachFrame([&](const QImage& frame, int delayMs) {
        out.push_back({quantiser.map(frame, options.dither), std::max(2, delayMs / 10)});
    });
    const QSize size(out.front().picture.width, out.front().picture.height);
    return {GifEncoder::animation(out, quantiser.palette()), PictureFormat::Gif, size,
            int(out.size()), false};
}

ConvertedPicture unchanged(const QByteArray& input, const PictureHeader& header, int frames)
{
    return {input, header.format, header.size, frames, true};
}

ConvertedPicture passThrough(const QByteArray& input, const PictureHeader& header,
                             const ConvertOptions& options)
{
    const bool sizeFits = ImageConverter::fitted(header.size, options.limits.maxSize) == header.size;
    // A caption means drawing on a still, so a captioned still is always written anew.
    const bool fits = sizeFits && options.caption.empty();
    if (header.format == PictureFormat::Gif) {
        FrameReader reader(input, header.format);
        const int frames = reader.count();
        checkFrames(frames, header.size, options.limits);
        if (frames >= 2)
            return sizeFits ? unchanged(input, header, frames)
                            : scaledAnimation(input, header, frames, options);
        return fits ? unchanged(input, header, frames)
                    : gifStill(lastFrame(input, header, options), options);
    }
    if (fits)
        return unchanged(input, header, 1);
    const QImage image = lastFrame(input, header, options);
    if (header.format == PictureFormat::Jpeg)
        return {JpegEncoder::write(image, options.jpegQuality), PictureFormat::Jpeg, image.size(),
                1, false};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "png"))
        fail("Writing the PNG failed.");
    return {bytes, PictureFormat::Png, image.size(), 1, false};
}

ConvertedPicture animation(const QByteArray& input, const PictureHeader& header,
                           const ConvertOptions& options)
{
    if (header.format != PictureFormat::Gif)
        fail("The answer is a " + formatName(header.format) +
             " picture; an animation needs a GIF.");
    FrameReader reader(input, header.format);
    const int frames = reader.count();
    if (frames < 2)
        fail("The GIF has 1 frame; an animation needs at least 2.");
    checkFrames(frames, header.size, options.limits);
    if (ImageConverter::fitted(header.size, options.limits.maxSize) == header.size)
        return unchanged(input, header, frames);
    return scaledAnimation(input, header, frames, options);
}

} // namespace

QSize ImageConverter::fitted(QSize size, QSize cap)
{
    if (cap.isEmpty() || (size.width() <= cap.width() && size.height() <= cap.height()))
        return size;
    const QSize scaled = size.scaled(cap, Qt::KeepAspectRatio);
    return QSize(std::max(1, scaled.width()), std::max(1, scaled.height()));
}

ConvertedPicture ImageConverter::convert(const QByteArray& input, Conversion conversion,
                                         const ConvertOptions& options)
{
    const PictureHeader header = PictureHeader::read(input, options.limits);
    switch (conversion) {
    case Conversion::PassThrough:
        return passThrough(input, header, options);
    case Conversion::ToGif:
    case Conversion::LastFrame:
        return gifStill(lastFrame(input, header, options), options);
    case Conversion::ToJpeg: {
        const QImage image = lastFrame(input, header, options);
        return {JpegEncoder::write(image, options.jpegQuality), PictureFormat::Jpeg, image.size(),
                1, false};
    }
    case Conversion::AnimateGif:
        return animation(input, header, options);
    }
    fail("Unknown conversion.");
}

} // namespace cirrolux
