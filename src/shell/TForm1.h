#pragma once

#include "conditions/ConditionsView.h"
#include "display/MoonPhase.h"
#include "display/MoonView.h"
#include "locations/PresetList.h"
#include "platform/SharedState.h"
#include "platform/WindowCommands.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTimer;

namespace cirrolux {

class ConditionsParser;
class ConditionsRequest;
class ForecastCommands;
class DesktopWallpaper;
class ImageDownload;
class RadarImageCommands;
class TfrmImageWallpaper;
class WallpaperUpdate;
class RadarChooserCommands;
class TfrmImage;
class WebWindowCommands;
struct MenuEntry;
class MoonPhase;
class RadarChooserCommands;
class SettingsStore;
class StatsPanel;
class TNMHTTP;
class TOnTray;
class TfrmLocation;
class TfrmPref;
class UserInterface;
class WrappingMenuBar;

// The main window: stats panel, menus, status bar, tray icon, the start-up and refresh timers,
// and the shared transfer component. It wires its controls to the logic and shows its results.
class TForm1 : public QMainWindow, public ConditionsView, public PresetMenu, public MoonView
{
    Q_OBJECT

public:
    struct Options
    {
        int startupDelayMs = 4000;          // timer_startup
        int autoUpdateFirstMs = 1000;       // Timer1 at creation
        int autoUpdateIntervalMs = 1500000; // Timer1 once auto update is on (25 minutes)
        std::optional<bool> trayAvailable;  // default: what the desktop reports
        MoonPhase::Clock today;             // default: the local date
    };

    TForm1(SettingsStore& settings, UserInterface& ui, Options options, QWidget* parent = nullptr);
    ~TForm1() override;

    // Handlers, named as the program's users know them.
    void FormCreate();
    void FormShow();
    void FormResize();
    void timer_startupTimer();
    void Timer1Timer();
    void get_startup_wstats();
    void minimize_logic();
    void Get_the_Stats();
    void mnuViewstatsClick(int index);
    void mnuAbortconnectionClick();
    void mnuClearlocationsClick();
    void mnuRemoveaspecificlocation1Click();
    void mnuSortlocations1Click();
    // "&Choose Location...": creates the dialog on first use, then shows and raises it.
    void mnuChooseLocationClick();
    // "&General Preferences...".
    void mnuGeneralPreferences1Click();
    // Creates the preferences dialog (start-up does it once), after the radar chooser.
    void createPreferences();
    void mnuMainLabelColor1Click();
    void mnuMainLabelFontColor1Click();
    void mnuStatsFontColor1Click();
    void setTransparency(bool on);
    void setBackground(const std::string& storedName);
    void setStayOnTop(bool on);
    void mnuPrint1Click();
    void mnuExit1Click();
    // The one way back for the main window, from the tray menu and from every window that
    // minimised it (image, web page and forecast windows): shown, not minimised, in front.
    void showFromTray();
    // Minimises the main window while another window shows; with a tray it then hides there.
    void minimizeForWindow();
    void hideToTray();
    // Help menu
    void mnuHelpContentsClick();
    void launch_help();
    void mnuAboutClick();
    void CheckforUpdate1Click();

    // The image window and its download (start-up's "TfrmImage" step); until then the image
    // entries of the menus are disabled.
    void createImageWindow();
    TfrmImage* imageWindow() const { return m_imageWindow.get(); }
    ImageDownload* imageDownload() const { return m_imageDownload.get(); }
    // The wallpaper step of the image window and of each timed refresh (made with the window).
    WallpaperUpdate* wallpaper() const { return m_wallpaper.get(); }
    // The state and regional radar chooser (start-up's "TSelectState_dlg" step).
    void createRadarChooser();
    RadarImageCommands* radarChooser() const { return m_radarChooser.get(); }
    // The windows the other entries of the image menus open; null (the default) disables them.
    void setForecastCommands(ForecastCommands* commands);
    void setWebWindowCommands(WebWindowCommands* commands);
    void setRadarChooserCommands(RadarChooserCommands* commands);

    // The colour steps shared with the restore on first show: a text that does not convert
    // changes nothing.
    void set_label_colors(const std::string& colorText);
    void set_label_font_colors(const std::string& colorText);
    void set_stats_font_color(const std::string& colorText);

    SharedState& state() { return m_state; }
    UserInterface& userInterface() { return m_ui; }
    TNMHTTP& NMHTTP1() { return *m_http; }
    TOnTray& tray() { return *m_tray; }
    StatsPanel& panel() { return *m_panel; }
    ConditionsRequest& request() { return *m_request; }
    ConditionsParser& parser() { return *m_parser; }
    PresetList& presets() { return *m_presets; }
    TfrmLocation* frmLocation() const { return m_frmLocation.get(); } // null until first opened
    TfrmPref* frmPref() const { return m_frmPref.get(); }
    QTimer& timerStartup() { return *m_timerStartup; }
    QTimer& timer1() { return *m_timer1; }
    QAction* action(const QString& objectName) const;
    QLabel* statusPanel(int index) const { return m_statusPanels[std::size_t(index)]; }
    // The forecast window, made at start-up: the main window owns it, opens it through
    // `commands` and hands it the transfer's status texts while it owns the transfer.
    void adoptForecastWindow(std::unique_ptr<QWidget> window, ForecastCommands& commands,
                             std::function<void(const std::string&)> statusSink);
    // The web page window, made at start-up: the main window owns it and opens it through
    // `commands`. Like every window that must outlive a minimised main window, it is a window of
    // its own rather than a child, so the window manager does not hide it with the main window.
    void adoptWebWindow(std::unique_ptr<QWidget> window, WebWindowCommands& commands);
    QWidget* webWindow() const { return m_webWindow.get(); }
    // The top-level menus in menu bar order, whichever row of the bar shows them.
    QList<QAction*> menuBarActions() const;
    ForecastCommands* forecastCommands() const { return m_forecastCommands; }
    SettingsStore& settings() { return m_settings; }
    UserInterface& ui() { return m_ui; }
    // Called once, at the first paint of the window (the start-up hides its splash here).
    void setFirstPaintHandler(std::function<void()> handler) { m_firstPaint = std::move(handler); }

    // ConditionsView
    void setStatusText(const std::string& text) override;
    void setForecastStatusText(const std::string& text) override;
    void showReading(Reading which, const std::string& text) override;
    std::string reading(Reading which) const override;
    void setTrayTip(const std::string& tip) override;
    void setTrayPicture(int index) override;
    void setWindowTitle(const std::string& title) override;
    std::string windowTitle() const override;

    // PresetMenu
    void showEntry(int index, const std::string& caption) override;
    void hideEntry(int index) override;
    void repaint() override;

    // MoonView
    bool hasMoonPicture(const std::string& name) const override;
    void showMoonPicture(const std::string& name) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createHelpMenu();
    void createTrayMenus();
    // "&Images", "&Forecasts" and "&Reports", from the menu layout (TForm1ImageMenus.cpp).
    void createImageMenus();
    void runImageMenuEntry(const MenuEntry& entry);
    void updateImageMenus();
    QAction* addAction(QMenu* menu, const char* objectName, const char* caption);
    struct MenuName
    {
        const char* objectName;
        const char* caption;
    };
    // A submenu of two exclusive checkable entries, "off" checked at start.
    void addOffOnChoice(QMenu* parent, MenuName submenu, MenuName off, MenuName on,
                        const std::function<void(bool)>& choose);
    void guarded(const std::function<void()>& command);
    // Enables "Hide window..." or "Restore window..." from the window's state.
    void updateTrayEntries();
    // The window manager's frame around the client area (8 x 27 where it reports none).
    QSize windowFrame() const;
    void applySizeLimits();
    // Runs a request the program started itself; skipped while another runs.
    void automaticRequest(const std::string& key, bool updateWallpaper);
    void colorCommand(const char* failureText, const std::function<void(const std::string&)>& apply,
                      std::string_view settingName, bool refuseBlack);

    SettingsStore& m_settings;
    UserInterface& m_ui;
    Options m_options;
    SharedState m_state;

    StatsPanel* m_panel = nullptr;
    WrappingMenuBar* m_menuBar = nullptr;
    std::array<QLabel*, 2> m_statusPanels{};
    std::array<QAction*, PresetMenu::Size> m_presetActions{};
    QMenu* m_pmnLeft = nullptr;
    QMenu* m_pmnRight = nullptr;
    QTimer* m_timerStartup = nullptr;
    QTimer* m_timer1 = nullptr;
    TNMHTTP* m_http = nullptr;
    TOnTray* m_tray = nullptr;
    std::unique_ptr<ConditionsParser> m_parser;
    std::unique_ptr<PresetList> m_presets;
    std::unique_ptr<MoonPhase> m_moon;
    ConditionsRequest* m_request = nullptr;
    std::function<void()> m_firstPaint;
    std::unique_ptr<TfrmImage> m_imageWindow; // a window of its own, not a child
    std::unique_ptr<ImageDownload> m_imageDownload;
    std::unique_ptr<DesktopWallpaper> m_desktop; // made at the first wallpaper
    std::unique_ptr<TfrmImageWallpaper> m_wallpaperWindow;
    std::unique_ptr<WallpaperUpdate> m_wallpaper;
    std::unique_ptr<RadarImageCommands> m_radarChooser;
    ForecastCommands* m_forecastCommands = nullptr;
    WebWindowCommands* m_webWindowCommands = nullptr;
    RadarChooserCommands* m_radarChooserCommands = nullptr;
    std::vector<std::pair<QAction*, const MenuEntry*>> m_imageMenuActions;
    bool m_shownOnce = false;
    QSize m_frame; // the frame the size limits were last set for
    std::string m_forecastStatus;
    std::function<void(const std::string&)> m_forecastStatusSink;
    // Windows of their own, not children (see adoptWebWindow); they go before what they use.
    std::unique_ptr<TfrmLocation> m_frmLocation;
    std::unique_ptr<TfrmPref> m_frmPref;
    std::unique_ptr<QWidget> m_webWindow;
    std::unique_ptr<QWidget> m_forecastWindow; // last: goes before the transfer component
};

} // namespace cirrolux
