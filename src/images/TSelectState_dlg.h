#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TSelectState_dlg;
}

class QComboBox;

namespace cirrolux {

class RadarChooser;

// "Select Radar Area Coverage": the window of the radar chooser. Modeless; OK and Cancel hide
// it, and each opening by a command starts with both lists unselected.
class TSelectState_dlg : public QDialog
{
    Q_OBJECT

public:
    explicit TSelectState_dlg(RadarChooser& chooser, QWidget* parent = nullptr);
    ~TSelectState_dlg() override;

    // Opens the chooser; `preferencesMode` (the preferences dialog opens it) makes the choice
    // the wallpaper image. Opening it from the radar menu leaves the mode as it is.
    void open(bool preferencesMode);

    void FormShow();
    void OKBtnClick();
    void CancelBtnClick();

    QComboBox& cboState() const;
    QComboBox& cboRegion() const;

private:
    std::unique_ptr<Ui::TSelectState_dlg> m_ui;
    RadarChooser& m_chooser;
};

} // namespace cirrolux
