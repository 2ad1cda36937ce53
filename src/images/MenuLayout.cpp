#include "images/MenuLayout.h"

#include "images/ImageCatalogue.h"

#include <array>

namespace cirrolux {

namespace {

using K = MenuEntryKind;

// clang-format off
constexpr std::array<MenuEntry, 133> Layout = {{
    {K::Submenu, 0, "mnuImages", "&Images", {}},
    {K::Submenu, 1, "mnuRadarImages1", "&Radar Images", {}},
    {K::RadarChooser, 2, "StateLevelRadarNEW1", "&State && Regional Radar - NEW!", {}},
    {K::Image, 2, "mnuUSRadarPurdue", {}, {}},
    {K::Image, 2, "mnuUSRadarYahoo", {}, {}},
    {K::Image, 2, "mnuUSRadarWeatherBank1", {}, {}},
    {K::Image, 2, "mnuUSFrontalPositions1", {}, {}},
    {K::Image, 2, "mnuUSMonthlyPrecipitation1", {}, {}},
    {K::Image, 2, "mnuUSSurfaceDataPlotPurdue1", {}, {}},
    {K::Image, 2, "mnuUSSurfaceTemperatureContour1", {}, {}},
    {K::Image, 2, "mnuAnimatedUSLast12hours1", {}, {}},
    {K::Submenu, 1, "mnuSatelliteImages1", "&Satellite Images", {}},
    {K::Image, 2, "mnuAustraliaSatelliteImageJCU1", {}, {}},
    {K::Image, 2, "mnuAuQueenslandSatImageJCUJMA1", {}, {}},
    {K::Image, 2, "mnuEuropeSat1", {}, {}},
    {K::Image, 2, "mnuEuropeSatMeteo", {}, {}},
    {K::Image, 2, "mnuGlobalUWM", {}, {}},
    {K::Image, 2, "GMS1", {}, {}},
    {K::Image, 2, "mnuGMS5Australia1", {}, {}},
    {K::Image, 2, "mnuGMS5ChinaKorea1", {}, {}},
    {K::Image, 2, "mnuGMS5Indonesia1", {}, {}},
    {K::Image, 2, "mnuGMS5JapanandFarEastInfrared1", {}, {}},
    {K::Image, 2, "mnuGMS5NewZealand1", {}, {}},
    {K::Image, 2, "mnuGMS5PapuaNewGuinea1", {}, {}},
    {K::Image, 2, "mnuGMS5SoutheastAsia1", {}, {}},
    {K::Image, 2, "mnuGOESEastIR1", {}, {}},
    {K::Image, 2, "mnuGOESWestIR1", {}, {}},
    {K::Image, 2, "mnuMeteosatIR1", {}, {}},
    {K::Image, 2, "USanimatedIRimagelast12hrs1", {}, {}},
    {K::Image, 2, "mnuUSInfraredPurdue", {}, {}},
    {K::Image, 2, "mnuUSSatInfRadarPurdue", {}, {}},
    {K::Submenu, 1, "mnuWeatherCams1", "&Weather Cams", {}},
    {K::Image, 2, "mnuCamAlaskaAnchorage1", {}, {}},
    {K::Image, 2, "mnuCamArizonaPhoenix1", {}, {}},
    {K::Image, 2, "mnuCamArkansasLittleRock1", {}, {}},
    {K::Image, 2, "mnuCamCaliforniaHollywood1", {}, {}},
    {K::Image, 2, "mnuCamCaliforniaLakeTahoeSugar1", {}, {}},
    {K::Image, 2, "mnuCamCaliforniaSanFranciscoABC1", {}, {}},
    {K::Image, 2, "mnuCamCaliforniaSanFranciscoCT1", {}, {}},
    {K::Image, 2, "mnuCamCaliforniaYosemiteNatlParkHD1", {}, {}},
    {K::Image, 2, "mnuCamCanadaAlbertaBanff1", {}, {}},
    {K::Image, 2, "mnuCamCanadaAlbertaBanffBanffCtrArts1", {}, {}},
    {K::Image, 2, "mnuCamCanadaOntarioNiagraFallsSheraton1", {}, {}},
    {K::Image, 2, "mnuCamColoradoAspenCopperMtn1", {}, {}},
    {K::Image, 2, "mnuCamColoradoAspenEldoraMtn1", {}, {}},
    {K::Image, 2, "mnuCamColoradoAspenMJResort1", {}, {}},
    {K::Image, 2, "mnuCamColoradoPikesPeak1", {}, {}},
    {K::Image, 2, "mnuCamFloridaNASA39B1", {}, {}},
    {K::Image, 2, "mnuCamHawaiiMaui1", {}, {}},
    {K::Image, 2, "mnuCamHawaiiIslandofOahu1", {}, {}},
    {K::Image, 2, "mnuCamMissouriStLouis1", {}, {}},
    {K::Image, 2, "mnuCamTexasAustin1", {}, {}},
    {K::Image, 2, "mnuCamTexasCollegeStationAM1", {}, {}},
    {K::Image, 2, "mnuCamTexasDallas1", {}, {}},
    {K::Image, 2, "mnuCamUtahAlta1", {}, {}},
    {K::Separator, 1, {}, {}, {}},
    {K::Submenu, 1, "mnuCurrentEarthquakes1", "Current Earthquakes", {}},
    {K::Image, 2, "mnuCurrUSSeis1", {}, {}},
    {K::Submenu, 2, "mnuCurrentWorldSeismicity1", "Current World Seismicity", {}},
    {K::Forecast, 3, "mnuViewWETextlisting1", "&Bulletin", "eb"},
    {K::Image, 3, "mnuWorldEarthquakeImage1", {}, {}},
    {K::Image, 1, "mnuCurrentUSLightning1", {}, {}},
    {K::Image, 1, "mnuCurrentUSSnowCover1", {}, {}},
    {K::Image, 1, "mnuUSStormWatch1", {}, {}},
    {K::Submenu, 0, "mnuForecasts", "&Forecasts", {}},
    {K::Forecast, 1, "mnuNowcast", "&Nowcast - Short term forecast", "n"},
    {K::HtmlForecast, 1, "mnuForecastHTML", "Forecast - &HTML Version", {}},
    {K::Forecast, 1, "ForecastTEXTversion1", "Forecast - &TEXT version", "f"},
    {K::Submenu, 1, "mnuUSAllergyforecasts1", "US Allergy forecasts", {}},
    {K::Image, 2, "mnuUSMoldSporesforecast1", {}, {}},
    {K::Image, 2, "mnuUSRagweedPollenforecast1", {}, {}},
    {K::Image, 1, "mnuUSFirePotential1", {}, {}},
    {K::Separator, 1, {}, {}, {}},
    {K::Submenu, 1, "mnu10dayTemperatureOutlook1", "&1 - 10-day Temperature Outlook", {}},
    {K::Image, 2, "mnu10Africa1", {}, {}},
    {K::Image, 2, "mnu10Australia1", {}, {}},
    {K::Image, 2, "mnu10CanadaAlaska1", {}, {}},
    {K::Image, 2, "mnu10ContUS1", {}, {}},
    {K::Image, 2, "mnu10EastAsia1", {}, {}},
    {K::Image, 2, "mnu10Europe1", {}, {}},
    {K::Image, 2, "mnu10MexicoCarribean1", {}, {}},
    {K::Image, 2, "mnu10MidEast1", {}, {}},
    {K::Image, 2, "mnu10SouthAmerica1", {}, {}},
    {K::Image, 2, "mnu10SouthAsia1", {}, {}},
    {K::Submenu, 1, "mnu10dayPrecipitationOutlook1", "&2 - 10-day Precipitation Outlook", {}},
    {K::Image, 2, "mnu10PrecAfrica", {}, {}},
    {K::Image, 2, "mnu10PrecAustralia1", {}, {}},
    {K::Image, 2, "mnu10PrecCanadaAlaska1", {}, {}},
    {K::Image, 2, "mnu10PrecContinentalUS1", {}, {}},
    {K::Image, 2, "mnu10PrecEastAsia1", {}, {}},
    {K::Image, 2, "mnu10PrecEurope1", {}, {}},
    {K::Image, 2, "mnu10PrecMexicoCarribean1", {}, {}},
    {K::Image, 2, "mnu10PrecMidEast1", {}, {}},
    {K::Image, 2, "mnu10PrecSouthAmerica1", {}, {}},
    {K::Image, 2, "mnu10PrecSouthAsia1", {}, {}},
    {K::Image, 1, "mnu1and3monthUSPrecipitation1", {}, {}},
    {K::Image, 1, "mnu12monthUSTemperatureOutlook1", {}, {}},
    {K::Image, 1, "mnu12monthUSPrecipitationOutlook1", {}, {}},
    {K::Submenu, 0, "mnuWarnings", "&Reports", {}},
    {K::Forecast, 1, "mnuHydrologicalDataNWS1", "&Hydrological Data (NWS)", "h"},
    {K::Forecast, 1, "PublicInformation1", "&Public Information (NWS)", "p"},
    {K::Forecast, 1, "mnuSpecialWeatherStatementsNWS1", "&Special Weather Statements (NWS)", "sw"},
    {K::Forecast, 1, "mnuWarningsAdvisories", "&Warnings and Advisories (NWS)", "w"},
    {K::Separator, 1, {}, {}, {}},
    {K::Forecast, 1, "mnuUSAirPollutionLevels1", "&US Air Pollution Levels  (EPA)", "ap"},
    {K::Submenu, 1, "mnuUSDAReports1", "USDA Reports", {}},
    {K::Image, 2, "mnuCornPercentHarvested1", {}, {}},
    {K::Image, 2, "mnuCottonHarvested1", {}, {}},
    {K::Image, 2, "mnuCropConditionsTimetable1", {}, {}},
    {K::Forecast, 2, "mnuCropWeatherReportbyState1", "Crop Weather Report by State", "cw"},
    {K::Image, 2, "mnuCropTimetables1", {}, {}},
    {K::Image, 2, "mnuCropTimetablesPBOW", {}, {}},
    {K::Image, 2, "mnuCropTimetablesSRS", {}, {}},
    {K::Image, 2, "mnuNumberoffarmsandworkers1", {}, {}},
    {K::Image, 2, "mnuSoilMoistureDaysforFieldwork1", {}, {}},
    {K::Image, 2, "mnuSoybeansHarvested1", {}, {}},
    {K::Image, 2, "mnuUSCattleInventory1", {}, {}},
    {K::Image, 2, "mnuUSCattleOperations1", {}, {}},
    {K::Image, 2, "mnuUSVegetationCondition10981", {}, {}},
    {K::Image, 2, "mnuWagesfarmversusnonfarm1", {}, {}},
    {K::Image, 2, "mnuWinterWheatEmerged1", {}, {}},
    {K::Image, 2, "mnuWinterWheatPlanted1", {}, {}},
    {K::Image, 1, "mnuUSDroughtSeverityIndex1", {}, {}},
    {K::WebWindow, 1, "mnuUSFireIncidentMgtReport1", "US Fire/Acreage Incident Report", "usfi"},
    {K::Separator, 1, {}, {}, {}},
    {K::Image, 1, "mnuCurrWorldPop1", {}, {}},
    {K::Image, 1, "mnuCurrentUSPopulation1", {}, {}},
    {K::Submenu, 1, "mnuCensusInformation1", "Census Information", {}},
    {K::Forecast, 2, "mnuDetailbyUSState1", "Detail by US State...", "s1"},
    {K::Forecast, 2, "mnuDetailbyUSZip1", "Detail by US Zip...", "s2"},
    {K::Forecast, 2, "mnuUSMHHIncomebyState1", "US Median HH Income by State...", "si"},
    {K::Forecast, 2, "mnuCensusStateSal", "US State Salary Rankings...", "ss"},
    {K::WebWindow, 1, "mnuWorldFactsCIA1", "World Facts - by Country  (CIA)", "ci"},
}};
// clang-format on

} // namespace

std::span<const MenuEntry> ImageMenuLayout()
{
    return Layout;
}

std::string_view MenuCaption(const MenuEntry& entry)
{
    if (entry.kind != MenuEntryKind::Image)
        return entry.caption;
    const ImageSource* row = FindImageSource(entry.component);
    return row == nullptr ? std::string_view() : row->caption;
}

} // namespace cirrolux
