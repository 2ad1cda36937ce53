#pragma once

#include <QByteArray>
#include <QImage>

#include <array>
#include <cstdint>

namespace cirrolux::test {

// Hand-made PNG files for what QImage cannot write: a header claiming any size, and Adam7
// interlacing. Chunks carry real CRCs so libpng reads them.
inline std::uint32_t Crc32(const QByteArray& bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

inline void AppendBigEndian(QByteArray& out, std::uint32_t value)
{
    out.append(char(value >> 24)).append(char(value >> 16)).append(char(value >> 8)).append(char(value));
}

inline void AppendChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    AppendBigEndian(out, std::uint32_t(data.size()));
    const QByteArray body = QByteArray(type) + data;
    out.append(body);
    AppendBigEndian(out, Crc32(body));
}

// Signature + IHDR (8-bit RGB, `interlace` 0 or 1).
inline QByteArray PngHead(std::uint32_t width, std::uint32_t height, int interlace = 0)
{
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(interlace));
    AppendChunk(out, "IHDR", header);
    return out;
}

// `image` as an 8-bit RGB PNG with Adam7 interlacing: seven passes of filter-0 rows.
inline QByteArray Adam7Png(const QImage& image)
{
    struct Pass
    {
        int x0, y0, dx, dy;
    };
    static constexpr Pass passes[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                       {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    QByteArray raw;
    for (const Pass& pass : passes) {
        if (pass.x0 >= image.width() || pass.y0 >= image.height())
            continue; // an empty pass has no rows at all
        for (int y = pass.y0; y < image.height(); y += pass.dy) {
            raw.append(char(0));
            for (int x = pass.x0; x < image.width(); x += pass.dx) {
                const QRgb c = image.pixel(x, y);
                raw.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
            }
        }
    }
    QByteArray out = PngHead(std::uint32_t(image.width()), std::uint32_t(image.height()), 1);
    AppendChunk(out, "IDAT", qCompress(raw).mid(4)); // qCompress puts the length before zlib's stream
    AppendChunk(out, "IEND", {});
    return out;
}

} // namespace cirrolux::test
