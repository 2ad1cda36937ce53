#include "TrayPictures.h"

#include "IconParts.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>
#include <numbers>
#include <string>

namespace cirrolux::artgen {

namespace {

QImage Blank(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Fill(QImage& image, char skyColour)
{
    image.fill(IconPalette().colour(skyColour));
}

const QColor Outline16 = QColor(112, 124, 146); // 'o'

void Rain16(QImage& image, std::initializer_list<QPoint> tops, int length)
{
    const Grid streak = length == 2 ? Grid{"R", "R"} : Grid{"r"};
    for (const QPoint& top : tops)
        Stamp(image, streak, top.x(), top.y(), IconPalette());
}

} // namespace

QImage TrayPicture16(int index)
{
    const Palette& palette = IconPalette();
    QImage image = Blank(16);
    switch (index) {
    case 0: // sun with a cloud and raindrops
        Stamp(image, SmallSun, 0, 0, palette);
        Outline(image, MediumCloud, 4, 6, Outline16);
        Stamp(image, MediumCloud, 4, 6, palette);
        Rain16(image, {{6, 12}, {12, 12}, {9, 14}}, 2);
        break;
    case 1: // sun behind a cloud on a grey sky
        Fill(image, 'S');
        Stamp(image, SmallSun, 6, 0, palette);
        Outline(image, BigCloud, 1, 8, palette.colour('o'));
        Stamp(image, BigCloud, 1, 8, palette);
        break;
    case 2: // lightning
        Outline(image, Bolt, 3, 1, palette.colour('z'));
        Stamp(image, Bolt, 3, 1, palette);
        break;
    case 3: // grey cloud
        Outline(image, BigCloud, 1, 5, palette.colour('K'));
        Stamp(image, BigCloud, 1, 5,
              palette.with({{'W', palette.colour('G')}, {'w', palette.colour('g')}}));
        break;
    case 4: // white cloud on a blue sky
        Fill(image, 'B');
        Stamp(image, BigCloud, 1, 5, palette);
        break;
    case 5: // dark cloud with drizzle
        Outline(image, BigCloud, 1, 2, palette.colour('k'));
        Stamp(image, BigCloud, 1, 2,
              palette.with({{'W', palette.colour('D')}, {'w', palette.colour('d')}}));
        Rain16(image, {{3, 11}, {8, 11}, {13, 11}, {5, 13}, {10, 13}, {3, 15}, {8, 15}, {13, 15}},
               1);
        break;
    case 6: // wind
        Stamp(image, Wind, 0, 0, palette);
        break;
    case 7: // hot
        Stamp(image, Thermometer, 0, 0, palette);
        break;
    case 8: // cold
        Stamp(image, Thermometer, 0, 0,
              palette.with({{'M', palette.colour('e')}, {'m', QColor(40, 120, 232)}}));
        break;
    case 9: // small cloud on a dark sky
        Fill(image, 'N');
        Stamp(image, Grid{"T"}, 3, 3, palette);
        Stamp(image, Grid{"T"}, 12, 2, palette);
        Stamp(image, Grid{"T"}, 2, 12, palette);
        Stamp(image, Grid{"T"}, 13, 13, palette);
        Stamp(image, SmallCloud, 4, 7,
              palette.with({{'W', palette.colour('L')}, {'w', palette.colour('l')}}));
        break;
    case 10: // snowflake
        Stamp(image, Snowflake, 0, 0, palette);
        break;
    case 11: // sun on a blue sky
        Fill(image, 'B');
        Stamp(image, SunWithRays16, 0, 0, palette);
        break;
    case 12: // cloud on a dark sky
        Fill(image, 'N');
        Stamp(image, BigCloud, 1, 5,
              palette.with({{'W', palette.colour('L')}, {'w', palette.colour('l')}}));
        break;
    default:
        return {};
    }
    return image;
}

QImage TrayPicture32(int index)
{
    QImage image = Blank(32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor white(255, 255, 255);
    const QColor whiteShade(198, 210, 228);
    const QColor outline(112, 124, 146);
    switch (index) {
    case 0:
        PaintSun(p, {10, 10}, 5.5, 8.0, 10.5, 1.6);
        PaintCloud(p, {7.5, 11.5, 23.5, 12}, white, whiteShade, outline, 1.2);
        for (const QPointF tip : {QPointF(12, 24.5), QPointF(24, 24.5), QPointF(18, 26.5)})
            PaintDrop(p, tip, 5.5, QColor(36, 110, 236));
        break;
    case 1:
        PaintSky(p, 32, QColor(150, 160, 174), QColor(128, 138, 152));
        PaintSun(p, {21, 10}, 6.0, 8.5, 11.0, 1.6);
        PaintCloud(p, {2.5, 15.5, 27, 14}, white, whiteShade, outline, 1.2);
        break;
    case 2: {
        const QPolygonF bolt({{13.5, 1.5},
                              {23.5, 1.5},
                              {18.5, 11.0},
                              {25.5, 11.0},
                              {9.5, 31.0},
                              {14.0, 17.0},
                              {7.0, 17.0}});
        QLinearGradient fill(8, 0, 26, 32);
        fill.setColorAt(0, QColor(255, 250, 190));
        fill.setColorAt(0.4, QColor(255, 222, 40));
        fill.setColorAt(1, QColor(250, 180, 0));
        p.setPen(QPen(QColor(176, 96, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(fill);
        p.drawPolygon(bolt);
        break;
    }
    case 3:
        PaintCloud(p, {2, 8.5, 28, 15}, QColor(180, 186, 196), QColor(132, 138, 150),
                   QColor(72, 76, 88), 1.4);
        break;
    case 4:
        PaintSky(p, 32, QColor(52, 122, 216), QColor(104, 168, 242));
        PaintCloud(p, {3, 9, 26, 13.5}, white, QColor(214, 224, 238), QColor(), 0);
        break;
    case 5: {
        PaintCloud(p, {2, 3.5, 28, 14.5}, QColor(112, 118, 132), QColor(72, 76, 88),
                   QColor(38, 40, 48), 1.4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(36, 110, 236));
        for (const QPointF dot :
             {QPointF(7, 22), QPointF(16, 22), QPointF(25, 22), QPointF(11.5, 26),
              QPointF(20.5, 26), QPointF(7, 30), QPointF(16, 30), QPointF(25, 30)})
            p.drawEllipse(dot, 1.2, 1.2);
        break;
    }
    case 6: {
        p.setPen(QPen(QColor(96, 140, 196), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath upper;
        upper.moveTo(3, 11);
        upper.lineTo(22, 11);
        upper.cubicTo(28, 11, 28, 3, 23, 4);
        upper.cubicTo(20, 4.5, 20, 8, 22, 8);
        p.drawPath(upper);
        p.drawLine(QPointF(7, 16), QPointF(29, 16));
        QPainterPath lower;
        lower.moveTo(3, 21);
        lower.lineTo(20, 21);
        lower.cubicTo(26, 21, 26, 29, 21, 28);
        lower.cubicTo(18, 27.5, 18, 24, 20, 24.5);
        p.drawPath(lower);
        break;
    }
    case 7:
    case 8: {
        const bool hot = index == 7;
        const QColor mercury = hot ? QColor(226, 40, 28) : QColor(40, 120, 232);
        QPainterPath glass;
        glass.addRoundedRect(QRectF(12.5, 1.5, 7, 22), 3.5, 3.5);
        glass.addEllipse(QPointF(16, 25), 6, 6);
        glass = glass.simplified();
        p.setPen(QPen(QColor(80, 84, 96), 1.4));
        p.setBrush(QColor(236, 240, 246));
        p.drawPath(glass);
        p.setPen(Qt::NoPen);
        p.setBrush(mercury);
        p.drawEllipse(QPointF(16, 25), 4.2, 4.2);
        const double top = hot ? 6.0 : 17.0;
        p.drawRoundedRect(QRectF(14.5, top, 3, 25 - top), 1.5, 1.5);
        p.setPen(QPen(QColor(80, 84, 96), 1.2, Qt::SolidLine, Qt::FlatCap));
        for (double y = 5.5; y < 21; y += 4)
            p.drawLine(QPointF(22.5, y), QPointF(25.5, y));
        break;
    }
    case 9:
        PaintSky(p, 32, QColor(14, 20, 52), QColor(34, 46, 98));
        for (const QPointF star :
             {QPointF(6.5, 6.5), QPointF(25, 5), QPointF(5, 25), QPointF(27, 27)})
            PaintStar(p, star, 2.0, QColor(255, 240, 170));
        PaintCloud(p, {8, 13, 17, 9}, QColor(220, 224, 232), QColor(164, 170, 186), QColor(), 0);
        break;
    case 10: {
        const QPointF centre(16, 16);
        p.setPen(QPen(QColor(96, 166, 238), 2.0, Qt::SolidLine, Qt::RoundCap));
        for (int arm = 0; arm < 8; ++arm) {
            const double angle = arm * std::numbers::pi / 4;
            const QPointF dir(std::cos(angle), std::sin(angle));
            const QPointF side(-dir.y(), dir.x());
            const double reach = arm % 2 ? 12.0 : 14.5;
            p.drawLine(centre, centre + dir * reach);
            if (arm % 2 == 0) {
                const QPointF fork = centre + dir * (reach - 4.5);
                p.drawLine(fork, fork + (dir + side) * 2.6);
                p.drawLine(fork, fork + (dir - side) * 2.6);
            }
        }
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(centre, 2.2, 2.2);
        break;
    }
    case 11:
        PaintSky(p, 32, QColor(52, 122, 216), QColor(104, 168, 242));
        PaintSun(p, {16, 16}, 7.5, 10.5, 14.0, 2.0);
        break;
    case 12:
        PaintSky(p, 32, QColor(14, 20, 52), QColor(34, 46, 98));
        PaintCloud(p, {3, 9, 26, 14}, QColor(218, 222, 232), QColor(160, 166, 182), QColor(), 0);
        break;
    default:
        return {};
    }
    return image;
}

QImage ApplicationIcon(int size)
{
    if (size == 16) {
        const Palette& palette = IconPalette();
        QImage image = Blank(16);
        Stamp(image, SmallSun, 6, 0, palette);
        Outline(image, BigCloud, 1, 8, palette.colour('o'));
        Stamp(image, BigCloud, 1, 8, palette);
        return image;
    }
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    PaintSun(p, {20.5, 11}, 7.0, 9.8, 13.0, 1.9);
    PaintCloud(p, {1.5, 13.5, 27, 15}, QColor(255, 255, 255), QColor(196, 208, 226),
               QColor(96, 110, 136), 1.2);
    return image;
}

void AddTrayPictures(PictureList& pictures)
{
    for (int index = 0; index < TrayPictureCount; ++index) {
        const std::string name = "IconList" + std::to_string(index);
        pictures.push_back({name, TrayPicture16(index)});
        pictures.push_back({name, TrayPicture32(index)});
    }
}

void AddApplicationIcon(PictureList& pictures)
{
    for (const int size : {256, 64, 48, 32, 16})
        pictures.push_back({"cirrolux", ApplicationIcon(size)});
}

} // namespace cirrolux::artgen
