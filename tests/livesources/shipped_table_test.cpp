// The table installed with the gateway: it reads without a fault, and every picture the program
// can ask for (the image catalogue, the Purdue retry, the wallpaper catalogue and the state and
// regional radar loops) has exactly one row, whose conversion makes the type the program's file
// name asks for. Nothing else is in the table.
#include "livesources/SourceTable.h"

#include "images/ImageCatalogue.h"
#include "images/RadarChooser.h"
#include "net/ServiceAddresses.h"
#include "wallpaper/WallpaperCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

using namespace cirrolux;

namespace {

namespace A = ServiceAddresses;

const SourceTable& shipped()
{
    static const SourceTable table = SourceTable::load(CIRROLUX_SHIPPED_SOURCE_TABLE);
    return table;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool isGifFile(const std::string& file)
{
    return lower(file).ends_with(".gif");
}

bool isJpegFile(const std::string& file)
{
    return lower(file).ends_with(".jpg") || lower(file).ends_with(".jpeg");
}

std::string_view wallpaperBase(WallpaperProvider provider)
{
    using P = WallpaperProvider;
    switch (provider) {
    case P::PurdueRadar:
        return A::PurdueRadar;
    case P::PurdueSurface:
        return A::PurdueSurface;
    case P::TexasAM:
        return A::TexasAM;
    case P::Yahoo:
        return A::Yahoo;
    case P::Meteo:
        return A::Meteo;
    case P::UWM:
        return A::UWMadison;
    case P::NoaaGoes:
        return A::NoaaGoes;
    case P::KochiUniversity:
        return A::KochiUniversity;
    case P::JamesCookUniversity:
        return A::JamesCook;
    case P::EarthWatch:
        return A::EarthWatch;
    case P::MakerImages:
        return A::MakerSite;
    }
    return {};
}

// Every request the program can make for a picture: address -> the local file it saves it as,
// and whether the window animates it.
struct Request
{
    std::string file;
    bool animates = false;
};

std::map<std::string, Request> programRequests()
{
    std::map<std::string, Request> requests;
    for (const ImageSource& row : ImageCatalogue())
        requests[row.url()] = {row.localFile(), row.has(ImageOption::Animate)};
    requests[std::string(A::PurdueRadar) + std::string(A::PurdueRadarPreviousPath)] = {
        "rad_comp-2.gif", false};
    for (const WallpaperCatalogue::Row& row : WallpaperCatalogue::rows()) {
        const std::string url = std::string(wallpaperBase(row.provider)) + std::string(row.path);
        requests.try_emplace(url, Request{std::string(row.localFile), false});
    }
    for (const auto& entries : {RadarChooser::stateEntries(), RadarChooser::regionEntries()})
        for (std::string_view entry : entries) {
            if (entry == "None")
                continue;
            const std::string_view code = entry.substr(0, 2);
            requests[RadarChooser::radarUrl(code)] = {RadarChooser::radarFile(code), true};
        }
    return requests;
}

TEST(ShippedSourceTable, HasExactlyOneRowForEveryPictureTheProgramAsksFor)
{
    const std::map<std::string, Request> requests = programRequests();
    std::set<std::string> keys;
    for (const auto& [url, request] : requests) {
        const std::string key = SourceTable::requestKey(url);
        EXPECT_NE(shipped().find(key), nullptr) << "no row for " << url;
        keys.insert(key);
    }
    for (const SourceRow& row : shipped().rows())
        EXPECT_EQ(keys.count(row.request), 1u) << "line " << row.line << ": no program request "
                                               << row.request;
    // 99 catalogue images, the Purdue retry, 2 wallpaper-only radars, 54 radar areas (47 state codes, 7 regions)
    EXPECT_EQ(shipped().rows().size(), requests.size());
    EXPECT_EQ(requests.size(), 99u + 1u + 2u + 54u);
}

TEST(ShippedSourceTable, ConvertsToTheTypeTheFileNameAsksFor)
{
    using C = SourceConversion;
    for (const auto& [url, request] : programRequests()) {
        const SourceRow* row = shipped().findUrl(url);
        if (row == nullptr || row->conversion == C::None)
            continue;
        SCOPED_TRACE("line " + std::to_string(row->line) + ": " + url + " saved as " + request.file);
        if (request.animates) {
            EXPECT_EQ(row->conversion, C::AnimateGif);
            continue;
        }
        EXPECT_NE(row->conversion, C::AnimateGif); // the window would not animate it
        if (isJpegFile(request.file))
            EXPECT_TRUE(row->conversion == C::PassThrough || row->conversion == C::ToJpeg);
        else
            EXPECT_TRUE(isGifFile(request.file) && row->conversion != C::ToJpeg);
        if (row->conversion != C::PassThrough)
            continue;
        // Passed through, every address that names its type must name the file's type.
        for (const std::string& address : row->live) {
            const std::string name = lower(address);
            if (name.ends_with(".png") || name.find("format=image/png") != std::string::npos)
                ADD_FAILURE() << address << " is a PNG";
            if (isGifFile(request.file) &&
                (isJpegFile(name) || name.find("format=image/jpeg") != std::string::npos))
                ADD_FAILURE() << address << " is a JPEG";
            if (isJpegFile(request.file) && isGifFile(name))
                ADD_FAILURE() << address << " is a GIF";
        }
    }
}

TEST(ShippedSourceTable, CountsOfTheCatalogueImagesMatchDocsLiveImages)
{
    std::map<Confidence, int> counts;
    for (const ImageSource& row : ImageCatalogue()) {
        const SourceRow* found = shipped().findUrl(row.url());
        ASSERT_NE(found, nullptr) << row.url();
        ++counts[found->confidence];
    }
    // docs/live-images.md quotes these; change both together.
    EXPECT_EQ(counts[Confidence::High], 13);
    EXPECT_EQ(counts[Confidence::Medium], 53);
    EXPECT_EQ(counts[Confidence::Low], 6);
    EXPECT_EQ(counts[Confidence::None], 27);
}

} // namespace
