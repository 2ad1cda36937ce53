// The crop progress charts: which table each chart address shows, the text file the release list
// names, and the chart itself read back from its GIF: bar lengths in pixels of the 0..100 % scale,
// no bar where the report has no figure, and the refusals.
#include "CaseName.h"

#include "datapictures/CropProgressChart.h"
#include "datapictures/DrawnPictures.h"
#include "imageconvert/ConversionError.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace cirrolux;
using namespace cirrolux::datapictures;

namespace {

std::string readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll().toStdString();
}

std::string mayReport()
{
    return readFile(QStringLiteral(CIRROLUX_LIVEREPORTS_DATA "/cropprog_2026-05-04.txt"));
}

std::string novemberReport()
{
    return readFile(QStringLiteral(CIRROLUX_DATAPICTURES_DATA "/cropprog_2025-12-01.txt"));
}

const QDateTime kDrawnAt(QDate(2025, 12, 10), QTime(3, 47), Qt::UTC);

// --- which table a chart address shows -------------------------------------------------------

struct TableCase
{
    std::string request;
    std::optional<std::string> table;
};

void PrintTo(const TableCase& c, std::ostream* out)
{
    *out << c.request;
}

class CropChartTableTest : public testing::TestWithParam<TableCase>
{
};

TEST_P(CropChartTableTest, NamesTheTable)
{
    EXPECT_EQ(CropChartTable(GetParam().request), GetParam().table);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CropChartTableTest,
    testing::Values(TableCase{"www.usda.gov/nass/graphics/crn_harv.gif", "Corn Harvested"},
                    TableCase{"www.usda.gov/nass/graphics/cot_harv.gif", "Cotton Harvested"},
                    TableCase{"www.usda.gov/nass/graphics/soy_harv.gif", "Soybeans Harvested"},
                    TableCase{"www.usda.gov/nass/graphics/wwh_em.gif", "Winter Wheat Emerged"},
                    TableCase{"www.usda.gov/nass/graphics/wwh_pltd.gif", "Winter Wheat Planted"},
                    TableCase{"www.usda.gov/nass/graphics/cwtable6.gif", std::nullopt},
                    TableCase{"www.example.com/crn_harv.gif", std::nullopt}),
    [](const auto& info) { return test::CaseName(info.param.request); });

// --- the text file the release list names ----------------------------------------------------

struct AddressCase
{
    const char* name;
    std::string json;
    std::string address;
};

void PrintTo(const AddressCase& c, std::ostream* out)
{
    *out << c.name;
}

class CropProgressTextAddressTest : public testing::TestWithParam<AddressCase>
{
};

TEST_P(CropProgressTextAddressTest, FindsTheTextFile)
{
    EXPECT_EQ(CropProgressTextAddress(GetParam().json), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    ReleaseLists, CropProgressTextAddressTest,
    testing::Values(
        AddressCase{
            "EsmisRelease",
            readFile(QStringLiteral(CIRROLUX_LIVEREPORTS_DATA "/esmis_cropprog_latest.json")),
            "https://downloads.usda.library.cornell.edu/usda-esmis/files/8336h188j/"
            "cropprog0526/prog1926.txt"},
        AddressCase{"TextElsewhere",
                    R"([{"files":["https://files.example.com/prog1926.txt",)"
                    R"("https://downloads.usda.library.cornell.edu/x/prog1926.pdf"]}])",
                    ""},
        AddressCase{"NoTextFile",
                    R"([{"files":["https://downloads.usda.library.cornell.edu/x/prog1926.pdf",)"
                    R"("https://downloads.usda.library.cornell.edu/x/prog1926.zip"]}])",
                    ""},
        AddressCase{"NotJson", "<html>Service Unavailable</html>", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the chart -------------------------------------------------------------------------------

struct Bar
{
    int length = 0;
    QRgb colour = 0;
    int marker = -1; // middle of the dark average marker on the line above the bar; -1: none
    bool operator==(const Bar&) const = default;
};

bool coloured(QRgb c)
{
    return qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
}

bool dark(QRgb c)
{
    return !coloured(c) && qRed(c) < 64;
}

// The middle of the dark run on line y within the scale, where the average's marker stands out
// above a bar.
int markerOn(const QImage& image, int y)
{
    int first = -1;
    int last = -1;
    for (int x = kCropScaleLeft; x <= kCropScaleLeft + kCropScaleWidth + 1; ++x) {
        if (dark(image.pixel(x, y))) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return first < 0 ? -1 : (first + last) / 2;
}

// The bars top to bottom: runs of one colour (not a grey) starting at the scale's left edge,
// just right of the dark 0 % axis, measured in pixels.
std::vector<Bar> barsOf(const QImage& image)
{
    std::vector<Bar> bars;
    int lastY = -2;
    for (int y = 1; y < image.height(); ++y) {
        const QRgb colour = image.pixel(kCropScaleLeft, y);
        if (!coloured(colour) || !dark(image.pixel(kCropScaleLeft - 1, y)))
            continue;
        int x = kCropScaleLeft;
        while (x < image.width() && image.pixel(x, y) == colour)
            ++x;
        if (y != lastY + 1)
            bars.push_back({x - kCropScaleLeft, colour, markerOn(image, y - 1)});
        lastY = y;
    }
    return bars;
}

// Percentages as pixels of the scale.
std::vector<int> lengthsOf(const std::vector<int>& percents)
{
    std::vector<int> lengths;
    for (const int p : percents)
        lengths.push_back(p * kCropScaleWidth / 100);
    return lengths;
}

struct ChartCase
{
    const char* name;
    std::string (*report)();
    std::string table;
    std::vector<int> percents; // this week: the states with a figure, then the total
    std::vector<int> averages; // the five-year average of the same rows
};

void PrintTo(const ChartCase& c, std::ostream* out)
{
    *out << c.name;
}

class CropProgressChartTest : public testing::TestWithParam<ChartCase>
{
};

TEST_P(CropProgressChartTest, BarsMeasureThisWeeksPercentages)
{
    const QImage image = QImage::fromData(
        GifOf(CropProgressChart(GetParam().report(), GetParam().table, kDrawnAt)), "GIF");
    ASSERT_EQ(image.size(), QSize(600, 450));
    const std::vector<Bar> bars = barsOf(image);
    std::vector<int> lengths;
    std::vector<int> markers;
    for (const Bar& bar : bars) {
        lengths.push_back(bar.length);
        markers.push_back(bar.marker - kCropScaleLeft);
    }
    EXPECT_EQ(lengths, lengthsOf(GetParam().percents));
    EXPECT_EQ(markers, lengthsOf(GetParam().averages));
    // Every state's bar has one colour, the total's another.
    ASSERT_GE(bars.size(), 2u);
    for (std::size_t i = 0; i + 1 < bars.size(); ++i)
        EXPECT_EQ(bars[i].colour, bars.front().colour) << i;
    EXPECT_NE(bars.back().colour, bars.front().colour);
}

INSTANTIATE_TEST_SUITE_P(Reports, CropProgressChartTest,
                         testing::Values(
                             // Colorado, Illinois, Iowa, Nebraska, 18 States.
                             ChartCase{"CornPlantedMay",
                                       mayReport,
                                       "Corn Planted",
                                       {23, 24, 38, 37, 24},
                                       {27, 39, 48, 42, 34}},
                             // Kentucky's "(NA)" draws no bar; dates over two heading lines.
                             ChartCase{"CornHarvestedNovember",
                                       novemberReport,
                                       "corn harvested",
                                       {93, 96, 86, 83, 96},
                                       {91, 95, 84, 85, 96}},
                             // Texas's "-" is zero: no bar.
                             ChartCase{"WinterWheatEmergedNovember",
                                       novemberReport,
                                       "Winter Wheat Emerged",
                                       {95, 100, 99, 91},
                                       {94, 98, 99, 90}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase
{
    const char* name;
    std::string text;
    std::string table;
    std::string reason;
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.name;
}

class CropProgressChartRefusalTest : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(CropProgressChartRefusalTest, ThrowsWithTheReason)
{
    try {
        CropProgressChart(GetParam().text, GetParam().table, kDrawnAt);
        ADD_FAILURE() << "drawn without a table";
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().reason);
    }
}

const std::string kRule(80, '-');

INSTANTIATE_TEST_SUITE_P(
    Texts, CropProgressChartRefusalTest,
    testing::Values(
        RefusalCase{"TableMissing", mayReport(), "Soybeans Harvested",
                    "the Crop Progress report released May 4, 2026 has no \"Soybeans Harvested\" "
                    "table"},
        RefusalCase{"OnlyMentioned", "Corn Harvested - Selected States .......... 4\n\nText\n",
                    "Corn Harvested", "the Crop Progress report has no \"Corn Harvested\" table"},
        RefusalCase{"NoStateRows",
                    "Corn Harvested - Selected States: Week Ending May 3, 2026\n" + kRule +
                        "\n     State      :  May 3, 2026  :  Average\n" + kRule +
                        "\n                :   (percent)\n" + kRule + "\n",
                    "Corn Harvested", "the \"Corn Harvested\" table has no state rows"},
        RefusalCase{"HeadingWithoutColumns",
                    "Corn Harvested - Selected States: Week Ending May 3, 2026\n" + kRule +
                        "\n     State\n" + kRule + "\nIowa ...........:     38\n" + kRule + "\n",
                    "Corn Harvested", "the \"Corn Harvested\" table's heading names no columns"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every cut of a real text either draws a whole chart or refuses with a reason.
TEST(CropProgressChartCut, EveryPrefixDrawsOrRefuses)
{
    const std::string text = novemberReport();
    int drawn = 0;
    for (std::size_t size = 0; size <= text.size(); ++size) {
        try {
            const drawing::PixelCanvas canvas = CropProgressChart(
                std::string_view(text).substr(0, size), "Corn Harvested", kDrawnAt);
            EXPECT_EQ(canvas.width(), 600);
            EXPECT_EQ(canvas.height(), 450);
            ++drawn;
        } catch (const ConversionError&) {
        }
    }
    EXPECT_GT(drawn, 0);
}

// The gateway's two steps for a crop chart: the release list names the text, the text gives the
// chart of the table the address asks for.
TEST(CropChartSteps, ReleaseListThenTextGiveTheChart)
{
    DrawInput input;
    input.kind = "nass-crop-progress";
    input.request = "www.usda.gov/nass/graphics/wwh_em.gif";
    input.body = QByteArray::fromStdString(
        readFile(QStringLiteral(CIRROLUX_LIVEREPORTS_DATA "/esmis_cropprog_latest.json")));
    input.now = kDrawnAt;
    const DrawStep list = DrawFromData(input);
    EXPECT_TRUE(list.gif.isEmpty());
    EXPECT_EQ(list.follow.toStdString(), "https://downloads.usda.library.cornell.edu/usda-esmis/"
                                         "files/8336h188j/cropprog0526/prog1926.txt");

    input.stage = 1;
    input.body = QByteArray::fromStdString(novemberReport());
    const DrawStep chart = DrawFromData(input);
    EXPECT_EQ(chart.size, QSize(600, 450));
    EXPECT_EQ(QImage::fromData(chart.gif, "GIF").size(), QSize(600, 450));
}

} // namespace
