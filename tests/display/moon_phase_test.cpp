// Choosing today's moon picture: direction, overrides, month and year ends, failures.
#include "display/MoonPhase.h"
#include "display/MoonPictures.h"
#include "net/ServiceAddresses.h"

#include "RecordingUserInterface.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace cirrolux {
namespace {

using test::RecordingUserInterface;
using Kind = RecordingUserInterface::Event::Kind;

const std::string Mail(ServiceAddresses::SupportMail);

// Holds a set of pictures and records which one was shown.
class RecordingMoonView final : public MoonView
{
public:
    RecordingMoonView()
    {
        for (const auto& picture : MoonPictures::All)
            m_pictures.insert(std::string(picture.name));
    }
    bool hasMoonPicture(const std::string& name) const override
    {
        return m_pictures.count(name) != 0;
    }
    void showMoonPicture(const std::string& name) override { m_shown.push_back(name); }

    void removePicture(const std::string& name) { m_pictures.erase(name); }
    const std::vector<std::string>& shown() const { return m_shown; }

private:
    std::set<std::string> m_pictures;
    std::vector<std::string> m_shown;
};

std::string Picture(int year, int month, int day)
{
    const MoonPhase::Choice choice = MoonPhase::Choose(QDate(year, month, day));
    EXPECT_TRUE(choice.message.empty()) << choice.message;
    return choice.pictureName;
}

struct DatedCase
{
    const char* name;
    int year, month, day;
    const char* picture;
};

void PrintTo(const DatedCase& c, std::ostream* out)
{
    *out << c.name;
}

class MoonPictureForDate : public ::testing::TestWithParam<DatedCase>
{
};

TEST_P(MoonPictureForDate, ShowsThePicture)
{
    const DatedCase& c = GetParam();
    RecordingUserInterface ui;
    RecordingMoonView view;
    MoonPhase moon(ui, view, [&] { return QDate(c.year, c.month, c.day); });
    moon.Update();
    EXPECT_TRUE(ui.events().empty());
    ASSERT_EQ(view.shown().size(), 1u);
    EXPECT_EQ(view.shown()[0], c.picture);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, MoonPictureForDate,
                         ::testing::Values(
                             // 0.43, next 0.55
                             DatedCase{"Waxing1998Jan05", 1998, 1, 5, "GifImageL40x"},
                             DatedCase{"Full1998Jan13", 1998, 1, 13, "fullmoonx"},
                             // 0.58, next 0.48
                             DatedCase{"Waning1998Jan20", 1998, 1, 20, "GifImage50x"},
                             DatedCase{"New1998Jan28", 1998, 1, 28, "newmoonx"},
                             // 0.10, next is 1 February's 0.19
                             DatedCase{"MonthEnd1998Jan31", 1998, 1, 31, "GifImageL10x"},
                             // 0.99, next 1.00
                             DatedCase{"NearlyFullWaxing1998Jan12", 1998, 1, 12, "GifImageL90x"},
                             // 0.98, next 0.95
                             DatedCase{"NearlyFullWaning1998Jan14", 1998, 1, 14, "GifImage90x"},
                             // 0.02 in a month's last row
                             DatedCase{"New1998Feb28", 1998, 2, 28, "newmoonx"}),
                         [](const ::testing::TestParamInfo<DatedCase>& info) {
                             return std::string(info.param.name);
                         });

struct EntryCase
{
    const char* name;
    const char* today;
    const char* next;
    const char* picture;
};

void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << c.today << " then " << c.next;
}

class MoonPictureForEntries : public ::testing::TestWithParam<EntryCase>
{
};

TEST_P(MoonPictureForEntries, ChoosesThePicture)
{
    const EntryCase& c = GetParam();
    const MoonPhase::Choice choice = MoonPhase::ChooseFromEntries(c.today, c.next);
    EXPECT_TRUE(choice.message.empty());
    EXPECT_FALSE(choice.beep);
    EXPECT_EQ(choice.pictureName, c.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MoonPictureForEntries,
    ::testing::Values(EntryCase{"Rising", "0.43", "0.55", "GifImageL40x"},
                      EntryCase{"Falling", "0.58", "0.48", "GifImage50x"},
                      EntryCase{"EqualCountsAsFalling", "0.45", "0.45", "GifImage40x"},
                      EntryCase{"EqualNearlyFull", "0.99", "0.99", "GifImage90x"},
                      EntryCase{"TenthsDigitOnly", "0.79", "0.80", "GifImageL70x"},
                      EntryCase{"FullWhateverNext", "1.00", "0.99", "fullmoonx"},
                      EntryCase{"FullBeforeFuller", "1.00", "1.00", "fullmoonx"},
                      EntryCase{"NewAtZero", "0.00", "0.01", "newmoonx"},
                      EntryCase{"NewRising", "0.05", "0.12", "newmoonx"},
                      EntryCase{"NewFalling", "0.05", "0.01", "newmoonx"},
                      EntryCase{"NewUpToNine", "0.09", "0.15", "newmoonx"},
                      EntryCase{"TenIsNotNew", "0.10", "0.19", "GifImageL10x"},
                      EntryCase{"TenFalling", "0.10", "0.03", "GifImage10x"}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

TEST(MoonPhase, EqualNeighbouringEntriesInTheTablesCountAsFalling)
{
    int found = 0;
    for (QDate date(1998, 1, 1); date.year() <= 2100; date = date.addDays(1)) {
        const std::string_view table = MoonTables::TableFor(date.year());
        const QDate next = date.addDays(1);
        const std::string_view today = MoonTables::Entry(table, date.day(), date.month());
        const std::string_view tomorrow =
            MoonTables::Entry(MoonTables::TableFor(next.year()), next.day(), next.month());
        if (today != tomorrow || today < "0.10" || today == "1.00")
            continue;
        ++found;
        EXPECT_EQ(Picture(date.year(), date.month(), date.day()),
                  "GifImage" + std::string(1, today[2]) + "0x")
            << date.toString(Qt::ISODate).toStdString();
    }
    // Near full moon the fraction stands still for a day now and then.
    EXPECT_GT(found, 0);
}

TEST(MoonPhase, LeapDayUsesItsOwnEntryAndEndsTheMonth)
{
    const std::string_view table = MoonTables::TableFor(2000);
    const MoonPhase::Choice expected = MoonPhase::ChooseFromEntries(MoonTables::Entry(table, 29, 2),
                                                                    MoonTables::Entry(table, 1, 3));
    EXPECT_EQ(Picture(2000, 2, 29), expected.pictureName);
    // 28 February 2000 looks at the leap day, not at 1 March.
    const MoonPhase::Choice beforeLeapDay = MoonPhase::ChooseFromEntries(
        MoonTables::Entry(table, 28, 2), MoonTables::Entry(table, 29, 2));
    EXPECT_EQ(Picture(2000, 2, 28), beforeLeapDay.pictureName);
}

TEST(MoonPhase, LastDayOfAMonthLooksAtTheFirstOfTheNext)
{
    // 28 February 1998 (0.02) against 1 March (0.08), never the "9.99" filler of 29 February.
    const std::string_view table = MoonTables::TableFor(1998);
    ASSERT_EQ(MoonTables::Entry(table, 29, 2), "9.99");
    EXPECT_EQ(Picture(1998, 2, 28), "newmoonx");
    // 31 March 1998 (0.12) waxes into 1 April.
    ASSERT_EQ(MoonTables::Entry(table, 31, 3), "0.12");
    ASSERT_GT(MoonTables::Entry(table, 1, 4), "0.12");
    EXPECT_EQ(Picture(1998, 3, 31), "GifImageL10x");
    // 28 February 2100: no leap day in 2100, so 1 March decides.
    const std::string_view table2100 = MoonTables::TableFor(2100);
    EXPECT_EQ(Picture(2100, 2, 28),
              MoonPhase::ChooseFromEntries(MoonTables::Entry(table2100, 28, 2),
                                           MoonTables::Entry(table2100, 1, 3))
                  .pictureName);
}

TEST(MoonPhase, ThirtyFirstDecemberLooksAtNextYearsFirstJanuary)
{
    int checked = 0;
    for (int year = 1998; year < 2100; ++year) {
        const std::string_view today = MoonTables::Entry(MoonTables::TableFor(year), 31, 12);
        const std::string_view next = MoonTables::Entry(MoonTables::TableFor(year + 1), 1, 1);
        EXPECT_EQ(Picture(year, 12, 31), MoonPhase::ChooseFromEntries(today, next).pictureName)
            << year;
        // The same table's row 1 of January would often give the other direction.
        const std::string_view sameTable = MoonTables::Entry(MoonTables::TableFor(year), 1, 1);
        if ((today < next) != (today < sameTable) && today >= "0.10" && today != "1.00")
            ++checked;
    }
    EXPECT_GT(checked, 0);
    const std::string_view last = MoonTables::Entry(MoonTables::TableFor(2100), 31, 12);
    EXPECT_EQ(Picture(2100, 12, 31),
              MoonPhase::ChooseFromEntries(last, MoonTables::EntryAfterLastYear()).pictureName);
}

class YearOutsideTables : public ::testing::TestWithParam<int>
{
};

TEST_P(YearOutsideTables, BeepsWarnsAndKeepsThePicture)
{
    const std::string warning = "Warning - invalid year1 in moon phase logic.  Please contact " +
                                Mail + " if you continually get this error msg.";
    RecordingUserInterface ui;
    RecordingMoonView view;
    QDate today(1998, 1, 13);
    MoonPhase moon(ui, view, [&] { return today; });
    moon.Update();
    ASSERT_EQ(view.shown(), std::vector<std::string>{"fullmoonx"});

    today = QDate(GetParam(), 6, 15);
    moon.Update();
    moon.Update();
    const std::vector<RecordingUserInterface::Event> expected{
        {Kind::Beep, {}}, {Kind::Message, warning}, {Kind::Beep, {}}, {Kind::Message, warning}};
    EXPECT_EQ(ui.events(), expected);
    EXPECT_EQ(view.shown(), std::vector<std::string>{"fullmoonx"});

    const MoonPhase::Choice choice = MoonPhase::Choose(today);
    EXPECT_TRUE(choice.beep);
    EXPECT_TRUE(choice.pictureName.empty());
    EXPECT_EQ(choice.message, warning);
}

INSTANTIATE_TEST_SUITE_P(Years, YearOutsideTables, ::testing::Values(1997, 2101, 1900, 2200),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Year" + std::to_string(info.param);
                         });

TEST(MoonPhase, InvalidDateGetsTheYearWarning)
{
    const MoonPhase::Choice choice = MoonPhase::Choose(QDate());
    EXPECT_TRUE(choice.beep);
    EXPECT_TRUE(choice.pictureName.empty());
    EXPECT_FALSE(choice.message.empty());
}

TEST(MoonPhase, FirstAndLastCoveredDaysWork)
{
    EXPECT_FALSE(Picture(1998, 1, 1).empty());
    EXPECT_FALSE(Picture(2100, 12, 31).empty());
}

TEST(MoonPhase, MissingPictureShowsTheNameAndChangesNothing)
{
    RecordingUserInterface ui;
    RecordingMoonView view;
    QDate today(1998, 1, 13);
    MoonPhase moon(ui, view, [&] { return today; });
    moon.Update();

    view.removePicture("GifImageL40x");
    today = QDate(1998, 1, 5);
    moon.Update();
    EXPECT_EQ(ui.events(), (std::vector<RecordingUserInterface::Event>{
                               {Kind::Message,
                                "Error - invalid moon phase calculation...Moonfile = GifImageL40x."
                                "  Contact " +
                                    Mail + " if you consistently get this error."}}));
    EXPECT_EQ(view.shown(), std::vector<std::string>{"fullmoonx"});
}

TEST(MoonPhase, EntryWithoutAFullStopIsReported)
{
    const MoonPhase::Choice choice = MoonPhase::ChooseFromEntries("0,45", "0.50");
    EXPECT_TRUE(choice.pictureName.empty());
    EXPECT_FALSE(choice.beep);
    EXPECT_EQ(choice.message, "Error - no dot found in Moon Phase logic...  Contact " + Mail +
                                  " if you continue to get this msg. (moonp error=0,45)");
    // An empty entry is reported the same way rather than read past its end.
    EXPECT_EQ(MoonPhase::ChooseFromEntries("", "0.50").message,
              "Error - no dot found in Moon Phase logic...  Contact " + Mail +
                  " if you continue to get this msg. (moonp error=)");
}

TEST(MoonPhase, EntryEndingInItsFullStopNamesNoPicture)
{
    RecordingMoonView view;
    const MoonPhase::Choice choice = MoonPhase::ChooseFromEntries("045.", "0.50");
    EXPECT_TRUE(choice.message.empty());
    EXPECT_FALSE(view.hasMoonPicture(choice.pictureName));
    EXPECT_TRUE(MoonPictures::ControlNameFor(choice.pictureName).empty());
}

TEST(MoonPhase, NextDayAfterMidnightShowsTheNewPicture)
{
    RecordingUserInterface ui;
    RecordingMoonView view;
    QDate today(1998, 1, 12);
    MoonPhase moon(ui, view, [&] { return today; });
    moon.Update();
    today = today.addDays(1);
    moon.Update();
    EXPECT_EQ(view.shown(), (std::vector<std::string>{"GifImageL90x", "fullmoonx"}));
}

struct ControlCase
{
    const char* picture;
    const char* control;
};

void PrintTo(const ControlCase& c, std::ostream* out)
{
    *out << '"' << c.picture << '"';
}

class MoonPictureControl : public ::testing::TestWithParam<ControlCase>
{
};

TEST_P(MoonPictureControl, MapsToTheWindowsControl)
{
    EXPECT_EQ(MoonPictures::ControlNameFor(GetParam().picture), GetParam().control);
}

INSTANTIATE_TEST_SUITE_P(Names, MoonPictureControl,
                         ::testing::Values(ControlCase{"newmoonx", "GIFImagenew"},
                                           ControlCase{"fullmoonx", "GIFImageFull"},
                                           ControlCase{"GifImage10x", "GIFImage10x"},
                                           ControlCase{"GifImage40x", "GIFImage40x"},
                                           ControlCase{"GifImage90x", "GIFImage90x"},
                                           ControlCase{"GifImageL10x", "GIFImagel10x"},
                                           ControlCase{"GifImageL40x", "GIFImagel40x"},
                                           ControlCase{"GifImageL90x", "GIFImagel90x"},
                                           ControlCase{"GifImage00x", ""},
                                           ControlCase{"GifImageL0x", ""},
                                           ControlCase{"gifimage40x", ""}, ControlCase{"", ""}),
                         [](const ::testing::TestParamInfo<ControlCase>& info) {
                             const std::string picture = info.param.picture;
                             return picture.empty() ? std::string("Empty") : picture;
                         });

TEST(MoonPictures, TwentyDistinctPicturesAndControls)
{
    std::set<std::string_view> names;
    std::set<std::string_view> controls;
    for (const auto& picture : MoonPictures::All) {
        names.insert(picture.name);
        controls.insert(picture.control);
    }
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(controls.size(), 20u);
    for (int tenth = 1; tenth <= 9; ++tenth) {
        const std::string digit = std::to_string(tenth);
        EXPECT_EQ(controls.count("GIFImage" + digit + "0x"), 1u);
        EXPECT_EQ(controls.count("GIFImagel" + digit + "0x"), 1u);
    }
}

// Every covered day picks one of the 20 pictures, and across the years every picture is used.
TEST(MoonPhase, EveryCoveredDayShowsOneOfTheTwentyPictures)
{
    std::set<std::string> used;
    for (QDate date(1998, 1, 1); date.year() <= 2100; date = date.addDays(1)) {
        const MoonPhase::Choice choice = MoonPhase::Choose(date);
        ASSERT_TRUE(choice.message.empty()) << date.toString(Qt::ISODate).toStdString();
        ASSERT_FALSE(MoonPictures::ControlNameFor(choice.pictureName).empty())
            << date.toString(Qt::ISODate).toStdString() << " " << choice.pictureName;
        used.insert(choice.pictureName);
    }
    EXPECT_EQ(used.size(), 20u);
}

} // namespace
} // namespace cirrolux
