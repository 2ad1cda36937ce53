#pragma once

// What the program's own windows make of a page: the forecast window's extraction for a mode (the
// mode table says which extraction it uses; the steps are the window's own functions), and the web
// page window's image-tag removal followed by the page viewer's layout, as plain text.
#include "forecast/ForecastModes.h"
#include "forecast/ReportText.h"
#include "webwindow/ImageTags.h"

#include <QFile>
#include <QString>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace cirrolux::testing {

// The text the forecast window shows for `page` in `mode` (locationState as the window has it).
inline std::string ForecastWindowText(std::string_view mode, std::string_view page,
                                      std::string_view locationState)
{
    const ForecastMode* row = FindForecastMode(mode);
    if (row == nullptr) {
        ADD_FAILURE() << "no forecast mode " << mode;
        return {};
    }
    const std::string stripped = StripReportHtml(page);
    switch (row->extraction) {
    case ReportExtraction::Table:
    case ReportExtraction::Earthquake: {
        std::string report = parse_text(stripped);
        if (row->extraction == ReportExtraction::Earthquake)
            report = EarthquakeCut(report);
        return report + std::string(ForecastTexts::EndOfFile) +
               std::string(ForecastTexts::ThanksLine);
    }
    case ReportExtraction::Warning:
    case ReportExtraction::FixedWarning:
        return parse_warning_html(stripped, locationState);
    case ReportExtraction::CountyForecast:
    case ReportExtraction::CountyNowcast:
        return ExtractCountySection(stripped, {},
                                    row->extraction == ReportExtraction::CountyNowcast
                                        ? CountyKind::Nowcast
                                        : CountyKind::Forecast,
                                    locationState)
            .section;
    }
    return {};
}

// The text a reader sees in the web page window for `page` (Latin-1).
inline std::string WebWindowText(std::string_view page)
{
    const std::string shown = StripImageTags(page);
    QTextDocument document;
    document.setHtml(QString::fromLatin1(shown.data(), qsizetype(shown.size())));
    // The viewer's layout leaves a space after a block's last word; a reader does not see it.
    const QByteArray text = document.toPlainText().toLatin1().trimmed();
    return std::string(text.constData(), std::size_t(text.size()));
}

// CR LF as LF, so expected files stay readable.
inline std::string WithLf(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

inline std::string ReadTestFile(const std::string& name)
{
    QFile file(QStringLiteral(CIRROLUX_LIVEREPORTS_DATA "/") + QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << name;
        return {};
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace cirrolux::testing
