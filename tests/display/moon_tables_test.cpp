// The built-in moon tables: layout, fillers, leap years and the 1998 rows the program has
// always shown.
#include "display/MoonTables.h"

#include <QDate>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace cirrolux {
namespace {

std::string_view Entry1998(int day, int month)
{
    return MoonTables::Entry(MoonTables::TableFor(1998), day, month);
}

// Entries of real dates look like "0.37" and lie within 0.00..1.00.
bool IsFraction(std::string_view entry)
{
    if (entry.size() != 4 || entry[1] != '.')
        return false;
    for (const int i : {0, 2, 3}) {
        if (entry[i] < '0' || entry[i] > '9')
            return false;
    }
    return entry <= "1.00";
}

double Value(std::string_view entry)
{
    return std::stod(std::string(entry));
}

std::string Label(int row)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04d", row);
    return text;
}

struct Example
{
    int day;
    int month;
    const char* entry;
};

void PrintTo(const Example& c, std::ostream* out)
{
    *out << c.day << "/" << c.month;
}

std::string ExampleName(const Example& e)
{
    static const char* const months[] = {"Jan", "Feb", "Mar"};
    return months[e.month - 1] + Label(e.day).substr(2);
}

class Table1998Example : public ::testing::TestWithParam<Example>
{
};

TEST_P(Table1998Example, HasTheKnownEntry)
{
    const Example& e = GetParam();
    EXPECT_EQ(Entry1998(e.day, e.month), e.entry);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Table1998Example,
    ::testing::Values(Example{1, 1, "0.07"}, Example{5, 1, "0.43"}, Example{6, 1, "0.55"},
                      Example{12, 1, "0.99"}, Example{13, 1, "1.00"}, Example{14, 1, "0.98"},
                      Example{15, 1, "0.95"}, Example{20, 1, "0.58"}, Example{21, 1, "0.48"},
                      Example{28, 1, "0.00"}, Example{29, 1, "0.01"}, Example{31, 1, "0.10"},
                      Example{1, 2, "0.19"}, Example{5, 2, "0.62"}, Example{13, 2, "0.98"},
                      Example{20, 2, "0.47"}, Example{28, 2, "0.02"}, Example{1, 3, "0.08"},
                      Example{5, 3, "0.46"}, Example{13, 3, "1.00"}, Example{20, 3, "0.63"},
                      Example{28, 3, "0.00"}, Example{29, 3, "0.01"}, Example{31, 3, "0.12"}),
    [](const ::testing::TestParamInfo<Example>& info) { return ExampleName(info.param); });

TEST(MoonTables, FiveJanuaryIsWaxing)
{
    EXPECT_GT(Entry1998(6, 1), Entry1998(5, 1));
}

TEST(MoonTables, EveryCoveredYearHasATableAndNoOtherDoes)
{
    EXPECT_EQ(MoonTables::FirstYear, 1998);
    EXPECT_EQ(MoonTables::LastYear, 2100);
    for (int year = MoonTables::FirstYear; year <= MoonTables::LastYear; ++year)
        EXPECT_EQ(MoonTables::TableFor(year).size(), 1664u) << year;
    for (const int year : {-1, 0, 1900, 1997, 2101, 9999})
        EXPECT_TRUE(MoonTables::TableFor(year).empty()) << year;
}

class YearTable : public ::testing::TestWithParam<int>
{
};

// Labels, the closing row, well-formed entries on real dates and fillers on the others.
TEST_P(YearTable, HasTheFixedLayout)
{
    for (int year = GetParam(); year < GetParam() + 10 && year <= MoonTables::LastYear; ++year) {
        SCOPED_TRACE(year);
        const std::string_view table = MoonTables::TableFor(year);
        ASSERT_EQ(table.size(), 1664u);
        for (int row = 1; row <= 31; ++row)
            EXPECT_EQ(table.substr(52 * (row - 1), 4), Label(row));
        EXPECT_EQ(table.substr(52 * 31), "99999.999.999.999.999.999.999.999.999.999.999.999.99");
        const std::string_view filler = year < 2000 ? "9.99" : "0.00";
        for (int month = 1; month <= 12; ++month) {
            const int days = QDate(year, month, 1).daysInMonth();
            for (int day = 1; day <= 31; ++day) {
                const std::string_view entry = MoonTables::Entry(table, day, month);
                ASSERT_EQ(entry.data(), table.data() + 52 * (day - 1) + 4 * month);
                if (day <= days)
                    EXPECT_TRUE(IsFraction(entry)) << day << "/" << month << " " << entry;
                else
                    EXPECT_EQ(entry, filler) << day << "/" << month;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Decades, YearTable, ::testing::Range(1998, 2101, 10),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "From" + std::to_string(info.param);
                         });

TEST(MoonTables, EntryPositionsFollowTheRowLayout)
{
    const std::string_view table = MoonTables::TableFor(1998);
    // Position 52*(d-1) + 4*m + 1, counted from 1.
    EXPECT_EQ(MoonTables::Entry(table, 1, 1), table.substr(4, 4));
    EXPECT_EQ(MoonTables::Entry(table, 20, 3), table.substr(52 * 19 + 12, 4));
    EXPECT_EQ(MoonTables::Entry(table, 31, 12), table.substr(52 * 30 + 48, 4));
    EXPECT_EQ(MoonTables::Entry(table, 32, 7), "9.99");
}

TEST(MoonTables, EntryOutsideTheTableIsEmpty)
{
    const std::string_view table = MoonTables::TableFor(2000);
    EXPECT_TRUE(MoonTables::Entry(table, 0, 1).empty());
    EXPECT_TRUE(MoonTables::Entry(table, 33, 1).empty());
    EXPECT_TRUE(MoonTables::Entry(table, 1, 0).empty());
    EXPECT_TRUE(MoonTables::Entry(table, 1, 13).empty());
    EXPECT_TRUE(MoonTables::Entry({}, 1, 1).empty());
    EXPECT_TRUE(MoonTables::Entry(table.substr(0, 100), 3, 1).empty());
    // The last entry of a row still fits a table cut right after it.
    EXPECT_EQ(MoonTables::Entry(table.substr(0, 52), 1, 12), table.substr(48, 4));
    EXPECT_TRUE(MoonTables::Entry(table.substr(0, 51), 1, 12).empty());
}

TEST(MoonTables, LeapDaysHaveTheirOwnEntry)
{
    // 2000 is a leap year (divisible by 400), 2004 an ordinary one, 2100 none (divisible by 100).
    for (const int year : {2000, 2004, 2096}) {
        SCOPED_TRACE(year);
        const std::string_view table = MoonTables::TableFor(year);
        const std::string_view leapDay = MoonTables::Entry(table, 29, 2);
        ASSERT_TRUE(IsFraction(leapDay));
        // The Moon's phase moves steadily, so the leap day lies near its neighbours.
        EXPECT_LE(std::abs(Value(leapDay) - Value(MoonTables::Entry(table, 28, 2))), 0.14);
        EXPECT_LE(std::abs(Value(leapDay) - Value(MoonTables::Entry(table, 1, 3))), 0.14);
    }
    // Waning towards the new moon of 6 March 2000.
    const std::string_view table2000 = MoonTables::TableFor(2000);
    EXPECT_GT(MoonTables::Entry(table2000, 28, 2), MoonTables::Entry(table2000, 29, 2));
    EXPECT_GT(MoonTables::Entry(table2000, 29, 2), MoonTables::Entry(table2000, 1, 3));

    for (const int year : {1998, 1999}) {
        EXPECT_EQ(MoonTables::Entry(MoonTables::TableFor(year), 29, 2), "9.99") << year;
        EXPECT_EQ(MoonTables::Entry(MoonTables::TableFor(year), 31, 4), "9.99") << year;
    }
    for (const int year : {2001, 2002, 2100}) {
        const std::string_view table = MoonTables::TableFor(year);
        EXPECT_EQ(MoonTables::Entry(table, 29, 2), "0.00") << year;
        EXPECT_EQ(MoonTables::Entry(table, 30, 2), "0.00") << year;
        EXPECT_EQ(MoonTables::Entry(table, 31, 11), "0.00") << year;
    }
}

// Day to day, across months and years, the lit fraction never jumps: a misplaced column or
// a shifted day would.
TEST(MoonTables, NeighbouringDaysDifferByLessThanADaysMotion)
{
    QDate date(MoonTables::FirstYear, 1, 1);
    double previous = Value(Entry1998(1, 1));
    int newMoons = 0;
    bool inNewMoon = false;
    for (date = date.addDays(1); date.year() <= MoonTables::LastYear; date = date.addDays(1)) {
        const double value =
            Value(MoonTables::Entry(MoonTables::TableFor(date.year()), date.day(), date.month()));
        ASSERT_LE(std::abs(value - previous), 0.14) << date.toString(Qt::ISODate).toStdString();
        const bool newMoon = value < 0.10;
        if (newMoon && !inNewMoon)
            ++newMoons;
        inNewMoon = newMoon;
        previous = value;
    }
    // 37,620 days of 29.53-day synodic months: each new moon shows once, none is missed.
    EXPECT_GE(newMoons, 1273);
    EXPECT_LE(newMoons, 1274);
}

struct KnownPhase
{
    const char* name;
    int year, month, day;
    const char* entry;
};

void PrintTo(const KnownPhase& c, std::ostream* out)
{
    *out << c.name;
}

class KnownPhaseTest : public ::testing::TestWithParam<KnownPhase>
{
};

// Dates of published eclipses: the Moon is full (lunar) or new (solar) within hours of 0h UT.
TEST_P(KnownPhaseTest, MatchesTheEclipse)
{
    const KnownPhase& p = GetParam();
    EXPECT_EQ(MoonTables::Entry(MoonTables::TableFor(p.year), p.day, p.month), p.entry);
}

INSTANTIATE_TEST_SUITE_P(Eclipses, KnownPhaseTest,
                         ::testing::Values(KnownPhase{"Solar1999Aug11", 1999, 8, 11, "0.00"},
                                           KnownPhase{"Lunar2000Jan21", 2000, 1, 21, "1.00"},
                                           KnownPhase{"Solar2017Aug22", 2017, 8, 22, "0.00"},
                                           KnownPhase{"Lunar2022Nov08", 2022, 11, 8, "1.00"},
                                           KnownPhase{"Lunar2025Mar14", 2025, 3, 14, "1.00"}),
                         [](const ::testing::TestParamInfo<KnownPhase>& info) {
                             return std::string(info.param.name);
                         });

TEST(MoonTables, DayAfterTheLastTableIsAnEntry)
{
    EXPECT_TRUE(IsFraction(MoonTables::EntryAfterLastYear()));
}

} // namespace
} // namespace cirrolux
