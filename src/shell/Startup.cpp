#include "shell/Startup.h"

#include "display/TOnTray.h"
#include "forecast/TfrmForecast.h"
#include "platform/CommandGuard.h"
#include "resources/BuiltinPictures.h"
#include "settings/SettingsStore.h"
#include "shell/CountryMapOnImageWindow.h"
#include "shell/TGauge.h"
#include "shell/TfrmAbout.h"
#include "shell/TfrmPleaseWait.h"
#include "webwindow/TfrmWeb.h"

namespace cirrolux {

namespace {

void createForecastWindow(TForm1& form)
{
    auto window = std::make_unique<TfrmForecast>(
        TfrmForecast::Environment{form.state(),
                                  form.settings(),
                                  form.ui(),
                                  form.NMHTTP1(),
                                  [&form] { return form.windowTitle(); },
                                  [&form] { form.minimizeForWindow(); },
                                  [&form] { form.showFromTray(); },
                                  {}});
    TfrmForecast& forecast = *window;
    form.adoptForecastWindow(std::move(window), forecast, [&forecast](const std::string& text) {
        forecast.setStatusText(text);
    });
}

} // namespace

namespace {

bool setUpFirstStart(SettingsStore& settings, UserInterface& ui,
                     const std::optional<InstalledGateway>& gateway)
{
    bool done = false;
    runGuarded(ui, [&] { done = FirstStart::setUp(settings, gateway); });
    return done;
}

} // namespace

Startup::Startup(SettingsStore& settings, UserInterface& ui, TForm1::Options options,
                 const std::optional<InstalledGateway>& gateway)
    : m_settings(settings), m_ui(ui), m_chooseLocation(setUpFirstStart(settings, ui, gateway)),
      // The main window reads the proxy when it is first shown, which may be at its creation.
      m_form(std::make_unique<TForm1>(settings, ui, std::move(options)))
{
}

Startup::~Startup() = default;

std::vector<Startup::WindowStep> Startup::windowSteps()
{
    // The web page window comes first and moves nothing; each later window brings its creator.
    // The main window owns every window and they live as long as it does.
    const auto createWeb = [](TForm1& form) {
        auto web = std::make_unique<TfrmWeb>(form.state(), form.NMHTTP1(), form.userInterface());
        // Its country map minimised the main window; closing the web page window brings it
        // back, as every window that minimised it does.
        web->setMainWindowRestorer([&form] {
            if (!form.isVisible() || form.isMinimized())
                form.showFromTray();
        });
        web->adoptMapWindow(std::make_unique<CountryMapOnImageWindow>(form));
        TfrmWeb& commands = *web;
        form.adoptWebWindow(std::move(web), commands);
    };
    const auto createAbout = [](TForm1& form) { new TfrmAbout(form.userInterface(), &form); };
    return {
        {"TfrmWeb", -1, createWeb},
        {"TSelectState_dlg", 10, [](TForm1& form) { form.createRadarChooser(); }},
        {"TfrmAbout", 25, createAbout},
        {"TfrmPref", 40, [](TForm1& form) { form.createPreferences(); }},
        {"TfrmImage", 55, [](TForm1& form) { form.createImageWindow(); }},
        {"TfrmForecast", 70, &createForecastWindow},
    };
}

QIcon Startup::applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        const QImage picture = BuiltinPicture("cirrolux", size);
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

void Startup::run()
{
    // The main window's first paint hides the splash; it may come before the splash exists.
    m_form->setFirstPaintHandler([this] {
        m_painted = true;
        if (m_splash)
            m_splash->hide();
    });
    // The main window's creation read "StartMinimized" (a value it could not read counts as
    // missing); its first show (centre, look, presets, moon, proxy) comes before the splash.
    const bool startMinimized = m_form->windowState() & Qt::WindowMinimized;
    if (!startMinimized) {
        m_form->show();
    } else {
        // A program that starts in the tray shows no window, but its first-show steps still run
        // before the start-up request.
        m_form->FormShow();
        if (!m_form->tray().TrayAvailable())
            m_form->showMinimized();
    }

    m_splash = new TfrmPleaseWait(m_form.get(), startMinimized);
    for (const WindowStep& step : windowSteps()) {
        if (step.create)
            runGuarded(m_ui, [&] { step.create(*m_form); });
        if (step.gauge >= 0) {
            m_splash->Gauge1().SetProgress(step.gauge);
            m_gaugeSteps.push_back(step.gauge);
        }
    }
    m_splash->Gauge1().SetProgress(100);
    m_gaugeSteps.push_back(100);
    if (m_painted)
        m_splash->hide();
    if (m_chooseLocation)
        runGuarded(m_ui, [&] { m_form->mnuChooseLocationClick(); });
}

} // namespace cirrolux
