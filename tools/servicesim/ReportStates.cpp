#include "ReportStates.h"

#include <array>

namespace cirrolux::servicesim {

namespace {

constexpr std::array<std::string_view, 5> kAL{"JEFFERSON", "SHELBY", "TUSCALOOSA", "MADISON",
                                              "MOBILE"};
constexpr std::array<std::string_view, 4> kAK{"ANCHORAGE", "MATANUSKA VALLEY", "KENAI PENINSULA",
                                              "FAIRBANKS"};
constexpr std::array<std::string_view, 5> kAZ{"MARICOPA", "PIMA", "PINAL", "YAVAPAI", "COCONINO"};
constexpr std::array<std::string_view, 5> kAR{"PULASKI", "BENTON", "WASHINGTON", "GARLAND",
                                              "SEBASTIAN"};
constexpr std::array<std::string_view, 6> kCA{"SACRAMENTO", "LOS ANGELES", "SAN DIEGO",
                                              "ORANGE",     "FRESNO",      "ALAMEDA"};
constexpr std::array<std::string_view, 5> kCO{"DENVER", "BOULDER", "EL PASO", "LARIMER",
                                              "JEFFERSON"};
constexpr std::array<std::string_view, 5> kCT{"HARTFORD", "NEW HAVEN", "FAIRFIELD", "LITCHFIELD",
                                              "TOLLAND"};
constexpr std::array<std::string_view, 3> kDE{"NEW CASTLE", "KENT", "SUSSEX"};
constexpr std::array<std::string_view, 1> kDC{"DISTRICT OF COLUMBIA"};
constexpr std::array<std::string_view, 6> kFL{"DADE",   "BROWARD",      "PALM BEACH",
                                              "ORANGE", "HILLSBOROUGH", "DUVAL"};
constexpr std::array<std::string_view, 5> kGA{"FULTON", "DEKALB", "COBB", "GWINNETT", "CHATHAM"};
constexpr std::array<std::string_view, 4> kHI{"HONOLULU", "HAWAII", "MAUI", "KAUAI"};
constexpr std::array<std::string_view, 5> kID{"ADA", "CANYON", "BONNEVILLE", "KOOTENAI",
                                              "TWIN FALLS"};
constexpr std::array<std::string_view, 6> kIL{"COOK", "DUPAGE", "LAKE", "WILL", "KANE", "SANGAMON"};
constexpr std::array<std::string_view, 5> kIN{"MARION", "LAKE", "ALLEN", "HAMILTON", "ST. JOSEPH"};
constexpr std::array<std::string_view, 5> kIA{"POLK", "LINN", "SCOTT", "JOHNSON", "BLACK HAWK"};
constexpr std::array<std::string_view, 5> kKS{"SEDGWICK", "JOHNSON", "SHAWNEE", "WYANDOTTE",
                                              "DOUGLAS"};
constexpr std::array<std::string_view, 5> kKY{"JEFFERSON", "FAYETTE", "KENTON", "WARREN", "BOONE"};
constexpr std::array<std::string_view, 5> kLA{"ORLEANS", "JEFFERSON", "EAST BATON ROUGE", "CADDO",
                                              "LAFAYETTE"};
constexpr std::array<std::string_view, 5> kME{"CUMBERLAND", "YORK", "PENOBSCOT", "KENNEBEC",
                                              "AROOSTOOK"};
constexpr std::array<std::string_view, 5> kMD{"MONTGOMERY", "PRINCE GEORGES", "BALTIMORE",
                                              "ANNE ARUNDEL", "FREDERICK"};
constexpr std::array<std::string_view, 6> kMA{"SUFFOLK", "NORFOLK",   "MIDDLESEX",
                                              "ESSEX",   "WORCESTER", "PLYMOUTH"};
constexpr std::array<std::string_view, 5> kMI{"WAYNE", "OAKLAND", "MACOMB", "KENT", "WASHTENAW"};
constexpr std::array<std::string_view, 5> kMN{"HENNEPIN", "RAMSEY", "DAKOTA", "ANOKA", "ST. LOUIS"};
constexpr std::array<std::string_view, 5> kMS{"HINDS", "HARRISON", "DESOTO", "RANKIN", "MADISON"};
constexpr std::array<std::string_view, 5> kMO{"ST. LOUIS", "JACKSON", "GREENE", "ST. CHARLES",
                                              "BOONE"};
constexpr std::array<std::string_view, 5> kMT{"YELLOWSTONE", "MISSOULA", "GALLATIN", "CASCADE",
                                              "FLATHEAD"};
constexpr std::array<std::string_view, 5> kNE{"DOUGLAS", "LANCASTER", "SARPY", "HALL", "BUFFALO"};
constexpr std::array<std::string_view, 5> kNV{"CLARK", "WASHOE", "CARSON CITY", "ELKO", "LYON"};
constexpr std::array<std::string_view, 5> kNH{"HILLSBOROUGH", "ROCKINGHAM", "MERRIMACK",
                                              "STRAFFORD", "GRAFTON"};
constexpr std::array<std::string_view, 5> kNJ{"BERGEN", "MIDDLESEX", "ESSEX", "HUDSON", "MONMOUTH"};
constexpr std::array<std::string_view, 5> kNM{"BERNALILLO", "DONA ANA", "SANTA FE", "SANDOVAL",
                                              "SAN JUAN"};
constexpr std::array<std::string_view, 6> kNY{"NEW YORK", "KINGS",  "QUEENS",
                                              "ERIE",     "MONROE", "ALBANY"};
constexpr std::array<std::string_view, 5> kNC{"WAKE", "MECKLENBURG", "GUILFORD", "FORSYTH",
                                              "DURHAM"};
constexpr std::array<std::string_view, 5> kND{"CASS", "BURLEIGH", "GRAND FORKS", "WARD", "STARK"};
constexpr std::array<std::string_view, 5> kOH{"FRANKLIN", "CUYAHOGA", "HAMILTON", "MONTGOMERY",
                                              "SUMMIT"};
constexpr std::array<std::string_view, 5> kOK{"OKLAHOMA", "TULSA", "CLEVELAND", "COMANCHE",
                                              "CANADIAN"};
constexpr std::array<std::string_view, 5> kOR{"MULTNOMAH", "WASHINGTON", "CLACKAMAS", "LANE",
                                              "MARION"};
constexpr std::array<std::string_view, 5> kPA{"PHILADELPHIA", "ALLEGHENY", "MONTGOMERY", "BUCKS",
                                              "DAUPHIN"};
constexpr std::array<std::string_view, 5> kRI{"PROVIDENCE", "KENT", "WASHINGTON", "NEWPORT",
                                              "BRISTOL"};
constexpr std::array<std::string_view, 5> kSC{"GREENVILLE", "RICHLAND", "CHARLESTON", "HORRY",
                                              "SPARTANBURG"};
constexpr std::array<std::string_view, 5> kSD{"MINNEHAHA", "PENNINGTON", "LINCOLN", "BROWN",
                                              "BROOKINGS"};
constexpr std::array<std::string_view, 5> kTN{"DAVIDSON", "SHELBY", "KNOX", "HAMILTON",
                                              "RUTHERFORD"};
constexpr std::array<std::string_view, 6> kTX{"HARRIS", "DALLAS", "TARRANT",
                                              "BEXAR",  "TRAVIS", "EL PASO"};
constexpr std::array<std::string_view, 5> kUT{"SALT LAKE", "UTAH", "DAVIS", "WEBER", "WASHINGTON"};
constexpr std::array<std::string_view, 5> kVT{"CHITTENDEN", "RUTLAND", "WASHINGTON", "WINDSOR",
                                              "FRANKLIN"};
constexpr std::array<std::string_view, 5> kVA{"FAIRFAX", "VIRGINIA BEACH", "PRINCE WILLIAM",
                                              "CHESTERFIELD", "HENRICO"};
constexpr std::array<std::string_view, 5> kWA{"KING", "PIERCE", "SNOHOMISH", "SPOKANE", "CLARK"};
constexpr std::array<std::string_view, 5> kWV{"KANAWHA", "BERKELEY", "CABELL", "MONONGALIA",
                                              "WOOD"};
constexpr std::array<std::string_view, 5> kWI{"MILWAUKEE", "DANE", "WAUKESHA", "BROWN", "RACINE"};
constexpr std::array<std::string_view, 5> kWY{"LARAMIE", "NATRONA", "CAMPBELL", "SWEETWATER",
                                              "FREMONT"};

const std::array<ReportState, 51> kStates{{
    {"AL", "Alabama", "01", "BMX", "BIRMINGHAM AL", kAL},
    {"AK", "Alaska", "02", "AFC", "ANCHORAGE AK", kAK},
    {"AZ", "Arizona", "04", "PSR", "PHOENIX AZ", kAZ},
    {"AR", "Arkansas", "05", "LZK", "LITTLE ROCK AR", kAR},
    {"CA", "California", "06", "STO", "SACRAMENTO CA", kCA},
    {"CO", "Colorado", "08", "BOU", "DENVER/BOULDER CO", kCO},
    {"CT", "Connecticut", "09", "BOX", "TAUNTON MA", kCT},
    {"DE", "Delaware", "10", "PHI", "MOUNT HOLLY NJ", kDE},
    {"DC", "District of Columbia", "11", "LWX", "STERLING VA", kDC},
    {"FL", "Florida", "12", "MFL", "MIAMI FL", kFL},
    {"GA", "Georgia", "13", "FFC", "PEACHTREE CITY GA", kGA},
    {"HI", "Hawaii", "15", "HFO", "HONOLULU HI", kHI},
    {"ID", "Idaho", "16", "BOI", "BOISE ID", kID},
    {"IL", "Illinois", "17", "LOT", "CHICAGO IL", kIL},
    {"IN", "Indiana", "18", "IND", "INDIANAPOLIS IN", kIN},
    {"IA", "Iowa", "19", "DMX", "DES MOINES IA", kIA},
    {"KS", "Kansas", "20", "TOP", "TOPEKA KS", kKS},
    {"KY", "Kentucky", "21", "LMK", "LOUISVILLE KY", kKY},
    {"LA", "Louisiana", "22", "LIX", "NEW ORLEANS LA", kLA},
    {"ME", "Maine", "23", "GYX", "GRAY ME", kME},
    {"MD", "Maryland", "24", "LWX", "STERLING VA", kMD},
    {"MA", "Massachusetts", "25", "BOX", "TAUNTON MA", kMA},
    {"MI", "Michigan", "26", "DTX", "DETROIT/PONTIAC MI", kMI},
    {"MN", "Minnesota", "27", "MPX", "CHANHASSEN MN", kMN},
    {"MS", "Mississippi", "28", "JAN", "JACKSON MS", kMS},
    {"MO", "Missouri", "29", "LSX", "ST. LOUIS MO", kMO},
    {"MT", "Montana", "30", "BYZ", "BILLINGS MT", kMT},
    {"NE", "Nebraska", "31", "OAX", "OMAHA/VALLEY NE", kNE},
    {"NV", "Nevada", "32", "VEF", "LAS VEGAS NV", kNV},
    {"NH", "New Hampshire", "33", "GYX", "GRAY ME", kNH},
    {"NJ", "New Jersey", "34", "PHI", "MOUNT HOLLY NJ", kNJ},
    {"NM", "New Mexico", "35", "ABQ", "ALBUQUERQUE NM", kNM},
    {"NY", "New York", "36", "OKX", "UPTON NY", kNY},
    {"NC", "North Carolina", "37", "RAH", "RALEIGH NC", kNC},
    {"ND", "North Dakota", "38", "BIS", "BISMARCK ND", kND},
    {"OH", "Ohio", "39", "ILN", "WILMINGTON OH", kOH},
    {"OK", "Oklahoma", "40", "OUN", "NORMAN OK", kOK},
    {"OR", "Oregon", "41", "PQR", "PORTLAND OR", kOR},
    {"PA", "Pennsylvania", "42", "CTP", "STATE COLLEGE PA", kPA},
    {"RI", "Rhode Island", "44", "BOX", "TAUNTON MA", kRI},
    {"SC", "South Carolina", "45", "CAE", "COLUMBIA SC", kSC},
    {"SD", "South Dakota", "46", "FSD", "SIOUX FALLS SD", kSD},
    {"TN", "Tennessee", "47", "OHX", "NASHVILLE TN", kTN},
    {"TX", "Texas", "48", "FWD", "FORT WORTH TX", kTX},
    {"UT", "Utah", "49", "SLC", "SALT LAKE CITY UT", kUT},
    {"VT", "Vermont", "50", "BTV", "BURLINGTON VT", kVT},
    {"VA", "Virginia", "51", "AKQ", "WAKEFIELD VA", kVA},
    {"WA", "Washington", "53", "SEW", "SEATTLE WA", kWA},
    {"WV", "West Virginia", "54", "RLX", "CHARLESTON WV", kWV},
    {"WI", "Wisconsin", "55", "MKX", "MILWAUKEE/SULLIVAN WI", kWI},
    {"WY", "Wyoming", "56", "CYS", "CHEYENNE WY", kWY},
}};

bool sameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        if (up(a[i]) != up(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::span<const ReportState> ReportStates()
{
    return kStates;
}

const ReportState* FindReportState(std::string_view code)
{
    for (const ReportState& state : kStates) {
        if (sameLetters(state.code, code))
            return &state;
    }
    return nullptr;
}

const ReportState* FindReportStateByFips(std::string_view fips)
{
    for (const ReportState& state : kStates) {
        if (state.fips == fips)
            return &state;
    }
    return nullptr;
}

} // namespace cirrolux::servicesim
