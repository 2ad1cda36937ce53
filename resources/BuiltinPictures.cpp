#include "resources/BuiltinPictures.h"

#include "PictureBlobs.h"

#include <QPixmap>

#include <algorithm>
#include <cctype>

namespace cirrolux {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

QImage Decode(const pictureblobs::Blob& blob)
{
    QImage image;
    image.loadFromData(blob.png, static_cast<int>(blob.size), "PNG");
    return image;
}

} // namespace

QImage BuiltinPicture(std::string_view name)
{
    for (const pictureblobs::Blob& blob : pictureblobs::All())
        if (SameName(blob.name, name))
            return Decode(blob);
    return {};
}

QImage BuiltinPicture(std::string_view name, int width)
{
    for (const pictureblobs::Blob& blob : pictureblobs::All()) {
        if (!SameName(blob.name, name))
            continue;
        QImage image = Decode(blob);
        if (image.width() == width)
            return image;
    }
    return {};
}

QIcon BuiltinIcon(std::string_view name)
{
    QIcon icon;
    for (const pictureblobs::Blob& blob : pictureblobs::All())
        if (SameName(blob.name, name))
            icon.addPixmap(QPixmap::fromImage(Decode(blob)));
    return icon;
}

std::vector<std::string> BuiltinPictureNames()
{
    std::vector<std::string> names;
    for (const pictureblobs::Blob& blob : pictureblobs::All())
        if (names.empty() || names.back() != blob.name)
            names.emplace_back(blob.name);
    return names;
}

} // namespace cirrolux
