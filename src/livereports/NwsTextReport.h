#pragma once

#include "livereports/StateTable.h"

#include <span>
#include <string>
#include <string_view>

namespace cirrolux::livereports {

// One NWS text product as fetched for one forecast office: a raw bulletin from tgftp
// (data/raw/...: SOH, sequence number, WMO heading, AWIPS id, text, ETX) or a
// forecast.weather.gov product.php page, whose product is the first <pre> block.
struct NwsProduct
{
    std::string office; // "BOX"
    std::string fetched;
};

// The product's text: from the <pre> block of a page (entities decoded) or the bulletin itself;
// CR, SOH and ETX dropped, the sequence number line dropped, the "&&" section marks dropped,
// trailing spaces cut, "<" dropped (the window would take it for a tag). Leading and
// trailing blank lines go.
std::string NwsProductText(std::string_view fetched);

// The page of mode "p" (public information statements) or "h" (hydrological products: HYD, RVS,
// FLS, ...) for a state: a heading naming the state and the offices, then each office's products
// in the given order (a product that two offices both carry is shown once). With no product text
// at all, the honest "not currently available" page.
std::string NwsStatePage(std::string_view mode, const StateRow& state,
                         std::span<const NwsProduct> products);

} // namespace cirrolux::livereports
