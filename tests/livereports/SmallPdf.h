#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cirrolux::testing {

// A PDF 1.4 file with one page per entry of `pages`, each line in Courier 10 pt from the top.
inline std::string SmallPdf(const std::vector<std::vector<std::string>>& pages)
{
    std::vector<std::string> objects;
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (std::size_t p = 0; p < pages.size(); ++p)
        kids += std::to_string(4 + 2 * p) + " 0 R ";
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>");
    for (std::size_t p = 0; p < pages.size(); ++p) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources "
                          "<< /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * p) + " 0 R >>");
        std::string content = "BT /F1 10 Tf 12 TL 72 720 Td\n";
        for (const std::string& line : pages[p])
            content += "(" + line + ") Tj T*\n";
        content += "ET";
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "\nendstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace cirrolux::testing
