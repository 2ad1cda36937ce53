#pragma once

#include "livesources/SourceRow.h"

#include <QSize>

#include <optional>
#include <string_view>

namespace cirrolux::gateway {

// A country's flag or map as the web page window asks for it, with its live sources.
struct FactbookPicture
{
    SourceRow row;
    QSize cap; // the picture is scaled down to fit in this
};

// The flag ("figures/{gec}-t.gif") and map ("figures/{gec}-150.gif") requests under the
// Factbook's address, answered from the public-domain PNGs of its final (2014) edition in the
// openfactbook repository, named by the same two-letter code. One rule instead of a table row per
// country; codes outside the country index get nothing (null).
std::optional<FactbookPicture> FactbookPictureFor(std::string_view hostAndPath);

} // namespace cirrolux::gateway
