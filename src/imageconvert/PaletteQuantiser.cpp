#include "imageconvert/PaletteQuantiser.h"

#include <algorithm>
#include <limits>

namespace cirrolux {

namespace {

constexpr int BinCount = 32 * 32 * 32;
constexpr std::uint32_t EmptyKey = 0xFFFFFFFFu; // no RGB colour has alpha bits set here

int binOf(int r, int g, int b)
{
    return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
}

int binOf(QRgb colour)
{
    return binOf(qRed(colour), qGreen(colour), qBlue(colour));
}

std::uint32_t slotOf(std::uint32_t key)
{
    return (key * 2654435761u) >> 22; // 10 bits
}

// Bayer 4 x 4 thresholds, centred on zero, in steps of half a histogram bin (8 levels wide).
constexpr std::array<std::array<int, 4>, 4> Bayer = {{
    {-8, 0, -6, 2},
    {4, -4, 6, -2},
    {-5, 3, -7, 1},
    {7, -1, 5, -3},
}};

} // namespace

struct PaletteQuantiser::Bin
{
    std::uint64_t count = 0;
    std::uint64_t red = 0; // sums of the exact colours that fell in the bin
    std::uint64_t green = 0;
    std::uint64_t blue = 0;
};

PaletteQuantiser::PaletteQuantiser() : m_bins(new Bin[BinCount])
{
    m_exactKeys.fill(EmptyKey);
}

PaletteQuantiser::~PaletteQuantiser() = default;

bool PaletteQuantiser::addExact(QRgb colour)
{
    const std::uint32_t key = colour & 0xFFFFFFu;
    std::uint32_t slot = slotOf(key);
    while (m_exactKeys[slot] != EmptyKey) {
        if (m_exactKeys[slot] == key)
            return true;
        slot = (slot + 1) & 1023u;
    }
    if (m_exactCount == 256)
        return false;
    m_exactKeys[slot] = key;
    m_exactIndex[slot] = std::uint16_t(m_exactCount++);
    return true;
}

void PaletteQuantiser::add(const QImage& source)
{
    const QImage image = source.format() == QImage::Format_RGB32 ||
                                 source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    if (image.width() == 0)
        return;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb previous = ~line[0];
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = line[x];
            Bin& bin = m_bins[std::size_t(binOf(colour))];
            ++bin.count;
            bin.red += std::uint64_t(qRed(colour));
            bin.green += std::uint64_t(qGreen(colour));
            bin.blue += std::uint64_t(qBlue(colour));
            if (m_exact && colour != previous)
                m_exact = addExact(colour);
            previous = colour;
        }
    }
}

void PaletteQuantiser::choosePalette()
{
    m_palette.clear();
    if (m_exact && m_exactCount > 0) {
        m_palette.resize(std::size_t(m_exactCount));
        for (std::size_t slot = 0; slot < m_exactKeys.size(); ++slot)
            if (m_exactKeys[slot] != EmptyKey)
                m_palette[m_exactIndex[slot]] = 0xFF000000u | m_exactKeys[slot];
        return;
    }

    // Median cut over the occupied bins. A box is a range of `order`; it is sorted along its
    // widest channel and split where half its pixels lie on each side.
    std::vector<int> order;
    for (int bin = 0; bin < BinCount; ++bin)
        if (m_bins[std::size_t(bin)].count > 0)
            order.push_back(bin);
    if (order.empty()) {
        m_palette.push_back(0xFF000000u);
        return;
    }
    struct Box
    {
        std::size_t begin;
        std::size_t end;
        std::uint64_t count;
        int widestChannel; // shift of the channel in the bin number: 10 red, 5 green, 0 blue
        int range;
    };
    auto describe = [&](std::size_t begin, std::size_t end) {
        int low[3] = {31, 31, 31};
        int high[3] = {0, 0, 0};
        std::uint64_t count = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const int bin = order[i];
            for (int c = 0; c < 3; ++c) {
                const int value = (bin >> (10 - 5 * c)) & 31;
                low[c] = std::min(low[c], value);
                high[c] = std::max(high[c], value);
            }
            count += m_bins[std::size_t(bin)].count;
        }
        int widest = 0;
        for (int c = 1; c < 3; ++c)
            if (high[c] - low[c] > high[widest] - low[widest])
                widest = c;
        return Box{begin, end, count, 10 - 5 * widest, high[widest] - low[widest]};
    };
    std::vector<Box> boxes{describe(0, order.size())};
    while (boxes.size() < 256) {
        // Split the box with the most pixels times its widest range, which spends colours both
        // on large areas and on wide spreads.
        std::size_t pick = boxes.size();
        double best = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const double score = double(boxes[i].count) * boxes[i].range;
            if (boxes[i].end - boxes[i].begin > 1 && score > best) {
                best = score;
                pick = i;
            }
        }
        if (pick == boxes.size())
            break;
        const Box box = boxes[pick];
        const int shift = box.widestChannel;
        std::sort(order.begin() + std::ptrdiff_t(box.begin), order.begin() + std::ptrdiff_t(box.end),
                  [shift](int a, int b) { return ((a >> shift) & 31) < ((b >> shift) & 31); });
        std::uint64_t seen = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            seen += m_bins[std::size_t(order[i])].count;
            split = i + 1;
            if (seen * 2 >= box.count)
                break;
        }
        boxes[pick] = describe(box.begin, split);
        boxes.push_back(describe(split, box.end));
    }
    for (const Box& box : boxes) {
        Bin sum;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            const Bin& bin = m_bins[std::size_t(order[i])];
            sum.count += bin.count;
            sum.red += bin.red;
            sum.green += bin.green;
            sum.blue += bin.blue;
        }
        m_palette.push_back(qRgb(int(sum.red / sum.count), int(sum.green / sum.count),
                                 int(sum.blue / sum.count)));
    }
    m_lookup.assign(BinCount, -1);
}

std::uint8_t PaletteQuantiser::closestExact(QRgb colour) const
{
    // Only for a colour that was not counted (a picture mapped without being added).
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        const int dr = qRed(colour) - qRed(m_palette[i]);
        const int dg = qGreen(colour) - qGreen(m_palette[i]);
        const int db = qBlue(colour) - qBlue(m_palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return std::uint8_t(best);
}

std::uint8_t PaletteQuantiser::nearest(int bin)
{
    std::int16_t& entry = m_lookup[std::size_t(bin)];
    if (entry >= 0)
        return std::uint8_t(entry);
    // The centre of the bin against every colour, green weighted most as the eye does.
    const int r = ((bin >> 10) & 31) * 8 + 4;
    const int g = ((bin >> 5) & 31) * 8 + 4;
    const int b = (bin & 31) * 8 + 4;
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        const int dr = r - qRed(m_palette[i]);
        const int dg = g - qGreen(m_palette[i]);
        const int db = b - qBlue(m_palette[i]);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
        }
    }
    entry = std::int16_t(best);
    return std::uint8_t(best);
}

IndexedPicture PaletteQuantiser::map(const QImage& source, bool dither)
{
    const QImage image = source.format() == QImage::Format_RGB32 ||
                                 source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    IndexedPicture result;
    result.width = image.width();
    result.height = image.height();
    result.pixels.resize(std::size_t(result.width) * std::size_t(result.height));
    std::uint8_t* out = result.pixels.data();
    const bool exact = m_lookup.empty();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = line[x];
            if (exact) {
                const std::uint32_t key = colour & 0xFFFFFFu;
                std::uint32_t slot = slotOf(key);
                while (m_exactKeys[slot] != key && m_exactKeys[slot] != EmptyKey)
                    slot = (slot + 1) & 1023u;
                *out++ = m_exactKeys[slot] == key ? std::uint8_t(m_exactIndex[slot])
                                                  : closestExact(colour);
                continue;
            }
            if (!dither) {
                *out++ = nearest(binOf(colour));
                continue;
            }
            const int offset = Bayer[std::size_t(y & 3)][std::size_t(x & 3)] / 2;
            auto shifted = [offset](int value) { return std::clamp(value + offset, 0, 255); };
            *out++ = nearest(binOf(shifted(qRed(colour)), shifted(qGreen(colour)),
                                   shifted(qBlue(colour))));
        }
    }
    return result;
}

IndexedPicture PaletteQuantiser::quantise(const QImage& image, bool dither,
                                          std::vector<QRgb>& palette)
{
    PaletteQuantiser quantiser;
    quantiser.add(image);
    quantiser.choosePalette();
    palette = quantiser.palette();
    return quantiser.map(image, dither);
}

} // namespace cirrolux
