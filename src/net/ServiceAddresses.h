#pragma once

#include <array>
#include <string_view>

namespace cirrolux {

// Base addresses of the outside services the program calls. The service emulator answers for
// every host named here, so tests and the run script reach it through the ordinary proxy settings.
namespace ServiceAddresses {

// Conditions service; ends in "/".
inline constexpr std::string_view ConditionsBase = "http://www.wunderground.com/";
// The maker's web server (usage counter, version file, regional radar); no trailing "/".
inline constexpr std::string_view MakerSite = "http://www.cirrolux.net";
// Paths on the maker's server.
inline constexpr std::string_view UsageCounterPath = "/assets/CirroluxCount.txt";
inline constexpr std::string_view VersionFilePath = "/assets/cirroluxvs.txt";
// CIA World Factbook (country index, pages, flags, maps) and NIFC (fire report); no trailing "/".
inline constexpr std::string_view FactbookSite = "http://www.odci.gov";
inline constexpr std::string_view FireReportSite = "http://www.nifc.gov";
inline constexpr std::string_view FactbookPath = "/cia/publications/factbook/";
inline constexpr std::string_view FireReportPath = "/news/sitreprt.html";
// The maker's web site and support address, opened from the about box.
inline constexpr std::string_view MakerHomePage = "http://www.cirrolux.net/";
// The maker's support address, named in some messages.
inline constexpr std::string_view SupportMail = "support@cirrolux.net";
// The state and regional radar loops on the maker's server: folder + area code + suffix.
inline constexpr std::string_view RegionalRadarFolder = "/assets/images/wbank/";
inline constexpr std::string_view RegionalRadarSuffix = "_radar.GIF";

// Image providers; no trailing "/", the catalogue's paths begin with one.
inline constexpr std::string_view PurdueRadar = "http://wxp.eas.purdue.edu";
inline constexpr std::string_view PurdueSurface = "http://thunder.eas.purdue.edu";
inline constexpr std::string_view Yahoo = "http://weather.yahoo.com";
inline constexpr std::string_view Meteo = "http://www.meteo.fr";
inline constexpr std::string_view UWMadison = "http://www.ssec.wisc.edu";
inline constexpr std::string_view Iges = "http://grads.iges.org";
inline constexpr std::string_view NoaaClimate = "http://www.cpc.ncep.noaa.gov";
inline constexpr std::string_view NoaaGoes = "http://www.goes.noaa.gov";
inline constexpr std::string_view KochiUniversity = "http://weather.is.kochi-u.ac.jp";
inline constexpr std::string_view Usda = "http://www.usda.gov";
inline constexpr std::string_view UsdaNassResearch = "http://www.nass.usda.gov";
inline constexpr std::string_view JamesCook = "http://www.jcu.edu.au";
inline constexpr std::string_view Wollongong = "http://www.uow.edu.au";
inline constexpr std::string_view EarthWatch = "http://www.earthwatch.com";
inline constexpr std::string_view Accuweather = "http://www.accuweather.com";
inline constexpr std::string_view PennState = "http://www.ems.psu.edu";
inline constexpr std::string_view Usgs = "http://wwwneic.cr.usgs.gov";
inline constexpr std::string_view Census = "http://www.census.gov";
inline constexpr std::string_view UsdaWfas = "http://www.fs.fed.us";
inline constexpr std::string_view Plymouth = "http://vortex.plymouth.edu";
inline constexpr std::string_view WeatherBank = "http://www.weatherbank.com";
inline constexpr std::string_view AllergyMaps = "http://www.intellicast.com";
// Texas A&M radar server (two wallpaper images).
inline constexpr std::string_view TexasAM = "http://www.met.tamu.edu";
// The Purdue radar's older picture, fetched when the latest one is not there yet.
inline constexpr std::string_view PurdueRadarPreviousPath = "/radar/previous/rad_comp-2.gif";

// Weather cameras, each on its owner's site; the address ends in the picture's file name.
inline constexpr std::string_view CamAlaskaAnchorage =
    "http://www.alaskacam.com/anchorage/recent0.jpg";
inline constexpr std::string_view CamArizonaPhoenix =
    "http://www.azcentral.com/weather/cam/camera80.jpg";
inline constexpr std::string_view CamArkansasLittleRock = "http://www.thv11.com/weather/wxcam.jpg";
inline constexpr std::string_view CamCaliforniaHollywood =
    "http://www.hollywoodcam.com/images/hollysm.jpg";
inline constexpr std::string_view CamCaliforniaLakeTahoeSugar =
    "http://www.tahoecams.com/cams/sugarpine.jpg";
inline constexpr std::string_view CamCaliforniaSanFranciscoABC =
    "http://www.kgo-tv.com/cams/roof_cam.jpg";
inline constexpr std::string_view CamCaliforniaSanFranciscoCT =
    "http://www.sfclocktower.com/cam/tower.jpg";
inline constexpr std::string_view CamCaliforniaYosemiteNatlParkHD =
    "http://www.yosemitecam.org/halfdome/capture.jpg";
inline constexpr std::string_view CamCanadaAlbertaBanff =
    "http://www.banffgondola.com/cam/fullsize.jpg";
inline constexpr std::string_view CamCanadaAlbertaBanffBanffCtrArts =
    "http://www.banffcentre.ab.ca/cam/banffcam.jpeg";
inline constexpr std::string_view CamCanadaOntarioNiagraFallsSheraton =
    "http://www.niagarafallslive.com/cam/falls.jpg";
inline constexpr std::string_view CamColoradoAspenCopperMtn =
    "http://www.coppercolorado.com/cam/copper1.jpg";
inline constexpr std::string_view CamColoradoAspenEldoraMtn =
    "http://www.eldora.com/cam/eldora.jpg";
inline constexpr std::string_view CamColoradoAspenMJResort = "http://www.mjresort.com/cam/wp.jpg";
inline constexpr std::string_view CamColoradoPikesPeak = "http://www.pikespeakcam.com/cam.jpg";
inline constexpr std::string_view CamFloridaNASA39B =
    "http://www.ksc.nasa.gov/shuttle/countdown/video/chan6.gif";
inline constexpr std::string_view CamHawaiiMaui = "http://www.mauicam.com/cams/m6.jpg";
inline constexpr std::string_view CamHawaiiIslandofOahu =
    "http://www.oahucam.com/images/last.md.jpeg";
inline constexpr std::string_view CamMissouriStLouis =
    "http://www.gatewayarch.com/cam/arch_backup.jpg";
inline constexpr std::string_view CamTexasAustin = "http://www.kxan.com/skycam/skycam.jpg";
inline constexpr std::string_view CamTexasCollegeStationAM = "http://www.met.tamu.edu/cam/view.gif";
inline constexpr std::string_view CamTexasDallas = "http://www.wfaa.com/cam/view11.jpg";
inline constexpr std::string_view CamUtahAlta = "http://www.alta.com/cam/current.gif";

// Every image provider and camera address above, for the emulator and the tests.
inline constexpr std::array ImageHosts = {
    PurdueRadar,
    PurdueSurface,
    Yahoo,
    Meteo,
    UWMadison,
    Iges,
    NoaaClimate,
    NoaaGoes,
    KochiUniversity,
    Usda,
    UsdaNassResearch,
    JamesCook,
    Wollongong,
    EarthWatch,
    Accuweather,
    PennState,
    Usgs,
    Census,
    UsdaWfas,
    Plymouth,
    WeatherBank,
    AllergyMaps,
    CamAlaskaAnchorage,
    CamArizonaPhoenix,
    CamArkansasLittleRock,
    CamCaliforniaHollywood,
    CamCaliforniaLakeTahoeSugar,
    CamCaliforniaSanFranciscoABC,
    CamCaliforniaSanFranciscoCT,
    CamCaliforniaYosemiteNatlParkHD,
    CamCanadaAlbertaBanff,
    CamCanadaAlbertaBanffBanffCtrArts,
    CamCanadaOntarioNiagraFallsSheraton,
    CamColoradoAspenCopperMtn,
    CamColoradoAspenEldoraMtn,
    CamColoradoAspenMJResort,
    CamColoradoPikesPeak,
    CamFloridaNASA39B,
    CamHawaiiMaui,
    CamHawaiiIslandofOahu,
    CamMissouriStLouis,
    CamTexasAustin,
    CamTexasCollegeStationAM,
    CamTexasDallas,
    CamUtahAlta,
};
// Report providers of the forecast window; each ends in "/".
inline constexpr std::string_view NwsBase = "http://iwin.nws.noaa.gov/";
inline constexpr std::string_view EpaBase = "http://www.epa.gov/";
inline constexpr std::string_view UsdaNassBase = "http://www.nass.usda.gov/";
inline constexpr std::string_view CensusRanksBase = "http://www.census.gov/";
inline constexpr std::string_view CensusLookupBase = "http://venus.census.gov/";
inline constexpr std::string_view UsgsNeicBase = "http://neic.usgs.gov/";

} // namespace ServiceAddresses
} // namespace cirrolux
