#include "forecast/ForecastModes.h"

#include "forecast/ReportText.h"
#include "net/ServiceAddresses.h"

#include <array>

namespace cirrolux {

namespace {

using E = ReportExtraction;
using I = ReportInput;
using P = ReportProvider;
using T = TitleSuffix;

constexpr std::array<ForecastMode, 13> Modes{{
    {"n", "mnuNowcast", "&Nowcast - Short term forecast", "Cirrolux - Text Nowcast for ",
     T::CityAndState, P::Nws, "/shortterm.html", E::CountyNowcast, I::County, true,
     "Starting retrieval of Nowcast..."},
    {"f", "ForecastTEXTversion1", "Forecast - &TEXT version", "Cirrolux - Text Forecast for ",
     T::CityAndState, P::Nws, "/zone.html", E::CountyForecast, I::County, true,
     "Starting retrieval of Forecast..."},
    {"h", "mnuHydrologicalDataNWS1", "&Hydrological Data (NWS)",
     "Cirrolux - Hydrological data for ", T::State, P::Nws, "/hydro.html", E::FixedWarning, I::None,
     true, "Starting retrieval of Hydrological Data..."},
    {"p", "PublicInformation1", "&Public Information (NWS)", "Cirrolux - Public Information for ",
     T::State, P::Nws, "/public.html", E::Warning, I::None, true,
     "Starting retrieval of Public Information..."},
    {"sw", "mnuSpecialWeatherStatementsNWS1", "&Special Weather Statements (NWS)",
     "Cirrolux - Special Weather Statements for ", T::State, P::Nws, "/special.html", E::Warning,
     I::None, true, "Starting retrieval of Special Weather Statements..."},
    {"w", "mnuWarningsAdvisories", "&Warnings and Advisories (NWS)",
     "Cirrolux - Warnings && Advisories for ", T::State, P::Nws, "/allwarnings.html", E::Warning,
     I::None, true, "Starting retrieval of Warning Information..."},
    {"ap", "mnuUSAirPollutionLevels1", "&US Air Pollution Levels  (EPA)",
     "Cirrolux - US Air Pollution levels by State", T::None, P::Epa, "oar/oaqps/greenbk/aycl.html",
     E::FixedWarning, I::None, false, "Starting retrieval of Air Pollution Level by US State..."},
    {"cw", "mnuCropWeatherReportbyState1", "Crop Weather Report by State",
     "Cirrolux - Crop Weather for ", T::State, P::UsdaNass, "weather/cpcurr/", E::Table,
     I::StateList, false, "Starting retrieval of Crop weather by US State..."},
    {"s1", "mnuDetailbyUSState1", "Detail by US State...", "Cirrolux - Census Detail by State",
     T::None, P::CensusLookup, "", E::Table, I::StateList, false,
     "Starting retrieval of Census Detail by US State..."},
    {"s2", "mnuDetailbyUSZip1", "Detail by US Zip...", "Cirrolux - Census Detail by Zip", T::None,
     P::CensusLookup, "", E::Table, I::Zip, false,
     "Starting retrieval of Census Detail by US Zip..."},
    {"si", "mnuUSMHHIncomebyState1", "US Median HH Income by State...",
     "Cirrolux - US/State Census Median HH Income", T::None, P::CensusRanks,
     "statab/ranks/pg20.txt", E::Table, I::None, false,
     "Starting retrieval of US/State Median HH Incomes..."},
    {"ss", "mnuCensusStateSal", "US State Salary Rankings...",
     "Cirrolux - US Census State Rankings", T::None, P::CensusRanks, "statab/ranks/pg18.txt",
     E::Table, I::None, false, "Starting retrieval of US State Salary Rankings..."},
    // The world bulletin uses no location, but like the state reports it waits for one.
    {"eb", "mnuViewWETextlisting1", "&Bulletin",
     "Cirrolux - Near-Real Time Earthquake Bulletin (World)", T::None, P::UsgsNeic,
     "neis/bulletin/bulletin.html", E::Earthquake, I::None, true,
     "Starting retrieval of Current Earthquake Bulletin..."},
}};

constexpr std::string_view CensusTail =
    "/T=P1/T=P5/T=P6/T=P7/T=P13/T=P49/T=P50/T=P53/T=P54/T=P57/T=P78/T=P80/T=P80A/T=P114A/T=H5/"
    "T=H25/T=H43A/T=H61/T=H61A";

constexpr std::array<std::string_view, 52> StateList{
    "None",
    "01-Alabama",
    "02-Alaska",
    "04-Arizona",
    "05-Arkansas",
    "06-California",
    "08-Colorado",
    "09-Connecticut",
    "10-Delaware",
    "11-District of Columbia",
    "12-Florida",
    "13-Georgia",
    "15-Hawaii",
    "16-Idaho",
    "17-Illinois",
    "18-Indiana",
    "19-Iowa",
    "20-Kansas",
    "21-Kentucky",
    "22-Lousiana",
    "23-Maine",
    "24-Maryland",
    "25-Massachusetts",
    "26-Michigan",
    "27-Minnesota",
    "28-Mississippi",
    "29-Missouri",
    "30-Montana",
    "31-Nebraska",
    "32-Nevada",
    "33-New Hampshire",
    "34-New Jersey",
    "35-New Mexico",
    "36-New York",
    "37-North Carolina",
    "38-North Dakota",
    "39-Ohio",
    "40-Oklahoma",
    "41-Oregon",
    "42-Pennsylvania",
    "44-Rhode Island",
    "45-South Carolina",
    "46-South Dakota",
    "47-Tennessee",
    "48-Texas",
    "49-Utah",
    "50-Vermont",
    "51-Virginia",
    "53-Washington",
    "54-West Virginia",
    "55-Wisconsin",
    "56-Wyoming",
};

} // namespace

std::span<const ForecastMode> ForecastModes()
{
    return Modes;
}

const ForecastMode* FindForecastMode(std::string_view mode)
{
    for (const ForecastMode& row : Modes) {
        if (row.mode == mode)
            return &row;
    }
    return nullptr;
}

const ForecastMode* FindForecastModeByCommand(std::string_view commandName)
{
    for (const ForecastMode& row : Modes) {
        if (row.commandName == commandName)
            return &row;
    }
    return nullptr;
}

std::string_view StartingStatusText(std::string_view mode)
{
    if (const ForecastMode* row = FindForecastMode(mode))
        return row->statusText;
    return "Starting retrieval of Forecast...";
}

std::string_view CropState(const ReportInputs& inputs)
{
    return inputs.cropStateCode.size() >= 2 ? inputs.cropStateCode : inputs.locationState;
}

std::string ReportTitle(const ForecastMode& mode, const ReportInputs& inputs)
{
    std::string title(mode.titlePrefix);
    const std::string_view state = mode.mode == "cw" ? CropState(inputs) : inputs.locationState;
    switch (mode.titleSuffix) {
    case TitleSuffix::None:
        break;
    case TitleSuffix::CityAndState:
        title.append(inputs.locationCity).append(", ").append(state);
        break;
    case TitleSuffix::State:
        title.append(state);
        break;
    }
    return title;
}

std::string_view ProviderBase(ReportProvider provider)
{
    switch (provider) {
    case ReportProvider::Nws:
        return ServiceAddresses::NwsBase;
    case ReportProvider::Epa:
        return ServiceAddresses::EpaBase;
    case ReportProvider::UsdaNass:
        return ServiceAddresses::UsdaNassBase;
    case ReportProvider::CensusRanks:
        return ServiceAddresses::CensusRanksBase;
    case ReportProvider::CensusLookup:
        return ServiceAddresses::CensusLookupBase;
    case ReportProvider::UsgsNeic:
        return ServiceAddresses::UsgsNeicBase;
    }
    return {};
}

std::string CensusStatePath(std::string_view stateListText)
{
    std::string path = "cdrom/lookup/906005492=/906005506=/906005514=/906005522=/CMD=RET/"
                       "DB=C90STF3C1/F0=FIPS.STATE/F1=STUB.GEO/FMT=HTML/LEV=STATE/SEL=";
    path.append(stateListText).append(CensusTail);
    return path;
}

std::string CensusZipPath(std::string_view zip)
{
    std::string path = "cdrom/lookup/906003812=/906003889=/906003903=/906005246=/CMD=RET/"
                       "DB=C90STF3B/F0=ZIP/FMT=HTML/LEV=ZIP/SEL=";
    path.append(zip).append(CensusTail);
    return path;
}

std::string ReportAddress(const ForecastMode& mode, const ReportInputs& inputs)
{
    std::string address(ProviderBase(mode.provider));
    if (mode.provider == ReportProvider::Nws)
        return address.append("iwin/").append(inputs.locationState).append(mode.path);
    if (mode.mode == "cw")
        return address.append(mode.path)
            .append(AsciiLower(CropState(inputs)))
            .append("-crop-weather");
    if (mode.mode == "s1")
        return address + CensusStatePath(inputs.stateListText);
    if (mode.mode == "s2")
        return address + CensusZipPath(inputs.zipText);
    return address.append(mode.path);
}

std::span<const std::string_view> StateListEntries()
{
    return StateList;
}

namespace ForecastTexts {

std::string LookingForCounty(std::string_view county)
{
    return "parsing - looking for " + std::string(county) + " county...";
}

std::string FoundCounty(std::string_view county)
{
    return "parsing - found " + std::string(county) + " county...";
}

std::string CountyNotFound(std::string_view county)
{
    return "Sorry, " + std::string(county) +
           " county was not found.  Displaying state zone info...";
}

} // namespace ForecastTexts

} // namespace cirrolux
