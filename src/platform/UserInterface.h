#pragma once

#include <QColor>

class QPrinter;

#include <optional>
#include <string>

namespace cirrolux {

// Every dialog the program shows and every beep it sounds goes through this seam, so the logic
// can be driven by tests that record the exact texts and script the user's answers.
// Texts are the program's 8-bit (Latin-1) strings.
class UserInterface
{
public:
    virtual ~UserInterface() = default;

    // Plain modal message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // Information box (information icon, OK button).
    virtual void showInformation(const std::string& text) = 0;
    // Confirmation box with Yes and No buttons; true when the user answered Yes.
    virtual bool confirm(const std::string& text) = 0;
    // The application's standard error box, used by the command guard for uncaught errors.
    virtual void showError(const std::string& text) = 0;
    // The default system beep.
    virtual void beep() = 0;
    // The program's one colour dialog, shared by every window, so it opens on the colour last
    // chosen in it. Empty when the user cancelled; throws DialogError when it cannot be shown.
    virtual std::optional<QColor> chooseColor() = 0;
    // The standard print dialog over `printer`; true when the user chose to print. Without
    // `printToFile` the dialog offers no printing to a file.
    virtual bool runPrintDialog(QPrinter& printer, bool printToFile = true) = 0;
    // Opens the program's help at `topic` (a page name; empty for the contents).
    virtual void openHelp(const std::string& topic) = 0;
    // Opens a web or mail address ("mailto:...") in the user's default program.
    virtual void openUrl(const std::string& url) = 0;
};

} // namespace cirrolux
