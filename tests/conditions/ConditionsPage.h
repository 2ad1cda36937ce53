#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace cirrolux::test {

// A small conditions page in the service's layout, built row by row so that a test can change
// one thing and keep the rest. Every table cell sits on its own line, so the cleaned text has
// exactly one space between a label and its value, as the service's pages do.
struct ConditionsPage
{
    struct Row
    {
        std::string label; // markup allowed: "Heat<br>Index" cleans to "HeatIndex"
        std::string value;
    };

    std::string title = "Weather Underground: Boston, Massachusetts Weather Forecast";
    std::string heading = "Current Conditions at Boston Logan International Airport";
    std::string updated = "<b>Updated:</b> 3:51 PM EDT on July 18, 2001";
    std::vector<Row> rows = {
        {"Temperature", "<b>90</b>&nbsp;&#176;F"},
        {"Heat<br>Index", "<b>105</b>&nbsp;&#176;F"},
        {"Humidity", "70%"},
        {"Dew&nbsp;Point", "<b>79</b>&nbsp;&#176;F"},
        {"Wind", "<b>South</b> at <b>9</b> mph"},
        {"Pressure", "<b>29.92</b> in"},
        {"Conditions", "<b>Partly Cloudy</b>"},
        {"Visibility", "<b>10</b> miles"},
        {"Clouds", "Few 6,000 ft"},
        {"Sunrise", "5:25 AM EDT"},
        {"Sunset", "8:17 PM EDT"},
        {"Moon&nbsp;Rise", "3:02 AM EDT"},
        {"Moon&nbsp;Set", "6:41 PM EDT"},
        {"Moon&nbsp;Phase", "<img src=\"/graphics/moon21.gif\" alt=\"moon\"> Waning Crescent"},
    };

    ConditionsPage& setValue(const std::string& label, std::string value)
    {
        find(label)->value = std::move(value);
        return *this;
    }
    ConditionsPage& setLabel(const std::string& label, std::string newLabel)
    {
        find(label)->label = std::move(newLabel);
        return *this;
    }
    ConditionsPage& remove(const std::string& label)
    {
        rows.erase(find(label));
        return *this;
    }
    ConditionsPage& insertBefore(const std::string& label, Row row)
    {
        rows.insert(find(label), std::move(row));
        return *this;
    }

    std::string html() const
    {
        std::string page = "<html>\n<head>\n<title>" + title +
                           "</title>\n</head>\n"
                           "<body bgcolor=\"#FFFFFF\">\n<table width=\"100%\">\n"
                           "<tr><td><b>" +
                           heading + "</b></td></tr>\n<tr><td><font size=\"1\">" + updated +
                           "</font></td></tr>\n</table>\n<table border=\"0\" cellpadding=\"2\">\n";
        for (const Row& row : rows)
            page += "<tr>\n<td>" + row.label + "</td>\n<td>" + row.value + "</td>\n</tr>\n";
        page += "</table>\n</body>\n</html>\n";
        return page;
    }

private:
    std::vector<Row>::iterator find(const std::string& label)
    {
        const auto found = std::find_if(rows.begin(), rows.end(),
                                        [&](const Row& row) { return row.label == label; });
        if (found == rows.end())
            throw std::logic_error("no row " + label);
        return found;
    }
};

} // namespace cirrolux::test
