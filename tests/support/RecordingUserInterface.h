#pragma once

#include "platform/UserInterface.h"

#include <QString>

#include <deque>
#include <string>
#include <vector>

namespace cirrolux::test {

// Records every dialog and beep in order, exactly as the user would see them, and answers the
// confirmation and colour dialogs from scripted answers.
class RecordingUserInterface final : public UserInterface
{
public:
    struct Event
    {
        enum class Kind {
            Message,
            Information,
            Confirm,
            Error,
            Beep,
            ColorDialog,
            PrintDialog,
            Help,
            OpenUrl
        };
        Kind kind;
        std::string text;
        bool operator==(const Event&) const = default;
    };

    void showMessage(const std::string& text) override { record(Event::Kind::Message, text); }
    void showInformation(const std::string& text) override
    {
        record(Event::Kind::Information, text);
    }
    bool confirm(const std::string& text) override;
    void showError(const std::string& text) override { record(Event::Kind::Error, text); }
    void beep() override { record(Event::Kind::Beep, {}); }
    std::optional<QColor> chooseColor() override;
    // Prints to the PDF file set by printToPdf(), or cancels when none is set.
    // The last dialog's choice of offering printing to a file is kept in printToFileOffered().
    bool runPrintDialog(QPrinter& printer, bool printToFile = true) override;
    // Recorded with the topic or address as text.
    void openHelp(const std::string& topic) override { record(Event::Kind::Help, topic); }
    void openUrl(const std::string& url) override { record(Event::Kind::OpenUrl, url); }

    // Scripted answers, used in order; a confirm without a script answers No, a colour dialog
    // without one is cancelled.
    void answerConfirm(bool yes) { m_confirmAnswers.push_back(yes); }
    void answerColor(std::optional<QColor> color) { m_colorAnswers.push_back(color); }
    void failColorDialog() { m_colorDialogFails = true; }
    void printToPdf(const QString& path) { m_pdfPath = path; }
    bool printToFileOffered() const { return m_printToFileOffered; }

    const std::vector<Event>& events() const { return m_events; }
    // Texts of the message, information, confirm and error boxes, in order.
    std::vector<std::string> texts() const;
    // Texts of the plain message boxes only.
    std::vector<std::string> messages() const;
    std::vector<std::string> errors() const;
    int beeps() const;
    void clear() { m_events.clear(); }

private:
    void record(Event::Kind kind, const std::string& text) { m_events.push_back({kind, text}); }
    std::vector<std::string> textsOf(Event::Kind kind) const;

    std::vector<Event> m_events;
    std::deque<bool> m_confirmAnswers;
    std::deque<std::optional<QColor>> m_colorAnswers;
    bool m_colorDialogFails = false;
    QString m_pdfPath;
    bool m_printToFileOffered = true;
};

} // namespace cirrolux::test
