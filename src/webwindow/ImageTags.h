#pragma once

#include <string>
#include <string_view>

namespace cirrolux {

// Every "<img src" of a page (exact letter case, left to right, no overlaps) becomes "<REM", so
// the viewer never sees an image tag of the page. Everything else is kept byte for byte.
std::string StripImageTags(std::string_view page);

// parse_imgsrcs: rewrites the page file `fileName` in place through the temporary file "t" +
// `fileName` (same folder). Returns false, with the file left alone, when the page file cannot
// be read (a transfer that left no page); throws CirroluxError when the rewrite cannot be written.
bool parse_imgsrcs(const std::string& fileName);

} // namespace cirrolux
