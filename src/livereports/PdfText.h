#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cirrolux::livereports {

// The text of a PDF (the NIFC situation report), page by page in the physical layout poppler
// finds, each page ended by a form feed; UTF-8. Nothing for bytes that are not a readable PDF, a
// locked one, or one beyond the limits (MaxPdfBytes, MaxPdfPages), so a hostile file costs
// bounded work. Poppler's own diagnostics are kept off the gateway's error output.
inline constexpr std::size_t MaxPdfBytes = 32 * 1024 * 1024;
inline constexpr int MaxPdfPages = 200;
std::optional<std::string> PdfText(std::string_view pdf);

} // namespace cirrolux::livereports
