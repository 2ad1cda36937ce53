#pragma once

#include "platform/UserInterface.h"

namespace cirrolux {

// A user interface that shows nothing: questions are answered No and dialogs cancelled. For code
// that runs the program's logic where nobody is watching (tools, benchmarks, fuzzing); it counts
// the plain messages it swallowed.
class SilentUserInterface final : public UserInterface
{
public:
    void showMessage(const std::string&) override { ++messages; }
    void showInformation(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
    void showError(const std::string&) override {}
    void beep() override {}
    std::optional<QColor> chooseColor() override { return std::nullopt; }
    bool runPrintDialog(QPrinter&, bool = true) override { return false; }
    void openHelp(const std::string&) override {}
    void openUrl(const std::string&) override {}

    int messages = 0;
};

} // namespace cirrolux
