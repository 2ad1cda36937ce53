#include "imageconvert/PictureHeader.h"

#include "imageconvert/ConversionError.h"

#include <cstdint>
#include <string>

namespace cirrolux {

namespace {

std::uint32_t byteAt(const QByteArray& bytes, qsizetype at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

std::uint32_t bigEndian32(const QByteArray& bytes, qsizetype at)
{
    return byteAt(bytes, at) << 24 | byteAt(bytes, at + 1) << 16 | byteAt(bytes, at + 2) << 8 |
           byteAt(bytes, at + 3);
}

std::uint32_t bigEndian16(const QByteArray& bytes, qsizetype at)
{
    return byteAt(bytes, at) << 8 | byteAt(bytes, at + 1);
}

std::uint32_t littleEndian16(const QByteArray& bytes, qsizetype at)
{
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}

[[noreturn]] void fail(const std::string& text)
{
    throw ConversionError(text);
}

// PNG: the signature, then the IHDR chunk, which the format requires to come first.
QSize pngSize(const QByteArray& bytes)
{
    if (bytes.size() < 24 || bytes.mid(12, 4) != "IHDR")
        fail("The PNG picture has no header chunk.");
    const std::uint32_t width = bigEndian32(bytes, 16);
    const std::uint32_t height = bigEndian32(bytes, 20);
    if (width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        fail("The PNG picture's header names an impossible size.");
    return QSize(int(width), int(height));
}

// GIF: the logical screen, which every frame is drawn on.
QSize gifSize(const QByteArray& bytes)
{
    if (bytes.size() < 10)
        fail("The GIF picture ends inside its header.");
    return QSize(int(littleEndian16(bytes, 6)), int(littleEndian16(bytes, 8)));
}

bool isFrameMarker(std::uint32_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// JPEG: walk the marker segments up to the first frame header (SOFn).
QSize jpegSize(const QByteArray& bytes)
{
    qsizetype at = 2;
    while (at + 4 <= bytes.size()) {
        if (byteAt(bytes, at) != 0xFF)
            fail("The JPEG picture's markers are damaged.");
        const std::uint32_t marker = byteAt(bytes, at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            break;
        const qsizetype length = bigEndian16(bytes, at + 2);
        if (length < 2)
            fail("The JPEG picture's markers are damaged.");
        if (isFrameMarker(marker)) {
            if (at + 9 > bytes.size())
                break;
            return QSize(int(bigEndian16(bytes, at + 7)), int(bigEndian16(bytes, at + 5)));
        }
        at += 2 + length;
    }
    fail("The JPEG picture has no frame header.");
}

} // namespace

PictureHeader PictureHeader::read(const QByteArray& bytes, const ConvertLimits& limits)
{
    if (bytes.size() > limits.maxInputBytes)
        fail("The picture is " + std::to_string(bytes.size()) + " bytes; the gateway converts " +
             "pictures of at most " + std::to_string(limits.maxInputBytes) + " bytes.");
    PictureHeader header;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        header.format = PictureFormat::Png;
        header.size = pngSize(bytes);
    } else if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) {
        header.format = PictureFormat::Gif;
        header.size = gifSize(bytes);
    } else if (bytes.startsWith("\xFF\xD8\xFF")) {
        header.format = PictureFormat::Jpeg;
        header.size = jpegSize(bytes);
    } else {
        fail("The answer is not a PNG, GIF or JPEG picture.");
    }

    const std::string format(name(header.format));
    const std::string size =
        std::to_string(header.size.width()) + " x " + std::to_string(header.size.height());
    if (header.size.isEmpty())
        fail("The " + format + " picture's header gives it no pixels (" + size + ").");
    const std::int64_t pixels = std::int64_t(header.size.width()) * header.size.height();
    if (pixels > limits.maxPixels || header.size.width() > limits.maxSide ||
        header.size.height() > limits.maxSide)
        fail("The " + format + " picture is " + size + " pixels; the gateway refuses pictures " +
             "of more than " + std::to_string(limits.maxPixels) + " pixels or " +
             std::to_string(limits.maxSide) + " pixels a side.");
    return header;
}

std::string_view PictureHeader::name(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png:
        return "PNG";
    case PictureFormat::Gif:
        return "GIF";
    case PictureFormat::Jpeg:
        return "JPEG";
    }
    return "picture";
}

} // namespace cirrolux
