#pragma once

#include "drawing/GeoMap.h"

#include <QByteArrayView>

#include <string>
#include <vector>

namespace cirrolux::servicesim {

using drawing::GeoBox;

// What a served picture shows; the painters read `ServedImage::variant` as noted.
enum class ImageLook {
    RadarComposite,     // national radar mosaic over a map; variant: colour style 0-3
    RadarLoop,          // animated radar (WeatherBank, Plymouth State, StormWatch); variant: style
    SatelliteLoop,      // animated infrared clouds
    Satellite,          // grey infrared clouds over a map
    EnhancedSatellite,  // infrared clouds with colour enhancement of the cold tops
    SatelliteRadar,     // infrared clouds with radar echoes on top
    FullDisk,           // the whole earth seen from a geostationary satellite; variant: longitude
    Fronts,             // surface map with fronts and pressure centres
    StationPlot,        // surface map with station readings
    TemperatureContour, // coloured temperature bands with contours
    ColourBands,        // a map coloured in classes with a legend; variant: a BandStyle
    SeasonalPage,       // a page of small outlook maps; variant: 1, 3 or 12 maps
    Seismic,            // earthquakes as dots on a white map
    Lightning,          // lightning strikes over a dark map
    Camera,             // a weather camera's view; variant: a CameraScene
    Population,         // the census population clock; variant: 0 world, 1 US
    ProgressChart,      // USDA crop progress lines
    Timetable,          // USDA crop timetable bars
    BarChart,           // USDA bars by year
};

enum BandStyle {
    TemperatureOutlook,
    PrecipitationOutlook,
    MonthlyPrecipitation,
    DroughtIndex,
    FireDanger,
    MoldSpores,
    RagweedPollen,
    SoilMoisture,
    Vegetation,
    SnowCover,
    CattleInventory,
};

enum CameraScene { City, Mountains, Lake, Coast, Falls, Arch, LaunchPad, Campus, SkiSlope };

// One picture the emulator serves.
struct ServedImage
{
    std::string path; // on its provider's site, query included; empty for the weather cameras
    std::string file; // the name the program saves it under (decides GIF or JPEG)
    ImageLook look;
    GeoBox area; // the map's area, where the look has a map
    int width;
    int height;
    int frames;        // 1 for a still picture
    std::string label; // the heading drawn on it
    int variant = 0;
    int utcOffset = 0;       // hours, for the cameras' daylight
    bool shortReply = false; // answered with a small "not available" picture unless asked
    int index = 0;           // position in images()

    bool isGif() const;
};

// The pictures of the program's image menus, its wallpaper list and its state and regional radar
// chooser, found by the path a request names.
class ImageCatalogue
{
public:
    static const std::vector<ServedImage>& images();

    // The picture for a request path (query included): the whole path when it is a catalogue
    // path, otherwise its last segment compared without regard to case with the catalogue's file
    // names and last path segments. Null when none matches.
    static const ServedImage* find(QByteArrayView pathAndQuery);

    // The area codes of the radar chooser: 47 state codes, then the 7 region codes.
    static const std::vector<std::string>& radarCodes();
};

} // namespace cirrolux::servicesim
