#include "forecast/ReportPrinting.h"

#include "forecast/ForecastModes.h"

namespace cirrolux {

namespace {

void closeJob(LineSink& sink)
{
    sink.printLine(" ");
    sink.printLine({});
    sink.printLine(std::string(ForecastTexts::PrintedFrom));
    sink.endJob();
}

} // namespace

void PrintReportLines(const std::vector<std::string>& lines, LineSink& sink)
{
    try {
        for (const std::string& line : lines)
            sink.printLine(line);
    } catch (...) {
        try {
            closeJob(sink);
        } catch (...) {
            // The first failure is the one the user is told about.
        }
        throw;
    }
    closeJob(sink);
}

} // namespace cirrolux
