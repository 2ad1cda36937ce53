#pragma once

#include <string>

namespace cirrolux {

// The state that the program's windows share while one request or command runs. The main window
// owns the one instance and hands it by reference to the code that reads or writes it.
// Flags are short texts: "y"/"Y" on, empty off. Texts are 8-bit (Latin-1).
struct SharedState
{
    // Conditions request
    std::string currentLocationKey; // key to fetch; cleared after a fetch
    std::string automaticRequest;   // "y" while the program itself started the request
    std::string requestSucceeded;   // "Y" once the transfer reported success
    std::string counterSent;        // "Y" once the usage counter was fetched in this run
    std::string removeLocationMode; // "Y" while a preset removal is armed
    std::string requestUrl;         // address of the transfer under way

    // Location parts of the request under way
    std::string locationCity;
    std::string locationState;
    std::string locationZip;
    std::string locationGroup;
    std::string locationContinent;
    std::string stationNumber;
    std::string stateCode;
    std::string titleCity;

    // Parser
    int temperatureF = 999; // whole degrees Fahrenheit, 999 = unknown
    std::string locationTitle;

    // Presets
    std::string lastPresetName;

    // Windows that arrive later
    std::string imageFile;    // local file of the image download under way
    std::string imageFileUpper; // imageFile in capitals, set when the image is prepared
    std::string forecastMode; // report mode of the forecast window, empty when it is not fetching
    std::string webMode;      // mode of the web page window and the radar chooser

    // Web page window
    std::string webUrl;      // page or image address of its next transfer
    std::string countryCode; // country chosen (two letters or digits)
    std::string countryName;
};

} // namespace cirrolux
