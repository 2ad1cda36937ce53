#include "MainStations.h"

#include <array>

namespace cirrolux::gateway {

namespace {

// Each row checked against the station's description and position in weather-util-data (2023):
// the airport the city's flights and forecasts go by, or the NWS climate site where that is a
// reporting station of its own (New York's Central Park). Only cities the general rule gets
// wrong or cannot name are listed.
constexpr std::array kMainStations{
    // United States: the rule would take a second field of the same name, a field in another
    // state (Cincinnati's airport lies in Kentucky) or find no description naming the city.
    MainStation{"NY", "New_York", "KNYC"},    // Central Park, the city's climate site
    MainStation{"IL", "Chicago", "KORD"},     // O'Hare, not Midway
    MainStation{"CA", "Los_Angeles", "KLAX"}, // not the USC campus site
    MainStation{"TX", "Houston", "KIAH"},     // Bush Intercontinental
    MainStation{"DC", "Washington", "KDCA"},  // Reagan National
    MainStation{"GA", "Atlanta", "KATL"},     // Hartsfield-Jackson, not Fulton County
    MainStation{"NV", "Las_Vegas", "KLAS"},   // not Henderson Executive
    MainStation{"MI", "Detroit", "KDTW"},     // Metro Wayne County, not City Airport
    MainStation{"OH", "Cincinnati", "KCVG"},  // not Lunken
    MainStation{"KY", "Covington", "KCVG"},
    MainStation{"NE", "Omaha", "KOMA"},         // Eppley, not Millard
    MainStation{"OK", "Oklahoma_City", "KOKC"}, // Will Rogers World
    MainStation{"KS", "Wichita", "KICT"},       // not Jabara
    MainStation{"OH", "Dayton", "KDAY"},        // not Wright Brothers
    MainStation{"LA", "Shreveport", "KSHV"},    // not Downtown
    MainStation{"TN", "Knoxville", "KTYS"},     // McGhee Tyson, not Downtown Island
    MainStation{"WI", "Milwaukee", "KMKE"},     // Mitchell, not Timmerman
    MainStation{"CT", "Hartford", "KBDL"},      // Bradley, not Brainard
    MainStation{"SC", "Greenville", "KGSP"},    // Greenville-Spartanburg, not Downtown
    MainStation{"PA", "Pittsburgh", "KPIT"},    // not Allegheny County
    MainStation{"PA", "Allentown", "KABE"},     // Lehigh Valley, not Queen City
    MainStation{"AL", "Mobile", "KMOB"},        // Mobile Regional, not Downtown
    MainStation{"TN", "Memphis", "KMEM"},
    MainStation{"KY", "Louisville", "KSDF"}, // Standiford Field
    MainStation{"WI", "Green_Bay", "KGRB"},
    MainStation{"MI", "Grand_Rapids", "KGRR"},
    MainStation{"MI", "Lansing", "KLAN"},
    MainStation{"ND", "Fargo", "KFAR"},
    MainStation{"TN", "Chattanooga", "KCHA"},
    MainStation{"NC", "Greensboro", "KGSO"},
    MainStation{"WV", "Charleston", "KCRW"},
    MainStation{"WV", "Huntington", "KHTS"},
    MainStation{"IL", "Springfield", "KSPI"},
    MainStation{"MT", "Billings", "KBIL"},
    MainStation{"WY", "Casper", "KCPR"},
    MainStation{"OR", "Eugene", "KEUG"},
    MainStation{"OR", "Medford", "KMFR"},
    MainStation{"GA", "Macon", "KMCN"},
    MainStation{"IA", "Sioux_City", "KSUX"},
    MainStation{"KY", "Paducah", "KPAH"},
    MainStation{"FL", "Tampa", "KTPA"},
    MainStation{"MO", "Kansas_City", "KMCI"},
    MainStation{"TX", "Austin", "KAUS"}, // Austin-Bergstrom
    MainStation{"OH", "Columbus", "KCMH"},
    MainStation{"NH", "Mount_Washington", "KMWN"}, // the summit, not Mount Washington Regional
    MainStation{"AZ", "Yuma", "KNYL"},             // Yuma International, not Laguna Army Airfield
    MainStation{"FL", "St_Petersburg", "KPIE"},    // St. Pete-Clearwater, not Whitted
    MainStation{"FL", "West_Palm_Beach", "KPBI"},  // Palm Beach International
    MainStation{"FL", "Panama_City", "KECP"},      // not Tyndall Air Force Base
    MainStation{"GA", "Brunswick", "KBQK"},        // Brunswick Golden Isles (Glynco)
    // Stations whose descriptions do not name the catalogue's place.
    MainStation{"AK", "Barrow", "PABR"},        // Wiley Post-Will Rogers Memorial
    MainStation{"NV", "Mercury", "KDRA"},       // Desert Rock
    MainStation{"NC", "Cape_Hatteras", "KHSE"}, // Billy Mitchell Field
    MainStation{"VA", "Wallops_Island", "KWAL"},
    MainStation{"VI", "Charlotte_Amalie", "TIST"},
    MainStation{"VI", "Christiansted", "TISX"},
    // Abroad: several fields carry the city's name and the rule cannot tell the main one.
    MainStation{"United Kingdom", "London", "EGLL"},
    MainStation{"Spain", "Madrid", "LEMD"}, // Barajas, not Getafe
    MainStation{"India", "Bombay", "VABB"}, // Santacruz, not Juhu
    MainStation{"India", "Mumbai", "VABB"},
    MainStation{"India", "New Delhi", "VIDP"}, // Palam, not Safdarjung
    MainStation{"France", "Paris", "LFPG"},    // Charles de Gaulle
    MainStation{"Japan", "Tokyo", "RJTT"},     // Haneda
    MainStation{"Japan", "Tokyo Int. Arpt", "RJTT"},
    MainStation{"Japan", "Narita Int. Arpt", "RJAA"},
    MainStation{"Japan", "Osaka", "RJOO"},
    MainStation{"Russia", "Moscow", "UUEE"},   // Sheremetyevo
    MainStation{"Turkey", "Istanbul", "LTFM"}, // Istanbul Airport, since 2019
    MainStation{"Malaysia", "Kuala Lumpur", "WMKK"},
    MainStation{"Philippines", "Manila", "RPLL"},
    // The table places Suvarnabhumi (VTBS) at Chon Buri; Don Mueang lies in the city.
    MainStation{"Thailand", "Bangkok", "VTBD"},
    MainStation{"Kenya", "Nairobi", "HKJK"}, // Jomo Kenyatta, not Wilson
    MainStation{"Egypt", "Cairo", "HECA"},   // Cairo International, not New Cairo's
    MainStation{"Sweden", "Stockholm", "ESSA"},
    MainStation{"Norway", "Oslo", "ENGM"}, // Gardermoen, not the closed Fornebu
    MainStation{"Singapore", "Singapore", "WSSS"},
    MainStation{"Italy", "Rome", "LIRF"},
    MainStation{"Italy", "Milan", "LIMC"},
    MainStation{"Ontario", "Toronto", "CYYZ"},
    MainStation{"Ontario", "Ottawa Int. Arpt", "CYOW"},
    MainStation{"Quebec", "Montreal Int. Arpt", "CYUL"},
    MainStation{"British Columbia", "Vancouver Int. Arpt", "CYVR"},
    MainStation{"Alberta", "Calgary Int. Arpt", "CYYC"},
    MainStation{"Alberta", "Edmonton Int. Arpt", "CYEG"},
    MainStation{"Manitoba", "Winnipeg", "CYWG"},       // not The Forks
    MainStation{"Saskatchewan", "Regina", "CYQR"},     // not the university site
    MainStation{"Western Australia", "Perth", "YPPH"}, // not Jandakot
    MainStation{"Western Australia", "Perth Metro", "YPPH"},
    // Descriptions that spell or shorten the name otherwise.
    MainStation{"Malaysia", "Alor Setar", "WMKA"},             // "Alor Satar"
    MainStation{"Trinidad And Tobago", "Crown Point", "TTCP"}, // "Crown Pt."
    MainStation{"Manitoba", "Portage La Prairie", "CYPG"},     // "Portage Southport"
    MainStation{"Alberta", "Rocky Mountain House", "CWRM"},    // "Rocky House"
    MainStation{"Ontario", "Ottawa Rockcliffe", "CYOW"},       // the closed field's airport
    MainStation{"Alberta", "Lloydminster", "CYLL"},            // "Lloydminister"
    MainStation{"Saskatchewan", "Maple Creek", "CWMQ"},        // "Maplecreek"
    MainStation{"Quebec", "New Carlisle", "CWOC"},             // "New Carlisle1"
    MainStation{"Mexico", "Guadalajara", "MMGL"},              // "Don Miguel / Guadalaj"
    MainStation{"Philippines", "Clark Ab", "RPLC"},            // "Clarkfield Pampanga"
    MainStation{"Japan", "Yonagunijima", "ROYN"},              // "Yonaguni Airport"
    MainStation{"France", "Toulouse", "LFBO"},                 // Blagnac, not Francazal
    MainStation{"Italy", "Turin", "LIMF"},                     // Caselle, not Aeritalia
    MainStation{"Romania", "Bucharest", "LROP"},               // Otopeni, not Baneasa
    MainStation{"South Africa", "Johannesburg", "FAOR"},
    MainStation{"Mexico", "Mexico City", "MMMX"},
    MainStation{"Peru", "Lima", "SPJC"},
    // NOAA's lists give the WMO station a field that is not the city's main airport.
    MainStation{"Italy", "Treviso", "LIPH"},     // Sant'Angelo, not Istrana air base
    MainStation{"India", "Hyderabad", "VOHS"},   // Rajiv Gandhi International, not Begumpet
    MainStation{"Mexico", "Monterrey", "MMMY"},  // Mariano Escobedo International, not Del Norte
    // The WMO station's nearest METAR station is another city's airport.
    MainStation{"Dominican Republic", "Santo Domingo", "MDSD"}, // Las Americas, not La Isabela
};

} // namespace

std::span<const MainStation> MainStations()
{
    return kMainStations;
}

} // namespace cirrolux::gateway
