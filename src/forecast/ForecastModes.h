#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cirrolux {

// Where a report comes from; each has its own base address (net/ServiceAddresses.h).
enum class ReportProvider { Nws, Epa, UsdaNass, CensusRanks, CensusLookup, UsgsNeic };

// How the fetched page becomes the text in the window.
enum class ReportExtraction {
    CountyForecast, // county section, kind "t"
    CountyNowcast,  // county section, kind "n"
    Warning,        // warning text
    FixedWarning,   // fixed font, warning text
    Table,          // table text
    Earthquake,     // table text, earthquake cut
};

// What the window asks before it fetches.
enum class ReportInput { None, County, StateList, Zip };

// What follows the title prefix.
enum class TitleSuffix { None, CityAndState, State };

// One report mode of the forecast window.
struct ForecastMode
{
    std::string_view mode;        // "f", "n", ...
    std::string_view commandName; // objectName of the main-window menu entry
    std::string_view caption;     // caption of that entry
    std::string_view titlePrefix; // "Cirrolux - Text Forecast for ", ...
    TitleSuffix titleSuffix;
    ReportProvider provider;
    std::string_view path; // before the state, or the whole path; see ReportAddress
    ReportExtraction extraction;
    ReportInput input;
    bool needsLocation;          // asks for a stats location first
    std::string_view statusText; // "Starting retrieval of ..."
};

// The 13 modes in menu order of their commands.
std::span<const ForecastMode> ForecastModes();
// The row of `mode`; null for an unknown mode.
const ForecastMode* FindForecastMode(std::string_view mode);

// The row whose main-window command has the objectName `commandName`; null when none has.
const ForecastMode* FindForecastModeByCommand(std::string_view commandName);

// The status text shown before the transfer; "Starting retrieval of Forecast..." for any mode
// the table does not list.
std::string_view StartingStatusText(std::string_view mode);

// The inputs an address or a title is built from.
struct ReportInputs
{
    std::string_view locationCity;
    std::string_view locationState;
    std::string_view cropStateCode; // picked state for "cw", else empty
    std::string_view stateListText; // cboState, after "&Get it" rewrote it as "NN,Name"
    std::string_view zipText;       // txtZip
};

// The state code a "cw" report is fetched (and titled) for: the picked state when it has 2 or
// more characters, else the current location's state.
std::string_view CropState(const ReportInputs& inputs);

// The window title set before the transfer.
std::string ReportTitle(const ForecastMode& mode, const ReportInputs& inputs);
// The page address: the provider's base address and the mode's path.
std::string ReportAddress(const ForecastMode& mode, const ReportInputs& inputs);
std::string_view ProviderBase(ReportProvider provider);

// The two census query paths (after the census lookup base address).
std::string CensusStatePath(std::string_view stateListText);
std::string CensusZipPath(std::string_view zip);

// Texts of the forecast window and its retrieval.
namespace ForecastTexts {
inline constexpr std::string_view WindowTitle = "Cirrolux - Forecast";
inline constexpr std::string_view NoLocation =
    "A stats location has not been selected. You will need to select a location (under Options) "
    "or view current stats before viewing forecasts.";
inline constexpr std::string_view InvalidZip = "Sorry, you entered an invalid zip.";
inline constexpr std::string_view StateNotFound =
    "Sorry, State code not found.  Please reselect the location under GetStats.";
inline constexpr std::string_view TextForecastsUsOnly =
    "Sorry, at the moment, TEXT forecasts are only available for US States. Please use HTML "
    "forecast menu option.";
inline constexpr std::string_view ColorDialogFailed =
    "Error - Color selection dialog failed to load";
inline constexpr std::string_view AttemptingConnection = "Attempting connection...";
inline constexpr std::string_view ConnectionComplete = "Connection process complete...";
inline constexpr std::string_view ParsingStarted = "Parsing logic started...";
inline constexpr std::string_view Level2Started = "level 2 parsing started...";
inline constexpr std::string_view Level2Completed = "level 2 parsing completed...";
inline constexpr std::string_view WarningParsing = "Cirrolux - parsing data...please wait...";
inline constexpr std::string_view ParsingData = "parsing data...";
inline constexpr std::string_view ParsingComplete = "parsing complete...";
inline constexpr std::string_view Resting = " Thank you for using Cirrolux...";
inline constexpr std::string_view EndOfFile = "\r\n\r\n--- End of File --";
inline constexpr std::string_view ThanksLine = "\r\nThanks for using Cirrolux...";
inline constexpr std::string_view PrintedFrom = "[Printed from Cirrolux (by Tallowmere).]";
inline constexpr std::string_view HtmlReferer = "Cirrolux by Tallowmere - html forecast link";
// The font the fixed-width reports switch to; the window maps it to the system's fixed font.
inline constexpr std::string_view FixedFontName = "Fixedsys";

std::string LookingForCounty(std::string_view county);
std::string FoundCounty(std::string_view county);
std::string CountyNotFound(std::string_view county);
} // namespace ForecastTexts

// The state list of the "s1" and "cw" modes: "None", then the 51 "NN-Name" entries in FIPS code
// order.
std::span<const std::string_view> StateListEntries();

} // namespace cirrolux
