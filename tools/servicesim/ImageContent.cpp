#include "ImageContent.h"

#include "GifWriter.h"
#include "ImagePainter.h"
#include "JpegWriter.h"
#include "StableHash.h"

#include <QList>

#include <exception>

namespace cirrolux::servicesim {

using drawing::PixelCanvas;

namespace {

// Enough for every picture over a few hours; a long run starts afresh rather than growing.
constexpr std::size_t kMaxCached = 600;

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

std::int64_t hourOf(const QDateTime& now)
{
    const qint64 seconds = now.toSecsSinceEpoch();
    return seconds >= 0 ? seconds / 3600 : (seconds - 3599) / 3600;
}

QByteArray encode(const ServedImage& image, const std::vector<PixelCanvas>& frames)
{
    if (!image.isGif())
        return JpegWriter::write(frames.front());
    if (frames.size() == 1)
        return GifWriter::still(frames.front());
    return GifWriter::animation(frames, 50, 200);
}

} // namespace

void ImageContent::setSize(const std::string& fileName, ImageSize size)
{
    if (size == ImageSize::Usual)
        m_sizes.erase(lower(fileName));
    else
        m_sizes[lower(fileName)] = size;
}

ImageSize ImageContent::sizeFor(const ServedImage& image, const QByteArray& query) const
{
    for (const QByteArray& pair : query.split('&')) {
        if (pair == "sim-image=full")
            return ImageSize::Full;
        if (pair == "sim-image=short")
            return ImageSize::Short;
        if (pair == "sim-image=tiny")
            return ImageSize::Tiny;
    }
    if (const auto it = m_sizes.find(lower(image.file)); it != m_sizes.end())
        return it->second;
    return image.shortReply ? ImageSize::Short : ImageSize::Full;
}

QByteArray ImageContent::contentType(const ServedImage& image)
{
    return image.isGif() ? QByteArray("image/gif") : QByteArray("image/jpeg");
}

QByteArray ImageContent::picture(const ServedImage& image, std::int64_t hour, ImageSize size)
{
    if (size == ImageSize::Usual)
        size = image.shortReply ? ImageSize::Short : ImageSize::Full;
    const auto key = std::make_tuple(image.index, hour, static_cast<int>(size));
    if (const auto it = m_cache.find(key); it != m_cache.end())
        return it->second;
    if (m_cache.size() >= kMaxCached)
        m_cache.clear();

    const PictureHour when{hour, mixHash(stableHash(lower(image.file)), std::uint64_t(hour))};
    QByteArray bytes;
    if (size == ImageSize::Full) {
        bytes = encode(image, ImagePainter::paint(image, when));
    } else if (size == ImageSize::Short) {
        bytes = encode(image, {ImagePainter::notAvailable(200, 150, image.file, image.isGif())});
    } else {
        PixelCanvas dot(16, 16);
        dot.fill(dot.addColour({0, 0, 0}));
        dot.addColour({255, 255, 255});
        bytes = image.isGif() ? GifWriter::still(dot) : JpegWriter::write(dot, 50, true);
    }
    m_cache.emplace(key, bytes);
    return bytes;
}

std::optional<EmulatorReply> ImageContent::reply(const QByteArray& pathAndQuery,
                                                 const QDateTime& now)
{
    const ServedImage* image = ImageCatalogue::find(pathAndQuery);
    if (!image)
        return std::nullopt;
    const qsizetype mark = pathAndQuery.indexOf('?');
    const QByteArray query = mark < 0 ? QByteArray() : pathAndQuery.mid(mark + 1);
    try {
        return EmulatorReply::make(200, contentType(*image),
                                   picture(*image, hourOf(now), sizeFor(*image, query)));
    } catch (const std::exception& error) {
        return EmulatorReply::make(500, "text/plain",
                                   QByteArray("The picture could not be made: ") + error.what() +
                                       "\r\n");
    }
}

} // namespace cirrolux::servicesim
