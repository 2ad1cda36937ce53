// The emulator's pictures: every image the program's menus, wallpaper list and radar chooser
// ask for, decoded as the program's own readers will decode them.
#include "CaseName.h"
#include "SamplePlaces.h"
#include "WireClient.h"

#include "servicesim/ImageCatalogue.h"
#include "servicesim/ServiceEmulator.h"
#include "servicesim/ServiceRouter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <set>

namespace cirrolux::test {
namespace {

using cirrolux::HttpRequestHead;
using servicesim::EmulatorReply;
using servicesim::ImageCatalogue;
using servicesim::ImageSize;
using servicesim::ServiceRouter;

const QDateTime kNow = utc(2005, 1, 12, 20, 55);

HttpRequestHead proxyGet(const QByteArray& url)
{
    return HttpRequestHead::parse("GET " + url +
                                  " HTTP/1.0\r\nProxy-Connection: Keep-Alive\r\n\r\n");
}

QByteArray headerOf(const EmulatorReply& reply, QByteArrayView name)
{
    for (const auto& [key, value] : reply.headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

struct Decoded
{
    QByteArray format;
    QSize size;
    int frames = 0; // frames actually read
    int loopCount = 0;
    bool everyFrameWhole = true; // each frame read has the picture's full size
};

Decoded decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    Decoded decoded;
    decoded.format = reader.format();
    decoded.loopCount = reader.loopCount();
    for (int guard = 0; guard < 200; ++guard) {
        const QImage frame = reader.read();
        if (frame.isNull())
            break;
        if (decoded.frames == 0)
            decoded.size = frame.size();
        else if (frame.size() != decoded.size)
            decoded.everyFrameWhole = false;
        ++decoded.frames;
        if (!reader.supportsAnimation())
            break;
    }
    return decoded;
}

struct ImageRow
{
    const char* url;
    const char* format;
    int width;
    int height;
    int frames; // at least
};

std::string rowName(const ::testing::TestParamInfo<ImageRow>& info)
{
    QByteArray path = QByteArray(info.param.url).mid(7); // after "http://"
    path = path.mid(path.indexOf('/'));
    path = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
    return CaseName(path.mid(path.lastIndexOf('/') + 1).toStdString());
}

// The image menus (the retry's second picture after the first), the Texas A&M wallpaper rows and
// the radar chooser's codes; weather cameras on a site of their own, by file name.
const ImageRow kImages[] = {
    {"http://provider.example/radar/rad_comp.gif", "gif", 200, 150, 1},
    {"http://provider.example/radar/previous/rad_comp-2.gif", "gif", 640, 480, 1},
    {"http://provider.example/graphics/radar/nat_rad.wni.gif", "gif", 640, 400, 1},
    {"http://provider.example/free/hrad/hr00us.gif", "gif", 640, 480, 10},
    {"http://provider.example/surface/sfc_front.gif", "gif", 640, 480, 1},
    {"http://provider.example/surface/prec_mon.gif", "gif", 640, 480, 1},
    {"http://provider.example/surface/sfc_map.gif", "gif", 640, 480, 1},
    {"http://provider.example/surface/sfc_con_temp_na.gif", "gif", 640, 480, 1},
    {"http://provider.example/psc_usrad_an12.gif", "gif", 640, 480, 12},
    {"http://provider.example/JCUMetSat/aushlast.gif", "gif", 640, 480, 1},
    {"http://provider.example/JCUMetSat/neausllast.gif", "gif", 640, 480, 1},
    {"http://provider.example/graphics/satellite/europe.jpg", "jpeg", 640, 480, 1},
    {"http://provider.example/tpsreel/images/satt0.jpg", "jpeg", 600, 450, 1},
    {"http://provider.example/data/comp/latest_cmoll.gif", "gif", 800, 400, 1},
    {"http://provider.example/FULLDISK/GGIR.JPG", "jpeg", 800, 800, 1},
    {"http://provider.example/weather/AUSC.JPG", "jpeg", 640, 480, 1},
    {"http://provider.example/weather/CHINC.JPG", "jpeg", 640, 480, 1},
    {"http://provider.example/weather/INDC.JPG", "jpeg", 640, 400, 1},
    {"http://provider.example/FE/00Latest.jpg", "jpeg", 640, 480, 1},
    {"http://provider.example/weather/NZC.JPG", "jpeg", 640, 480, 1},
    {"http://provider.example/weather/PNGC.JPG", "jpeg", 640, 400, 1},
    {"http://provider.example/weather/SEAC.JPG", "jpeg", 640, 480, 1},
    {"http://provider.example/FULLDISK/GEIR.JPG", "jpeg", 800, 800, 1},
    {"http://provider.example/FULLDISK/GWIR.JPG", "jpeg", 800, 800, 1},
    {"http://provider.example/FULLDISK/GMIR.JPG", "jpeg", 800, 800, 1},
    {"http://provider.example/psc_ussat_an12.gif", "gif", 640, 480, 12},
    {"http://provider.example/satellite/sat_ir_us.gif", "gif", 640, 480, 1},
    {"http://provider.example/satellite/sat_ir_rad.gif", "gif", 640, 480, 1},
    {"http://cams.example/live/recent0.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/camera80.jpg", "jpeg", 352, 240, 1},
    {"http://cams.example/live/wxcam.jpg", "jpeg", 320, 240, 1},
    {"http://cams.example/live/hollysm.jpg", "jpeg", 320, 240, 1},
    {"http://cams.example/live/sugarpine.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/roof_cam.jpg", "jpeg", 480, 360, 1},
    {"http://cams.example/live/tower.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/capture.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/fullsize.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/banffcam.jpeg", "jpeg", 320, 240, 1},
    {"http://cams.example/live/falls.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/copper1.jpg", "jpeg", 320, 240, 1},
    {"http://cams.example/live/eldora.jpg", "jpeg", 352, 288, 1},
    {"http://cams.example/live/wp.jpg", "jpeg", 320, 240, 1},
    {"http://cams.example/live/cam.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/chan6.gif", "gif", 320, 240, 1},
    {"http://cams.example/live/m6.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/last.md.jpeg", "jpeg", 352, 240, 1},
    {"http://cams.example/live/arch_backup.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/skycam.jpg", "jpeg", 320, 240, 1},
    {"http://cams.example/live/view.gif", "gif", 320, 240, 1},
    {"http://cams.example/live/view11.jpg", "jpeg", 640, 480, 1},
    {"http://cams.example/live/current.gif", "gif", 320, 240, 1},
    {"http://provider.example/neis/gifs/usa.gif", "gif", 640, 400, 1},
    {"http://provider.example/neis/gifs/world.gif", "gif", 720, 400, 1},
    {"http://provider.example/accuweather/ltus4p.gif", "gif", 640, 480, 1},
    {"http://provider.example/wx/usstats/snow.gif", "gif", 640, 480, 1},
    {"http://provider.example/STORMWATCH/images/SWUS2D.gif", "gif", 640, 400, 10},
    {"http://provider.example/images/maps/health/mold_spore_440x275.gif", "gif", 440, 275, 1},
    {"http://provider.example/images/maps/health/rag_pol_440x275.gif", "gif", 440, 275, 1},
    {"http://provider.example/land/wfas/fd_cls_f.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp1.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec1.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp2.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec2.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp3.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec3.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp4.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec4.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp5.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec5.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp6.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec6.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp7.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec7.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp8.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec8.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp9.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec9.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/temp10.gif", "gif", 640, 480, 1},
    {"http://provider.example/pix/prec10.gif", "gif", 640, 480, 1},
    {"http://provider.example/products/predictions/multi_season/13_seasonal_outlooks/color/"
     "page2.gif",
     "gif", 640, 480, 1},
    {"http://provider.example/products/predictions/multi_season/13_seasonal_outlooks/color/"
     "page3.gif",
     "gif", 720, 540, 1},
    {"http://provider.example/products/predictions/multi_season/13_seasonal_outlooks/color/"
     "page4.gif",
     "gif", 720, 540, 1},
    {"http://provider.example/nass/graphics/crn_harv.gif", "gif", 600, 450, 1},
    {"http://provider.example/nass/graphics/cot_harv.gif", "gif", 600, 450, 1},
    {"http://provider.example/nass/graphics/cwtable6.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/cwtable8.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/cwtable9.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/cwtable7.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/fl_frmwk.gif", "gif", 600, 450, 1},
    {"http://provider.example/nass/graphics/soilmap.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/soy_harv.gif", "gif", 600, 450, 1},
    {"http://provider.example/nass/graphics/inv.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/inv_ops.gif", "gif", 600, 450, 1},
    {"http://provider.example/research/avhrr/1998/period_42/t842v826.gif", "gif", 640, 480, 1},
    {"http://provider.example/nass/graphics/fl_allwg.gif", "gif", 600, 450, 1},
    {"http://provider.example/nass/graphics/wwh_em.gif", "gif", 600, 450, 1},
    {"http://provider.example/nass/graphics/wwh_pltd.gif", "gif", 600, 450, 1},
    {"http://provider.example/products/analysis_monitoring/regional_monitoring/palmer.gif", "gif",
     640, 480, 1},
    {"http://provider.example/cgi-bin/ipc/pcwgif", "gif", 480, 150, 1},
    {"http://provider.example/cgi-bin/pcugifd.pl?1", "gif", 480, 150, 1},
    {"http://tamu.example/mcsat/mcimages/MDR/MDR.GIF", "gif", 640, 480, 1},
    {"http://tamu.example/mcsat/mcimages/MDR/MDRTOPO.GIF", "gif", 640, 480, 1},
    {"http://www.cirrolux.net/assets/images/wbank/AL_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/AZ_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/AR_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/CN_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/CS_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/CO_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/CT_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/DC_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/FL_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/GA_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/ID_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/IL_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/IN_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/IA_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/KS_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/KY_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/LA_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/ME_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/MI_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/MN_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/MS_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/MO_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/MT_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NE_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NV_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NH_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NJ_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NM_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NY_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NC_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/ND_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/OH_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/OK_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/OR_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/PA_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/SC_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/SD_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/TN_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/NT_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/ST_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/WT_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/UT_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/VA_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/WA_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/WV_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/WI_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/WY_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/R1_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/R2_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/R3_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/R4_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/R5_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/R6_radar.GIF", "gif", 512, 384, 10},
    {"http://www.cirrolux.net/assets/images/wbank/US_radar.GIF", "gif", 512, 384, 10},
};

class CatalogueImage : public ::testing::TestWithParam<ImageRow>
{
};

TEST_P(CatalogueImage, DecodesToItsFormatAndSize)
{
    const ImageRow& row = GetParam();
    ServiceRouter router;
    const EmulatorReply reply = router.route(proxyGet(row.url), kNow);
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.delivery, EmulatorReply::Delivery::Whole);
    EXPECT_EQ(headerOf(reply, "Content-Type"), "image/" + QByteArray(row.format));
    EXPECT_EQ(reply.contentLength(), reply.body.size());
    EXPECT_GT(reply.body.size(), 500);

    const Decoded decoded = decode(reply.body);
    EXPECT_EQ(decoded.format, row.format);
    EXPECT_EQ(decoded.size, QSize(row.width, row.height));
    EXPECT_GE(decoded.frames, row.frames);
    EXPECT_TRUE(decoded.everyFrameWhole);
    if (row.frames > 1) {
        EXPECT_EQ(decoded.loopCount, -1) << "an animation loops forever";
        EXPECT_TRUE(reply.body.contains("NETSCAPE2.0"));
    }
}

INSTANTIATE_TEST_SUITE_P(Images, CatalogueImage, ::testing::ValuesIn(kImages), rowName);

TEST(ImageCatalogueTable, HoldsEveryRowOnce)
{
    // 99 menu rows, the retry picture, two Texas A&M rows, 54 chooser codes and a plain "TX".
    EXPECT_EQ(ImageCatalogue::images().size(), 99u + 1 + 2 + 54 + 1);
    EXPECT_EQ(std::size(kImages), 99u + 1 + 2 + 54);
    std::set<std::string> names;
    for (const auto& image : ImageCatalogue::images()) {
        std::string name = image.file;
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(names.insert(name).second) << "file name served twice: " << image.file;
    }
    const std::vector<std::string>& codes = ImageCatalogue::radarCodes();
    EXPECT_EQ(codes.size(), 54u);
    EXPECT_EQ(std::set<std::string>(codes.begin(), codes.end()).size(), 54u);
}

// The local file names of the wallpaper list and the menus, asked for on any site in another
// letter case, give the very picture of their catalogue path.
struct NameRow
{
    const char* name;
    const char* catalogueUrl;
    const char* otherUrl;
};

class ByFileName : public ::testing::TestWithParam<NameRow>
{
};

TEST_P(ByFileName, GivesTheCataloguePicture)
{
    ServiceRouter router;
    const EmulatorReply expected = router.route(proxyGet(GetParam().catalogueUrl), kNow);
    const EmulatorReply found = router.route(proxyGet(GetParam().otherUrl), kNow);
    ASSERT_EQ(expected.status, 200);
    ASSERT_EQ(found.status, 200);
    EXPECT_EQ(found.body, expected.body);
    EXPECT_EQ(headerOf(found, "Content-Type"), headerOf(expected, "Content-Type"));
}

INSTANTIATE_TEST_SUITE_P(
    Images, ByFileName,
    ::testing::Values(
        NameRow{"rad_comp", "http://p.example/radar/rad_comp.gif", "http://q.example/RAD_COMP.GIF"},
        NameRow{"MDR", "http://p.example/mcsat/mcimages/MDR/MDR.GIF", "http://q.example/x/mdr.gif"},
        NameRow{"nat_rad", "http://p.example/graphics/radar/nat_rad.wni.gif",
                "http://q.example/NAT_RAD.WNI.GIF"},
        NameRow{"MDRTOPO", "http://p.example/mcsat/mcimages/MDR/MDRTOPO.GIF",
                "http://q.example/a/b/MdrTopo.Gif"},
        NameRow{"europe", "http://p.example/graphics/satellite/europe.jpg",
                "http://q.example/EUROPE.JPG"},
        NameRow{"satt0", "http://p.example/tpsreel/images/satt0.jpg", "http://q.example/SATT0.jpg"},
        NameRow{"latest_cmoll", "http://p.example/data/comp/latest_cmoll.gif",
                "http://q.example/Latest_Cmoll.gif"},
        NameRow{"sat_ir_us", "http://p.example/satellite/sat_ir_us.gif",
                "http://q.example/SAT_IR_US.gif"},
        NameRow{"sat_ir_rad", "http://p.example/satellite/sat_ir_rad.gif",
                "http://q.example/sat_IR_rad.GIF"},
        NameRow{"sfc_map", "http://p.example/surface/sfc_map.gif", "http://q.example/SFC_MAP.gif"},
        NameRow{"sfc_con_temp_na", "http://p.example/surface/sfc_con_temp_na.gif",
                "http://q.example/z/sfc_con_temp_NA.gif"},
        NameRow{"GGIR", "http://p.example/FULLDISK/GGIR.JPG", "http://q.example/ggir.jpg"},
        NameRow{"Latest00", "http://p.example/FE/00Latest.jpg", "http://q.example/00Latest.JPG"},
        NameRow{"GEIR", "http://p.example/FULLDISK/GEIR.JPG", "http://q.example/geir.JPG"},
        NameRow{"GWIR", "http://p.example/FULLDISK/GWIR.JPG", "http://q.example/gwir.jpg"},
        NameRow{"GMIR", "http://p.example/FULLDISK/GMIR.JPG", "http://q.example/Gmir.Jpg"},
        NameRow{"sfc_front", "http://p.example/surface/sfc_front.gif",
                "http://q.example/SFC_FRONT.GIF"},
        NameRow{"prec_mon", "http://p.example/surface/prec_mon.gif",
                "http://q.example/PREC_MON.gif"},
        NameRow{"aushlast", "http://p.example/JCUMetSat/aushlast.gif",
                "http://q.example/AUSHLAST.GIF"},
        NameRow{"neausllast", "http://p.example/JCUMetSat/neausllast.gif",
                "http://q.example/NeAusLLast.gif"},
        NameRow{"SWUS2D", "http://p.example/STORMWATCH/images/SWUS2D.gif",
                "http://q.example/swus2d.gif"},
        NameRow{"TX_radar", "http://www.cirrolux.net/assets/images/wbank/NT_radar.GIF",
                "http://q.example/images/nt_radar.gif"},
        NameRow{"exp_fp_f", "http://p.example/land/wfas/fd_cls_f.gif",
                "http://q.example/exp_fp_f.gif"},
        NameRow{"pcwgif", "http://p.example/cgi-bin/ipc/pcwgif", "http://q.example/pcwgif.gif"},
        NameRow{"pcugif", "http://p.example/cgi-bin/pcugifd.pl?1", "http://q.example/pcugif.gif"},
        NameRow{"skycam", "http://cams.example/live/skycam.jpg",
                "http://other-cams.example/SkyCam.JPG"},
        NameRow{"banffcam", "http://cams.example/banffcam.jpeg", "http://127.0.0.1/BANFFCAM.jpeg"}),
    [](const ::testing::TestParamInfo<NameRow>& info) { return std::string(info.param.name); });

TEST(ImageContentTest, PlainTexasCodeIsServedToo)
{
    ServiceRouter router;
    const EmulatorReply reply =
        router.route(proxyGet("http://www.cirrolux.net/assets/images/wbank/TX_radar.GIF"), kNow);
    ASSERT_EQ(reply.status, 200);
    EXPECT_GE(decode(reply.body).frames, 10);
}

// The Purdue radar's first picture is short, so the program retries with the older one.
TEST(ImageContentTest, RadarRetryPair)
{
    ServiceRouter router;
    const EmulatorReply first =
        router.route(proxyGet("http://weather.example/radar/rad_comp.gif"), kNow);
    const EmulatorReply second =
        router.route(proxyGet("http://weather.example/radar/previous/rad_comp-2.gif"), kNow);
    EXPECT_LT(first.contentLength(), 10000);
    EXPECT_GE(first.contentLength(), 500);
    EXPECT_EQ(decode(first.body).format, "gif");
    EXPECT_GE(second.contentLength(), 10000);
    EXPECT_EQ(decode(second.body).size, QSize(640, 480));
    // The program saves the first under its file name only, so the name alone gives it too.
    EXPECT_EQ(router.route(proxyGet("http://x.example/rad_comp.gif"), kNow).body, first.body);
}

struct SizeRow
{
    const char* name;
    const char* url;
    qint64 atLeast;
    qint64 below;
    const char* format;
};

class AskedSize : public ::testing::TestWithParam<SizeRow>
{
};

TEST_P(AskedSize, ByQuery)
{
    ServiceRouter router;
    const EmulatorReply reply = router.route(proxyGet(GetParam().url), kNow);
    ASSERT_EQ(reply.status, 200);
    EXPECT_GE(reply.contentLength(), GetParam().atLeast);
    EXPECT_LT(reply.contentLength(), GetParam().below);
    EXPECT_EQ(decode(reply.body).format, GetParam().format) << "still a valid picture";
}

INSTANTIATE_TEST_SUITE_P(
    Images, AskedSize,
    ::testing::Values(
        SizeRow{"RetryPictureInFull", "http://p.example/radar/rad_comp.gif?sim-image=full", 10000,
                1 << 24, "gif"},
        SizeRow{"LoopShort", "http://p.example/free/hrad/hr00us.gif?sim-image=short", 500, 10000,
                "gif"},
        SizeRow{"JpegShort", "http://p.example/FULLDISK/GEIR.JPG?sim-image=short", 500, 10000,
                "jpeg"},
        SizeRow{"CameraTiny", "http://cams.example/skycam.jpg?sim-image=tiny", 1, 500, "jpeg"},
        SizeRow{"GifTiny", "http://p.example/STORMWATCH/images/SWUS2D.gif?sim-image=tiny", 1, 500,
                "gif"},
        SizeRow{"CgiTiny", "http://p.example/cgi-bin/pcugifd.pl?1&sim-image=tiny", 1, 500, "gif"},
        SizeRow{"UnknownFlagIsUsual", "http://p.example/free/hrad/hr00us.gif?sim-image=odd", 10000,
                1 << 24, "gif"}),
    [](const ::testing::TestParamInfo<SizeRow>& info) { return std::string(info.param.name); });

TEST(ImageContentTest, SizeChosenByFileNameUntilUndone)
{
    ServiceRouter router;
    const QByteArray url = "http://cams.example/live/LAST.MD.JPEG";
    const qint64 usual = router.route(proxyGet(url), kNow).contentLength();
    router.images().setSize("last.md.jpeg", ImageSize::Tiny);
    EXPECT_LT(router.route(proxyGet(url), kNow).contentLength(), 500);
    router.images().setSize("Last.MD.jpeg", ImageSize::Short);
    const qint64 shortLength = router.route(proxyGet(url), kNow).contentLength();
    EXPECT_GE(shortLength, 500);
    EXPECT_LT(shortLength, 10000);
    router.images().setSize("last.md.jpeg", ImageSize::Usual);
    EXPECT_EQ(router.route(proxyGet(url), kNow).contentLength(), usual);
    router.images().setSize("rad_comp.gif", ImageSize::Full);
    EXPECT_GE(router.route(proxyGet("http://p.example/radar/rad_comp.gif"), kNow).contentLength(),
              10000);
    router.images().clearSizes();
    EXPECT_LT(router.route(proxyGet("http://p.example/radar/rad_comp.gif"), kNow).contentLength(),
              10000);
}

struct HourRow
{
    const char* name;
    const char* url;
};

class PictureHour : public ::testing::TestWithParam<HourRow>
{
};

TEST_P(PictureHour, SameWithinTheHourAndNewTheNext)
{
    ServiceRouter router;
    ServiceRouter fresh; // nothing cached: drawn anew from the path and the hour
    const QByteArray url = GetParam().url;
    const QByteArray early = router.route(proxyGet(url), utc(2005, 1, 12, 20, 0)).body;
    const QByteArray late = fresh.route(proxyGet(url), utc(2005, 1, 12, 20, 59)).body;
    const QByteArray next = router.route(proxyGet(url), utc(2005, 1, 12, 21, 0)).body;
    EXPECT_EQ(early, late);
    EXPECT_NE(early, next);
}

INSTANTIATE_TEST_SUITE_P(
    Images, PictureHour,
    ::testing::Values(HourRow{"NationalRadar", "http://p.example/radar/previous/rad_comp-2.gif"},
                      HourRow{"StateLoop",
                              "http://www.cirrolux.net/assets/images/wbank/R4_radar.GIF"},
                      HourRow{"FullDisk", "http://p.example/FULLDISK/GMIR.JPG"},
                      HourRow{"Camera", "http://cams.example/tower.jpg"},
                      HourRow{"Population", "http://p.example/cgi-bin/ipc/pcwgif"},
                      HourRow{"Outlook", "http://p.example/pix/prec8.gif"}),
    [](const ::testing::TestParamInfo<HourRow>& info) { return std::string(info.param.name); });

TEST(ImageContentTest, LoopFramesMove)
{
    ServiceRouter router;
    const EmulatorReply reply =
        router.route(proxyGet("http://p.example/free/hrad/hr00us.gif"), kNow);
    QBuffer buffer;
    buffer.setData(reply.body);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage first = reader.read();
    QImage last;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read())
        last = frame;
    ASSERT_FALSE(last.isNull());
    EXPECT_NE(first.convertToFormat(QImage::Format_RGB32),
              last.convertToFormat(QImage::Format_RGB32));
}

// Paths that name no catalogue picture get what they got before pictures were served.
struct UnchangedRow
{
    const char* name;
    const char* url;
    int status;
    const char* contentType;
};

class UnknownPicture : public ::testing::TestWithParam<UnchangedRow>
{
};

TEST_P(UnknownPicture, KeepsItsReply)
{
    ServiceRouter router;
    const EmulatorReply reply = router.route(proxyGet(GetParam().url), kNow);
    EXPECT_EQ(reply.status, GetParam().status);
    EXPECT_EQ(headerOf(reply, "Content-Type").left(qsizetype(strlen(GetParam().contentType))),
              GetParam().contentType);
}

INSTANTIATE_TEST_SUITE_P(
    Images, UnknownPicture,
    ::testing::Values(
        UnchangedRow{"OtherGifOnConditionsSite", "http://www.wunderground.com/radar/nothing.gif",
                     404, "text/html"},
        UnchangedRow{"OtherGifElsewhere", "http://elsewhere.example/radar/nothing.gif", 502,
                     "text/html"},
        UnchangedRow{"UnlistedRadarCode",
                     "http://www.cirrolux.net/assets/images/wbank/ZZ_radar.GIF", 404, "text/html"},
        UnchangedRow{"EmptyRadarCode", "http://www.cirrolux.net/assets/images/wbank/_radar.GIF",
                     404, "text/html"},
        UnchangedRow{"DirectoryOfPictures", "http://elsewhere.example/FULLDISK/", 502, "text/html"},
        UnchangedRow{"ConditionsPage", "http://www.wunderground.com/US/TX/Austin.html", 200,
                     "text/html"},
        UnchangedRow{"VersionFile", "http://www.cirrolux.net/assets/cirroluxvs.txt", 200,
                     "text/plain"},
        UnchangedRow{"FaultPathFirst", "http://p.example/sim/status/503", 503, "text/html"}),
    [](const ::testing::TestParamInfo<UnchangedRow>& info) {
        return std::string(info.param.name);
    });

TEST(ImageContentTest, OverTheWireWithItsLength)
{
    servicesim::ServiceEmulator emulator;
    emulator.setNow(kNow);
    ASSERT_TRUE(emulator.listen(0));
    const WireReply reply = WireReply::parse(WireClient::exchange(
        emulator.port(), "GET http://www.cirrolux.net/assets/images/wbank/CN_radar.GIF "
                         "HTTP/1.0\r\n\r\n"));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("Content-Type"), "image/gif");
    EXPECT_EQ(reply.header("Content-Length").toLongLong(), reply.body.size());
    EXPECT_GE(decode(reply.body).frames, 10);
}

} // namespace
} // namespace cirrolux::test
