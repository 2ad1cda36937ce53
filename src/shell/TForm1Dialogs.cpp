// The dialogs the main window opens: choose location and general preferences.
#include "shell/TForm1.h"

#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsRequest.h"
#include "display/MoonPhase.h"
#include "images/RadarImageCommands.h"
#include "locations/TfrmLocation.h"
#include "net/TNMHTTP.h"
#include "settings/TfrmPref.h"
#include "shell/TGauge.h"
#include "shell/TfrmPleaseWait.h"

namespace cirrolux {

void TForm1::mnuChooseLocationClick()
{
    guarded([this] {
        if (!m_frmLocation) {
            // Loading the tree takes a moment: the splash keeps the user company meanwhile.
            TfrmPleaseWait* splash = findChild<TfrmPleaseWait*>();
            int formerLeft = 0;
            if (splash) {
                formerLeft = splash->x();
                splash->move(x() + 12, splash->y());
                splash->Gauge1().hide();
                splash->Animate1().show();
                splash->Animate1().Start();
                splash->show();
                splash->repaint();
            }
            ChooseLocation::Hooks hooks;
            hooks.setStatus = [this](const std::string& text) { setStatusText(text); };
            hooks.repaintMain = [this] { repaint(); };
            // A page without an observation block (an error page, a binary file) has had its
            // messages; the last good readings stay on the window, as after a timed fetch.
            hooks.parseConditionsPage = [this](std::string_view page) {
                const ConditionsRecord previous = m_parser->record();
                m_parser->ParseConditionsPage(page);
                if (!m_parser->observationFound())
                    m_parser->restoreReadings(previous);
            };
            hooks.completeHeatIndex = [this] {
                if (m_parser->observationFound())
                    m_parser->CompleteHeatIndex();
            };
            hooks.completeWindChill = [this] {
                if (m_parser->observationFound())
                    m_parser->CompleteWindChill();
            };
            hooks.updateMoonPhase = [this] { m_moon->Update(); };
            hooks.sendUsageCounter = [this] { m_request->SendUsageCounter(); };
            // No parent: a dialog of the main window would be iconified with it.
            m_frmLocation =
                std::make_unique<TfrmLocation>(m_state, m_ui, *m_http, std::move(hooks), nullptr);
            m_frmLocation->releaseTreeLock();
            if (splash) {
                splash->hide();
                splash->Gauge1().show();
                splash->Animate1().Stop();
                splash->Animate1().hide();
                splash->move(formerLeft, splash->y());
            }
        }
        if (!m_frmLocation->isVisible())
            m_frmLocation->show();
        m_frmLocation->raise();
        m_frmLocation->activateWindow();
    });
}

void TForm1::createPreferences()
{
    if (m_frmPref)
        return;
    // No parent: a dialog of the main window would be iconified with it.
    m_frmPref =
        std::make_unique<TfrmPref>(m_settings, m_ui, *m_http, m_radarChooser.get(), nullptr);
    // A radar area chosen for the wallpaper shows in the preferences' wallpaper list.
    if (m_radarChooser)
        m_radarChooser->setWallpaperChoiceHandler(
            [this](const std::string& value) { m_frmPref->showRadarWallpaper(value); });
}

void TForm1::mnuGeneralPreferences1Click()
{
    guarded([this] {
        createPreferences();
        m_frmPref->show();
        m_frmPref->raise();
        m_frmPref->activateWindow();
    });
}

} // namespace cirrolux
