#pragma once

#include <string>
#include <vector>

namespace cirrolux {

// Where the report's lines are printed, one call per line; a failing line throws.
class LineSink
{
public:
    virtual ~LineSink() = default;
    virtual void printLine(const std::string& line) = 0;
    // Ends the print job.
    virtual void endJob() = 0;
};

// Prints each line, then a line holding one space, an empty line and "[Printed from Cirrolux
// (by Tallowmere).]", and ends the job. When a line fails, the closing lines and the end of the
// job still happen (a failure among them is dropped) and the line's error is thrown again.
void PrintReportLines(const std::vector<std::string>& lines, LineSink& sink);

} // namespace cirrolux
