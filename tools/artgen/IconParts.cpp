#include "IconParts.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace cirrolux::artgen {

const Palette& IconPalette()
{
    static const Palette palette = {
        {'B', QColor(66, 138, 226)},  {'b', QColor(104, 166, 240)}, // day sky
        {'N', QColor(20, 28, 68)},    {'n', QColor(34, 46, 98)},    // night sky
        {'S', QColor(140, 150, 164)}, {'s', QColor(158, 167, 180)}, // grey sky
        {'Y', QColor(255, 210, 30)},  {'H', QColor(255, 244, 150)}, // sun
        {'O', QColor(232, 140, 16)},  {'y', QColor(255, 176, 0)},   // sun rim, rays
        {'W', QColor(255, 255, 255)}, {'w', QColor(204, 214, 230)}, // white cloud
        {'o', QColor(112, 124, 146)},                               // its outline
        {'G', QColor(168, 174, 184)}, {'g', QColor(132, 138, 150)}, // grey cloud
        {'K', QColor(72, 76, 88)},                                  // its outline
        {'D', QColor(98, 104, 118)},  {'d', QColor(74, 78, 90)},    // dark cloud
        {'k', QColor(38, 40, 48)},                                  // its outline
        {'L', QColor(214, 218, 228)}, {'l', QColor(168, 174, 188)}, // cloud at night
        {'R', QColor(36, 110, 236)},  {'r', QColor(120, 180, 255)}, // rain, drizzle
        {'Z', QColor(255, 222, 40)},  {'h', QColor(255, 250, 190)}, // bolt
        {'z', QColor(176, 96, 0)},                                  // its outline
        {'F', QColor(96, 166, 238)},  {'f', QColor(255, 255, 255)}, // snowflake
        {'T', QColor(255, 240, 170)},                               // star
        {'E', QColor(80, 84, 96)},    {'e', QColor(236, 240, 246)}, // thermometer glass
        {'M', QColor(226, 40, 28)},   {'m', QColor(226, 40, 28)},   // mercury, upper and lower
        {'V', QColor(96, 140, 196)},                                // wind
    };
    return palette;
}

// clang-format off
const Grid SunWithRays16 = {
    "................",
    ".......yy.......",
    "..y....yy....y..",
    "...y........y...",
    "......YYYY......",
    ".....YHHYYY.....",
    "....YHHYYYYY....",
    ".yy.YHYYYYYY.yy.",
    ".yy.YYYYYYYO.yy.",
    "....YYYYYYYO....",
    ".....YYYYYO.....",
    "......OOOO......",
    "...y........y...",
    "..y....yy....y..",
    ".......yy.......",
    "................",
};

const Grid SmallSun = {
    "....yy....",
    ".y......y.",
    "...HYYY...",
    "..HHYYYY..",
    "y.HYYYYY.y",
    "y.YYYYYO.y",
    "..YYYYOO..",
    "...OOOO...",
    ".y......y.",
    "....yy....",
};

const Grid BigCloud = {
    ".....WWWW.....",
    "....WWWWWW....",
    ".WW.WWWWWW.WW.",
    "WWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWW",
    ".WWWWWWWWWWww.",
    "..wwwwwwwwww..",
};

const Grid MediumCloud = {
    "....WWWW...",
    ".WW.WWWWWW.",
    "WWWWWWWWWWW",
    ".WWWWWWWWww",
    "..wwwwwwww.",
};

const Grid SmallCloud = {
    "...WWW..",
    ".WWWWWW.",
    "WWWWWWWw",
    ".wwwwww.",
};

const Grid Bolt = {
    "....hZZZZ.",
    "...hZZZZ..",
    "...hZZZ...",
    "..hZZZ....",
    "..hZZ.....",
    ".hZZZZZZZ.",
    ".ZZZZZZZ..",
    "....ZZZZ..",
    "....ZZZ...",
    "...ZZZ....",
    "...ZZ.....",
    "..ZZ......",
    "..Z.......",
    ".Z........",
};

const Grid Snowflake = {
    ".......F.......",
    ".....F.F.F.....",
    "......FFF......",
    "...F...F...F...",
    "....F..F..F....",
    ".F...F.F.F...F.",
    "..F...FfF...F..",
    "FFFFFFfffFFFFFF",
    "..F...FfF...F..",
    ".F...F.F.F...F.",
    "....F..F..F....",
    "...F...F...F...",
    "......FFF......",
    ".....F.F.F.....",
    ".......F.......",
};

const Grid Wind = {
    "................",
    "..........VVV...",
    ".........V...V..",
    ".............V..",
    "............V...",
    ".VVVVVVVVVVV....",
    "................",
    "...VVVVVVVVVVVV.",
    "................",
    ".VVVVVVVVVV.....",
    "...........V....",
    "............V...",
    "........V...V...",
    ".........VVV....",
    "................",
    "................",
};

const Grid Thermometer = {
    ".......EE.......",
    "......EeeE......",
    "......EeeE.EE...",
    "......EMME......",
    "......EMME.EE...",
    "......EMME......",
    "......EMME.EE...",
    "......EmmE......",
    "......EmmE.EE...",
    "......EmmE......",
    ".....EmmmmE.....",
    "....EmmmmmmE....",
    "....EmmmmmmE....",
    "....EmmmmmmE....",
    ".....EmmmmE.....",
    "......EEEE......",
};
// clang-format on

void PaintSky(QPainter& painter, double side, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(0, 0, 0, side);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(QRectF(0, 0, side, side), gradient);
}

void PaintSun(QPainter& painter, const QPointF& centre, double radius, double rayFrom, double rayTo,
              double rayWidth)
{
    painter.save();
    painter.setPen(QPen(QColor(255, 176, 0), rayWidth, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double angle = i * std::numbers::pi / 4;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + direction * rayFrom, centre + direction * rayTo);
    }
    QRadialGradient body(centre - QPointF(radius, radius) * 0.35, radius * 1.4);
    body.setColorAt(0.0, QColor(255, 246, 170));
    body.setColorAt(0.45, QColor(255, 212, 36));
    body.setColorAt(1.0, QColor(238, 146, 18));
    painter.setPen(QPen(QColor(214, 120, 10), std::max(0.6, radius * 0.08)));
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

QPainterPath CloudShape(const QRectF& box)
{
    // Drawn in a 28 x 14 design box: a flat base with three bumps, the middle one tallest.
    const double sx = box.width() / 28.0;
    const double sy = box.height() / 14.0;
    const auto circle = [&](double x, double y, double r) {
        QPainterPath path;
        path.addEllipse(QPointF(box.x() + x * sx, box.y() + y * sy), r * sx, r * sy);
        return path;
    };
    QPainterPath base;
    base.addRoundedRect(QRectF(box.x(), box.y() + 6 * sy, 28 * sx, 8 * sy), 4 * sx, 4 * sy);
    return base.united(circle(7.0, 7.5, 5.0))
        .united(circle(14.0, 6.5, 6.5))
        .united(circle(21.5, 8.0, 4.5))
        .simplified();
}

void PaintCloud(QPainter& painter, const QRectF& box, const QColor& top, const QColor& bottom,
                const QColor& outline, double outlineWidth)
{
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(0.55, top);
    fill.setColorAt(1.0, bottom);
    painter.save();
    if (outline.isValid() && outlineWidth > 0)
        painter.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(CloudShape(box));
    painter.restore();
}

void PaintDrop(QPainter& painter, const QPointF& tip, double length, const QColor& colour)
{
    // A tear: pointed at the top, round below.
    const double r = length * 0.3;
    const QPointF centre = tip + QPointF(0, length - r);
    QPainterPath drop;
    drop.moveTo(tip);
    drop.cubicTo(tip + QPointF(r * 0.4, length * 0.35), centre + QPointF(r, -r * 0.2),
                 centre + QPointF(r, 0));
    drop.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, -180);
    drop.cubicTo(centre + QPointF(-r, -r * 0.2), tip + QPointF(-r * 0.4, length * 0.35), tip);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(drop);
    painter.restore();
}

void PaintStar(QPainter& painter, const QPointF& centre, double size, const QColor& colour)
{
    QPainterPath star;
    star.moveTo(centre + QPointF(0, -size));
    star.quadTo(centre, centre + QPointF(size, 0));
    star.quadTo(centre, centre + QPointF(0, size));
    star.quadTo(centre, centre + QPointF(-size, 0));
    star.quadTo(centre, centre + QPointF(0, -size));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(star);
    painter.restore();
}

} // namespace cirrolux::artgen
