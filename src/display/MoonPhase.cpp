#include "display/MoonPhase.h"

#include "net/ServiceAddresses.h"
#include "platform/UserInterface.h"

#include <utility>

namespace cirrolux {

namespace {

std::string SupportMail()
{
    return std::string(ServiceAddresses::SupportMail);
}

std::string YearWarning()
{
    return "Warning - invalid year1 in moon phase logic.  Please contact " + SupportMail() +
           " if you continually get this error msg.";
}

std::string NoDotMessage(std::string_view entry)
{
    return "Error - no dot found in Moon Phase logic...  Contact " + SupportMail() +
           " if you continue to get this msg. (moonp error=" + std::string(entry) + ")";
}

std::string MissingPictureMessage(const std::string& name)
{
    return "Error - invalid moon phase calculation...Moonfile = " + name + ".  Contact " +
           SupportMail() + " if you consistently get this error.";
}

// The entry of the day after `date`: the next row of the same month, day 1 of the next month
// after a month's last day, and 1 January of the next year's table after 31 December.
std::string_view NextEntry(std::string_view table, const QDate& date)
{
    const int day = date.day();
    const int month = date.month();
    if (day < date.daysInMonth())
        return MoonTables::Entry(table, day + 1, month);
    if (month < 12)
        return MoonTables::Entry(table, 1, month + 1);
    if (date.year() == MoonTables::LastYear)
        return MoonTables::EntryAfterLastYear();
    return MoonTables::Entry(MoonTables::TableFor(date.year() + 1), 1, 1);
}

} // namespace

MoonPhase::MoonPhase(UserInterface& ui, MoonView& view, Clock today)
    : m_ui(ui), m_view(view), m_today(std::move(today))
{
    if (!m_today)
        m_today = [] { return QDate::currentDate(); };
}

MoonPhase::Choice MoonPhase::Choose(const QDate& date)
{
    const std::string_view table =
        date.isValid() ? MoonTables::TableFor(date.year()) : std::string_view{};
    if (table.empty())
        return {{}, YearWarning(), true};

    return ChooseFromEntries(MoonTables::Entry(table, date.day(), date.month()),
                             NextEntry(table, date));
}

MoonPhase::Choice MoonPhase::ChooseFromEntries(std::string_view today, std::string_view next)
{
    // Entries have one fixed form "d.dd", so their text order is their numeric order; equal
    // entries count as waning.
    const bool rising = today < next;

    const std::size_t dot = today.find('.');
    if (dot == std::string_view::npos)
        return {{}, NoDotMessage(today), false};

    std::string name = rising ? "GifImageL" : "GifImage";
    name += today.substr(dot + 1, 1);
    name += "0x";

    if (today == "1.00")
        name = "fullmoonx";
    if (today == "0.00" || (today > "0.00" && today < "0.10"))
        name = "newmoonx";
    return {name, {}, false};
}

void MoonPhase::Update()
{
    const Choice choice = Choose(m_today());
    if (!choice.message.empty()) {
        if (choice.beep)
            m_ui.beep();
        m_ui.showMessage(choice.message);
        return;
    }
    if (!m_view.hasMoonPicture(choice.pictureName)) {
        m_ui.showMessage(MissingPictureMessage(choice.pictureName));
        return;
    }
    m_view.showMoonPicture(choice.pictureName);
}

} // namespace cirrolux
