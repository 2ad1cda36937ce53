#include "images/RadarImageCommands.h"

#include "images/ImageDownload.h"
#include "images/ImageWindow.h"
#include "images/TSelectState_dlg.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"

namespace cirrolux {

RadarImageCommands::RadarImageCommands(SharedState& state, SettingsStore& settings,
                                       UserInterface& ui, TNMHTTP& http,
                                       std::function<Images()> images, QWidget* parent)
    : m_state(state), m_http(http), m_images(std::move(images)), m_chooser(settings, ui, *this),
      m_dialog(std::make_unique<TSelectState_dlg>(m_chooser, parent))
{
}

RadarImageCommands::~RadarImageCommands() = default;

void RadarImageCommands::openRadarChooser(bool preferencesMode)
{
    m_dialog->open(preferencesMode);
}

void RadarImageCommands::showRadarImage(const std::string& title, const std::string& url,
                                        const std::string& file)
{
    const Images images = m_images();
    if (images.window == nullptr || images.download == nullptr)
        return;
    images.window->setImageTitle(title);
    images.window->prepareGif();
    images.window->setGifAnimate(true);
    images.window->setGifFrame(2);
    m_state.requestUrl = url;
    m_state.imageFile = file;
    m_http.Body = file;
    // The title names WeatherBank, so the window goes to the top-left corner, sized to the loop.
    images.download->do_image();
}

void RadarImageCommands::showWallpaperChoice(const std::string& value)
{
    if (m_wallpaperChoice)
        m_wallpaperChoice(value);
}

} // namespace cirrolux
