// The fire report's PDF-to-text step (poppler) on a small PDF written here object by object, read
// on through the fire report page into the web page window's text; and refusals of bytes that are
// no readable PDF.
#include "ProgramExtraction.h"
#include "SmallPdf.h"

#include "livereports/FireReport.h"
#include "livereports/PdfText.h"

#include <vector>

namespace cirrolux::livereports {
namespace {

TEST(PdfText, FireReportPdfReadsAsItsPageInTheWebWindow)
{
    const std::string pdf = cirrolux::testing::SmallPdf(
        {{"Incident Management Situation Report", "National Preparedness Level 3"},
         {"Bear Gulch   MT-BDF   12,450 acres"}});
    const std::optional<std::string> text = PdfText(pdf);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(std::count(text->begin(), text->end(), '\f'), 2) << *text;
    EXPECT_EQ(cirrolux::testing::WebWindowText(FireReportPage(*text)),
              "Incident Management Situation Report\n\n"
              "Incident Management Situation Report\n"
              "National Preparedness Level 3\n\n"
              "Bear Gulch   MT-BDF   12,450 acres\n\n"
              "Source: National Interagency Coordination Center, National Interagency Fire "
              "Center, Boise, Idaho (www.nifc.gov); text taken from the published PDF.");
}

struct Refusal
{
    const char* name;
    std::string bytes;
};

class PdfRefusals : public ::testing::TestWithParam<Refusal>
{
};

TEST_P(PdfRefusals, GiveNoText)
{
    EXPECT_FALSE(PdfText(GetParam().bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    LiveReports, PdfRefusals,
    ::testing::Values(Refusal{"empty", ""},
                      Refusal{"html_error_page", "<html><body>502 Bad Gateway</body></html>"},
                      Refusal{"truncated_header", "%PDF-1.4\n1 0 obj\n<< /Type"},
                      Refusal{"no_pages", "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\n"
                                          "endobj\n2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\n"
                                          "endobj\ntrailer\n<< /Root 1 0 R >>\n%%EOF\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cirrolux::livereports
