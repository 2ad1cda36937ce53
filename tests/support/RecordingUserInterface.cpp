#include "RecordingUserInterface.h"

#include "platform/CirroluxError.h"

#include <QPrinter>

#include <algorithm>

namespace cirrolux::test {

bool RecordingUserInterface::confirm(const std::string& text)
{
    record(Event::Kind::Confirm, text);
    if (m_confirmAnswers.empty())
        return false;
    const bool answer = m_confirmAnswers.front();
    m_confirmAnswers.pop_front();
    return answer;
}

std::optional<QColor> RecordingUserInterface::chooseColor()
{
    if (m_colorDialogFails)
        throw DialogError("colour dialog unavailable");
    record(Event::Kind::ColorDialog, {});
    if (m_colorAnswers.empty())
        return std::nullopt;
    const std::optional<QColor> answer = m_colorAnswers.front();
    m_colorAnswers.pop_front();
    return answer;
}

bool RecordingUserInterface::runPrintDialog(QPrinter& printer, bool printToFile)
{
    record(Event::Kind::PrintDialog, {});
    m_printToFileOffered = printToFile;
    if (m_pdfPath.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_pdfPath);
    return true;
}

std::vector<std::string> RecordingUserInterface::texts() const
{
    std::vector<std::string> result;
    for (const Event& event : m_events) {
        if (event.kind != Event::Kind::Beep && event.kind != Event::Kind::ColorDialog &&
            event.kind != Event::Kind::PrintDialog)
            result.push_back(event.text);
    }
    return result;
}

std::vector<std::string> RecordingUserInterface::textsOf(Event::Kind kind) const
{
    std::vector<std::string> result;
    for (const Event& event : m_events) {
        if (event.kind == kind)
            result.push_back(event.text);
    }
    return result;
}

std::vector<std::string> RecordingUserInterface::messages() const
{
    return textsOf(Event::Kind::Message);
}

std::vector<std::string> RecordingUserInterface::errors() const
{
    return textsOf(Event::Kind::Error);
}

int RecordingUserInterface::beeps() const
{
    return int(std::count_if(m_events.begin(), m_events.end(),
                             [](const Event& e) { return e.kind == Event::Kind::Beep; }));
}

} // namespace cirrolux::test
