#include "images/WallpaperUpdate.h"

#include "images/ImageDownload.h"
#include "images/JpegDecoder.h"
#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/DesktopWallpaper.h"
#include "platform/ScopeExit.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "wallpaper/WallpaperBitmap.h"
#include "wallpaper/WallpaperCatalogue.h"
#include "wallpaper/WallpaperInstall.h"

#include <QFile>

namespace cirrolux {

namespace {

std::string_view providerBase(WallpaperProvider provider)
{
    using P = WallpaperProvider;
    switch (provider) {
    case P::PurdueRadar:
        return ServiceAddresses::PurdueRadar;
    case P::PurdueSurface:
        return ServiceAddresses::PurdueSurface;
    case P::TexasAM:
        return ServiceAddresses::TexasAM;
    case P::Yahoo:
        return ServiceAddresses::Yahoo;
    case P::Meteo:
        return ServiceAddresses::Meteo;
    case P::UWM:
        return ServiceAddresses::UWMadison;
    case P::NoaaGoes:
        return ServiceAddresses::NoaaGoes;
    case P::KochiUniversity:
        return ServiceAddresses::KochiUniversity;
    case P::JamesCookUniversity:
        return ServiceAddresses::JamesCook;
    case P::EarthWatch:
        return ServiceAddresses::EarthWatch;
    case P::MakerImages:
        return ServiceAddresses::MakerSite;
    }
    return {};
}

} // namespace

WallpaperUpdate::WallpaperUpdate(SharedState& state, SettingsStore& settings, UserInterface& ui,
                                 TNMHTTP& http, ImageDownload& download, Window& window,
                                 SetDesktopWallpaper setWallpaper,
                                 std::function<void(const std::string&)> setStatusText)
    : m_state(state), m_settings(settings), m_ui(ui), m_http(http), m_download(download),
      m_window(window), m_setWallpaper(std::move(setWallpaper)),
      m_setStatusText(std::move(setStatusText))
{
}

void WallpaperUpdate::UpdateAutoWallpaper()
{
    const std::optional<WallpaperSource> source = WallpaperCatalogue::find(
        m_settings.read_setting(SettingNames::Settings, SettingNames::AutoWallpaper));
    if (!source)
        return;
    m_state.requestUrl = source->address(providerBase(source->provider));
    m_state.imageFile = source->localFile;
    m_http.Body = source->localFile;
    ApplyWallpaperImage();
}

void WallpaperUpdate::ApplyWallpaperImage()
{
    const ScopeExit done([this] {
        m_state.requestSucceeded.clear();
        m_state.imageFile.clear();
        m_state.imageFileUpper.clear();
    });
    // A bitmap left by an update that stopped belongs to another image. The upper-case name
    // left by an image window that is open belongs to another image too: only do_image sets it
    // for this one, so a reply too short to be prepared goes to the JPEG decoder, which says
    // what is wrong with it.
    QFile::remove(WallpaperBitmap::workingPath());
    m_state.imageFileUpper.clear();
    m_download.do_image();
    m_setStatusText("Processing wallpaper image...");
    if (m_state.requestSucceeded == "Y") {
        // A desktop that cannot take it has had its say in the status bar.
        if (makeAndApply(false, false) != WallpaperHandOver::NoDesktop)
            m_setStatusText("Wallpaper updated...");
    }
}

void WallpaperUpdate::do_wallpaper()
{
    makeAndApply(m_window.imageTitle().find("WeatherBank", 1) != std::string::npos, true);
}

WallpaperHandOver WallpaperUpdate::makeAndApply(bool useCapture, bool byHand)
{
    const QString bitmap = WallpaperBitmap::workingPath();
    if (!useCapture)
        QFile::remove(bitmap);
    if (!QFile::exists(bitmap))
        makeBitmap(bitmap);

    const WallpaperInstalled installed =
        installWallpaperBitmap(m_setWallpaper, m_placement, m_settings, m_ui);
    if (installed.handOver == WallpaperHandOver::NoDesktop) {
        if (byHand || !m_toldNoDesktop)
            m_ui.showMessage(DesktopWallpaper::noDesktopMessage(installed.bitmap));
        m_toldNoDesktop = true;
        m_setStatusText(std::string(NoDesktopStatus));
    }
    return installed.handOver;
}

void WallpaperUpdate::makeBitmap(const QString& bitmap)
{
    // An image that cannot be made leaves no bitmap, and the missing-bitmap message says so.
    switch (WallpaperBitmap::sourceFor(m_state.imageFile, m_state.imageFileUpper)) {
    case WallpaperBitmap::Source::Jpeg:
        WallpaperBitmap::save(JpegDecoder::decodeFile(m_state.imageFile), bitmap);
        break;
    case WallpaperBitmap::Source::RadarCapture:
        WallpaperBitmap::save(m_window.captureRadar(m_state.imageFile), bitmap);
        break;
    case WallpaperBitmap::Source::GifFirstFrame:
        WallpaperBitmap::save(m_window.gifFirstFrame(), bitmap);
        break;
    }
}

} // namespace cirrolux
