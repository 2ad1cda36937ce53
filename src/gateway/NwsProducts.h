#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cirrolux::gateway {

// The forecast window's NWS pages that NOAA still publishes, one text file per zone:
// "/iwin/<ST>/zone.html" (zone forecasts), "shortterm.html" (nowcasts), "allwarnings.html"
// (warnings and advisories) and "special.html" (special weather statements).
enum class ProductPage { ZoneForecast, Nowcast, Warnings, Special };

struct ProductRequest
{
    ProductPage page;
    std::string state; // upper case, "MA"
};

// The page behind a path on the NWS host; nullopt for every other path (those are left to the
// emulator's content).
std::optional<ProductRequest> ProductRequestOf(std::string_view pathAndQuery);

// The files a page is made of, for each zone: paths under the products base with "{st}" and
// "{zone}" to fill in ("forecasts/zone/{st}/{zone}.txt"), as in weather-util-data's zones file.
std::span<const std::string_view> ProductFiles(ProductPage page);
// A file's path for one zone: "forecasts/zone/ma/maz015.txt".
std::string ProductFilePath(std::string_view pattern, std::string_view zone);

// One zone file as fetched (or from the cache).
struct ZoneProduct
{
    std::string zone; // "maz015"
    std::string text; // the file as NOAA serves it
};

// Writes the page for `request` from the zone files that exist (in zone order). Forecasts and
// nowcasts keep the first file's heading and each zone's section once; warnings and statements
// keep each distinct product whole. The text is upper-cased as the NWS wrote its products when
// the program was made (the window looks counties up in upper case), and stripped of what the
// window's extraction would misread (markup characters). `note` (may be empty) goes on top, e.g.
// that some files came from the cache. With no files at all, warnings and statements say there
// are none in effect; forecasts say they are not currently available.
std::string BuildProductPage(const ProductRequest& request, std::string_view stateName,
                             std::span<const ZoneProduct> products, std::string_view note = {});

// The page when nothing could be fetched and nothing is cached; it says "not currently
// available" so the window shows its own notice for the warning pages.
std::string ProductUnavailablePage(const ProductRequest& request, std::string_view stateName,
                                   std::string_view reason);

// A NOAA text file as the page shows it: CR removed, the "Expires:" line dropped, ASCII upper
// case, "<" and ">" removed, other control characters but LF turned into spaces.
std::string NormalisedProductText(std::string_view text);

} // namespace cirrolux::gateway
