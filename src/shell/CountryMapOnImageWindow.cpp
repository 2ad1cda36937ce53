#include "shell/CountryMapOnImageWindow.h"

#include "images/TfrmImage.h"
#include "shell/TForm1.h"

namespace cirrolux {

void CountryMapOnImageWindow::showCountryMap(const std::string& title, const std::string& gifFile)
{
    TfrmImage* window = m_main.imageWindow();
    if (!window)
        return;
    window->setImageTitle(title);
    window->prepareGif();
    window->resizeWindow(window->width(), window->height()); // normal state
    window->repaintWindow();
    window->loadGif(gifFile);
    window->resizeWindow(window->gifWidth() + 10, 350);
    window->showWindow();
    window->moveWindow(0, 0);
}

void CountryMapOnImageWindow::closeImageWindow()
{
    if (TfrmImage* window = m_main.imageWindow())
        window->close();
}

} // namespace cirrolux
