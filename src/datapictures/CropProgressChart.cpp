#include "datapictures/CropProgressChart.h"

#include "imageconvert/ConversionError.h"
#include "livereports/CropWeatherReport.h"
#include "livereports/PageText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace cirrolux::datapictures {

namespace {

using drawing::PixelCanvas;
using livereports::Lines;
using livereports::Trimmed;

// One row of a table: a state, or the "18 States" total, and its figures in the order of the
// table's columns; "-" is NASS's sign for zero; no figure where the report prints "(NA)", "(D)"
// or anything else.
struct CropRow
{
    std::string name;
    bool total = false;
    std::vector<std::optional<int>> figures;
};

struct CropTable
{
    std::string week;                 // "November 30, 2025", from the title line
    std::vector<std::string> columns; // "May 3, 2025", ..., "2021-2025 Average"
    std::vector<CropRow> rows;
};

// The columns the chart shows, as indices into CropTable::columns.
struct ChartColumns
{
    std::size_t thisWeek = 0;
    std::optional<std::size_t> lastWeek;
    std::optional<std::size_t> lastYear;
    std::optional<std::size_t> average;
};

// No real table comes near this; the limits keep a hostile text from running on.
constexpr std::size_t kMaxRows = 36;
constexpr std::size_t kMaxTableLines = 200;
constexpr std::size_t kMaxNameLength = 40;
constexpr std::size_t kMaxColumns = 12;

char lowerOf(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerOf);
    return out;
}

bool sameNoCase(std::string_view a, std::string_view b)
{
    return lowered(a) == lowered(b);
}

// Runs of spaces as one space, so "May  3, 2026" and "May 3, 2026" compare equal.
std::string collapsed(std::string_view text)
{
    std::string out;
    for (const char c : Trimmed(text)) {
        const bool space = c == ' ' || c == '\t';
        if (!space || (!out.empty() && out.back() != ' '))
            out += space ? ' ' : c;
    }
    return out;
}

std::string shortened(std::string text, std::size_t length)
{
    if (text.size() > length)
        text.resize(length);
    return text;
}

// A table's top and bottom rules are lines of dashes from the first column; heading lines such
// as "                :----------:" start with spaces and are not rules.
bool isRule(std::string_view line)
{
    const std::string_view t = Trimmed(line);
    return t.size() >= 20 && !line.empty() && line.front() == '-' &&
           t.find_first_not_of("-:") == std::string_view::npos;
}

// The name of a row "Illinois .......:  44 ..." ("Illinois"); empty for other lines.
std::string_view rowName(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string_view head = line.substr(0, colon);
    if (head.back() != '.')
        return {};
    while (!head.empty() && (head.back() == '.' || head.back() == ' '))
        head.remove_suffix(1);
    return Trimmed(head);
}

// "18 States": the row of all the table's states together.
bool isTotalRow(std::string_view name)
{
    const std::size_t digits = name.find_first_not_of("0123456789");
    return digits != 0 && digits != std::string_view::npos &&
           sameNoCase(Trimmed(name.substr(digits)), "States");
}

// "Corn Harvested - Selected States: Week Ending November 30, 2025" is the title of the table
// "Corn Harvested".
bool isTitleOf(std::string_view line, std::string_view table)
{
    const std::string_view t = Trimmed(line);
    const std::size_t dash = t.find(" - ");
    return dash != std::string_view::npos && sameNoCase(Trimmed(t.substr(0, dash)), table);
}

std::string weekOfTitle(std::string_view title)
{
    const std::string lower = lowered(title);
    const std::size_t at = lower.find("week ending ");
    return at == std::string::npos ? std::string()
                                   : shortened(collapsed(title.substr(at + 12)), kMaxNameLength);
}

// The release date of "Released December 1, 2025, by the National Agricultural Statistics ...".
std::string releaseDate(const std::vector<std::string_view>& lines)
{
    for (const std::string_view line : lines) {
        const std::string_view t = Trimmed(line);
        if (t.starts_with("Released ")) {
            const std::string_view rest = t.substr(9);
            return shortened(collapsed(rest.substr(0, rest.find(", by "))), kMaxNameLength);
        }
    }
    return {};
}

// The ":" separators of the heading line that has the most: they divide the table's columns.
std::vector<std::size_t> separators(const std::vector<std::string_view>& heading)
{
    std::vector<std::size_t> widest;
    for (const std::string_view line : heading) {
        std::vector<std::size_t> colons;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ':')
                colons.push_back(i);
        }
        if (colons.size() > widest.size())
            widest = std::move(colons);
    }
    return widest;
}

// The column names of a heading block, column j running from just past separator j to separator
// j + 1 (the last to the line's end). Every heading line's pieces between its own separators are
// added to the column they sit in, except rules of dashes and a piece spanning several columns
// ("Week ending" over the three dates).
std::vector<std::string> columnNames(const std::vector<std::string_view>& heading,
                                     const std::vector<std::size_t>& widest)
{
    constexpr std::size_t kOpen = std::string_view::npos;
    const auto columnStart = [&widest](std::size_t j) { return widest[j] + 1; };
    const auto columnEnd = [&widest](std::size_t j) {
        return j + 1 < widest.size() ? widest[j + 1] : kOpen;
    };
    std::vector<std::string> names(widest.size());
    for (const std::string_view line : heading) {
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t end = std::min(line.find(':', start), line.size());
            const std::string_view piece = line.substr(start, end - start);
            const std::size_t first = piece.find_first_not_of(' ');
            if (first != std::string_view::npos &&
                piece.find_first_not_of("- ") != std::string_view::npos) {
                const std::size_t middle = start + (first + piece.find_last_not_of(' ') + 1) / 2;
                int overlapped = 0;
                std::optional<std::size_t> home;
                for (std::size_t j = 0; j < widest.size(); ++j) {
                    const std::size_t from = std::max(start, columnStart(j));
                    const std::size_t to = std::min(end, columnEnd(j));
                    // A piece reaching a character or two into a neighbour is a separator out of
                    // line, not a heading over both.
                    if (to > from && to - from >= 3)
                        ++overlapped;
                    if (middle >= columnStart(j) && middle < columnEnd(j))
                        home = j;
                }
                if (home && overlapped <= 1) {
                    std::string& name = names[*home];
                    name += (name.empty() ? "" : " ") + collapsed(piece);
                }
            }
            start = end + 1;
        }
    }
    while (!names.empty() && names.back().empty())
        names.pop_back();
    for (std::string& name : names)
        name = shortened(std::move(name), kMaxNameLength);
    return names;
}

std::optional<int> percentOf(std::string_view token)
{
    if (token == "-")
        return 0;
    if (token.empty() || token.size() > 3 ||
        token.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int value = std::stoi(std::string(token));
    return value <= 100 ? std::optional<int>(value) : std::nullopt;
}

// A row's figures: one token per column in order; when the count differs (a blank cell), each
// token goes to the column its middle sits in.
std::vector<std::optional<int>> figuresOf(std::string_view line, std::size_t colon,
                                          const std::vector<std::size_t>& columnStarts)
{
    struct Token
    {
        std::string_view text;
        std::size_t middle;
    };
    std::vector<Token> tokens;
    for (std::size_t i = colon + 1; i < line.size();) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
        tokens.push_back({line.substr(i, end - i), (i + end) / 2});
        i = end;
    }
    std::vector<std::optional<int>> figures(columnStarts.size());
    if (tokens.size() == columnStarts.size()) {
        for (std::size_t j = 0; j < tokens.size(); ++j)
            figures[j] = percentOf(tokens[j].text);
        return figures;
    }
    for (const Token& token : tokens) {
        const auto after = std::upper_bound(columnStarts.begin(), columnStarts.end(), token.middle);
        if (after != columnStarts.begin())
            figures[std::size_t(after - columnStarts.begin()) - 1] = percentOf(token.text);
    }
    return figures;
}

// The table titled `table`: its title line, then at most a few note lines, then the heading block
// between two rules, then rows up to the closing rule.
std::optional<CropTable> findTable(const std::vector<std::string_view>& lines,
                                   std::string_view table)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isTitleOf(lines[i], table))
            continue;
        std::size_t at = i + 1;
        while (at < lines.size() && at < i + 4 && !isRule(lines[at]) &&
               (Trimmed(lines[at]).empty() || Trimmed(lines[at]).starts_with("[")))
            ++at;
        if (at >= lines.size() || !isRule(lines[at]))
            continue; // a mention of the title, as in a list of contents
        std::vector<std::string_view> heading;
        for (++at; at < lines.size() && !isRule(lines[at]) && heading.size() < 10; ++at)
            heading.push_back(lines[at]);
        if (at >= lines.size() || !isRule(lines[at]))
            continue;

        const std::vector<std::size_t> widest = separators(heading);
        if (widest.size() > kMaxColumns)
            throw ConversionError("the \"" + std::string(table) +
                                  "\" table has a heading the chart cannot read");
        CropTable found;
        found.week = weekOfTitle(lines[i]);
        found.columns = columnNames(heading, widest);
        std::vector<std::size_t> starts;
        for (std::size_t j = 0; j < found.columns.size(); ++j)
            starts.push_back(widest[j] + 1);
        const std::size_t last = std::min(lines.size(), at + kMaxTableLines);
        for (++at; at < last && !isRule(lines[at]); ++at) {
            const std::string_view name = rowName(lines[at]);
            if (name.empty())
                continue;
            if (found.rows.size() >= kMaxRows)
                throw ConversionError("the \"" + std::string(table) +
                                      "\" table has more rows than one chart can show");
            found.rows.push_back({shortened(std::string(name), kMaxNameLength), isTotalRow(name),
                                  figuresOf(lines[at], lines[at].find(':'), starts)});
        }
        return found;
    }
    return std::nullopt;
}

// The last four-digit number of a column name: the year of "November 30, 2025".
int yearOf(std::string_view name)
{
    int year = 0;
    for (std::size_t i = 0; i + 4 <= name.size(); ++i) {
        const std::string_view four = name.substr(i, 4);
        const bool alone =
            (i == 0 || !std::isdigit(static_cast<unsigned char>(name[i - 1]))) &&
            (i + 4 == name.size() || !std::isdigit(static_cast<unsigned char>(name[i + 4])));
        if (alone && four.find_first_not_of("0123456789") == std::string_view::npos)
            year = std::stoi(std::string(four));
    }
    return year;
}

// Which column is which, by the names the report gives them: the average says so, this week's
// date is the title's, last year's date has an earlier year. The report's own order (last year,
// last week, this week, average) decides what the names leave open.
ChartColumns chartColumns(const CropTable& table, std::string_view name)
{
    ChartColumns chosen;
    std::vector<std::size_t> dated;
    for (std::size_t j = 0; j < table.columns.size(); ++j) {
        if (lowered(table.columns[j]).find("average") != std::string::npos)
            chosen.average = chosen.average.value_or(j);
        else
            dated.push_back(j);
    }
    if (dated.empty())
        throw ConversionError("the \"" + std::string(name) + "\" table's heading names no week");
    const auto titled = std::find_if(dated.begin(), dated.end(), [&table](std::size_t j) {
        return !table.week.empty() && sameNoCase(collapsed(table.columns[j]), table.week);
    });
    chosen.thisWeek = titled != dated.end() ? *titled : dated.back();
    dated.erase(std::find(dated.begin(), dated.end(), chosen.thisWeek));
    const int year = yearOf(table.columns[chosen.thisWeek]);
    std::vector<std::size_t> unplaced;
    for (const std::size_t j : dated) {
        const int other = yearOf(table.columns[j]);
        if (!chosen.lastYear && year > 0 && other > 0 && other < year)
            chosen.lastYear = j;
        else if (!chosen.lastWeek && year > 0 && other == year)
            chosen.lastWeek = j;
        else
            unplaced.push_back(j);
    }
    for (const std::size_t j : unplaced) {
        if (!chosen.lastYear)
            chosen.lastYear = j;
        else if (!chosen.lastWeek)
            chosen.lastWeek = j;
    }
    return chosen;
}

std::optional<int> figure(const CropRow& row, std::optional<std::size_t> column)
{
    return column && *column < row.figures.size() ? row.figures[*column] : std::nullopt;
}

std::string shown(std::optional<int> value)
{
    return value ? std::to_string(*value) : std::string("NA");
}

// "Winter Wheat Emerged" → "Winter Wheat - percent Emerged", drawn in the pixel font's capitals.
std::string chartTitle(std::string_view table)
{
    const std::string t = collapsed(table);
    const std::size_t space = t.rfind(' ');
    if (space == std::string::npos)
        return "percent " + t;
    return t.substr(0, space) + " - percent " + t.substr(space + 1);
}

} // namespace

std::optional<std::string> CropChartTable(std::string_view request)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kCharts{{
        {"crn_harv.gif", "Corn Harvested"},
        {"cot_harv.gif", "Cotton Harvested"},
        {"soy_harv.gif", "Soybeans Harvested"},
        {"wwh_em.gif", "Winter Wheat Emerged"},
        {"wwh_pltd.gif", "Winter Wheat Planted"},
    }};
    std::string_view path = request.substr(0, request.find_first_of("?#"));
    if (lowered(path).find("/nass/graphics/") == std::string::npos)
        return std::nullopt;
    const std::string file = lowered(path.substr(path.rfind('/') + 1));
    for (const auto& [name, table] : kCharts) {
        if (file == name)
            return std::string(table);
    }
    return std::nullopt;
}

std::string CropProgressTextAddress(std::string_view releaseJson)
{
    return livereports::CropProgressTextAddress(releaseJson);
}

drawing::PixelCanvas CropProgressChart(std::string_view cropProgressText, std::string_view table,
                                       const QDateTime& drawnAt)
{
    const std::vector<std::string_view> lines = Lines(cropProgressText);
    const std::string released = releaseDate(lines);
    const std::optional<CropTable> found = findTable(lines, table);
    if (!found) {
        throw ConversionError("the Crop Progress report" +
                              (released.empty() ? std::string() : " released " + released) +
                              " has no \"" + std::string(table) + "\" table");
    }
    if (found->rows.empty())
        throw ConversionError("the \"" + std::string(table) + "\" table has no state rows");
    if (found->columns.empty())
        throw ConversionError("the \"" + std::string(table) +
                              "\" table's heading names no columns");
    const ChartColumns columns = chartColumns(*found, table);

    constexpr int kWidth = 600;
    constexpr int kHeight = 450;
    PixelCanvas canvas(kWidth, kHeight);
    const std::uint8_t white = canvas.addColour({255, 255, 255});
    const std::uint8_t ink = canvas.addColour({0, 0, 0});
    const std::uint8_t grid = canvas.addColour({200, 200, 200});
    const std::uint8_t band = canvas.addColour({232, 232, 232});
    const std::uint8_t stateBar = canvas.addColour({46, 125, 50});
    const std::uint8_t totalBar = canvas.addColour({191, 96, 0});
    const std::uint8_t marker = canvas.addColour({20, 20, 20});
    const std::uint8_t faint = canvas.addColour({90, 90, 90});
    canvas.fill(white);

    const auto centred = [&canvas](int y, std::string_view text, std::uint8_t colour, int scale) {
        canvas.text((kWidth - PixelCanvas::textWidth(text, scale)) / 2, y, text, colour, scale);
    };
    const std::string title = chartTitle(table);
    centred(8, title, ink, PixelCanvas::textWidth(title, 2) <= kWidth - 20 ? 2 : 1);
    const std::string week = found->week.empty() ? found->columns[columns.thisWeek] : found->week;
    centred(28, "WEEK ENDING " + week, ink, 1);

    // Legend: this week's bar and the average's marker, named as the report's heading names them.
    const std::string barName = found->columns[columns.thisWeek];
    const std::string markName = columns.average ? found->columns[*columns.average] : "";
    const int legendWidth = 14 + PixelCanvas::textWidth(barName) +
                            (columns.average ? 24 + 8 + PixelCanvas::textWidth(markName) : 0);
    int x = (kWidth - legendWidth) / 2;
    canvas.fillRect(x, 42, 10, 7, stateBar);
    x = canvas.text(x + 14, 42, barName, ink);
    if (columns.average) {
        canvas.fillRect(x + 24 + 2, 40, 3, 11, marker);
        canvas.text(x + 24 + 8, 42, markName, ink);
    }

    // The figures beside the bars, headed in two lines.
    constexpr std::array<int, 4> kFigureRight{452, 496, 540, 584};
    const std::array<std::pair<const char*, const char*>, 4> heads{
        {{"THIS", "WEEK"}, {"LAST", "WEEK"}, {"LAST", "YEAR"}, {"AVG", ""}}};
    const std::array<std::optional<std::size_t>, 4> figureColumns{
        columns.thisWeek, columns.lastWeek, columns.lastYear, columns.average};
    for (std::size_t k = 0; k < heads.size(); ++k) {
        canvas.text(kFigureRight[k] - PixelCanvas::textWidth(heads[k].first), 58, heads[k].first,
                    faint);
        canvas.text(kFigureRight[k] - PixelCanvas::textWidth(heads[k].second), 67, heads[k].second,
                    faint);
    }

    constexpr int kTop = 80;
    constexpr int kBottom = 404;
    const int rows = int(found->rows.size());
    // A short table gets taller rows rather than a chart of empty space.
    const int rowHeight = std::min(32, (kBottom - kTop) / rows);
    const int chartBottom = kTop + rowHeight * rows;
    const auto rowTop = [rowHeight](int index) { return kTop + index * rowHeight; };
    // The total row's band goes under the scale's lines, the bars over them.
    for (int i = 0; i < rows; ++i) {
        if (found->rows[std::size_t(i)].total) {
            canvas.fillRect(4, rowTop(i), kWidth - 8, rowHeight, band);
            canvas.fillRect(4, rowTop(i), kWidth - 8, 1, grid);
        }
    }
    canvas.fillRect(kCropScaleLeft - 1, kTop - 2, 1, chartBottom - kTop + 4, ink);
    for (int percent = 0; percent <= 100; percent += 25) {
        const int gx = kCropScaleLeft + percent * kCropScaleWidth / 100;
        if (percent > 0)
            canvas.fillRect(gx, kTop - 2, 1, chartBottom - kTop + 4, grid);
        const std::string label = std::to_string(percent) + (percent == 100 ? "%" : "");
        canvas.text(gx - PixelCanvas::textWidth(std::to_string(percent)) / 2, chartBottom + 6,
                    label, ink);
    }

    for (int i = 0; i < rows; ++i) {
        const CropRow& row = found->rows[std::size_t(i)];
        const int y = rowTop(i);
        const int textY = y + (rowHeight - PixelCanvas::textHeight()) / 2;
        const std::string name = shortened(row.name, 17);
        canvas.text(kCropScaleLeft - 6 - PixelCanvas::textWidth(name), textY, name,
                    row.total ? ink : faint);
        const int barHeight = std::max(3, rowHeight * 3 / 5);
        const int barY = y + (rowHeight - barHeight) / 2;
        // The average's marker reaches above and below the bar, so it shows where the bar
        // covers it.
        if (const std::optional<int> average = figure(row, columns.average))
            canvas.fillRect(kCropScaleLeft + *average * kCropScaleWidth / 100 - 1, y + 1, 3,
                            rowHeight - 2, marker);
        if (const std::optional<int> now = figure(row, columns.thisWeek)) {
            canvas.fillRect(kCropScaleLeft, barY, *now * kCropScaleWidth / 100, barHeight,
                            row.total ? totalBar : stateBar);
        } else {
            canvas.text(kCropScaleLeft + 4, textY, "NA", faint);
        }
        for (std::size_t k = 0; k < figureColumns.size(); ++k) {
            const std::string value = shown(figure(row, figureColumns[k]));
            canvas.text(kFigureRight[k] - PixelCanvas::textWidth(value), textY, value,
                        row.total ? ink : faint);
        }
    }

    std::string caption = "USDA NASS CROP PROGRESS";
    if (!released.empty())
        caption += ", RELEASED " + released;
    caption +=
        ", DRAWN " +
        drawnAt.toUTC().toString(QStringLiteral("dd MMM yyyy HH:mm 'UTC'")).toStdString();
    centred(kHeight - 16, caption, ink, 1);
    return canvas;
}

} // namespace cirrolux::datapictures
