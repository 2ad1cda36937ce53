// Printing a report line by line, with the closing lines also after a failing line.
#include "forecast/ReportPrinting.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace cirrolux;

namespace {

class RecordingSink final : public LineSink
{
public:
    explicit RecordingSink(int failAt = -1) : m_failAt(failAt) {}
    void printLine(const std::string& line) override
    {
        if (int(lines.size()) == m_failAt) {
            m_failAt = -1;
            throw std::runtime_error("printer out of paper");
        }
        lines.push_back(line);
    }
    void endJob() override { ++ends; }

    std::vector<std::string> lines;
    int ends = 0;

private:
    int m_failAt;
};

TEST(PrintReportLines, EveryLineThenTheClosingLines)
{
    RecordingSink sink;
    PrintReportLines({"ZONE FORECAST", "", ".TODAY...SUNNY."}, sink);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"ZONE FORECAST", "", ".TODAY...SUNNY.", " ", "",
                                                    "[Printed from Cirrolux (by Tallowmere).]"}));
    EXPECT_EQ(sink.ends, 1);
}

TEST(PrintReportLines, AFailingLineStillClosesTheJobAndReportsTheError)
{
    RecordingSink sink(1);
    EXPECT_THROW(PrintReportLines({"one", "two", "three"}, sink), std::runtime_error);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"one", " ", "",
                                                    "[Printed from Cirrolux (by Tallowmere).]"}));
    EXPECT_EQ(sink.ends, 1);
}

} // namespace
