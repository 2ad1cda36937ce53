#include "SampleUpstream.h"

#include "imageconvert/GifEncoder.h"
#include "imageconvert/PaletteQuantiser.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QTimeZone>

#include <array>
#include <stdexcept>

namespace cirrolux::fakenoaa {

namespace {

QDateTime lastObservationTime(const QDateTime& nowUtc)
{
    // Hourly reports go out at :54, as Boston's do.
    const QDateTime utc = nowUtc.toUTC();
    QDateTime issued(utc.date(), QTime(utc.time().hour(), 54), QTimeZone::utc());
    return issued > utc ? issued.addSecs(-3600) : issued;
}

// The loop's frames are 5 minutes apart, the last one at the latest 5-minute mark.
QDateTime frameTime(int frame, const QDateTime& nowUtc)
{
    const QDateTime utc = nowUtc.toUTC();
    const QTime t = utc.time();
    const QDateTime last(utc.date(), QTime(t.hour(), t.minute() - t.minute() % 5),
                         QTimeZone::utc());
    return last.addSecs(-300 * (SampleUpstream::kLoopFrames - 1 - frame));
}

// Fonts without smoothing keep the loop's palette to the colours drawn.
QFont plainFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

struct Band
{
    int dbz;
    QRgb colour;
};
// The NWS reflectivity colours from 20 to 60 dBZ.
constexpr std::array<Band, 9> kReflectivity{{{20, 0xff02fd02u},
                                             {25, 0xff01c501u},
                                             {30, 0xff008e00u},
                                             {35, 0xfffdf802u},
                                             {40, 0xffe5bc00u},
                                             {45, 0xfffd9500u},
                                             {50, 0xfffd0000u},
                                             {55, 0xffd40000u},
                                             {60, 0xffbc0000u}}};

// A storm cell: nested ellipses from the light outer rain to the core.
void drawCell(QPainter& painter, QPointF centre, double rx, double ry, int strongest)
{
    painter.setPen(Qt::NoPen);
    for (int band = 0; band <= strongest; ++band) {
        const double shrink = 1.0 - 0.8 * band / double(kReflectivity.size());
        painter.setBrush(QColor(kReflectivity[std::size_t(band)].colour));
        painter.drawEllipse(centre, rx * shrink, ry * shrink);
    }
}

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

QByteArray SampleUpstream::observation(const QDateTime& nowUtc)
{
    const QDateTime issued = lastObservationTime(nowUtc);
    return issued.toString(QStringLiteral("yyyy/MM/dd HH:mm")).toLatin1() + "\nKBOS " +
           issued.toString(QStringLiteral("ddHHmm")).toLatin1() +
           "Z 29011KT 10SM FEW045 SCT250 M02/M12 A3018 RMK AO2 SLP222 T10221117\n";
}

QByteArray SampleUpstream::zoneForecast(const QDateTime& nowUtc)
{
    // Issued on the last half hour in Boston's local time (UTC when the system has no zone data).
    const QDateTime utc = nowUtc.toUTC();
    const QDateTime issuedUtc = utc.addSecs(-(utc.time().minute() % 30) * 60 - utc.time().second());
    QTimeZone zone("America/New_York");
    const QDateTime issued = zone.isValid() ? issuedUtc.toTimeZone(zone) : issuedUtc;
    const QString zoneName = zone.isValid() ? zone.abbreviation(issued) : QStringLiteral("UTC");
    const QString when = QLocale::c().toString(issued, QStringLiteral("hmm AP ")) + zoneName +
                         QLocale::c().toString(issued, QStringLiteral(" ddd MMM d yyyy"));
    const QByteArray expires =
        issuedUtc.addSecs(6 * 3600).toString(QStringLiteral("yyyyMMddHHmm")).toLatin1();
    const QByteArray stamp = issuedUtc.toString(QStringLiteral("ddHHmm")).toLatin1();
    // Morning issues start with the day, later ones with the night; then the next day.
    const QByteArray today = issued.time().hour() >= 4 && issued.time().hour() < 15
                                 ? ".TODAY...Partly sunny. Highs around 30. Northwest winds 10 to "
                                   "15 mph.\n"
                                 : "";
    const QByteArray tomorrow = QLocale::c()
                                    .toString(issued.date().addDays(1), QStringLiteral("dddd"))
                                    .toUpper()
                                    .toLatin1();
    return "Expires:" + expires + ";;402211\nFPUS51 KBOX " + stamp +
           "\nZFPBOX\n\nZone Forecast Product for Massachusetts\n"
           "National Weather Service Boston/Norton MA\n" +
           when.toLatin1() + "\n\nMAZ015-" + expires.mid(6, 6) +
           "-\nSuffolk-\nIncluding the city of Boston\n" + when.toLatin1() + "\n\n" + today +
           ".TONIGHT...Mostly clear. Lows around 18. West winds around 10 mph.\n." + tomorrow +
           "...Sunny. Highs in the lower 30s. Northwest winds 10 to 15 mph.\n\n$$\n";
}

QImage SampleUpstream::radarFrame(int frame, const QDateTime& nowUtc)
{
    const int w = kLoopSize.width();
    const int h = kLoopSize.height();
    QImage image(kLoopSize, QImage::Format_RGB32);
    image.fill(kLand);
    QPainter painter(&image);

    // County lines on a grid that leaves the middle clear, and the Red River in the north.
    painter.setPen(QColor(110, 110, 110));
    for (int x = 20; x < w; x += 80)
        painter.drawLine(x, 24, x, h - 30);
    for (int y = 75; y < h - 30; y += 80)
        painter.drawLine(0, y, w, y);
    painter.setPen(QPen(QColor(220, 220, 220), 2));
    painter.drawPolyline(QPolygon({QPoint(0, 62), QPoint(90, 54), QPoint(170, 70), QPoint(260, 48),
                                   QPoint(380, 66), QPoint(470, 44), QPoint(600, 60)}));

    // Towns around the site, away from the middle.
    struct Town
    {
        const char* name;
        QPoint at;
    };
    const std::array<Town, 6> towns{{{"Wichita Falls", {70, 100}},
                                     {"Sherman", {380, 95}},
                                     {"Tyler", {520, 330}},
                                     {"Waco", {330, 470}},
                                     {"Abilene", {30, 380}},
                                     {"Stephenville", {150, 420}}}};
    painter.setFont(plainFont(11));
    for (const Town& town : towns) {
        painter.fillRect(QRect(town.at - QPoint(2, 2), QSize(4, 4)), QColor(255, 255, 255));
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(town.at + QPoint(6, 4), QString::fromLatin1(town.name));
    }

    // A line of storms in the west and a cluster in the south-east, both moving east-northeast.
    const QPointF step(9.0 * frame, -3.0 * frame);
    for (int i = 0; i < 5; ++i)
        drawCell(painter, QPointF(120 + 14 * i, 150 + 55 * i) + step, 28, 20 + 3 * i, 4 + i % 5);
    drawCell(painter, QPointF(420, 430) + step, 46, 30, 6);
    drawCell(painter, QPointF(470, 400) + step, 22, 16, 8);

    // The title bar with the frame's time, and the legend.
    painter.fillRect(0, 0, w, 22, QColor(0, 0, 0));
    painter.setPen(QColor(255, 255, 255));
    painter.setFont(plainFont(13, true));
    painter.drawText(QRect(6, 0, w - 12, 22), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("KFWS - Dallas/Ft. Worth, TX   Base Reflectivity"));
    painter.drawText(QRect(6, 0, w - 12, 22), Qt::AlignVCenter | Qt::AlignRight,
                     frameTime(frame, nowUtc).toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'")));
    painter.fillRect(0, h - 24, w, 24, QColor(0, 0, 0));
    painter.setFont(plainFont(10));
    for (std::size_t i = 0; i < kReflectivity.size(); ++i) {
        const QRect box(8 + int(i) * 58, h - 19, 24, 14);
        painter.fillRect(box, QColor(kReflectivity[i].colour));
        painter.drawText(box.topRight() + QPoint(4, 11), QString::number(kReflectivity[i].dbz));
    }
    painter.drawText(QRect(0, h - 24, w - 6, 24), Qt::AlignVCenter | Qt::AlignRight,
                     QStringLiteral("dBZ"));
    return image;
}

QByteArray SampleUpstream::radarLoop(const QDateTime& nowUtc)
{
    std::vector<QImage> frames;
    PaletteQuantiser quantiser;
    for (int f = 0; f < kLoopFrames; ++f) {
        frames.push_back(radarFrame(f, nowUtc));
        quantiser.add(frames.back());
    }
    quantiser.choosePalette();
    std::vector<GifEncoder::Frame> loop;
    for (const QImage& image : frames) {
        GifEncoder::Frame frame;
        frame.picture = quantiser.map(image, false);
        frame.delayCs = 50;
        loop.push_back(std::move(frame));
    }
    // RIDGE holds the latest frame longer.
    loop.back().delayCs = 200;
    return GifEncoder::animation(loop, quantiser.palette());
}

QByteArray SampleUpstream::precipitationMap(const QDateTime& nowUtc)
{
    const int w = kMapSize.width();
    const int h = kMapSize.height();
    QImage image(kMapSize, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A rough outline of the lower 48, filled with smooth bands from dry to wet.
    QPainterPath us;
    us.addPolygon(
        QPolygonF({QPointF(60, 110), QPointF(250, 120), QPointF(420, 125), QPointF(520, 150),
                   QPointF(600, 110), QPointF(680, 90), QPointF(660, 200), QPointF(590, 300),
                   QPointF(600, 420), QPointF(560, 390), QPointF(470, 380), QPointF(400, 440),
                   QPointF(330, 400), QPointF(240, 360), QPointF(130, 330), QPointF(70, 260),
                   QPointF(60, 110)}));
    QLinearGradient wetness(0, 0, w, 0);
    wetness.setColorAt(0.0, QColor(150, 70, 20));
    wetness.setColorAt(0.35, QColor(250, 220, 120));
    wetness.setColorAt(0.6, QColor(120, 200, 120));
    wetness.setColorAt(1.0, QColor(30, 90, 200));
    painter.fillPath(us, wetness);
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    painter.drawPath(us);

    painter.setPen(QColor(0, 0, 0));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(18);
    title.setBold(true);
    painter.setFont(title);
    const QDate today = nowUtc.toUTC().date();
    painter.drawText(QRect(0, 10, w, 30), Qt::AlignCenter,
                     QStringLiteral("Percent of Normal Precipitation (%)"));
    title.setPixelSize(14);
    title.setBold(false);
    painter.setFont(title);
    painter.drawText(QRect(0, 40, w, 24), Qt::AlignCenter,
                     today.addDays(-30).toString(QStringLiteral("M/d/yyyy")) +
                         QStringLiteral(" - ") + today.toString(QStringLiteral("M/d/yyyy")));
    painter.fillRect(QRect(160, h - 50, 400, 18), wetness);
    painter.drawText(QRect(110, h - 30, 100, 20), Qt::AlignCenter, QStringLiteral("< 25"));
    painter.drawText(QRect(510, h - 30, 100, 20), Qt::AlignCenter, QStringLiteral("> 200"));
    title.setPixelSize(11);
    painter.setFont(title);
    painter.drawText(QRect(8, 4, w - 16, 16), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Sample map for offline runs"));
    return pngOf(image);
}

std::vector<SampleUpstream::File> SampleUpstream::write(const QString& folder,
                                                        const QDateTime& nowUtc)
{
    const std::vector<std::pair<File, QByteArray>> files{
        {{QString::fromLatin1(kObservationPath),
          QStringLiteral("Boston Logan (KBOS) observation of ") +
              lastObservationTime(nowUtc).toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))},
         observation(nowUtc)},
        {{QString::fromLatin1(kForecastPath), QStringLiteral("Boston's zone forecast (MAZ015)")},
         zoneForecast(nowUtc)},
        {{QString::fromLatin1(kLoopPath),
          QStringLiteral("North Texas radar loop (KFWS), %1 frames of %2 x %3, GIF")
              .arg(kLoopFrames)
              .arg(kLoopSize.width())
              .arg(kLoopSize.height())},
         radarLoop(nowUtc)},
        {{QString::fromLatin1(kMapPath), QStringLiteral("monthly precipitation map, %1 x %2, PNG")
                                             .arg(kMapSize.width())
                                             .arg(kMapSize.height())},
         precipitationMap(nowUtc)},
    };
    std::vector<File> written;
    for (const auto& [file, bytes] : files) {
        const QString path = QDir(folder).filePath(file.path);
        QFile out(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !out.open(QIODevice::WriteOnly) ||
            out.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write " + path.toStdString());
        written.push_back(file);
    }
    return written;
}

} // namespace cirrolux::fakenoaa
