#pragma once

#include "EmulatorReply.h"
#include "ImageCatalogue.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace cirrolux::servicesim {

// How large an answer a picture gets.
enum class ImageSize {
    Usual, // the picture ("rad_comp.gif" answers Short, as its server did while rebuilding)
    Full,  // the picture, also for "rad_comp.gif"
    Short, // a valid "not available" picture of 500 to 9999 bytes
    Tiny,  // a valid picture of fewer than 500 bytes
};

// The emulator's pictures: every image of the program's catalogues, answered on any host by
// path (see ImageCatalogue::find). Pictures are drawn when first asked for and kept for the hour
// they show, so the same path in the same hour always gives the same bytes.
//
// Tests choose a size for one request with the query "sim-image=full|short|tiny" added to the
// path, or for every request of a file name with setSize().
class ImageContent
{
public:
    // The reply for a catalogue picture, or nothing when the path names none.
    std::optional<EmulatorReply> reply(const QByteArray& pathAndQuery, const QDateTime& now);

    // From now on answers `fileName` (any letter case; as the program saves it, e.g.
    // "hr00us.gif") with `size`; ImageSize::Usual undoes it.
    void setSize(const std::string& fileName, ImageSize size);
    void clearSizes() { m_sizes.clear(); }

    // The encoded picture for an hour since 1970 (UTC) at a size.
    QByteArray picture(const ServedImage& image, std::int64_t hour, ImageSize size);
    static QByteArray contentType(const ServedImage& image);

private:
    ImageSize sizeFor(const ServedImage& image, const QByteArray& query) const;

    std::map<std::tuple<int, std::int64_t, int>, QByteArray> m_cache;
    std::map<std::string, ImageSize> m_sizes;
};

} // namespace cirrolux::servicesim
