#include "wallpaper/WallpaperCatalogue.h"

#include "net/ServiceAddresses.h"

namespace cirrolux {

namespace {

using P = WallpaperProvider;
using Row = WallpaperCatalogue::Row;

constexpr std::array<Row, 21> Rows = {{
    {"US Radar Image - Purdue", P::PurdueRadar, "/radar/rad_comp.gif", "rad_comp.gif"},
    {"US Radar Image - Texas A&&M", P::TexasAM, "/mcsat/mcimages/MDR/MDR.GIF", "MDR.GIF"},
    {"US Radar Image - Yahoo", P::Yahoo, "/graphics/radar/nat_rad.wni.gif", "nat_rad.wni.gif"},
    {"US Radar w/Topography - Texas A&&M", P::TexasAM, "/mcsat/mcimages/MDR/MDRTOPO.GIF",
     "MDRTOPO.GIF"},
    {"Europe Satellite Image", P::Yahoo, "/graphics/satellite/europe.jpg", "europe.jpg"},
    {"Europe Satellite Image - Meteo", P::Meteo, "/tpsreel/images/satt0.jpg", "satt0.jpg"},
    {"Global Temp/Weather Image - UW-M", P::UWM, "/data/comp/latest_cmoll.gif", "latest_cmoll.gif"},
    {"US Infrared Satellite Image - Purdue", P::PurdueRadar, "/satellite/sat_ir_us.gif",
     "sat_ir_us.gif"},
    {"US Infrared/Satellite/Radar Image - Purdue", P::PurdueSurface, "/satellite/sat_ir_rad.gif",
     "sat_ir_rad.gif"},
    {"US Surface Data Plot - Purdue", P::PurdueSurface, "/surface/sfc_map.gif", "sfc_map.gif"},
    {"N.A. Surface Temperature Contour - Purdue", P::PurdueSurface, "/surface/sfc_con_temp_na.gif",
     "sfc_con_temp_na.gif"},
    {"GMS Infrared - Australia, east Asia, west Pacific Ocean", P::NoaaGoes, "/FULLDISK/GGIR.JPG",
     "GGIR.JPG"},
    {"GMS-5 - Japan and Far East Infrared", P::KochiUniversity, "/FE/00Latest.jpg", "00Latest.JPG"},
    {"GOES-East Infrared - North and South America", P::NoaaGoes, "/FULLDISK/GEIR.JPG", "GEIR.JPG"},
    {"GOES-West Infrared - North America and Pacific Ocean", P::NoaaGoes, "/FULLDISK/GWIR.JPG",
     "GWIR.JPG"},
    {"Meteosat Infrared - Africa, Europe, and Atlantic Ocean", P::NoaaGoes, "/FULLDISK/GMIR.JPG",
     "GMIR.JPG"},
    {"US Frontal Positions - Purdue", P::PurdueSurface, "/surface/sfc_front.gif", "sfc_front.gif"},
    {"US Monthly Precipitation - Purdue", P::PurdueSurface, "/surface/prec_mon.gif",
     "prec_mon.gif"},
    {"Australia Satellite Image - JCU/JMA", P::JamesCookUniversity, "/JCUMetSat/aushlast.gif",
     "aushlast.gif"},
    {"Australia (Queensland) Satellite Image - JCU/JMA", P::JamesCookUniversity,
     "/JCUMetSat/neausllast.gif", "neausllast.gif"},
    {"U.S. StormWatch", P::EarthWatch, "/STORMWATCH/images/SWUS2D.gif", "SWUS2D.gif"},
}};

bool isCodeCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

const std::array<Row, 21>& WallpaperCatalogue::rows()
{
    return Rows;
}

std::optional<WallpaperSource> WallpaperCatalogue::find(std::string_view autoWallpaper)
{
    for (const Row& row : Rows) {
        if (autoWallpaper == row.title)
            return WallpaperSource{row.provider, std::string(row.path), std::string(row.localFile)};
    }
    if (autoWallpaper.find(RadarPrefix) == std::string_view::npos)
        return std::nullopt;
    const std::string_view code = autoWallpaper.substr(autoWallpaper.find('=') + 1, 2);
    if (code.size() != 2 || !isCodeCharacter(code[0]) || !isCodeCharacter(code[1]))
        return std::nullopt;
    const std::string file = std::string(code) + std::string(ServiceAddresses::RegionalRadarSuffix);
    return WallpaperSource{P::MakerImages,
                           std::string(ServiceAddresses::RegionalRadarFolder) + file, file};
}

std::string_view WallpaperCatalogue::providerName(WallpaperProvider provider)
{
    switch (provider) {
    case P::PurdueRadar:
        return "Purdue radar server";
    case P::PurdueSurface:
        return "Purdue surface server";
    case P::TexasAM:
        return "Texas A&M";
    case P::Yahoo:
        return "Yahoo";
    case P::Meteo:
        return "Meteo";
    case P::UWM:
        return "UW-M";
    case P::NoaaGoes:
        return "NOAA GOES";
    case P::KochiUniversity:
        return "Kochi University";
    case P::JamesCookUniversity:
        return "James Cook Univ.";
    case P::EarthWatch:
        return "EarthWatch";
    case P::MakerImages:
        break;
    }
    return "the maker's image server";
}

} // namespace cirrolux
