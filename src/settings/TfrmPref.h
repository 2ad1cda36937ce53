#pragma once

#include "settings/GeneralPreferences.h"

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TfrmPref;
}

namespace cirrolux {

class RadarChooserCommands;
class SettingsStore;
class TNMHTTP;
class UserInterface;

// The preferences dialog: auto update with its start-up location and wallpaper, the proxy, the
// units and starting minimised. Modeless; created once at start, reloaded from the store at every
// showing, written on OK ("Minimize on Start-up" at once).
class TfrmPref : public QDialog
{
    Q_OBJECT

public:
    // `radarChooser` may be null. All references must outlive the dialog.
    TfrmPref(SettingsStore& settings, UserInterface& ui, TNMHTTP& http,
             RadarChooserCommands* radarChooser, QWidget* parent);
    ~TfrmPref() override;

    void FormShow();
    void btnOkayClick();
    void btnCancelClick();
    void BitBtn1Click();

    // The radar chooser, opened from here in its preferences mode, shows its stored choice
    // ("Regional/State Radar=" + code) as the wallpaper image through this.
    void showRadarWallpaper(const std::string& text);

    // The controls as the logic sees them.
    PreferenceControls controls() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void apply(const PreferenceControls& c);
    // Runs one step of the logic over the controls and shows the result.
    void step(void (GeneralPreferences::*handler)(PreferenceControls&));

    std::unique_ptr<Ui::TfrmPref> m_form;
    UserInterface& m_ui;
    GeneralPreferences m_logic;
};

} // namespace cirrolux
