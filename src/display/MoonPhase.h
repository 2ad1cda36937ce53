#pragma once

#include <QDate>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cirrolux {

class UserInterface;

// The moon's lit fraction for every day of the covered years, as 1,664-character tables of
// 32 rows x 52 characters (row label, then twelve 4-character entries "0.00".."1.00").
namespace MoonTables {
inline constexpr int FirstYear = 1998;
inline constexpr int LastYear = 2100;
// The table of `year`, or empty when the year is not covered.
std::string_view TableFor(int year);
// The 4-character entry for (day, month) of a table; positions as stored.
std::string_view Entry(std::string_view table, int day, int month);
} // namespace MoonTables

// Where the chosen moon picture is shown (the main window, a recorder in tests).
class MoonView
{
public:
    virtual ~MoonView() = default;
    // True when a picture of that name exists ("GifImageL40x", "newmoonx", "fullmoonx", ...).
    virtual bool hasMoonPicture(const std::string& name) const = 0;
    // Hides the other pictures and shows this one in its box.
    virtual void showMoonPicture(const std::string& name) = 0;
};

// Chooses and shows today's moon picture.
class MoonPhase
{
public:
    using Clock = std::function<QDate()>;
    // `today` defaults to the local date.
    MoonPhase(UserInterface& ui, MoonView& view, Clock today = {});

    // The picture name for a date, or empty with `message` set when the date is not covered or
    // the entry is malformed. Beeps are not sounded here.
    struct Choice
    {
        std::string pictureName;
        std::string message;
        bool beep = false;
    };
    static Choice Choose(const QDate& date);

    // Runs the whole operation for today: message (and beep) on failure, picture otherwise.
    void Update();

private:
    UserInterface& m_ui;
    MoonView& m_view;
    Clock m_today;
};

} // namespace cirrolux
