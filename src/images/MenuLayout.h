#pragma once

#include <span>
#include <string_view>

namespace cirrolux {

// What a menu entry does when chosen.
enum class MenuEntryKind {
    Submenu,      // opens the entries of the next depth that follow it
    Separator,    //
    Image,        // downloads and shows the catalogue row named by `component`
    RadarChooser, // the state and regional radar chooser
    Forecast,     // the forecast window in report mode `mode`
    HtmlForecast, // the conditions service's page in the web browser
    WebWindow,    // the web page window in mode `mode`
};

// One line of the "&Images", "&Forecasts" and "&Reports" menus. The entries are listed in menu
// order, depth first: an entry of depth d + 1 belongs to the nearest Submenu of depth d above
// it; depth 0 entries are the three menus of the menu bar.
struct MenuEntry
{
    MenuEntryKind kind;
    int depth;
    std::string_view component; // objectName; empty for separators
    std::string_view caption;   // empty for image rows: the catalogue holds their captions
    std::string_view mode;      // report or window mode for Forecast and WebWindow entries
};

std::span<const MenuEntry> ImageMenuLayout();

// The caption the entry shows: its own, or its catalogue row's for an image row.
std::string_view MenuCaption(const MenuEntry& entry);

} // namespace cirrolux
