#include "images/ImageCatalogue.h"

#include "net/ServiceAddresses.h"

#include <algorithm>
#include <array>

namespace cirrolux {

namespace {

namespace A = ServiceAddresses;

// clang-format off
constexpr std::array<ImageSource, 99> Rows = {{
    {"mnuUSRadarPurdue", "&1 - US Radar Image - Purdue", "US Radar Image - Purdue University", A::PurdueRadar, "/radar/rad_comp.gif", {}, ImageOption::None, {}},
    {"mnuUSRadarYahoo", "&2 - US Radar Image - Yahoo", "US Radar Image - Yahoo", A::Yahoo, "/graphics/radar/nat_rad.wni.gif", {}, ImageOption::None, {}},
    {"mnuUSRadarWeatherBank1", "&3 - US Radar Image - WeatherBank", "US Radar Image - WeatherBank, Inc.", A::WeatherBank, "/free/hrad/hr00us.gif", {}, ImageOption::Animate | ImageOption::Frame2, {}},
    {"mnuUSFrontalPositions1", "&4 - US Frontal Positions - Purdue", "US Frontal Positions - Purdue", A::PurdueSurface, "/surface/sfc_front.gif", {}, ImageOption::None, {}},
    {"mnuUSMonthlyPrecipitation1", "&5 - US Monthly Precipitation - Purdue", "US Monthly Precipitation - Purdue", A::PurdueSurface, "/surface/prec_mon.gif", {}, ImageOption::None, {}},
    {"mnuUSSurfaceDataPlotPurdue1", "&6 - US Surface Data Plot - Purdue", "US Surface Data Plot - Purdue", A::PurdueSurface, "/surface/sfc_map.gif", {}, ImageOption::None, {}},
    {"mnuUSSurfaceTemperatureContour1", "&7 - N.A. Surface Temperature Contour", "North America Surface Temperature Contour - Purdue", A::PurdueSurface, "/surface/sfc_con_temp_na.gif", {}, ImageOption::None, {}},
    {"mnuAnimatedUSLast12hours1", "&Animated - US Last 12 hours", "Animated U.S. Last 12 hours - by Plymouth State College", A::Plymouth, "/psc_usrad_an12.gif", {}, ImageOption::Animate, {}},
    {"mnuAustraliaSatelliteImageJCU1", "Australia Satellite Image - JCU/JMA", "Latest Australia Satellite Image - James Cook Univ./JMA", A::JamesCook, "/JCUMetSat/aushlast.gif", {}, ImageOption::None, {}},
    {"mnuAuQueenslandSatImageJCUJMA1", "Australia (Queensland) Satellite Image - JCU/JMA", "Latest Queensland, Australia Satellite Image - James Cook Univ./JMA", A::JamesCook, "/JCUMetSat/neausllast.gif", {}, ImageOption::None, {}},
    {"mnuEuropeSat1", "Europe Satellite Image", "Europe Satellite Image", A::Yahoo, "/graphics/satellite/europe.jpg", {}, ImageOption::None, {}},
    {"mnuEuropeSatMeteo", "Europe Satellite Image - Meteo", "Europe Satellite Image - Meteo", A::Meteo, "/tpsreel/images/satt0.jpg", {}, ImageOption::None, {}},
    {"mnuGlobalUWM", "Global Temp/Weather Image - UW-M", "Global Temp/Weather Image - UW-M", A::UWMadison, "/data/comp/latest_cmoll.gif", {}, ImageOption::None, {}},
    {"GMS1", "GMS Infrared - Australia, east Asia, west Pacific Ocean", "GMS Infrared satellite - Australia, east Asia, west Pacific Ocean", A::NoaaGoes, "/FULLDISK/GGIR.JPG", {}, ImageOption::None, {}},
    {"mnuGMS5Australia1", "GMS-5 - Australia - UOW", "Australia enhanced satellite image - Univ. of Wollongong", A::Wollongong, "/weather/AUSC.JPG", {}, ImageOption::None, {}},
    {"mnuGMS5ChinaKorea1", "GMS-5 - China and Korea - UOW", "China and Korea enhanced satellite image - Univ. of Wollongong", A::Wollongong, "/weather/CHINC.JPG", {}, ImageOption::None, {}},
    {"mnuGMS5Indonesia1", "GMS-5 - Indonesia - UOW", "Indonesia enhanced satellite image - Univ. of Wollongong", A::Wollongong, "/weather/INDC.JPG", {}, ImageOption::None, {}},
    {"mnuGMS5JapanandFarEastInfrared1", "GMS-5 - Japan and Far East Infrared", "GMS-5 - Japan and Far East colored Infrared Image", A::KochiUniversity, "/FE/00Latest.jpg", "00Latest.JPG", ImageOption::None, {}},
    {"mnuGMS5NewZealand1", "GMS-5 - New Zealand - UOW", "New Zealand enhanced satellite image - Univ. of Wollongong", A::Wollongong, "/weather/NZC.JPG", {}, ImageOption::None, {}},
    {"mnuGMS5PapuaNewGuinea1", "GMS-5 - Papua New Guinea - UOW", "Papua New Guinea enhanced satellite image - Univ. of Wollongong", A::Wollongong, "/weather/PNGC.JPG", {}, ImageOption::None, {}},
    {"mnuGMS5SoutheastAsia1", "GMS-5 - South East Asia - UOW", "South East Asia enhanced satellite image - Univ. of Wollongong", A::Wollongong, "/weather/SEAC.JPG", {}, ImageOption::None, {}},
    {"mnuGOESEastIR1", "GOES-East Infrared - North and South America", "GOES-East Infrared satellite - North and South America", A::NoaaGoes, "/FULLDISK/GEIR.JPG", {}, ImageOption::None, {}},
    {"mnuGOESWestIR1", "GOES-West Infrared - North America and Pacific Ocean", "GOES-West Infrared - North America and the Pacific Ocean", A::NoaaGoes, "/FULLDISK/GWIR.JPG", {}, ImageOption::None, {}},
    {"mnuMeteosatIR1", "Meteosat Infrared - Africa, Europe, and Atlantic Ocean", "Meteosat Infrared satellite - Africa, Europe, and the Atlantic Ocean", A::NoaaGoes, "/FULLDISK/GMIR.JPG", {}, ImageOption::None, {}},
    {"USanimatedIRimagelast12hrs1", "US Infrared Sat. Image - Last 12 hrs.  (Animated)", "Animated U.S. Last 12 hours - by Plymouth State College", A::Plymouth, "/psc_ussat_an12.gif", {}, ImageOption::Animate, {}},
    {"mnuUSInfraredPurdue", "US Infrared Satellite Image - Purdue", "US Satellite Image - Purdue University", A::PurdueRadar, "/satellite/sat_ir_us.gif", {}, ImageOption::None, {}},
    {"mnuUSSatInfRadarPurdue", "US Satellite/Infrared/Radar Image - Purdue", "US Sat/Infrared/Radar Image - Purdue University", A::PurdueSurface, "/satellite/sat_ir_rad.gif", {}, ImageOption::None, {}},
    {"mnuCamAlaskaAnchorage1", "Alaska - Anchorage", "Weather Cam - Anchorage, Alaska", A::CamAlaskaAnchorage, "", {}, ImageOption::None, {}},
    {"mnuCamArizonaPhoenix1", "Arizona - Phoenix", "Weather Cam - Phoenix, Arizona", A::CamArizonaPhoenix, "", {}, ImageOption::None, {}},
    {"mnuCamArkansasLittleRock1", "Arkansas - Little Rock", "Weather Cam - Little Rock, Arkansas", A::CamArkansasLittleRock, "", {}, ImageOption::None, {}},
    {"mnuCamCaliforniaHollywood1", "California - Hollywood", "Weather Cam - Hollywood, California", A::CamCaliforniaHollywood, "", {}, ImageOption::None, {}},
    {"mnuCamCaliforniaLakeTahoeSugar1", "California - Lake Tahoe (SugarPine)", "Weather Cam - Lake Tahoe, California (Sugarpine Point State Park)", A::CamCaliforniaLakeTahoeSugar, "", {}, ImageOption::None, {}},
    {"mnuCamCaliforniaSanFranciscoABC1", "California - San Francisco - ABC", "Weather Cam - San Francisco, California (ABC)", A::CamCaliforniaSanFranciscoABC, "", {}, ImageOption::None, {}},
    {"mnuCamCaliforniaSanFranciscoCT1", "California - San Francisco - Clock Tower", "Weather Cam - San Francisco, California (view from Clocktower)", A::CamCaliforniaSanFranciscoCT, "", {}, ImageOption::None, {}},
    {"mnuCamCaliforniaYosemiteNatlParkHD1", "California - Yosemite Natl. Park, Half Dome", "Weather Cam - California - Yosemite National Park, Half Dome", A::CamCaliforniaYosemiteNatlParkHD, "", {}, ImageOption::None, {}},
    {"mnuCamCanadaAlbertaBanff1", "Canada - Alberta, Banff - Sulphur Mtn.", "Weather Cam - Banff, Canada (Sulphur Mtn)", A::CamCanadaAlbertaBanff, "", {}, ImageOption::None, {}},
    {"mnuCamCanadaAlbertaBanffBanffCtrArts1", "Canada - Alberta, Banff - Banff Ctr. Arts", "Weather Cam - Banff, Canada (Banff Centre for the Arts)", A::CamCanadaAlbertaBanffBanffCtrArts, "", {}, ImageOption::None, {}},
    {"mnuCamCanadaOntarioNiagraFallsSheraton1", "Canada - Ontario, Niagra Falls - Sheraton", "Weather Cam - Niagara Falls, Canada", A::CamCanadaOntarioNiagraFallsSheraton, "", {}, ImageOption::None, {}},
    {"mnuCamColoradoAspenCopperMtn1", "Colorado - Aspen (Copper Mtn)", "Weather Cam - Aspen, Colorado (Copper Mtn)", A::CamColoradoAspenCopperMtn, "", {}, ImageOption::None, {}},
    {"mnuCamColoradoAspenEldoraMtn1", "Colorado - Aspen (Eldora Mtn.)", "Weather Cam - Aspen, Colorado (Eldora Mtn Resort)", A::CamColoradoAspenEldoraMtn, "", {}, ImageOption::None, {}},
    {"mnuCamColoradoAspenMJResort1", "Colorado - Aspen (MJ Resort)", "Weather Cam - Aspen, Colorado (MJ Resort)", A::CamColoradoAspenMJResort, "", {}, ImageOption::None, {}},
    {"mnuCamColoradoPikesPeak1", "Colorado - Pikes Peak", "Weather Cam - Pikes Peak, Colorado", A::CamColoradoPikesPeak, "", {}, ImageOption::None, {}},
    {"mnuCamFloridaNASA39B1", "Florida - NASA Launch Complex 39-B", "Weather Cam - NASA/Kennedy Space Center - Launch Complex 39-B, Florida", A::CamFloridaNASA39B, "", {}, ImageOption::None, {}},
    {"mnuCamHawaiiMaui1", "Hawaii - Maui", "Weather Cam - Maui, Hawaii", A::CamHawaiiMaui, "", {}, ImageOption::None, {}},
    {"mnuCamHawaiiIslandofOahu1", "Hawaii - Island of O'ahu", "Weather Cam - Hawaii - Island of Oahu", A::CamHawaiiIslandofOahu, "", {}, ImageOption::None, {}},
    {"mnuCamMissouriStLouis1", "Missouri - St. Louis", "Weather Cam - St. Louis, Missouri", A::CamMissouriStLouis, "", {}, ImageOption::None, {}},
    {"mnuCamTexasAustin1", "Texas - Austin", "Weather Cam - Austin, Texas", A::CamTexasAustin, "", {}, ImageOption::None, {}},
    {"mnuCamTexasCollegeStationAM1", "Texas - College Station, A&&M", "Weather Cam - College Station - A&&M", A::CamTexasCollegeStationAM, "", {}, ImageOption::None, {}},
    {"mnuCamTexasDallas1", "Texas - Dallas", "Weather Cam - Dallas, Texas", A::CamTexasDallas, "", {}, ImageOption::None, {}},
    {"mnuCamUtahAlta1", "Utah - Alta", "Weather Cam - Alta, Utah", A::CamUtahAlta, "", {}, ImageOption::None, {}},
    {"mnuCurrUSSeis1", "Current U.S. Seismicity Image", "Current U.S. Seismicity - USGS", A::Usgs, "/neis/gifs/usa.gif", {}, ImageOption::White, {}},
    {"mnuWorldEarthquakeImage1", "&Image", "Current World Seismicity - USGS", A::Usgs, "/neis/gifs/world.gif", {}, ImageOption::White, {}},
    {"mnuCurrentUSLightning1", "Current U.S. Lightning", "Current U.S. Lightning Strikes - by Accuweather", A::Accuweather, "/accuweather/ltus4p.gif", {}, ImageOption::None, {}},
    {"mnuCurrentUSSnowCover1", "Current U.S. Snow Cover", "Current U.S. Snow Cover - by Penn State", A::PennState, "/wx/usstats/snow.gif", {}, ImageOption::None, {}},
    {"mnuUSStormWatch1", "Current U.S. StormWatch", "Current U.S. StormWatch - by EarthWatch", A::EarthWatch, "/STORMWATCH/images/SWUS2D.gif", {}, ImageOption::Animate, {}},
    {"mnuUSMoldSporesforecast1", "US Mold Spores forecast", "US Mold Spores forecast image", A::AllergyMaps, "/images/maps/health/mold_spore_440x275.gif", {}, ImageOption::None, {}},
    {"mnuUSRagweedPollenforecast1", "US Ragweed Pollen forecast", "US Ragweed Pollen forecast image", A::AllergyMaps, "/images/maps/health/rag_pol_440x275.gif", {}, ImageOption::None, {}},
    {"mnuUSFirePotential1", "US Fire Danger/Potential", "Current US Fire Danger - USDA/WFAS/NFDRS", A::UsdaWfas, "/land/wfas/fd_cls_f.gif", "exp_fp_f.gif", ImageOption::None, {}},
    {"mnu10Africa1", "&1 - Africa", "10-Day Outlook for Africa", A::Iges, "/pix/temp10.gif", {}, ImageOption::None, {}},
    {"mnu10Australia1", "&2 - Australia", "10-Day Outlook for Australia", A::Iges, "/pix/temp7.gif", {}, ImageOption::None, {}},
    {"mnu10CanadaAlaska1", "&3 - Canada && Alaska", "10-Day Outlook for Canada && Alaska", A::Iges, "/pix/temp2.gif", {}, ImageOption::None, {}},
    {"mnu10ContUS1", "&4 - Continental US", "10-Day Outlook for Continental US", A::Iges, "/pix/temp1.gif", {}, ImageOption::None, {}},
    {"mnu10EastAsia1", "&5 - East Asia", "10-Day Outlook for East Asia", A::Iges, "/pix/temp5.gif", {}, ImageOption::None, {}},
    {"mnu10Europe1", "&6 - Europe", "10-Day Outlook for Europe", A::Iges, "/pix/temp4.gif", {}, ImageOption::None, {}},
    {"mnu10MexicoCarribean1", "&7 - Mexico && Carribean", "10-Day Outlook for Mexico && Carribean", A::Iges, "/pix/temp3.gif", {}, ImageOption::None, {}},
    {"mnu10MidEast1", "&8 - MidEast", "10-Day Outlook for MidEast", A::Iges, "/pix/temp9.gif", {}, ImageOption::None, {}},
    {"mnu10SouthAmerica1", "&9 - South America", "10-Day Outlook for South America", A::Iges, "/pix/temp8.gif", {}, ImageOption::None, {}},
    {"mnu10SouthAsia1", "&a - South Asia", "10-Day Outlook for South Asia", A::Iges, "/pix/temp6.gif", {}, ImageOption::None, {}},
    {"mnu10PrecAfrica", "&1 - Africa", "10-Day Precipitation Outlook for Africa", A::Iges, "/pix/prec10.gif", {}, ImageOption::None, {}},
    {"mnu10PrecAustralia1", "&2 - Australia", "10-Day Precipitation Outlook for Australia", A::Iges, "/pix/prec7.gif", {}, ImageOption::None, {}},
    {"mnu10PrecCanadaAlaska1", "&3 - Canada && Alaska", "10-Day Precipitation Outlook for Canada && Alaska", A::Iges, "/pix/prec2.gif", {}, ImageOption::None, {}},
    {"mnu10PrecContinentalUS1", "&4 - Continental US", "10-Day Precipitation Outlook for Continental US", A::Iges, "/pix/prec1.gif", {}, ImageOption::None, {}},
    {"mnu10PrecEastAsia1", "&5 - East Asia", "10-Day Precipitation Outlook for East Asia", A::Iges, "/pix/prec5.gif", {}, ImageOption::None, {}},
    {"mnu10PrecEurope1", "&6 - Europe", "10-Day Precipitation Outlook for Europe", A::Iges, "/pix/prec4.gif", {}, ImageOption::None, {}},
    {"mnu10PrecMexicoCarribean1", "&7 - Mexico && Carribean", "10-Day Precipitation Outlook for Mexico && Carribean", A::Iges, "/pix/prec3.gif", {}, ImageOption::None, {}},
    {"mnu10PrecMidEast1", "&8 - MidEast", "10-Day Precipitation Outlook for MidEast", A::Iges, "/pix/prec9.gif", {}, ImageOption::None, {}},
    {"mnu10PrecSouthAmerica1", "&9 - South America", "10-Day Precipitation Outlook for South America", A::Iges, "/pix/prec8.gif", {}, ImageOption::None, {}},
    {"mnu10PrecSouthAsia1", "&a - South Asia", "10-Day Precipitation Outlook for South Asia", A::Iges, "/pix/prec6.gif", {}, ImageOption::None, {}},
    {"mnu1and3monthUSPrecipitation1", "&3 - 1 and 3-month US Temper. && Precip. Outlook", "1 and 3-Month US Temperature & Precipitation Outlook", A::NoaaClimate, "/products/predictions/multi_season/13_seasonal_outlooks/color/page2.gif", {}, ImageOption::None, "Note: The bottom two images depict the 3-month outlook.  The letters above the purple bar indicate month."},
    {"mnu12monthUSTemperatureOutlook1", "&4 - 12-month US Temperature Outlook", "12-month US Temperature Outlook", A::NoaaClimate, "/products/predictions/multi_season/13_seasonal_outlooks/color/page3.gif", {}, ImageOption::None, "Note: The letters above the purple bars indicate the respective months."},
    {"mnu12monthUSPrecipitationOutlook1", "&5 - 12-month US Precipitation Outlook", "12-month US Precipitation Outlook", A::NoaaClimate, "/products/predictions/multi_season/13_seasonal_outlooks/color/page4.gif", {}, ImageOption::None, "Note: The letters above the purple bars indicate the respective months."},
    {"mnuCornPercentHarvested1", "Corn - % Harvested", "Corn - Percent Harvested - USDA", A::Usda, "/nass/graphics/crn_harv.gif", {}, ImageOption::None, {}},
    {"mnuCottonHarvested1", "Cotton - % Harvested", "Cotton - Percent Harvested - USDA", A::Usda, "/nass/graphics/cot_harv.gif", {}, ImageOption::None, {}},
    {"mnuCropConditionsTimetable1", "Crop Conditions Timetable", "Crop Conditions Timetable - USDA", A::Usda, "/nass/graphics/cwtable6.gif", {}, ImageOption::None, {}},
    {"mnuCropTimetables1", "Crop Timetables - Corn, Cotton, Sorghum", "Crop Timetables - Corn, Cotton, Sorghum - USDA", A::Usda, "/nass/graphics/cwtable8.gif", {}, ImageOption::None, {}},
    {"mnuCropTimetablesPBOW", "Crop Timetables - Peanuts, Barley, Oats, W-Wheat", "Crop Timetables - Peanuts, Barley, Oats, W-Wheat - USDA", A::Usda, "/nass/graphics/cwtable9.gif", {}, ImageOption::None, {}},
    {"mnuCropTimetablesSRS", "Crop Timetables - Soybeans, Rice, S-Wheat", "Crop Timetables - Soybeans, Rice, Spring Wheat - USDA", A::Usda, "/nass/graphics/cwtable7.gif", {}, ImageOption::None, {}},
    {"mnuNumberoffarmsandworkers1", "Number of farms and workers", "Number of Farms and Farm Workers - USDA/NASS", A::Usda, "/nass/graphics/fl_frmwk.gif", {}, ImageOption::None, {}},
    {"mnuSoilMoistureDaysforFieldwork1", "Soil Moisture - Days for Fieldwork", "Soil Moisture and Days Suitable for Field Work - USDA", A::Usda, "/nass/graphics/soilmap.gif", {}, ImageOption::None, {}},
    {"mnuSoybeansHarvested1", "Soybeans - % Harvested", "Soybeans - Percent Harvested - USDA", A::Usda, "/nass/graphics/soy_harv.gif", {}, ImageOption::None, {}},
    {"mnuUSCattleInventory1", "US Cattle Inventory", "US Cattle Inventory - USDA/NASS", A::Usda, "/nass/graphics/inv.gif", {}, ImageOption::None, {}},
    {"mnuUSCattleOperations1", "US Cattle Operations && Inventory", "US Cattle Operations - USDA/NASS", A::Usda, "/nass/graphics/inv_ops.gif", {}, ImageOption::None, {}},
    {"mnuUSVegetationCondition10981", "US Vegetation Condition", "US Vegetation Condition - USDA", A::UsdaNassResearch, "/research/avhrr/1998/period_42/t842v826.gif", {}, ImageOption::None, {}},
    {"mnuWagesfarmversusnonfarm1", "Wages - farm versus non-farm", "Wages - Farm versus Non-Farm - USDA/NASS", A::Usda, "/nass/graphics/fl_allwg.gif", {}, ImageOption::None, {}},
    {"mnuWinterWheatEmerged1", "Winter Wheat - % Emerged", "Winter Wheat - Percent Emerged - USDA", A::Usda, "/nass/graphics/wwh_em.gif", {}, ImageOption::None, {}},
    {"mnuWinterWheatPlanted1", "Winter Wheat - % Planted", "Winter Wheat - Percent Planted - USDA", A::Usda, "/nass/graphics/wwh_pltd.gif", {}, ImageOption::None, {}},
    {"mnuUSDroughtSeverityIndex1", "US Drought Severity Index", "US Drought Severity Index - NOAA", A::NoaaClimate, "/products/analysis_monitoring/regional_monitoring/palmer.gif", {}, ImageOption::None, {}},
    {"mnuCurrWorldPop1", "Current World Population...", "Current World Population", A::Census, "/cgi-bin/ipc/pcwgif", "pcwgif.gif", ImageOption::White | ImageOption::NoMaximize, {}},
    {"mnuCurrentUSPopulation1", "Current US Population...", "Current US Population", A::Census, "/cgi-bin/pcugifd.pl?1", "pcugif.gif", ImageOption::White | ImageOption::NoMaximize, {}},
}};
// clang-format on

} // namespace

std::string ImageSource::url() const
{
    std::string text(base);
    text += path;
    return text;
}

std::string ImageSource::localFile() const
{
    if (!file.empty())
        return std::string(file);
    const std::string address = url();
    const auto slash = address.rfind('/');
    return slash == std::string::npos ? address : address.substr(slash + 1);
}

std::string ImageSource::windowTitle() const
{
    std::string text = "Cirrolux - ";
    text += title;
    return text;
}

std::span<const ImageSource> ImageCatalogue()
{
    return Rows;
}

const ImageSource* FindImageSource(std::string_view component)
{
    const auto found = std::find_if(Rows.begin(), Rows.end(), [component](const ImageSource& row) {
        return row.component == component;
    });
    return found == Rows.end() ? nullptr : &*found;
}

} // namespace cirrolux
