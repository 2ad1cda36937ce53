// The main window's Help menu: the help window, the about box and the update check.
#include "shell/TForm1.h"

#include "net/TNMHTTP.h"
#include "platform/UserInterface.h"
#include "shell/TfrmAbout.h"
#include "shell/UpdateCheck.h"

namespace cirrolux {

void TForm1::mnuHelpContentsClick()
{
    launch_help();
}

void TForm1::launch_help()
{
    guarded([this] { m_ui.openHelp("main"); });
}

void TForm1::mnuAboutClick()
{
    if (TfrmAbout* about = findChild<TfrmAbout*>())
        about->mnuAboutClick();
}

void TForm1::CheckforUpdate1Click()
{
    guarded([this] {
        TfrmAbout* about = findChild<TfrmAbout*>();
        const std::string current = about ? about->currentVersion() : std::string(ProgramVersion);
        UpdateCheck check{m_state, *m_http, m_ui,
                          [this](const std::string& t) { setStatusText(t); },
                          [this] { repaint(); }};
        check.run(current);
    });
}

} // namespace cirrolux
