#pragma once

#include "locations/ChooseLocation.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QStandardItemModel;

namespace Ui {
class TfrmLocation;
}

namespace cirrolux {

class TNMHTTP;
class UserInterface;
struct SharedState;

// The choose-location dialog: the location tree and a zip box. Modeless; created once, on first
// use, and shown and hidden from then on. Its "&Okay" runs ChooseLocation over the main window's
// transfer component, so the conditions appear on the main window.
class TfrmLocation : public QDialog
{
    Q_OBJECT

public:
    // `hooks` connect the request to the main window; the dialog adds its own hide, show and
    // close. All references must outlive the dialog.
    TfrmLocation(SharedState& state, UserInterface& ui, TNMHTTP& http, ChooseLocation::Hooks hooks,
                 QWidget* parent);
    ~TfrmLocation() override;

    void FormShow();
    void btnOkayClick();
    void btnCancelClick();
    void FormHelp();
    // Lets the tree draw again once the opener has created the dialog behind the splash.
    void releaseTreeLock();

    // The texts of the selected node and its ancestors, root first; empty when none is selected.
    std::vector<std::string> selectedPath() const;
    // Selects the node reached by `path` (root first); false when there is no such node.
    bool selectPath(const std::vector<std::string>& path);
    ChooseLocation::Outcome lastOutcome() const { return m_lastOutcome; }
    QStandardItemModel& treeModel() { return *m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmLocation> m_form;
    std::unique_ptr<QStandardItemModel> m_model;
    UserInterface& m_ui;
    std::unique_ptr<ChooseLocation> m_logic;
    ChooseLocation::Outcome m_lastOutcome = ChooseLocation::Outcome::Closed;
};

} // namespace cirrolux
