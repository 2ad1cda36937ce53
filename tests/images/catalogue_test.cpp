#include "images/ImageCatalogue.h"
#include "images/MenuLayout.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace cirrolux;

namespace {

// What each menu row must fetch and show, written out in full: the window title with its prefix,
// the whole address and the file the body goes to.
struct ExpectedRow
{
    const char* component;
    const char* caption;
    const char* title;
    const char* url;
    const char* file;
    const char* options; // "animate", "frame2", "white", "nomax", blank-separated
    const char* note;
    friend void PrintTo(const ExpectedRow& row, std::ostream* os) { *os << row.component; }
};

// clang-format off
const ExpectedRow Expected[] = {
    {"mnuUSRadarPurdue", "&1 - US Radar Image - Purdue", "Cirrolux - US Radar Image - Purdue University", "http://wxp.eas.purdue.edu/radar/rad_comp.gif", "rad_comp.gif", "", ""},
    {"mnuUSRadarYahoo", "&2 - US Radar Image - Yahoo", "Cirrolux - US Radar Image - Yahoo", "http://weather.yahoo.com/graphics/radar/nat_rad.wni.gif", "nat_rad.wni.gif", "", ""},
    {"mnuUSRadarWeatherBank1", "&3 - US Radar Image - WeatherBank", "Cirrolux - US Radar Image - WeatherBank, Inc.", "http://www.weatherbank.com/free/hrad/hr00us.gif", "hr00us.gif", "animate frame2", ""},
    {"mnuUSFrontalPositions1", "&4 - US Frontal Positions - Purdue", "Cirrolux - US Frontal Positions - Purdue", "http://thunder.eas.purdue.edu/surface/sfc_front.gif", "sfc_front.gif", "", ""},
    {"mnuUSMonthlyPrecipitation1", "&5 - US Monthly Precipitation - Purdue", "Cirrolux - US Monthly Precipitation - Purdue", "http://thunder.eas.purdue.edu/surface/prec_mon.gif", "prec_mon.gif", "", ""},
    {"mnuUSSurfaceDataPlotPurdue1", "&6 - US Surface Data Plot - Purdue", "Cirrolux - US Surface Data Plot - Purdue", "http://thunder.eas.purdue.edu/surface/sfc_map.gif", "sfc_map.gif", "", ""},
    {"mnuUSSurfaceTemperatureContour1", "&7 - N.A. Surface Temperature Contour", "Cirrolux - North America Surface Temperature Contour - Purdue", "http://thunder.eas.purdue.edu/surface/sfc_con_temp_na.gif", "sfc_con_temp_na.gif", "", ""},
    {"mnuAnimatedUSLast12hours1", "&Animated - US Last 12 hours", "Cirrolux - Animated U.S. Last 12 hours - by Plymouth State College", "http://vortex.plymouth.edu/psc_usrad_an12.gif", "psc_usrad_an12.gif", "animate", ""},
    {"mnuAustraliaSatelliteImageJCU1", "Australia Satellite Image - JCU/JMA", "Cirrolux - Latest Australia Satellite Image - James Cook Univ./JMA", "http://www.jcu.edu.au/JCUMetSat/aushlast.gif", "aushlast.gif", "", ""},
    {"mnuAuQueenslandSatImageJCUJMA1", "Australia (Queensland) Satellite Image - JCU/JMA", "Cirrolux - Latest Queensland, Australia Satellite Image - James Cook Univ./JMA", "http://www.jcu.edu.au/JCUMetSat/neausllast.gif", "neausllast.gif", "", ""},
    {"mnuEuropeSat1", "Europe Satellite Image", "Cirrolux - Europe Satellite Image", "http://weather.yahoo.com/graphics/satellite/europe.jpg", "europe.jpg", "", ""},
    {"mnuEuropeSatMeteo", "Europe Satellite Image - Meteo", "Cirrolux - Europe Satellite Image - Meteo", "http://www.meteo.fr/tpsreel/images/satt0.jpg", "satt0.jpg", "", ""},
    {"mnuGlobalUWM", "Global Temp/Weather Image - UW-M", "Cirrolux - Global Temp/Weather Image - UW-M", "http://www.ssec.wisc.edu/data/comp/latest_cmoll.gif", "latest_cmoll.gif", "", ""},
    {"GMS1", "GMS Infrared - Australia, east Asia, west Pacific Ocean", "Cirrolux - GMS Infrared satellite - Australia, east Asia, west Pacific Ocean", "http://www.goes.noaa.gov/FULLDISK/GGIR.JPG", "GGIR.JPG", "", ""},
    {"mnuGMS5Australia1", "GMS-5 - Australia - UOW", "Cirrolux - Australia enhanced satellite image - Univ. of Wollongong", "http://www.uow.edu.au/weather/AUSC.JPG", "AUSC.JPG", "", ""},
    {"mnuGMS5ChinaKorea1", "GMS-5 - China and Korea - UOW", "Cirrolux - China and Korea enhanced satellite image - Univ. of Wollongong", "http://www.uow.edu.au/weather/CHINC.JPG", "CHINC.JPG", "", ""},
    {"mnuGMS5Indonesia1", "GMS-5 - Indonesia - UOW", "Cirrolux - Indonesia enhanced satellite image - Univ. of Wollongong", "http://www.uow.edu.au/weather/INDC.JPG", "INDC.JPG", "", ""},
    {"mnuGMS5JapanandFarEastInfrared1", "GMS-5 - Japan and Far East Infrared", "Cirrolux - GMS-5 - Japan and Far East colored Infrared Image", "http://weather.is.kochi-u.ac.jp/FE/00Latest.jpg", "00Latest.JPG", "", ""},
    {"mnuGMS5NewZealand1", "GMS-5 - New Zealand - UOW", "Cirrolux - New Zealand enhanced satellite image - Univ. of Wollongong", "http://www.uow.edu.au/weather/NZC.JPG", "NZC.JPG", "", ""},
    {"mnuGMS5PapuaNewGuinea1", "GMS-5 - Papua New Guinea - UOW", "Cirrolux - Papua New Guinea enhanced satellite image - Univ. of Wollongong", "http://www.uow.edu.au/weather/PNGC.JPG", "PNGC.JPG", "", ""},
    {"mnuGMS5SoutheastAsia1", "GMS-5 - South East Asia - UOW", "Cirrolux - South East Asia enhanced satellite image - Univ. of Wollongong", "http://www.uow.edu.au/weather/SEAC.JPG", "SEAC.JPG", "", ""},
    {"mnuGOESEastIR1", "GOES-East Infrared - North and South America", "Cirrolux - GOES-East Infrared satellite - North and South America", "http://www.goes.noaa.gov/FULLDISK/GEIR.JPG", "GEIR.JPG", "", ""},
    {"mnuGOESWestIR1", "GOES-West Infrared - North America and Pacific Ocean", "Cirrolux - GOES-West Infrared - North America and the Pacific Ocean", "http://www.goes.noaa.gov/FULLDISK/GWIR.JPG", "GWIR.JPG", "", ""},
    {"mnuMeteosatIR1", "Meteosat Infrared - Africa, Europe, and Atlantic Ocean", "Cirrolux - Meteosat Infrared satellite - Africa, Europe, and the Atlantic Ocean", "http://www.goes.noaa.gov/FULLDISK/GMIR.JPG", "GMIR.JPG", "", ""},
    {"USanimatedIRimagelast12hrs1", "US Infrared Sat. Image - Last 12 hrs.  (Animated)", "Cirrolux - Animated U.S. Last 12 hours - by Plymouth State College", "http://vortex.plymouth.edu/psc_ussat_an12.gif", "psc_ussat_an12.gif", "animate", ""},
    {"mnuUSInfraredPurdue", "US Infrared Satellite Image - Purdue", "Cirrolux - US Satellite Image - Purdue University", "http://wxp.eas.purdue.edu/satellite/sat_ir_us.gif", "sat_ir_us.gif", "", ""},
    {"mnuUSSatInfRadarPurdue", "US Satellite/Infrared/Radar Image - Purdue", "Cirrolux - US Sat/Infrared/Radar Image - Purdue University", "http://thunder.eas.purdue.edu/satellite/sat_ir_rad.gif", "sat_ir_rad.gif", "", ""},
    {"mnuCamAlaskaAnchorage1", "Alaska - Anchorage", "Cirrolux - Weather Cam - Anchorage, Alaska", "http://www.alaskacam.com/anchorage/recent0.jpg", "recent0.jpg", "", ""},
    {"mnuCamArizonaPhoenix1", "Arizona - Phoenix", "Cirrolux - Weather Cam - Phoenix, Arizona", "http://www.azcentral.com/weather/cam/camera80.jpg", "camera80.jpg", "", ""},
    {"mnuCamArkansasLittleRock1", "Arkansas - Little Rock", "Cirrolux - Weather Cam - Little Rock, Arkansas", "http://www.thv11.com/weather/wxcam.jpg", "wxcam.jpg", "", ""},
    {"mnuCamCaliforniaHollywood1", "California - Hollywood", "Cirrolux - Weather Cam - Hollywood, California", "http://www.hollywoodcam.com/images/hollysm.jpg", "hollysm.jpg", "", ""},
    {"mnuCamCaliforniaLakeTahoeSugar1", "California - Lake Tahoe (SugarPine)", "Cirrolux - Weather Cam - Lake Tahoe, California (Sugarpine Point State Park)", "http://www.tahoecams.com/cams/sugarpine.jpg", "sugarpine.jpg", "", ""},
    {"mnuCamCaliforniaSanFranciscoABC1", "California - San Francisco - ABC", "Cirrolux - Weather Cam - San Francisco, California (ABC)", "http://www.kgo-tv.com/cams/roof_cam.jpg", "roof_cam.jpg", "", ""},
    {"mnuCamCaliforniaSanFranciscoCT1", "California - San Francisco - Clock Tower", "Cirrolux - Weather Cam - San Francisco, California (view from Clocktower)", "http://www.sfclocktower.com/cam/tower.jpg", "tower.jpg", "", ""},
    {"mnuCamCaliforniaYosemiteNatlParkHD1", "California - Yosemite Natl. Park, Half Dome", "Cirrolux - Weather Cam - California - Yosemite National Park, Half Dome", "http://www.yosemitecam.org/halfdome/capture.jpg", "capture.jpg", "", ""},
    {"mnuCamCanadaAlbertaBanff1", "Canada - Alberta, Banff - Sulphur Mtn.", "Cirrolux - Weather Cam - Banff, Canada (Sulphur Mtn)", "http://www.banffgondola.com/cam/fullsize.jpg", "fullsize.jpg", "", ""},
    {"mnuCamCanadaAlbertaBanffBanffCtrArts1", "Canada - Alberta, Banff - Banff Ctr. Arts", "Cirrolux - Weather Cam - Banff, Canada (Banff Centre for the Arts)", "http://www.banffcentre.ab.ca/cam/banffcam.jpeg", "banffcam.jpeg", "", ""},
    {"mnuCamCanadaOntarioNiagraFallsSheraton1", "Canada - Ontario, Niagra Falls - Sheraton", "Cirrolux - Weather Cam - Niagara Falls, Canada", "http://www.niagarafallslive.com/cam/falls.jpg", "falls.jpg", "", ""},
    {"mnuCamColoradoAspenCopperMtn1", "Colorado - Aspen (Copper Mtn)", "Cirrolux - Weather Cam - Aspen, Colorado (Copper Mtn)", "http://www.coppercolorado.com/cam/copper1.jpg", "copper1.jpg", "", ""},
    {"mnuCamColoradoAspenEldoraMtn1", "Colorado - Aspen (Eldora Mtn.)", "Cirrolux - Weather Cam - Aspen, Colorado (Eldora Mtn Resort)", "http://www.eldora.com/cam/eldora.jpg", "eldora.jpg", "", ""},
    {"mnuCamColoradoAspenMJResort1", "Colorado - Aspen (MJ Resort)", "Cirrolux - Weather Cam - Aspen, Colorado (MJ Resort)", "http://www.mjresort.com/cam/wp.jpg", "wp.jpg", "", ""},
    {"mnuCamColoradoPikesPeak1", "Colorado - Pikes Peak", "Cirrolux - Weather Cam - Pikes Peak, Colorado", "http://www.pikespeakcam.com/cam.jpg", "cam.jpg", "", ""},
    {"mnuCamFloridaNASA39B1", "Florida - NASA Launch Complex 39-B", "Cirrolux - Weather Cam - NASA/Kennedy Space Center - Launch Complex 39-B, Florida", "http://www.ksc.nasa.gov/shuttle/countdown/video/chan6.gif", "chan6.gif", "", ""},
    {"mnuCamHawaiiMaui1", "Hawaii - Maui", "Cirrolux - Weather Cam - Maui, Hawaii", "http://www.mauicam.com/cams/m6.jpg", "m6.jpg", "", ""},
    {"mnuCamHawaiiIslandofOahu1", "Hawaii - Island of O'ahu", "Cirrolux - Weather Cam - Hawaii - Island of Oahu", "http://www.oahucam.com/images/last.md.jpeg", "last.md.jpeg", "", ""},
    {"mnuCamMissouriStLouis1", "Missouri - St. Louis", "Cirrolux - Weather Cam - St. Louis, Missouri", "http://www.gatewayarch.com/cam/arch_backup.jpg", "arch_backup.jpg", "", ""},
    {"mnuCamTexasAustin1", "Texas - Austin", "Cirrolux - Weather Cam - Austin, Texas", "http://www.kxan.com/skycam/skycam.jpg", "skycam.jpg", "", ""},
    {"mnuCamTexasCollegeStationAM1", "Texas - College Station, A&&M", "Cirrolux - Weather Cam - College Station - A&&M", "http://www.met.tamu.edu/cam/view.gif", "view.gif", "", ""},
    {"mnuCamTexasDallas1", "Texas - Dallas", "Cirrolux - Weather Cam - Dallas, Texas", "http://www.wfaa.com/cam/view11.jpg", "view11.jpg", "", ""},
    {"mnuCamUtahAlta1", "Utah - Alta", "Cirrolux - Weather Cam - Alta, Utah", "http://www.alta.com/cam/current.gif", "current.gif", "", ""},
    {"mnuCurrUSSeis1", "Current U.S. Seismicity Image", "Cirrolux - Current U.S. Seismicity - USGS", "http://wwwneic.cr.usgs.gov/neis/gifs/usa.gif", "usa.gif", "white", ""},
    {"mnuWorldEarthquakeImage1", "&Image", "Cirrolux - Current World Seismicity - USGS", "http://wwwneic.cr.usgs.gov/neis/gifs/world.gif", "world.gif", "white", ""},
    {"mnuCurrentUSLightning1", "Current U.S. Lightning", "Cirrolux - Current U.S. Lightning Strikes - by Accuweather", "http://www.accuweather.com/accuweather/ltus4p.gif", "ltus4p.gif", "", ""},
    {"mnuCurrentUSSnowCover1", "Current U.S. Snow Cover", "Cirrolux - Current U.S. Snow Cover - by Penn State", "http://www.ems.psu.edu/wx/usstats/snow.gif", "snow.gif", "", ""},
    {"mnuUSStormWatch1", "Current U.S. StormWatch", "Cirrolux - Current U.S. StormWatch - by EarthWatch", "http://www.earthwatch.com/STORMWATCH/images/SWUS2D.gif", "SWUS2D.gif", "animate", ""},
    {"mnuUSMoldSporesforecast1", "US Mold Spores forecast", "Cirrolux - US Mold Spores forecast image", "http://www.intellicast.com/images/maps/health/mold_spore_440x275.gif", "mold_spore_440x275.gif", "", ""},
    {"mnuUSRagweedPollenforecast1", "US Ragweed Pollen forecast", "Cirrolux - US Ragweed Pollen forecast image", "http://www.intellicast.com/images/maps/health/rag_pol_440x275.gif", "rag_pol_440x275.gif", "", ""},
    {"mnuUSFirePotential1", "US Fire Danger/Potential", "Cirrolux - Current US Fire Danger - USDA/WFAS/NFDRS", "http://www.fs.fed.us/land/wfas/fd_cls_f.gif", "exp_fp_f.gif", "", ""},
    {"mnu10Africa1", "&1 - Africa", "Cirrolux - 10-Day Outlook for Africa", "http://grads.iges.org/pix/temp10.gif", "temp10.gif", "", ""},
    {"mnu10Australia1", "&2 - Australia", "Cirrolux - 10-Day Outlook for Australia", "http://grads.iges.org/pix/temp7.gif", "temp7.gif", "", ""},
    {"mnu10CanadaAlaska1", "&3 - Canada && Alaska", "Cirrolux - 10-Day Outlook for Canada && Alaska", "http://grads.iges.org/pix/temp2.gif", "temp2.gif", "", ""},
    {"mnu10ContUS1", "&4 - Continental US", "Cirrolux - 10-Day Outlook for Continental US", "http://grads.iges.org/pix/temp1.gif", "temp1.gif", "", ""},
    {"mnu10EastAsia1", "&5 - East Asia", "Cirrolux - 10-Day Outlook for East Asia", "http://grads.iges.org/pix/temp5.gif", "temp5.gif", "", ""},
    {"mnu10Europe1", "&6 - Europe", "Cirrolux - 10-Day Outlook for Europe", "http://grads.iges.org/pix/temp4.gif", "temp4.gif", "", ""},
    {"mnu10MexicoCarribean1", "&7 - Mexico && Carribean", "Cirrolux - 10-Day Outlook for Mexico && Carribean", "http://grads.iges.org/pix/temp3.gif", "temp3.gif", "", ""},
    {"mnu10MidEast1", "&8 - MidEast", "Cirrolux - 10-Day Outlook for MidEast", "http://grads.iges.org/pix/temp9.gif", "temp9.gif", "", ""},
    {"mnu10SouthAmerica1", "&9 - South America", "Cirrolux - 10-Day Outlook for South America", "http://grads.iges.org/pix/temp8.gif", "temp8.gif", "", ""},
    {"mnu10SouthAsia1", "&a - South Asia", "Cirrolux - 10-Day Outlook for South Asia", "http://grads.iges.org/pix/temp6.gif", "temp6.gif", "", ""},
    {"mnu10PrecAfrica", "&1 - Africa", "Cirrolux - 10-Day Precipitation Outlook for Africa", "http://grads.iges.org/pix/prec10.gif", "prec10.gif", "", ""},
    {"mnu10PrecAustralia1", "&2 - Australia", "Cirrolux - 10-Day Precipitation Outlook for Australia", "http://grads.iges.org/pix/prec7.gif", "prec7.gif", "", ""},
    {"mnu10PrecCanadaAlaska1", "&3 - Canada && Alaska", "Cirrolux - 10-Day Precipitation Outlook for Canada && Alaska", "http://grads.iges.org/pix/prec2.gif", "prec2.gif", "", ""},
    {"mnu10PrecContinentalUS1", "&4 - Continental US", "Cirrolux - 10-Day Precipitation Outlook for Continental US", "http://grads.iges.org/pix/prec1.gif", "prec1.gif", "", ""},
    {"mnu10PrecEastAsia1", "&5 - East Asia", "Cirrolux - 10-Day Precipitation Outlook for East Asia", "http://grads.iges.org/pix/prec5.gif", "prec5.gif", "", ""},
    {"mnu10PrecEurope1", "&6 - Europe", "Cirrolux - 10-Day Precipitation Outlook for Europe", "http://grads.iges.org/pix/prec4.gif", "prec4.gif", "", ""},
    {"mnu10PrecMexicoCarribean1", "&7 - Mexico && Carribean", "Cirrolux - 10-Day Precipitation Outlook for Mexico && Carribean", "http://grads.iges.org/pix/prec3.gif", "prec3.gif", "", ""},
    {"mnu10PrecMidEast1", "&8 - MidEast", "Cirrolux - 10-Day Precipitation Outlook for MidEast", "http://grads.iges.org/pix/prec9.gif", "prec9.gif", "", ""},
    {"mnu10PrecSouthAmerica1", "&9 - South America", "Cirrolux - 10-Day Precipitation Outlook for South America", "http://grads.iges.org/pix/prec8.gif", "prec8.gif", "", ""},
    {"mnu10PrecSouthAsia1", "&a - South Asia", "Cirrolux - 10-Day Precipitation Outlook for South Asia", "http://grads.iges.org/pix/prec6.gif", "prec6.gif", "", ""},
    {"mnu1and3monthUSPrecipitation1", "&3 - 1 and 3-month US Temper. && Precip. Outlook", "Cirrolux - 1 and 3-Month US Temperature & Precipitation Outlook", "http://www.cpc.ncep.noaa.gov/products/predictions/multi_season/13_seasonal_outlooks/color/page2.gif", "page2.gif", "", "Note: The bottom two images depict the 3-month outlook.  The letters above the purple bar indicate month."},
    {"mnu12monthUSTemperatureOutlook1", "&4 - 12-month US Temperature Outlook", "Cirrolux - 12-month US Temperature Outlook", "http://www.cpc.ncep.noaa.gov/products/predictions/multi_season/13_seasonal_outlooks/color/page3.gif", "page3.gif", "", "Note: The letters above the purple bars indicate the respective months."},
    {"mnu12monthUSPrecipitationOutlook1", "&5 - 12-month US Precipitation Outlook", "Cirrolux - 12-month US Precipitation Outlook", "http://www.cpc.ncep.noaa.gov/products/predictions/multi_season/13_seasonal_outlooks/color/page4.gif", "page4.gif", "", "Note: The letters above the purple bars indicate the respective months."},
    {"mnuCornPercentHarvested1", "Corn - % Harvested", "Cirrolux - Corn - Percent Harvested - USDA", "http://www.usda.gov/nass/graphics/crn_harv.gif", "crn_harv.gif", "", ""},
    {"mnuCottonHarvested1", "Cotton - % Harvested", "Cirrolux - Cotton - Percent Harvested - USDA", "http://www.usda.gov/nass/graphics/cot_harv.gif", "cot_harv.gif", "", ""},
    {"mnuCropConditionsTimetable1", "Crop Conditions Timetable", "Cirrolux - Crop Conditions Timetable - USDA", "http://www.usda.gov/nass/graphics/cwtable6.gif", "cwtable6.gif", "", ""},
    {"mnuCropTimetables1", "Crop Timetables - Corn, Cotton, Sorghum", "Cirrolux - Crop Timetables - Corn, Cotton, Sorghum - USDA", "http://www.usda.gov/nass/graphics/cwtable8.gif", "cwtable8.gif", "", ""},
    {"mnuCropTimetablesPBOW", "Crop Timetables - Peanuts, Barley, Oats, W-Wheat", "Cirrolux - Crop Timetables - Peanuts, Barley, Oats, W-Wheat - USDA", "http://www.usda.gov/nass/graphics/cwtable9.gif", "cwtable9.gif", "", ""},
    {"mnuCropTimetablesSRS", "Crop Timetables - Soybeans, Rice, S-Wheat", "Cirrolux - Crop Timetables - Soybeans, Rice, Spring Wheat - USDA", "http://www.usda.gov/nass/graphics/cwtable7.gif", "cwtable7.gif", "", ""},
    {"mnuNumberoffarmsandworkers1", "Number of farms and workers", "Cirrolux - Number of Farms and Farm Workers - USDA/NASS", "http://www.usda.gov/nass/graphics/fl_frmwk.gif", "fl_frmwk.gif", "", ""},
    {"mnuSoilMoistureDaysforFieldwork1", "Soil Moisture - Days for Fieldwork", "Cirrolux - Soil Moisture and Days Suitable for Field Work - USDA", "http://www.usda.gov/nass/graphics/soilmap.gif", "soilmap.gif", "", ""},
    {"mnuSoybeansHarvested1", "Soybeans - % Harvested", "Cirrolux - Soybeans - Percent Harvested - USDA", "http://www.usda.gov/nass/graphics/soy_harv.gif", "soy_harv.gif", "", ""},
    {"mnuUSCattleInventory1", "US Cattle Inventory", "Cirrolux - US Cattle Inventory - USDA/NASS", "http://www.usda.gov/nass/graphics/inv.gif", "inv.gif", "", ""},
    {"mnuUSCattleOperations1", "US Cattle Operations && Inventory", "Cirrolux - US Cattle Operations - USDA/NASS", "http://www.usda.gov/nass/graphics/inv_ops.gif", "inv_ops.gif", "", ""},
    {"mnuUSVegetationCondition10981", "US Vegetation Condition", "Cirrolux - US Vegetation Condition - USDA", "http://www.nass.usda.gov/research/avhrr/1998/period_42/t842v826.gif", "t842v826.gif", "", ""},
    {"mnuWagesfarmversusnonfarm1", "Wages - farm versus non-farm", "Cirrolux - Wages - Farm versus Non-Farm - USDA/NASS", "http://www.usda.gov/nass/graphics/fl_allwg.gif", "fl_allwg.gif", "", ""},
    {"mnuWinterWheatEmerged1", "Winter Wheat - % Emerged", "Cirrolux - Winter Wheat - Percent Emerged - USDA", "http://www.usda.gov/nass/graphics/wwh_em.gif", "wwh_em.gif", "", ""},
    {"mnuWinterWheatPlanted1", "Winter Wheat - % Planted", "Cirrolux - Winter Wheat - Percent Planted - USDA", "http://www.usda.gov/nass/graphics/wwh_pltd.gif", "wwh_pltd.gif", "", ""},
    {"mnuUSDroughtSeverityIndex1", "US Drought Severity Index", "Cirrolux - US Drought Severity Index - NOAA", "http://www.cpc.ncep.noaa.gov/products/analysis_monitoring/regional_monitoring/palmer.gif", "palmer.gif", "", ""},
    {"mnuCurrWorldPop1", "Current World Population...", "Cirrolux - Current World Population", "http://www.census.gov/cgi-bin/ipc/pcwgif", "pcwgif.gif", "white nomax", ""},
    {"mnuCurrentUSPopulation1", "Current US Population...", "Cirrolux - Current US Population", "http://www.census.gov/cgi-bin/pcugifd.pl?1", "pcugif.gif", "white nomax", ""},
};
// clang-format on

std::string optionsOf(const ImageSource& row)
{
    std::string text;
    const auto add = [&](ImageOption option, const char* name) {
        if (row.has(option))
            text += text.empty() ? name : std::string(" ") + name;
    };
    add(ImageOption::Animate, "animate");
    add(ImageOption::Frame2, "frame2");
    add(ImageOption::White, "white");
    add(ImageOption::NoMaximize, "nomax");
    return text;
}

class CatalogueRow : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(CatalogueRow, MatchesTheMenuTable)
{
    const std::size_t index = GetParam();
    ASSERT_LT(index, ImageCatalogue().size());
    const ImageSource& row = ImageCatalogue()[index];
    const ExpectedRow& expected = Expected[index];
    EXPECT_EQ(row.component, expected.component);
    EXPECT_EQ(row.caption, expected.caption);
    EXPECT_EQ(row.windowTitle(), expected.title);
    EXPECT_EQ(row.url(), expected.url);
    EXPECT_EQ(row.localFile(), expected.file);
    EXPECT_EQ(optionsOf(row), expected.options);
    EXPECT_EQ(row.note, expected.note);
    EXPECT_EQ(FindImageSource(expected.component), &row);
}

INSTANTIATE_TEST_SUITE_P(Rows, CatalogueRow, ::testing::Range<std::size_t>(0, std::size(Expected)),
                         [](const auto& info) {
                             return test::CaseName(Expected[info.param].component);
                         });

TEST(ImageCatalogue, HoldsNinetyNineRowsWithDistinctNames)
{
    EXPECT_EQ(ImageCatalogue().size(), 99u);
    std::set<std::string_view> names;
    for (const ImageSource& row : ImageCatalogue())
        names.insert(row.component);
    EXPECT_EQ(names.size(), 99u);
    EXPECT_EQ(FindImageSource("mnuNoSuchImage"), nullptr);
}

TEST(ImageCatalogue, CameraAddressesEndInTheirFileName)
{
    int cameras = 0;
    for (const ImageSource& row : ImageCatalogue()) {
        if (!row.path.empty())
            continue;
        ++cameras;
        const std::string url = row.url();
        EXPECT_TRUE(url.ends_with("/" + row.localFile())) << row.component;
    }
    EXPECT_EQ(cameras, 23);
}

// The entries of the layout, as "depth kind component caption [mode]" lines.
std::vector<std::string> layoutLines(MenuEntryKind kind)
{
    std::vector<std::string> lines;
    for (const MenuEntry& entry : ImageMenuLayout())
        if (entry.kind == kind)
            lines.push_back(std::string(entry.component) + " " + std::string(entry.caption) +
                            (entry.mode.empty() ? "" : " [" + std::string(entry.mode) + "]"));
    return lines;
}

TEST(MenuLayout, ImageRowsFollowTheCatalogueOrderOnce)
{
    std::vector<std::string_view> images;
    for (const MenuEntry& entry : ImageMenuLayout())
        if (entry.kind == MenuEntryKind::Image) {
            images.push_back(entry.component);
            EXPECT_FALSE(MenuCaption(entry).empty()) << entry.component;
        }
    ASSERT_EQ(images.size(), ImageCatalogue().size());
    for (std::size_t i = 0; i < images.size(); ++i)
        EXPECT_EQ(images[i], ImageCatalogue()[i].component);
}

TEST(MenuLayout, CommandsOfOtherWindows)
{
    EXPECT_EQ(layoutLines(MenuEntryKind::RadarChooser),
              std::vector<std::string>{"StateLevelRadarNEW1 &State && Regional Radar - NEW!"});
    EXPECT_EQ(layoutLines(MenuEntryKind::HtmlForecast),
              std::vector<std::string>{"mnuForecastHTML Forecast - &HTML Version"});
    EXPECT_EQ(layoutLines(MenuEntryKind::WebWindow),
              (std::vector<std::string>{
                  "mnuUSFireIncidentMgtReport1 US Fire/Acreage Incident Report [usfi]",
                  "mnuWorldFactsCIA1 World Facts - by Country  (CIA) [ci]"}));
    EXPECT_EQ(
        layoutLines(MenuEntryKind::Forecast),
        (std::vector<std::string>{
            "mnuViewWETextlisting1 &Bulletin [eb]", "mnuNowcast &Nowcast - Short term forecast [n]",
            "ForecastTEXTversion1 Forecast - &TEXT version [f]",
            "mnuHydrologicalDataNWS1 &Hydrological Data (NWS) [h]",
            "PublicInformation1 &Public Information (NWS) [p]",
            "mnuSpecialWeatherStatementsNWS1 &Special Weather Statements (NWS) [sw]",
            "mnuWarningsAdvisories &Warnings and Advisories (NWS) [w]",
            "mnuUSAirPollutionLevels1 &US Air Pollution Levels  (EPA) [ap]",
            "mnuCropWeatherReportbyState1 Crop Weather Report by State [cw]",
            "mnuDetailbyUSState1 Detail by US State... [s1]",
            "mnuDetailbyUSZip1 Detail by US Zip... [s2]",
            "mnuUSMHHIncomebyState1 US Median HH Income by State... [si]",
            "mnuCensusStateSal US State Salary Rankings... [ss]"}));
}

// The menus as an outline: one line per entry, indented by depth, separators as "-".
std::string outline(int maxDepth)
{
    std::string text;
    for (const MenuEntry& entry : ImageMenuLayout()) {
        if (entry.depth > maxDepth)
            continue;
        text += std::string(static_cast<std::size_t>(entry.depth) * 2, ' ');
        text += entry.kind == MenuEntryKind::Separator ? std::string("-")
                                                       : std::string(MenuCaption(entry));
        text += "\n";
    }
    return text;
}

TEST(MenuLayout, ThreeMenusAndTheirFirstLevel)
{
    EXPECT_EQ(outline(1), "&Images\n"
                          "  &Radar Images\n"
                          "  &Satellite Images\n"
                          "  &Weather Cams\n"
                          "  -\n"
                          "  Current Earthquakes\n"
                          "  Current U.S. Lightning\n"
                          "  Current U.S. Snow Cover\n"
                          "  Current U.S. StormWatch\n"
                          "&Forecasts\n"
                          "  &Nowcast - Short term forecast\n"
                          "  Forecast - &HTML Version\n"
                          "  Forecast - &TEXT version\n"
                          "  US Allergy forecasts\n"
                          "  US Fire Danger/Potential\n"
                          "  -\n"
                          "  &1 - 10-day Temperature Outlook\n"
                          "  &2 - 10-day Precipitation Outlook\n"
                          "  &3 - 1 and 3-month US Temper. && Precip. Outlook\n"
                          "  &4 - 12-month US Temperature Outlook\n"
                          "  &5 - 12-month US Precipitation Outlook\n"
                          "&Reports\n"
                          "  &Hydrological Data (NWS)\n"
                          "  &Public Information (NWS)\n"
                          "  &Special Weather Statements (NWS)\n"
                          "  &Warnings and Advisories (NWS)\n"
                          "  -\n"
                          "  &US Air Pollution Levels  (EPA)\n"
                          "  USDA Reports\n"
                          "  US Drought Severity Index\n"
                          "  US Fire/Acreage Incident Report\n"
                          "  -\n"
                          "  Current World Population...\n"
                          "  Current US Population...\n"
                          "  Census Information\n"
                          "  World Facts - by Country  (CIA)\n");
}

TEST(MenuLayout, SubmenusHoldTheirEntries)
{
    // Entries per submenu, counted at the depth right below it.
    std::map<std::string_view, int> children;
    std::vector<std::string_view> open; // submenu per depth
    for (const MenuEntry& entry : ImageMenuLayout()) {
        ASSERT_LE(static_cast<std::size_t>(entry.depth), open.size()) << entry.component;
        open.resize(static_cast<std::size_t>(entry.depth));
        if (entry.depth > 0 && entry.kind != MenuEntryKind::Separator)
            ++children[open.back()];
        if (entry.kind == MenuEntryKind::Submenu)
            open.push_back(entry.component);
        EXPECT_EQ(entry.mode.empty(),
                  entry.kind != MenuEntryKind::Forecast && entry.kind != MenuEntryKind::WebWindow)
            << entry.component;
    }
    const std::map<std::string_view, int> expected = {
        {"mnuImages", 7},
        {"mnuRadarImages1", 9},
        {"mnuSatelliteImages1", 19},
        {"mnuWeatherCams1", 23},
        {"mnuCurrentEarthquakes1", 2},
        {"mnuCurrentWorldSeismicity1", 2},
        {"mnuForecasts", 10},
        {"mnuUSAllergyforecasts1", 2},
        {"mnu10dayTemperatureOutlook1", 10},
        {"mnu10dayPrecipitationOutlook1", 10},
        {"mnuWarnings", 12},
        {"mnuUSDAReports1", 16},
        {"mnuCensusInformation1", 4},
    };
    EXPECT_EQ(children, expected);
}

TEST(MenuLayout, CropWeatherSitsBetweenTheTimetables)
{
    std::vector<std::string_view> usda;
    bool inside = false;
    for (const MenuEntry& entry : ImageMenuLayout()) {
        if (entry.depth <= 1)
            inside = entry.component == "mnuUSDAReports1";
        else if (inside)
            usda.push_back(entry.component);
    }
    ASSERT_GE(usda.size(), 5u);
    EXPECT_EQ(usda[2], "mnuCropConditionsTimetable1");
    EXPECT_EQ(usda[3], "mnuCropWeatherReportbyState1");
    EXPECT_EQ(usda[4], "mnuCropTimetables1");
}

} // namespace
