#pragma once

#include "drawing/PixelCanvas.h"

#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>

#include <string_view>

namespace cirrolux::datapictures {

// One step of drawing a picture from a live data file (a feed, a table, a figure). Most pictures
// take one file; a picture whose source first names the file to read (a release list) takes two,
// and `stage` counts them.
struct DrawInput
{
    std::string_view kind;    // the table's drawn kind: "usgs-quakes-us", "popclock-world", ...
    std::string_view request; // host + path the program asked for (which chart of a kind)
    QByteArray body;          // the file just fetched
    QString source;           // its address, for the caption
    QDateTime now;            // when it was fetched (UTC)
    int stage = 0;
};

// What a step gives: the finished GIF, or the address of the file to fetch next.
struct DrawStep
{
    QByteArray gif;
    QSize size;
    QString follow;
};

// Whether the gateway can draw pictures of `kind`.
bool KnowsDrawnKind(std::string_view kind);

// Draws the picture, or names the file the next stage needs. A file that cannot be read as its
// source publishes it throws ConversionError with the reason; nothing is drawn without data.
DrawStep DrawFromData(const DrawInput& input);

// The canvas as a still GIF of its own palette.
QByteArray GifOf(const drawing::PixelCanvas& canvas);

} // namespace cirrolux::datapictures
