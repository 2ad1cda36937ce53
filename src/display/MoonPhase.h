#pragma once

#include "display/MoonTables.h"
#include "display/MoonView.h"

#include <QDate>

#include <functional>
#include <string>
#include <string_view>

namespace cirrolux {

class UserInterface;

// Chooses and shows today's moon picture from the lit fractions of today and the next day.
class MoonPhase
{
public:
    using Clock = std::function<QDate()>;
    // `today` defaults to the local date. `ui` and `view` must outlive this object.
    MoonPhase(UserInterface& ui, MoonView& view, Clock today = {});

    // The picture name for a date ("newmoonx", "fullmoonx", "GifImage50x", "GifImageL40x", ...),
    // or an empty name with `message` set when the date is not covered (then `beep` is true) or
    // its entry is malformed. Beeps are not sounded here.
    struct Choice
    {
        std::string pictureName;
        std::string message;
        bool beep = false;
    };
    static Choice Choose(const QDate& date);
    // The choice from today's entry and the next day's entry alone (steps after the table
    // look-up): waxing when today < next, then the full and new moon overrides.
    static Choice ChooseFromEntries(std::string_view today, std::string_view next);

    // Runs the whole operation for today: message (and beep) on failure, picture otherwise.
    // On any failure the picture shown before stays.
    void Update();

private:
    UserInterface& m_ui;
    MoonView& m_view;
    Clock m_today;
};

} // namespace cirrolux
