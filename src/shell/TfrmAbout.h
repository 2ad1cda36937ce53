#pragma once

#include "shell/MemoryStatus.h"

#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class TfrmAbout;
}

namespace cirrolux {

class UserInterface;

// The about box: version, a view of the machine's memory, the maker's web site and mail, and the
// credits. Created hidden at start; the memory figures are taken then, the controls are built
// when the box is first shown.
class TfrmAbout : public QWidget
{
    Q_OBJECT

public:
    // `memory`: the figures to show (the machine's at creation by default).
    TfrmAbout(UserInterface& ui, QWidget* parent = nullptr,
              MemoryStatus memory = CurrentMemoryStatus());
    ~TfrmAbout() override;

    // "&About Cirrolux...": shows the box if it is hidden and brings it to the front.
    void mnuAboutClick();
    void lblURLClick();
    void lblEmailClick();
    void FormHelp();

    // The controls (built on first use).
    Ui::TfrmAbout& form();
    // The version text the update check compares against.
    std::string currentVersion();
    // The credits of Memo1.
    static const char* CreditsText();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void build();
    void memshow();

    UserInterface& m_ui;
    MemoryStatus m_memory;
    std::unique_ptr<Ui::TfrmAbout> m_form;
};

} // namespace cirrolux
