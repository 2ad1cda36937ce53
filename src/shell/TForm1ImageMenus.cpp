// The "&Images", "&Forecasts" and "&Reports" menus, built from the menu layout table; every
// entry downloads a catalogue picture or opens another window.
#include "shell/TForm1.h"

#include "images/ImageCatalogue.h"
#include "images/ImageDownload.h"
#include "images/MenuLayout.h"
#include "images/RadarImageCommands.h"
#include "images/TSelectState_dlg.h"
#include "images/TfrmImage.h"
#include "images/TfrmImageWallpaper.h"
#include "images/WallpaperUpdate.h"
#include "platform/DesktopWallpaper.h"
#include "platform/WindowCommands.h"
#include "shell/WrappingMenuBar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace cirrolux {

namespace {

// The status tip of an entry whose window is not there yet; empty when it is.
QString unavailableTip(MenuEntryKind kind, bool available)
{
    if (available)
        return {};
    switch (kind) {
    case MenuEntryKind::Image:
        return QStringLiteral("The image window is not available");
    case MenuEntryKind::RadarChooser:
        return QStringLiteral("The radar chooser is not available");
    case MenuEntryKind::Forecast:
    case MenuEntryKind::HtmlForecast:
        return QStringLiteral("The forecast window is not available");
    case MenuEntryKind::WebWindow:
        return QStringLiteral("The web page window is not available");
    case MenuEntryKind::Submenu:
    case MenuEntryKind::Separator:
        break;
    }
    return {};
}

} // namespace

void TForm1::createImageMenus()
{
    // The menu open at each depth; depth 0 entries go on the menu bar.
    std::vector<QMenu*> open;
    for (const MenuEntry& entry : ImageMenuLayout()) {
        open.resize(static_cast<std::size_t>(entry.depth));
        QMenu* parent = open.empty() ? nullptr : open.back();
        const QString caption = QString::fromLatin1(MenuCaption(entry));
        switch (entry.kind) {
        case MenuEntryKind::Submenu: {
            QMenu* menu = parent ? parent->addMenu(caption) : m_menuBar->addMenu(caption);
            menu->setObjectName(QString::fromLatin1(entry.component));
            open.push_back(menu);
            break;
        }
        case MenuEntryKind::Separator:
            if (parent)
                parent->addSeparator();
            break;
        default: {
            if (!parent)
                break;
            QAction* item = parent->addAction(caption);
            item->setObjectName(QString::fromLatin1(entry.component));
            connect(item, &QAction::triggered, this, [this, &entry] { runImageMenuEntry(entry); });
            m_imageMenuActions.emplace_back(item, &entry);
            break;
        }
        }
    }
    updateImageMenus();
}

void TForm1::updateImageMenus()
{
    for (const auto& [item, entry] : m_imageMenuActions) {
        bool available = false;
        switch (entry->kind) {
        case MenuEntryKind::Image:
            available = m_imageDownload != nullptr;
            break;
        case MenuEntryKind::RadarChooser:
            available = m_radarChooserCommands != nullptr;
            break;
        case MenuEntryKind::Forecast:
        case MenuEntryKind::HtmlForecast:
            available = m_forecastCommands != nullptr;
            break;
        case MenuEntryKind::WebWindow:
            available = m_webWindowCommands != nullptr;
            break;
        case MenuEntryKind::Submenu:
        case MenuEntryKind::Separator:
            break;
        }
        item->setEnabled(available);
        item->setStatusTip(unavailableTip(entry->kind, available));
    }
}

void TForm1::runImageMenuEntry(const MenuEntry& entry)
{
    guarded([this, &entry] {
        switch (entry.kind) {
        case MenuEntryKind::Image:
            if (const ImageSource* row = FindImageSource(entry.component); row && m_imageDownload)
                m_imageDownload->runImageCommand(*row);
            break;
        case MenuEntryKind::RadarChooser:
            if (m_radarChooserCommands)
                m_radarChooserCommands->openRadarChooser(false);
            break;
        case MenuEntryKind::Forecast:
            if (m_forecastCommands)
                m_forecastCommands->openForecast(std::string(entry.mode));
            break;
        case MenuEntryKind::HtmlForecast:
            if (m_forecastCommands)
                m_forecastCommands->openHtmlForecast();
            break;
        case MenuEntryKind::WebWindow:
            if (m_webWindowCommands)
                m_webWindowCommands->openWebWindow(std::string(entry.mode));
            break;
        case MenuEntryKind::Submenu:
        case MenuEntryKind::Separator:
            break;
        }
    });
}

void TForm1::createImageWindow()
{
    if (m_imageWindow)
        return;
    m_imageWindow = std::make_unique<TfrmImage>(
        m_state, m_settings, m_ui,
        TfrmImage::MainWindowSteps{[this] { minimizeForWindow(); }, [this] { showFromTray(); }});
    ImageDownload::Hooks hooks;
    hooks.setStatusText = [this](const std::string& text) { setStatusText(text); };
    hooks.repaint = [this] { repaint(); };
    m_imageDownload =
        std::make_unique<ImageDownload>(m_state, m_ui, *m_http, *m_imageWindow, std::move(hooks));

    m_wallpaperWindow = std::make_unique<TfrmImageWallpaper>(*m_imageWindow);
    m_wallpaper = std::make_unique<WallpaperUpdate>(
        m_state, m_settings, m_ui, *m_http, *m_imageDownload, *m_wallpaperWindow,
        [this](const QString& path, int style, int x, int y) {
            // The desktop is looked up on the session bus only when a wallpaper is set.
            if (!m_desktop)
                m_desktop = std::make_unique<DesktopWallpaper>(m_settings);
            return m_desktop->SetDesktopWallpaper(path, style, x, y);
        },
        [this](const std::string& text) { setStatusText(text); });
    m_imageWindow->setWallpaperCommands(m_wallpaper.get());
    updateImageMenus();
}

void TForm1::createRadarChooser()
{
    if (m_radarChooser)
        return;
    m_radarChooser = std::make_unique<RadarImageCommands>(
        m_state, m_settings, m_ui, *m_http,
        [this] {
            return RadarImageCommands::Images{m_imageWindow.get(), m_imageDownload.get()};
        },
        nullptr); // a window of its own: it stays when an image minimises the main window
    setRadarChooserCommands(m_radarChooser.get());
}

void TForm1::setForecastCommands(ForecastCommands* commands)
{
    m_forecastCommands = commands;
    updateImageMenus();
}

void TForm1::setWebWindowCommands(WebWindowCommands* commands)
{
    m_webWindowCommands = commands;
    updateImageMenus();
}

void TForm1::setRadarChooserCommands(RadarChooserCommands* commands)
{
    m_radarChooserCommands = commands;
    updateImageMenus();
}

} // namespace cirrolux
