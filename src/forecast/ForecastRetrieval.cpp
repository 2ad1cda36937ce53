#include "forecast/ForecastRetrieval.h"

#include "forecast/ForecastModes.h"
#include "forecast/ForecastState.h"
#include "forecast/ForecastView.h"
#include "forecast/ReportText.h"
#include "locations/LocationCatalogue.h"
#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"

namespace cirrolux {

namespace texts = ForecastTexts;

ForecastRetrieval::ForecastRetrieval(SharedState& shared, ForecastState& state, UserInterface& ui,
                                     ForecastView& view, TNMHTTP& http, Hooks hooks)
    : m_shared(shared), m_state(state), m_ui(ui), m_view(view), m_http(http),
      m_hooks(std::move(hooks))
{
    if (!m_hooks.stateNameToCode)
        m_hooks.stateNameToCode = &StateNameToCode;
}

void ForecastRetrieval::status(std::string_view text)
{
    m_view.setStatusText(std::string(text));
}

void ForecastRetrieval::message(std::string_view text)
{
    m_showedMessage = true;
    m_ui.showMessage(std::string(text));
}

void ForecastRetrieval::useFixedFont()
{
    // Saved only while the box shows another font, so a second fetch in the fixed font does not
    // overwrite the user's font with the fixed one.
    const std::string current = m_view.fontName();
    if (current != texts::FixedFontName)
        m_state.savedFontName = current;
    m_view.setFontName(std::string(texts::FixedFontName));
}

void ForecastRetrieval::get_xcast()
{
    m_showedMessage = false;
    const std::string mode = m_shared.forecastMode;
    const ForecastMode* row = FindForecastMode(mode);

    // 1
    m_state.pageText.clear();
    m_view.setReportText({});

    // 2, 3, 4
    const auto finish = [this] {
        status(texts::Resting);
        m_view.repaint();
    };
    status(StartingStatusText(mode));
    m_view.repaint();
    if (row == nullptr) {
        finish();
        return;
    }
    if (row->needsLocation) {
        if (m_view.zipVisible())
            m_hooks.stateNameToCode(m_shared);
        if (m_shared.locationState.empty()) {
            message(texts::NoLocation);
            finish();
            return;
        }
    }

    const std::string zip = m_view.zipText();
    const std::string stateList = m_view.stateListText();
    const ReportInputs inputs{m_shared.locationCity, m_shared.locationState, m_state.cropStateCode,
                              stateList, zip};
    m_view.setWindowTitle(ReportTitle(*row, inputs));
    if (mode == "s2" && zip.size() < 5) {
        message(texts::InvalidZip);
        finish();
        return;
    }
    const std::string address = ReportAddress(*row, inputs);

    status(texts::AttemptingConnection);
    m_http.TimeOut = 90000;
    m_http.InputFileMode = false;
    m_http.OutputFileMode = false;
    m_http.Get(address);
    m_state.pageText = std::move(m_http.Body);
    m_http.Body.clear();

    // 5
    status(texts::ConnectionComplete);
    m_view.repaint();
    status(texts::ParsingStarted);
    m_view.repaint();

    const auto strip = [this] {
        status(texts::Level2Started);
        m_state.pageText = StripReportHtml(m_state.pageText);
        status(texts::Level2Completed);
    };

    switch (row->extraction) {
    case ReportExtraction::Table:
    case ReportExtraction::Earthquake: {
        // 7
        strip();
        useFixedFont();
        m_state.reportText = parse_text(m_state.pageText);
        if (row->extraction == ReportExtraction::Earthquake)
            m_state.reportText = EarthquakeCut(m_state.reportText);
        std::string shown;
        shown.reserve(m_state.reportText.size() + texts::EndOfFile.size() +
                      texts::ThanksLine.size());
        shown.append(m_state.reportText).append(texts::EndOfFile).append(texts::ThanksLine);
        m_view.setReportText(shown);
        break;
    }
    case ReportExtraction::FixedWarning:
    case ReportExtraction::Warning:
        // 6, 8
        if (row->extraction == ReportExtraction::FixedWarning)
            useFixedFont();
        strip();
        status(texts::WarningParsing);
        m_view.setReportText(parse_warning_html(m_state.pageText, m_shared.locationState));
        status(texts::Resting);
        break;
    case ReportExtraction::CountyNowcast:
    case ReportExtraction::CountyForecast:
        strip();
        ExtractCountySection(row->extraction == ReportExtraction::CountyNowcast);
        break;
    }
    // 9
    finish();
}

void ForecastRetrieval::ExtractCountySection(bool nowcast)
{
    if (m_shared.locationState.empty()) {
        m_ui.beep();
        message(texts::StateNotFound);
        return;
    }
    const CountySection cut = cirrolux::ExtractCountySection(
        m_state.pageText, m_view.countyText(), nowcast ? CountyKind::Nowcast : CountyKind::Forecast,
        m_shared.locationState);
    m_state.countyName = cut.countyName;
    status(texts::ParsingData);
    if (cut.countyUsed)
        status(texts::LookingForCounty(cut.countyName));
    if (cut.found)
        status(texts::FoundCounty(cut.countyName));
    m_view.setReportText(m_view.reportText() + cut.section);
    status(texts::ParsingComplete);
    if (cut.countyUsed && !cut.found)
        message(texts::CountyNotFound(cut.countyName));
    m_view.setWindowTitle(cut.title);
}

void ForecastRetrieval::mnuForecastHTMLClick()
{
    const std::string address(ServiceAddresses::ConditionsBase);
    m_http.TimeOut = 60000;
    m_http.InputFileMode = false;
    m_http.OutputFileMode = false;
    m_http.HeaderInfo.Referer = std::string(texts::HtmlReferer);
    m_http.Get(address);
    m_http.Body.clear();
    m_ui.openUrl(address);
}

} // namespace cirrolux
