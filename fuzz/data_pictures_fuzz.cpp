// Feeds arbitrary bytes to the pictures the gateway draws from live data, as each kind's source
// file: the USGS feed, the population clock, the crop release list and the crop report text. A
// file that is no such data must end in a conversion error with a text; a drawn picture must be
// a GIF of the size it announces.
#include "datapictures/DrawnPictures.h"
#include "imageconvert/ConversionError.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using namespace cirrolux;

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct Kind
{
    const char* kind;
    const char* request;
    int stage;
};

constexpr Kind kKinds[] = {
    {"usgs-quakes-us", "wwwneic.cr.usgs.gov/neis/gifs/usa.gif", 0},
    {"popclock-world", "www.census.gov/cgi-bin/ipc/pcwgif", 0},
    {"nass-crop-progress", "www.usda.gov/nass/graphics/crn_harv.gif", 0},
    {"nass-crop-progress", "www.usda.gov/nass/graphics/wwh_em.gif", 1},
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the kind, the rest is the file.
    const Kind& kind = kKinds[data[0] % std::size(kKinds)];
    const QByteArray body(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        const datapictures::DrawStep step = datapictures::DrawFromData(
            {kind.kind, kind.request, body, QStringLiteral("https://example.gov/feed"),
             QDateTime(QDate(2026, 12, 10), QTime(4, 0), Qt::UTC), kind.stage});
        if (step.follow.isEmpty()) {
            require(step.gif.startsWith("GIF89a") || step.gif.startsWith("GIF87a"));
            require(step.size.width() > 0 && step.size.height() > 0);
        } else {
            require(kind.stage == 0);
        }
    } catch (const ConversionError& error) {
        require(std::strlen(error.what()) > 0);
    }
    return 0;
}
