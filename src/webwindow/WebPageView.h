#pragma once

#include <string>
#include <vector>

namespace cirrolux {

// What the web page window's logic shows: implemented by TfrmWeb, and by a recorder in tests.
// Texts are 8-bit (Latin-1).
class WebPageView
{
public:
    virtual ~WebPageView() = default;
    // StatusBar1; the window repaints at once so the text shows while a transfer runs.
    virtual void setStatusText(const std::string& text) = 0;
    virtual void setTitle(const std::string& title) = 0;
    // cboChoose: replaces the list, nothing selected.
    virtual void setCountries(const std::vector<std::string>& entries) = 0;
    // The text of cboChoose (empty when nothing is chosen).
    virtual std::string chosenCountry() const = 0;
    // FrameViewer1: loads and lays out a local page; throws CirroluxError
    // "Can't locate file: " + name when it is missing.
    virtual void loadPage(const std::string& fileName) = 0;
    // GIFImage1: shown, cleared, put at the top and centred, then loaded from the file (stays
    // empty when the file is missing or no GIF).
    virtual void showFlag(const std::string& fileName) = 0;
    // Brings the window to the front.
    virtual void bringToFront() = 0;
};

// The image window as the web page window uses it: the country's map in its GIF control.
// The lead's wiring maps these onto TfrmImage.
class CountryMapWindow
{
public:
    virtual ~CountryMapWindow() = default;
    // Title, then the GIF file shown in the GIF control (picture control hidden and 0 by 0, GIF
    // control cleared at 0, 0, state normal); height 350, width = the GIF's width + 10; shown at
    // the top-left corner of the screen. The file may be deleted once this returns.
    virtual void showCountryMap(const std::string& title, const std::string& gifFile) = 0;
    // Closes the image window (which runs its own close steps).
    virtual void closeImageWindow() = 0;
};

} // namespace cirrolux
