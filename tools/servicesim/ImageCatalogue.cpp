#include "ImageCatalogue.h"

#include <QByteArray>

#include <unordered_map>

namespace cirrolux::servicesim {

using drawing::GeoBox;

namespace {

using L = ImageLook;

constexpr GeoBox kUs{-126, -66, 22, 52};
constexpr GeoBox kNorthAmerica{-170, -50, 10, 75};
constexpr GeoBox kWorld{-180, 180, -90, 90};
constexpr GeoBox kAustralia{110, 156, -45, -9};
constexpr GeoBox kEurope{-25, 45, 33, 72};

struct RadarArea
{
    const char* code;
    const char* name;
    double lon;
    double lat;
    double span; // degrees of longitude shown
};

// One entry per distinct code of the chooser; an area shared by several states is named for all.
constexpr RadarArea kRadarAreas[] = {
    {"AL", "Alabama", -86.8, 32.8, 9},
    {"AZ", "Arizona", -111.7, 34.2, 10},
    {"AR", "Arkansas", -92.4, 34.8, 9},
    {"CN", "California North", -121.5, 39.6, 10},
    {"CS", "California South", -117.8, 34.6, 10},
    {"CO", "Colorado", -105.5, 39.0, 10},
    {"CT", "Southern New England", -72.5, 41.5, 8},
    {"DC", "Delaware and D.C.", -76.3, 38.9, 6},
    {"FL", "Florida", -83.0, 27.8, 11},
    {"GA", "Georgia", -83.4, 32.7, 9},
    {"ID", "Idaho", -114.5, 45.0, 11},
    {"IL", "Illinois", -89.2, 40.0, 9},
    {"IN", "Indiana", -86.3, 39.8, 8},
    {"IA", "Iowa", -93.4, 42.0, 9},
    {"KS", "Kansas", -98.4, 38.5, 10},
    {"KY", "Kentucky", -85.7, 37.6, 10},
    {"LA", "Louisiana", -91.9, 31.0, 9},
    {"ME", "Maine", -69.2, 45.3, 8},
    {"MI", "Michigan", -85.4, 44.3, 11},
    {"MN", "Minnesota", -94.3, 46.3, 10},
    {"MS", "Mississippi", -89.7, 32.7, 9},
    {"MO", "Missouri", -92.5, 38.4, 9},
    {"MT", "Montana", -109.6, 47.0, 13},
    {"NE", "Nebraska", -99.8, 41.5, 11},
    {"NV", "Nevada", -116.9, 38.9, 11},
    {"NH", "New Hampshire and Vermont", -72.0, 44.0, 7},
    {"NJ", "New Jersey", -74.6, 40.1, 6},
    {"NM", "New Mexico", -106.1, 34.4, 10},
    {"NY", "New York", -75.5, 42.8, 10},
    {"NC", "North Carolina", -79.4, 35.4, 10},
    {"ND", "North Dakota", -100.4, 47.4, 10},
    {"OH", "Ohio", -82.8, 40.3, 8},
    {"OK", "Oklahoma", -97.6, 35.5, 10},
    {"OR", "Oregon", -120.6, 44.0, 10},
    {"PA", "Pennsylvania", -77.6, 40.9, 9},
    {"SC", "South Carolina", -80.9, 33.8, 8},
    {"SD", "South Dakota", -100.2, 44.4, 10},
    {"TN", "Tennessee", -86.3, 35.8, 10},
    {"NT", "Texas - North", -98.0, 33.2, 10},
    {"ST", "Texas - South", -98.2, 28.6, 10},
    {"WT", "Texas - West", -102.8, 31.4, 10},
    {"UT", "Utah", -111.7, 39.3, 9},
    {"VA", "Virginia", -78.8, 37.6, 10},
    {"WA", "Washington", -120.6, 47.4, 10},
    {"WV", "West Virginia", -80.6, 38.7, 7},
    {"WI", "Wisconsin", -89.9, 44.6, 9},
    {"WY", "Wyoming", -107.5, 43.0, 10},
    {"R1", "US Northeast Region", -74.5, 42.0, 18},
    {"R2", "US Southeast Region", -83.5, 31.5, 20},
    {"R3", "US North Central", -95.0, 44.5, 22},
    {"R4", "US South Central", -97.0, 32.5, 22},
    {"R5", "US Northwest", -116.5, 45.5, 20},
    {"R6", "US Southwest", -112.0, 35.5, 20},
    {"US", "United States", -96.0, 37.5, 60},
    // Not offered by the chooser, which splits Texas, but a stored setting may still name it.
    {"TX", "Texas", -99.3, 31.3, 14},
};
constexpr std::size_t kChooserAreas = std::size(kRadarAreas) - 1;

struct Camera
{
    const char* file;
    const char* place;
    CameraScene scene;
    int utcOffset;
    int width;
    int height;
};

constexpr Camera kCameras[] = {
    {"recent0.jpg", "Anchorage, Alaska", Mountains, -9, 640, 480},
    {"camera80.jpg", "Phoenix, Arizona", City, -7, 352, 240},
    {"wxcam.jpg", "Little Rock, Arkansas", City, -6, 320, 240},
    {"hollysm.jpg", "Hollywood, California", City, -8, 320, 240},
    {"sugarpine.jpg", "Lake Tahoe, California", Lake, -8, 640, 480},
    {"roof_cam.jpg", "San Francisco, California", Coast, -8, 480, 360},
    {"tower.jpg", "San Francisco Clock Tower", City, -8, 640, 480},
    {"capture.jpg", "Half Dome, Yosemite", Mountains, -8, 640, 480},
    {"fullsize.jpg", "Banff, Sulphur Mountain", Mountains, -7, 640, 480},
    {"banffcam.jpeg", "Banff Centre for the Arts", Mountains, -7, 320, 240},
    {"falls.jpg", "Niagara Falls, Ontario", Falls, -5, 640, 480},
    {"copper1.jpg", "Copper Mountain, Colorado", SkiSlope, -7, 320, 240},
    {"eldora.jpg", "Eldora Mountain, Colorado", SkiSlope, -7, 352, 288},
    {"wp.jpg", "MJ Resort, Colorado", SkiSlope, -7, 320, 240},
    {"cam.jpg", "Pikes Peak, Colorado", Mountains, -7, 640, 480},
    {"chan6.gif", "Launch Complex 39-B", LaunchPad, -5, 320, 240},
    {"m6.jpg", "Maui, Hawaii", Coast, -10, 640, 480},
    {"last.md.jpeg", "Oahu, Hawaii", Coast, -10, 352, 240},
    {"arch_backup.jpg", "St. Louis, Missouri", Arch, -6, 640, 480},
    {"skycam.jpg", "Austin, Texas", City, -6, 320, 240},
    {"view.gif", "College Station - A&M", Campus, -6, 320, 240},
    {"view11.jpg", "Dallas, Texas", City, -6, 640, 480},
    {"current.gif", "Alta, Utah", SkiSlope, -7, 320, 240},
};

struct OutlookRegion
{
    int number;
    const char* name;
    GeoBox area;
};

constexpr OutlookRegion kOutlookRegions[] = {
    {1, "Continental US", kUs},
    {2, "Canada & Alaska", {-170, -50, 45, 75}},
    {3, "Mexico & Carribean", {-118, -58, 5, 33}},
    {4, "Europe", kEurope},
    {5, "East Asia", {95, 150, 15, 55}},
    {6, "South Asia", {60, 100, 5, 37}},
    {7, "Australia", kAustralia},
    {8, "South America", {-85, -32, -56, 14}},
    {9, "MidEast", {25, 65, 12, 42}},
    {10, "Africa", {-20, 55, -36, 38}},
};

std::string lastSegment(const std::string& path)
{
    const std::size_t mark = path.find('?');
    const std::string bare = path.substr(0, mark);
    return bare.substr(bare.rfind('/') + 1);
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

std::vector<ServedImage> buildImages()
{
    std::vector<ServedImage> images;
    const auto add = [&images](std::string path, std::string file, L look, GeoBox area, int width,
                               int height, int frames, std::string label, int variant = 0) {
        if (file.empty())
            file = lastSegment(path);
        images.push_back({std::move(path), std::move(file), look, area, width, height, frames,
                          std::move(label), variant});
    };

    // Radar.
    add("/radar/rad_comp.gif", "", L::RadarComposite, kUs, 640, 480, 1, "US RADAR COMPOSITE", 0);
    images.back().shortReply = true;
    add("/radar/previous/rad_comp-2.gif", "", L::RadarComposite, kUs, 640, 480, 1,
        "US RADAR COMPOSITE - 2 HOURS AGO", 0);
    add("/graphics/radar/nat_rad.wni.gif", "", L::RadarComposite, kUs, 640, 400, 1,
        "NATIONAL RADAR", 1);
    add("/free/hrad/hr00us.gif", "", L::RadarLoop, kUs, 640, 480, 10, "US RADAR - WEATHERBANK", 0);
    add("/surface/sfc_front.gif", "", L::Fronts, kNorthAmerica, 640, 480, 1,
        "SURFACE FRONTS AND PRESSURE");
    add("/surface/prec_mon.gif", "", L::ColourBands, kUs, 640, 480, 1,
        "MONTHLY PRECIPITATION (INCHES)", MonthlyPrecipitation);
    add("/surface/sfc_map.gif", "", L::StationPlot, kUs, 640, 480, 1, "SURFACE DATA PLOT");
    add("/surface/sfc_con_temp_na.gif", "", L::TemperatureContour, kNorthAmerica, 640, 480, 1,
        "SURFACE TEMPERATURE (F)");
    add("/psc_usrad_an12.gif", "", L::RadarLoop, kUs, 640, 480, 12, "US RADAR - LAST 12 HOURS", 1);
    add("/mcsat/mcimages/MDR/MDR.GIF", "", L::RadarComposite, kUs, 640, 480, 1,
        "MANUALLY DIGITIZED RADAR", 2);
    add("/mcsat/mcimages/MDR/MDRTOPO.GIF", "", L::RadarComposite, kUs, 640, 480, 1,
        "RADAR WITH TOPOGRAPHY", 3);

    // Satellite.
    add("/JCUMetSat/aushlast.gif", "", L::Satellite, kAustralia, 640, 480, 1, "AUSTRALIA IR");
    add("/JCUMetSat/neausllast.gif", "", L::Satellite, {136, 156, -30, -9}, 640, 480, 1,
        "QUEENSLAND IR");
    add("/graphics/satellite/europe.jpg", "", L::Satellite, kEurope, 640, 480, 1,
        "EUROPE SATELLITE");
    add("/tpsreel/images/satt0.jpg", "", L::Satellite, kEurope, 600, 450, 1, "METEOSAT EUROPE");
    add("/data/comp/latest_cmoll.gif", "", L::Satellite, kWorld, 800, 400, 1, "GLOBAL COMPOSITE",
        1);
    add("/FULLDISK/GGIR.JPG", "", L::FullDisk, kWorld, 800, 800, 1, "GMS IR", 140);
    add("/weather/AUSC.JPG", "", L::EnhancedSatellite, kAustralia, 640, 480, 1, "AUSTRALIA");
    add("/weather/CHINC.JPG", "", L::EnhancedSatellite, {100, 145, 20, 50}, 640, 480, 1,
        "CHINA AND KOREA");
    add("/weather/INDC.JPG", "", L::EnhancedSatellite, {94, 142, -12, 8}, 640, 400, 1, "INDONESIA");
    add("/FE/00Latest.jpg", "00Latest.JPG", L::EnhancedSatellite, {115, 165, 15, 55}, 640, 480, 1,
        "JAPAN AND FAR EAST IR");
    add("/weather/NZC.JPG", "", L::EnhancedSatellite, {162, 182, -48, -33}, 640, 480, 1,
        "NEW ZEALAND");
    add("/weather/PNGC.JPG", "", L::EnhancedSatellite, {138, 158, -12, 0}, 640, 400, 1,
        "PAPUA NEW GUINEA");
    add("/weather/SEAC.JPG", "", L::EnhancedSatellite, {90, 130, -5, 25}, 640, 480, 1,
        "SOUTH EAST ASIA");
    add("/FULLDISK/GEIR.JPG", "", L::FullDisk, kWorld, 800, 800, 1, "GOES-EAST IR", -75);
    add("/FULLDISK/GWIR.JPG", "", L::FullDisk, kWorld, 800, 800, 1, "GOES-WEST IR", -135);
    add("/FULLDISK/GMIR.JPG", "", L::FullDisk, kWorld, 800, 800, 1, "METEOSAT IR", 0);
    add("/psc_ussat_an12.gif", "", L::SatelliteLoop, kUs, 640, 480, 12,
        "US INFRARED - LAST 12 HOURS");
    add("/satellite/sat_ir_us.gif", "", L::Satellite, kUs, 640, 480, 1, "US INFRARED");
    add("/satellite/sat_ir_rad.gif", "", L::SatelliteRadar, kUs, 640, 480, 1,
        "US INFRARED AND RADAR");

    // Weather cameras: found by file name, on whatever site the camera's address names.
    for (const Camera& c : kCameras) {
        add("", c.file, L::Camera, kUs, c.width, c.height, 1, c.place, c.scene);
        images.back().utcOffset = c.utcOffset;
    }

    // Earthquakes, lightning, snow, StormWatch.
    add("/neis/gifs/usa.gif", "", L::Seismic, {-128, -64, 22, 52}, 640, 400, 1,
        "US SEISMICITY - LAST 7 DAYS");
    add("/neis/gifs/world.gif", "", L::Seismic, kWorld, 720, 400, 1,
        "WORLD SEISMICITY - LAST 7 DAYS");
    add("/accuweather/ltus4p.gif", "", L::Lightning, kUs, 640, 480, 1, "US LIGHTNING STRIKES");
    add("/wx/usstats/snow.gif", "", L::ColourBands, kUs, 640, 480, 1, "US SNOW COVER", SnowCover);
    add("/STORMWATCH/images/SWUS2D.gif", "", L::RadarLoop, kUs, 640, 400, 10, "STORMWATCH US", 2);

    // Forecasts.
    add("/images/maps/health/mold_spore_440x275.gif", "", L::ColourBands, kUs, 440, 275, 1,
        "MOLD SPORES FORECAST", MoldSpores);
    add("/images/maps/health/rag_pol_440x275.gif", "", L::ColourBands, kUs, 440, 275, 1,
        "RAGWEED POLLEN FORECAST", RagweedPollen);
    add("/land/wfas/fd_cls_f.gif", "exp_fp_f.gif", L::ColourBands, kUs, 640, 480, 1,
        "FIRE DANGER CLASS", FireDanger);
    for (const OutlookRegion& region : kOutlookRegions) {
        const std::string n = std::to_string(region.number);
        add("/pix/temp" + n + ".gif", "", L::ColourBands, region.area, 640, 480, 1,
            std::string("10-DAY TEMPERATURE OUTLOOK - ") + region.name, TemperatureOutlook);
        add("/pix/prec" + n + ".gif", "", L::ColourBands, region.area, 640, 480, 1,
            std::string("10-DAY PRECIPITATION OUTLOOK - ") + region.name, PrecipitationOutlook);
    }
    const std::string seasonal = "/products/predictions/multi_season/13_seasonal_outlooks/color/";
    add(seasonal + "page2.gif", "", L::SeasonalPage, kUs, 640, 480, 1, "1 AND 3-MONTH OUTLOOK", 4);
    add(seasonal + "page3.gif", "", L::SeasonalPage, kUs, 720, 540, 1,
        "12-MONTH TEMPERATURE OUTLOOK", 12);
    add(seasonal + "page4.gif", "", L::SeasonalPage, kUs, 720, 540, 1,
        "12-MONTH PRECIPITATION OUTLOOK", 13);

    // USDA reports.
    const std::string nass = "/nass/graphics/";
    add(nass + "crn_harv.gif", "", L::ProgressChart, kUs, 600, 450, 1, "CORN - PERCENT HARVESTED");
    add(nass + "cot_harv.gif", "", L::ProgressChart, kUs, 600, 450, 1,
        "COTTON - PERCENT HARVESTED");
    add(nass + "cwtable6.gif", "", L::Timetable, kUs, 640, 480, 1, "CROP CONDITIONS TIMETABLE", 6);
    add(nass + "cwtable8.gif", "", L::Timetable, kUs, 640, 480, 1,
        "CORN, COTTON, SORGHUM TIMETABLE", 8);
    add(nass + "cwtable9.gif", "", L::Timetable, kUs, 640, 480, 1, "PEANUTS, BARLEY, OATS, W-WHEAT",
        9);
    add(nass + "cwtable7.gif", "", L::Timetable, kUs, 640, 480, 1, "SOYBEANS, RICE, SPRING WHEAT",
        7);
    add(nass + "fl_frmwk.gif", "", L::BarChart, kUs, 600, 450, 1, "FARMS AND FARM WORKERS", 0);
    add(nass + "soilmap.gif", "", L::ColourBands, kUs, 640, 480, 1, "TOPSOIL MOISTURE",
        SoilMoisture);
    add(nass + "soy_harv.gif", "", L::ProgressChart, kUs, 600, 450, 1,
        "SOYBEANS - PERCENT HARVESTED");
    add(nass + "inv.gif", "", L::ColourBands, kUs, 640, 480, 1, "CATTLE INVENTORY",
        CattleInventory);
    add(nass + "inv_ops.gif", "", L::BarChart, kUs, 600, 450, 1, "CATTLE OPERATIONS", 1);
    add("/research/avhrr/1998/period_42/t842v826.gif", "", L::ColourBands, kUs, 640, 480, 1,
        "VEGETATION CONDITION", Vegetation);
    add(nass + "fl_allwg.gif", "", L::BarChart, kUs, 600, 450, 1, "FARM AND NON-FARM WAGES", 2);
    add(nass + "wwh_em.gif", "", L::ProgressChart, kUs, 600, 450, 1,
        "WINTER WHEAT - PERCENT EMERGED");
    add(nass + "wwh_pltd.gif", "", L::ProgressChart, kUs, 600, 450, 1,
        "WINTER WHEAT - PERCENT PLANTED");

    // Other reports.
    add("/products/analysis_monitoring/regional_monitoring/palmer.gif", "", L::ColourBands, kUs,
        640, 480, 1, "PALMER DROUGHT SEVERITY INDEX", DroughtIndex);
    add("/cgi-bin/ipc/pcwgif", "pcwgif.gif", L::Population, kWorld, 480, 150, 1, "WORLD POPULATION",
        0);
    add("/cgi-bin/pcugifd.pl?1", "pcugif.gif", L::Population, kUs, 480, 150, 1, "U.S. POPULATION",
        1);

    // The state and regional radar loops on the maker's server.
    for (const RadarArea& area : kRadarAreas) {
        const std::string code = area.code;
        const double spanLat = area.span * 0.62;
        add("/assets/images/wbank/" + code + "_radar.GIF", "", L::RadarLoop,
            GeoBox::around(area.lon, area.lat, area.span, spanLat), 512, 384, 10,
            code + " - " + area.name, 3);
    }

    for (std::size_t i = 0; i < images.size(); ++i)
        images[i].index = static_cast<int>(i);
    return images;
}

struct Index
{
    std::unordered_map<std::string, const ServedImage*> byPath;
    std::unordered_map<std::string, const ServedImage*> byName;

    explicit Index(const std::vector<ServedImage>& images)
    {
        for (const ServedImage& image : images) {
            if (!image.path.empty()) {
                byPath.emplace(image.path, &image);
                byName.emplace(lower(lastSegment(image.path)), &image);
            }
            byName.emplace(lower(image.file), &image);
        }
    }
};

const Index& index()
{
    static const Index built(ImageCatalogue::images());
    return built;
}

} // namespace

bool ServedImage::isGif() const
{
    return lower(file).find(".gif") != std::string::npos;
}

const std::vector<ServedImage>& ImageCatalogue::images()
{
    static const std::vector<ServedImage> images = buildImages();
    return images;
}

const ServedImage* ImageCatalogue::find(QByteArrayView pathAndQuery)
{
    const std::string whole(pathAndQuery.data(), static_cast<std::size_t>(pathAndQuery.size()));
    const Index& found = index();
    if (const auto it = found.byPath.find(whole); it != found.byPath.end())
        return it->second;
    const std::string bare = whole.substr(0, whole.find('?'));
    if (const auto it = found.byPath.find(bare); it != found.byPath.end())
        return it->second;
    const std::string name =
        lower(QByteArray::fromPercentEncoding(QByteArray::fromStdString(lastSegment(bare)))
                  .toStdString());
    if (name.empty())
        return nullptr;
    if (const auto it = found.byName.find(name); it != found.byName.end())
        return it->second;
    return nullptr;
}

const std::vector<std::string>& ImageCatalogue::radarCodes()
{
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> list;
        for (std::size_t i = 0; i < kChooserAreas; ++i)
            list.emplace_back(kRadarAreas[i].code);
        return list;
    }();
    return codes;
}

} // namespace cirrolux::servicesim
