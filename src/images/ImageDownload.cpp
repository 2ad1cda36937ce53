#include "images/ImageDownload.h"

#include "images/ImageSource.h"
#include "images/ImageWindow.h"
#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace cirrolux {

namespace {

constexpr const char* RadarFile = "rad_comp.gif";
constexpr const char* RadarRetryFile = "rad_comp-2.gif";
constexpr const char* RadarRetryText = "Sorry, this image is not available at the moment.  I will "
                                       "retry an image 2 hours older than the current.";

std::string upperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

ImageDownload::ImageDownload(SharedState& state, UserInterface& ui, TNMHTTP& http,
                             ImageWindow& window, Hooks hooks)
    : m_state(state), m_ui(ui), m_http(http), m_window(window), m_hooks(std::move(hooks))
{
}

void ImageDownload::runImageCommand(const ImageSource& row)
{
    if (row.has(ImageOption::Animate))
        m_window.setGifAnimate(true);
    if (row.has(ImageOption::Frame2))
        m_window.setGifFrame(2);
    if (row.has(ImageOption::White))
        m_window.setWhiteBackground();
    if (row.has(ImageOption::NoMaximize))
        m_window.removeMaximizeButton();
    m_state.requestUrl = row.url();
    m_window.setImageTitle(row.windowTitle());
    m_state.imageFile = row.localFile();
    m_http.Body = m_state.imageFile;
    do_image();
    if (!row.note.empty())
        m_ui.showMessage(std::string(row.note));
}

void ImageDownload::setStatus(const std::string& text, bool repaint)
{
    if (m_hooks.setStatusText)
        m_hooks.setStatusText(text);
    if (repaint && m_hooks.repaint)
        m_hooks.repaint();
}

void ImageDownload::do_image()
{
    for (;;) {
        m_state.requestSucceeded.clear();
        m_http.TimeOut = 90000;
        m_http.InputFileMode = true;
        m_http.OutputFileMode = false;
        m_http.ReportLevel = 16;
        m_http.HeaderInfo.Referer = "Cirrolux by Tallowmere";
        m_http.Get(m_state.requestUrl);

        // The latest Purdue composite is sometimes a stub until the next one is drawn; the one
        // before it is tried once (the new name cannot match again).
        if (m_state.imageFile != RadarFile || m_http.ExpectedLength() >= RadarRetryBytes)
            break;
        m_ui.showMessage(RadarRetryText);
        m_state.requestUrl = std::string(ServiceAddresses::PurdueRadar) +
                             std::string(ServiceAddresses::PurdueRadarPreviousPath);
        m_state.imageFile = RadarRetryFile;
        m_http.Body = m_state.imageFile;
    }

    if (m_http.ExpectedLength() >= MinimumImageBytes || receivedBytes() >= MinimumImageBytes) {
        setStatus("Image retrieved...", true);
        if (m_state.requestSucceeded != "Y") {
            m_ui.beep();
            setStatus("Error retrieving image...", false);
        } else {
            setStatus("Preparing image for display...", true);
            m_state.imageFileUpper = upperCase(m_state.imageFile);
            prepareWindow();
            if (m_state.automaticRequest != "y")
                m_window.showWindow();
            setStatus("Thank you for using Cirrolux...", false);
        }
    } else {
        setStatus("Problems retrieving image..." + std::to_string(m_http.ExpectedLength()), true);
    }

    // A timed refresh leaves the flag for the wallpaper step to test.
    if (m_state.automaticRequest != "y")
        m_state.requestSucceeded.clear();
}

long long ImageDownload::receivedBytes() const
{
    // The component does not count body bytes that arrived with the header, so a small picture
    // sent without Content-Length would count as missing; the file holds every byte.
    std::error_code error;
    const auto written = std::filesystem::file_size(m_state.imageFile, error);
    const long long inFile = error ? 0 : static_cast<long long>(written);
    return std::max<long long>(m_http.ReceivedCount(), inFile);
}

void ImageDownload::prepareWindow()
{
    const std::string& file = m_state.imageFile;
    if (m_state.imageFileUpper.find(".GIF") == std::string::npos) {
        m_window.preparePicture();
        m_window.resizeWindow(WindowWidth, WindowHeight);
        m_window.repaintWindow();
        m_window.loadPicture(file);
        return;
    }
    m_window.prepareGif();
    m_window.resizeWindow(WindowWidth, WindowHeight);
    m_window.repaintWindow();
    m_window.loadGif(file);
    if (m_window.imageTitle().find("WeatherBank") == std::string::npos)
        return;
    // The WeatherBank loop is shown at the corner of the screen at its own size, running from
    // its second frame (the first is the legend).
    m_window.moveWindow(0, 0);
    m_window.setGifAnimate(true);
    m_window.setGifFrame(2);
    m_window.loadGif(file);
    m_window.resizeWindow(m_window.gifWidth(), m_window.gifHeight());
    m_window.loadGif(file);
    m_window.repaintWindow();
    m_window.setGifAnimate(true);
    m_window.setGifFrame(2);
}

} // namespace cirrolux
