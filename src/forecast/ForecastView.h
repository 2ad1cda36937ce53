#pragma once

#include <string>

namespace cirrolux {

// What the report retrieval reads from and shows in the forecast window, implemented by
// TfrmForecast (and by a recorder in tests). Texts are 8-bit (Latin-1).
class ForecastView
{
public:
    virtual ~ForecastView() = default;

    // StatusBar1's one text, shown at once.
    virtual void setStatusText(const std::string& text) = 0;
    virtual void setWindowTitle(const std::string& title) = 0;
    // RichEdit1: its whole text (CR LF, or a lone CR, ends a line).
    virtual void setReportText(const std::string& text) = 0;
    virtual std::string reportText() const = 0;
    // RichEdit1's font name; "Fixedsys" stands for the system's fixed-width font.
    virtual std::string fontName() const = 0;
    virtual void setFontName(const std::string& name) = 0;
    // The input controls.
    virtual bool zipVisible() const = 0;
    virtual std::string zipText() const = 0;
    virtual std::string stateListText() const = 0;
    virtual std::string countyText() const = 0;
    virtual void repaint() = 0;
};

} // namespace cirrolux
