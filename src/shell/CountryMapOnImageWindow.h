#pragma once

#include "webwindow/WebPageView.h"

namespace cirrolux {

class TForm1;

// The web page window's country map, shown in the program's image window: title, GIF control at
// the top-left, height 350 and width the map's + 10, shown and moved to the top-left corner.
// The image window is looked up when needed, since start-up makes it after the web page window.
class CountryMapOnImageWindow final : public CountryMapWindow
{
public:
    explicit CountryMapOnImageWindow(TForm1& mainWindow) : m_main(mainWindow) {}

    void showCountryMap(const std::string& title, const std::string& gifFile) override;
    void closeImageWindow() override;

private:
    TForm1& m_main;
};

} // namespace cirrolux
