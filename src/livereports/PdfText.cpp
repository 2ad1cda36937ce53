#include "livereports/PdfText.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <climits>
#include <memory>

namespace cirrolux::livereports {

namespace {

void quiet(const std::string&, void*) {}

} // namespace

std::optional<std::string> PdfText(std::string_view pdf)
{
    if (pdf.size() < 8 || pdf.size() > MaxPdfBytes || pdf.size() > std::size_t(INT_MAX))
        return std::nullopt;
    poppler::set_debug_error_function(&quiet, nullptr);
    // Poppler reads the bytes in place: `pdf` outlives the document.
    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(pdf.data(), int(pdf.size())));
    if (!document || document->is_locked() || document->pages() < 1 ||
        document->pages() > MaxPdfPages)
        return std::nullopt;
    std::string text;
    for (int i = 0; i < document->pages(); ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (page) {
            const poppler::byte_array utf8 =
                page->text(poppler::rectf(), poppler::page::physical_layout).to_utf8();
            text.append(utf8.data(), utf8.size());
        }
        // Poppler ends each page's text with a form feed itself; a page without one gets it.
        if (!text.ends_with('\f')) {
            if (!text.ends_with('\n'))
                text += '\n';
            text += '\f';
        }
    }
    return text;
}

} // namespace cirrolux::livereports
