#include "gateway/FactbookPictures.h"

#include "gateway/FactbookCountries.h"
#include "gateway/RequestPolicy.h"
#include "net/ServiceAddresses.h"

#include <algorithm>
#include <string>

namespace cirrolux::gateway {

namespace {

constexpr std::string_view kOpenFactbook =
    "https://raw.githubusercontent.com/openfactbook/master/master/";
// The edition is frozen: a picture once fetched is kept as long as a table row may say.
constexpr int kYear = 366 * 24 * 3600;

struct Kind
{
    std::string_view suffix;     // of the program's file name
    std::string_view folders[2]; // in the repository, best first
    QSize cap;
};

// flags.png holds web-sized flags (about 15000 pixels), flags-orig.png the large originals;
// maps.png the maps fitted in 400 x 400, maps-orig.png the originals.
constexpr Kind kKinds[] = {
    {"-t.gif", {"flags.png/", "flags-orig.png/"}, QSize(300, 200)},
    {"-150.gif", {"maps.png/", "maps-orig.png/"}, QSize(400, 400)},
};

} // namespace

std::optional<FactbookPicture> FactbookPictureFor(std::string_view hostAndPath)
{
    namespace sa = ServiceAddresses;
    const std::string prefix =
        HostOf(sa::FactbookSite).toStdString() + std::string(sa::FactbookPath) + "figures/";
    if (!hostAndPath.starts_with(prefix))
        return std::nullopt;
    const std::string_view file = hostAndPath.substr(prefix.size());
    for (const Kind& kind : kKinds) {
        if (file.size() != 2 + kind.suffix.size() || !file.ends_with(kind.suffix))
            continue;
        const std::string_view code = file.substr(0, 2);
        const auto countries = FactbookCountries();
        if (std::none_of(countries.begin(), countries.end(),
                         [code](const FactbookCode& c) { return c.code == code; }))
            return std::nullopt;
        FactbookPicture picture;
        picture.cap = kind.cap;
        SourceRow& row = picture.row;
        row.request = std::string(hostAndPath);
        for (const std::string_view folder : kind.folders)
            row.live.push_back(std::string(kOpenFactbook) + std::string(folder) +
                               std::string(code) + ".png");
        row.conversion = SourceConversion::ToGif;
        row.maxAgeSeconds = kYear;
        row.credit = "The World Factbook 2014 (CIA, public domain), via openfactbook";
        row.confidence = Confidence::High;
        row.reason = "final edition: the Factbook was discontinued in 2026";
        return picture;
    }
    return std::nullopt;
}

} // namespace cirrolux::gateway
