#pragma once

#include <string>
#include <vector>

namespace cirrolux {

// What the gateway does with a live source's answer before the program gets it.
enum class SourceConversion {
    None,        // the row has no source
    PassThrough, // already the type the program asks for
    ToGif,
    ToJpeg,
    LastFrame,  // last frame of an animation as a still GIF
    AnimateGif, // an animated GIF of at least two frames
    Drawn,      // drawn by the gateway from data (`drawnKind` says what)
};

enum class Confidence { High, Medium, Low, None };

// One request the program makes for a picture, and where the gateway gets it live.
struct SourceRow
{
    std::string request;           // host + path (and query) exactly as the program asks
    std::vector<std::string> live; // addresses, best first; may hold {YYYY}-style fill-ins
    SourceConversion conversion = SourceConversion::None;
    std::string drawnKind; // for Drawn: "usgs-quakes-us", ...
    // A still whose source names neither itself nor its time gets a strip under it with the
    // credit and the time ("to-jpeg+caption" in the table).
    bool caption = false;
    int maxAgeSeconds = 0; // how long an answer is kept before it is fetched again
    std::string credit;    // the line the picture's caption or the status bar shows
    Confidence confidence = Confidence::None;
    std::string reason; // why a row has no source, or a remark on a weak one; may be empty
    int line = 0;       // line in the table file
};

} // namespace cirrolux
