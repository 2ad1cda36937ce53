#include "shell/TForm1.h"

#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsRequest.h"
#include "display/MoonPictures.h"
#include "display/StatsPanel.h"
#include "display/TOnTray.h"
#include "images/ImageDownload.h"
#include "images/RadarImageCommands.h"
#include "images/TfrmImage.h"
#include "images/TfrmImageWallpaper.h"
#include "images/WallpaperUpdate.h"
#include "locations/TfrmLocation.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/CommandGuard.h"
#include "platform/DesktopWallpaper.h"
#include "platform/ScopeExit.h"
#include "platform/UserInterface.h"
#include "resources/BuiltinPictures.h"
#include "settings/ColorText.h"
#include "settings/ProxySettings.h"
#include "settings/ReadOrReport.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "settings/TfrmPref.h"
#include "shell/WrappingMenuBar.h"
#include "wallpaper/WallpaperCatalogue.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace cirrolux {

namespace names = SettingNames;

namespace {

constexpr const char* RestingText = "Thank you for using Cirrolux...";
constexpr const char* MakerNotice = "Freeware";
constexpr int MinWidth = 325;
constexpr int MaxWidth = 370;
constexpr int MinHeight = 355;
constexpr int MaxHeight = 390;
// The frame of the desktop those outer sizes were made for, used where the window manager does
// not report its own.
constexpr QSize DefaultFrame(8, 27);

// Menu captions use "&" for access keys; a location's own "&" must show as itself.
QString menuCaption(const std::string& text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TForm1::TForm1(SettingsStore& settings, UserInterface& ui, Options options, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_ui(ui), m_options(std::move(options))
{
    setObjectName(QStringLiteral("Form1"));
    QMainWindow::setWindowTitle(QStringLiteral("Cirrolux"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    m_panel = new StatsPanel(this);
    m_panel->installEventFilter(this);
    setCentralWidget(m_panel);
    connect(static_cast<QPushButton*>(m_panel->minimizeButton()), &QPushButton::clicked, this,
            &TForm1::hideToTray);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < m_statusPanels.size(); ++i) {
        auto* panel = new QLabel(statusBar);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setFixedWidth(i == 0 ? 190 : 60);
        statusBar->addWidget(panel);
        m_statusPanels[i] = panel;
    }
    m_statusPanels[0]->setText(QString::fromLatin1(RestingText));
    setStatusBar(statusBar);

    m_http = new TNMHTTP(this);
    m_http->setObjectName(QStringLiteral("NMHTTP1"));

    m_presets = std::make_unique<PresetList>(m_state, m_settings, m_ui, *this);
    m_parser = std::make_unique<ConditionsParser>(m_state, m_settings, m_ui, *this,
                                                  [this] { m_presets->AddPreset(); });
    m_moon = std::make_unique<MoonPhase>(m_ui, *this, m_options.today);
    ConditionsRequest::Hooks hooks;
    hooks.rebuildPresets = [this] { m_presets->RebuildPresets(); };
    hooks.updateMoonPhase = [this] { m_moon->Update(); };
    hooks.repaint = [this] { repaint(); };
    m_request =
        new ConditionsRequest(m_state, m_ui, *this, *m_http, *m_parser, std::move(hooks), this);

    createMenus();
    createImageMenus();
    createHelpMenu();
    createTrayMenus();

    m_timerStartup = new QTimer(this);
    m_timerStartup->setObjectName(QStringLiteral("timer_startup"));
    m_timerStartup->setSingleShot(true);
    m_timerStartup->setTimerType(Qt::PreciseTimer);
    m_timerStartup->setInterval(m_options.startupDelayMs);
    connect(m_timerStartup, &QTimer::timeout, this, &TForm1::timer_startupTimer);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(m_options.autoUpdateFirstMs);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    m_settings.setDamagedFileHandler([&ui = m_ui](const std::string& keptAs) {
        ui.showMessage(SettingsStore::damagedFileMessage(keptAs));
    });

    FormCreate();
    m_timerStartup->start();
    m_timer1->start();
}

TForm1::~TForm1()
{
    m_settings.setDamagedFileHandler({});
}

void TForm1::FormCreate()
{
    if (ReadOrReport(m_settings, m_ui, names::Settings, names::StartMinimized) == "y")
        setWindowState(windowState() | Qt::WindowMinimized);
    applySizeLimits();
    resize(QSize(MinWidth, MinHeight) - m_frame);

    m_tray = new TOnTray(this, m_options.trayAvailable);
    m_tray->SetTip(QApplication::applicationName().toStdString());
    m_tray->SetIcon(QApplication::windowIcon().isNull() ? BuiltinIcon("cirrolux")
                                                        : QApplication::windowIcon());
    m_tray->SetLeftMenu(m_pmnLeft);
    m_tray->SetRightMenu(m_pmnRight);
    m_tray->SetWindowShown(!(windowState() & Qt::WindowMinimized));
    m_tray->SetActive(true);
    updateTrayEntries();
}

void TForm1::FormShow()
{
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2,
             area.y() + area.height() / 2 - height() / 2);
    }
    // A value that cannot be read is reported and taken as missing; the other steps go on.
    const auto read = [this](std::string_view name) {
        return ReadOrReport(m_settings, m_ui, names::Settings, name);
    };
    guarded([this, &read] {
        m_statusPanels[1]->setText(QString::fromLatin1(MakerNotice));
        if (const std::string c = read(names::LabelColor); c != names::NotAvailable)
            set_label_colors(c);
        if (const std::string c = read(names::LabelFontColorRead); c != names::NotAvailable)
            set_label_font_colors(c);
        if (const std::string c = read(names::StatsFontColor); c != names::NotAvailable)
            set_stats_font_color(c);
        if (read(names::LabelTransparent) == "y") {
            m_panel->setValuesTransparent(true);
            action(QStringLiteral("mnulblTOn1"))->setChecked(true);
        }
        const std::string background = read(names::FormBackground);
        for (const char* picture : {"mahogany1", "forest1", "water1", "sky1", "globe1"}) {
            if (background == picture)
                setBackground(background);
        }
    });
    guarded([this] {
        m_presets->LoadPresets();
        repaint();
    });
    guarded([this] {
        m_moon->Update();
        repaint();
    });
    guarded([this, &read] { process_proxy_info(read, *m_http); });
}

QSize TForm1::windowFrame() const
{
    const QSize reported = frameGeometry().size() - geometry().size();
    return reported.width() <= 0 && reported.height() <= 0 ? DefaultFrame : reported;
}

// The limits are outer sizes, frame included, so the client area gets them less the frame.
void TForm1::applySizeLimits()
{
    const QSize frame = windowFrame();
    if (frame == m_frame)
        return;
    const QSize outer = m_frame.isValid() ? size() + m_frame : QSize();
    m_frame = frame;
    setMinimumSize(QSize(MinWidth, MinHeight) - frame);
    setMaximumSize(QSize(MaxWidth, MaxHeight) - frame);
    if (isVisible() && outer.isValid())
        resize(outer - frame);
}

void TForm1::FormResize()
{
    // The window manager may report its frame only once the window is up.
    applySizeLimits();
    const int w = std::clamp(width() + m_frame.width(), MinWidth, MaxWidth) - m_frame.width();
    const int h = std::clamp(height() + m_frame.height(), MinHeight, MaxHeight) - m_frame.height();
    if (w != width() || h != height())
        resize(w, h);
    if (QLabel* title = m_panel->labelNamed(QStringLiteral("lblConditions")))
        title->resize(width(), title->height());
}

void TForm1::timer_startupTimer()
{
    m_timerStartup->stop();
    get_startup_wstats();
}

void TForm1::get_startup_wstats()
{
    guarded([this] {
        const std::string key = m_settings.read_setting(names::Settings, names::StartupLoc);
        if (key == names::NotAvailable || key == names::None)
            return;
        automaticRequest(key, false);
    });
}

void TForm1::Timer1Timer()
{
    guarded([this] {
        std::string autoUpdate;
        try {
            autoUpdate = m_settings.read_setting(names::Settings, names::AutoUpdate);
        } catch (const SettingsError&) {
            // An unreadable value would otherwise raise its message at every one-second tick.
            m_timer1->setInterval(m_options.autoUpdateIntervalMs);
            throw;
        }
        if (autoUpdate != "y")
            return;
        m_timer1->setInterval(m_options.autoUpdateIntervalMs);
        const QString title = QMainWindow::windowTitle();
        if (title.size() > 15)
            automaticRequest(title.mid(11, 30).trimmed().toLatin1().toStdString(), true);
    });
}

void TForm1::automaticRequest(const std::string& key, bool updateWallpaper)
{
    // A tick that arrives while a transfer runs waits for the next one.
    if (m_request->running() || m_http->Busy())
        return;
    m_state.currentLocationKey = key;
    m_state.automaticRequest = "y";
    const ScopeExit manualAgain([this] { m_state.automaticRequest.clear(); });
    m_request->Get_the_Stats();
    if (updateWallpaper && m_wallpaper) {
        // The wallpaper's picture is drawn in the image window; a picture the user has open
        // there closes first, so that its download goes with it as at any close.
        if (m_imageWindow && m_imageWindow->isVisible() &&
            WallpaperCatalogue::find(
                m_settings.read_setting(names::Settings, names::AutoWallpaper)))
            m_imageWindow->close();
        m_wallpaper->UpdateAutoWallpaper();
    }
}

void TForm1::Get_the_Stats()
{
    if (!m_request->Get_the_Stats())
        m_ui.beep();
}

void TForm1::mnuViewstatsClick(int index)
{
    guarded([this, index] {
        if (m_request->running()) {
            m_ui.beep();
            return;
        }
        m_state.currentLocationKey =
            m_presetActions[std::size_t(index)]->data().toString().toLatin1().toStdString();
        Get_the_Stats();
    });
}

void TForm1::mnuAbortconnectionClick()
{
    guarded([this] { m_request->mnuAbortconnectionClick(); });
}

void TForm1::mnuClearlocationsClick()
{
    guarded([this] { m_presets->ClearPresets(); });
}

void TForm1::mnuRemoveaspecificlocation1Click()
{
    guarded([this] { m_presets->RemoveLocationDialogue(); });
}

void TForm1::mnuSortlocations1Click()
{
    guarded([this] { m_presets->RebuildPresets(); });
}

void TForm1::colorCommand(const char* failureText,
                          const std::function<void(const std::string&)>& apply,
                          std::string_view settingName, bool refuseBlack)
{
    guarded([&] {
        std::optional<QColor> chosen;
        try {
            chosen = m_ui.chooseColor();
        } catch (const DialogError&) {
            m_ui.showMessage(failureText);
            return;
        }
        if (!chosen)
            return;
        const std::string text = ColorToText(FromQColor(*chosen));
        if (refuseBlack && text == "clBlack") {
            m_ui.beep();
            m_ui.showMessage("Sorry, black is the background color.  Please choose another color.");
            return;
        }
        apply(text);
        m_settings.write_setting(names::Settings, settingName, text);
    });
}

void TForm1::mnuMainLabelColor1Click()
{
    colorCommand(
        "Error - Color selection dialog failed to load",
        [this](const std::string& t) { set_label_colors(t); }, names::LabelColor, false);
}

void TForm1::mnuMainLabelFontColor1Click()
{
    colorCommand(
        "Error - Color selection dialog failed to load.",
        [this](const std::string& t) { set_label_font_colors(t); }, names::LabelFontColorWrite,
        false);
}

void TForm1::mnuStatsFontColor1Click()
{
    colorCommand(
        "Error - Color selection dialog failed to load.",
        [this](const std::string& t) { set_stats_font_color(t); }, names::StatsFontColor, true);
}

void TForm1::set_label_colors(const std::string& colorText)
{
    if (const auto color = TextToColor(colorText))
        m_panel->setCaptionBackground(ToQColor(*color));
}

void TForm1::set_label_font_colors(const std::string& colorText)
{
    if (const auto color = TextToColor(colorText))
        m_panel->setCaptionFontColor(ToQColor(*color));
}

void TForm1::set_stats_font_color(const std::string& colorText)
{
    if (const auto color = TextToColor(colorText))
        m_panel->setValueFontColor(ToQColor(*color));
}

void TForm1::setTransparency(bool on)
{
    guarded([this, on] {
        m_panel->setValuesTransparent(on);
        action(on ? QStringLiteral("mnulblTOn1") : QStringLiteral("mnulblTOff1"))->setChecked(true);
        m_settings.write_setting(names::Settings, names::LabelTransparent, on ? "y" : "n");
    });
}

void TForm1::setBackground(const std::string& storedName)
{
    guarded([this, &storedName] {
        m_settings.write_setting(names::Settings, names::FormBackground, storedName);
        m_panel->showBackground(storedName, size() + m_frame);
        repaint();
    });
}

void TForm1::setStayOnTop(bool on)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
    action(on ? QStringLiteral("mnuSOTYes1") : QStringLiteral("mnuSOTNo1"))->setChecked(true);
}

void TForm1::mnuPrint1Click()
{
    guarded([this] {
        QPrinter printer(QPrinter::HighResolution);
        if (!m_ui.runPrintDialog(printer))
            return;
        // The client area: everything below the menu bar, as it is shown now.
        const int top = m_menuBar->isVisible() ? m_menuBar->height() : 0;
        const QPixmap image = grab(QRect(0, top, width(), height() - top));
        QPainter painter;
        if (!painter.begin(&printer))
            throw CirroluxError("Printing failed");
        const double scale = double(printer.logicalDpiX()) / double(logicalDpiX());
        painter.scale(scale, scale);
        painter.drawPixmap(0, 0, image);
        painter.end();
    });
}

void TForm1::mnuExit1Click()
{
    close();
}

void TForm1::showFromTray()
{
    // Not minimised before it shows: a hidden window shown while still minimised is mapped
    // iconified, and the tray step would hide it again.
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    m_tray->SetWindowShown(true);
    updateTrayEntries();
}

void TForm1::minimizeForWindow()
{
    // With a tray the window goes there at once, hidden but never minimised. A window hidden
    // while minimised is mapped iconified the moment Qt clears that state, and the window
    // manager's word that it is iconified, arriving after the window was brought back, would
    // send it to the tray again.
    if (m_tray && m_tray->TrayAvailable()) {
        hide();
        m_tray->RecordWindowShown(false);
        updateTrayEntries();
        return;
    }
    setWindowState(windowState() | Qt::WindowMinimized);
}

void TForm1::hideToTray()
{
    m_tray->SetWindowShown(false);
    updateTrayEntries();
}

// The one place that decides the tray entries, from the window itself: a window minimised by its
// title bar is as gone as one hidden from the tray menu.
void TForm1::updateTrayEntries()
{
    const bool shown = !(windowState() & Qt::WindowMinimized) &&
                       ((m_tray && m_tray->WindowShown()) || isVisible());
    action(QStringLiteral("pithide"))->setEnabled(shown);
    action(QStringLiteral("pitshow"))->setEnabled(!shown);
}

void TForm1::minimize_logic()
{
    // Only the tray icon remains of a minimised program.
    if (m_tray && m_tray->TrayAvailable())
        QTimer::singleShot(0, this, [this] {
            if (windowState() & Qt::WindowMinimized)
                hide();
        });
}

void TForm1::guarded(const std::function<void()>& command)
{
    runGuarded(m_ui, command);
}

QAction* TForm1::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void TForm1::setStatusText(const std::string& text)
{
    m_statusPanels[0]->setText(QString::fromLatin1(text));
    m_statusPanels[0]->repaint();
}

void TForm1::setForecastStatusText(const std::string& text)
{
    // The forecast window takes these once it exists.
    m_forecastStatus = text;
    if (m_forecastStatusSink)
        m_forecastStatusSink(text);
}

void TForm1::adoptForecastWindow(std::unique_ptr<QWidget> window, ForecastCommands& commands,
                                 std::function<void(const std::string&)> statusSink)
{
    m_forecastWindow = std::move(window);
    m_forecastStatusSink = std::move(statusSink);
    setForecastCommands(&commands);
}

void TForm1::adoptWebWindow(std::unique_ptr<QWidget> window, WebWindowCommands& commands)
{
    m_webWindow = std::move(window);
    setWebWindowCommands(&commands);
}

void TForm1::showReading(Reading which, const std::string& text)
{
    if (QLabel* label = m_panel->labelNamed(QString::fromLatin1(ReadingLabelName(which))))
        label->setText(QString::fromLatin1(text));
}

std::string TForm1::reading(Reading which) const
{
    if (QLabel* label = m_panel->labelNamed(QString::fromLatin1(ReadingLabelName(which))))
        return label->text().toLatin1().toStdString();
    return {};
}

void TForm1::setTrayTip(const std::string& tip)
{
    m_tray->SetTip(tip);
    m_tray->SetActive(true);
}

void TForm1::setTrayPicture(int index)
{
    m_tray->SetIcon(BuiltinIcon("IconList" + std::to_string(index)));
    m_tray->SetActive(true);
}

void TForm1::setWindowTitle(const std::string& title)
{
    QMainWindow::setWindowTitle(QString::fromLatin1(title));
}

std::string TForm1::windowTitle() const
{
    return QMainWindow::windowTitle().toLatin1().toStdString();
}

void TForm1::showEntry(int index, const std::string& caption)
{
    if (index < 0 || index >= PresetMenu::Size)
        return;
    QAction* entry = m_presetActions[std::size_t(index)];
    entry->setData(QString::fromLatin1(caption));
    entry->setText(menuCaption(caption));
    entry->setVisible(true);
}

void TForm1::hideEntry(int index)
{
    if (index < 0 || index >= PresetMenu::Size)
        return;
    QAction* entry = m_presetActions[std::size_t(index)];
    entry->setData(QString());
    entry->setText(QString());
    entry->setVisible(false);
}

void TForm1::repaint()
{
    QMainWindow::repaint();
}

bool TForm1::hasMoonPicture(const std::string& name) const
{
    const std::string_view control = MoonPictures::ControlNameFor(name);
    return !control.empty() && m_panel->hasMoonPicture(QString::fromLatin1(control));
}

void TForm1::showMoonPicture(const std::string& name)
{
    m_panel->showMoonPicture(QString::fromLatin1(MoonPictures::ControlNameFor(name)));
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The panel covers the window, so its first paint is the window's first paint.
    if (watched == m_panel && event->type() == QEvent::Paint && m_firstPaint)
        QTimer::singleShot(0, this,
                           [handler = std::exchange(m_firstPaint, nullptr)] { handler(); });
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (windowState() & Qt::WindowMinimized)
        minimize_logic();
    if (m_tray)
        updateTrayEntries();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A transfer under way ends with its cancel error rather than holding up the exit.
    if (m_http->Busy())
        m_http->AbortTransfer();
    m_tray->SetWindowShown(false);
    QMainWindow::closeEvent(event);
    // Closing the main window ends the program, also while it sits in the tray.
    if (event->isAccepted())
        QApplication::quit();
}

} // namespace cirrolux
