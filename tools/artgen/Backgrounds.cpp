#include "Backgrounds.h"

#include "Rng.h"
#include "drawing/WorldOutlines.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <numbers>

namespace cirrolux::artgen {

using drawing::InlandWaters;
using drawing::LandOutlines;
using drawing::Ring;

namespace {

constexpr double Pi = std::numbers::pi;

QColor Mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor WithAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// Draws something once per neighbouring copy of the tile it overlaps, so that whatever crosses
// an edge comes back in at the opposite edge.
void DrawWrapped(QPainter& painter, const QSize& tile, const QRectF& bounds,
                 const std::function<void(QPainter&)>& draw)
{
    const QRectF area(QPointF(0, 0), QSizeF(tile));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPointF shift(dx * tile.width(), dy * tile.height());
            if (!bounds.translated(shift).intersects(area))
                continue;
            painter.save();
            painter.translate(shift);
            draw(painter);
            painter.restore();
        }
    }
}

QPainterPath Leaf(double length, double width)
{
    QPainterPath leaf;
    leaf.moveTo(-length / 2, 0);
    leaf.quadTo(0, -width, length / 2, 0);
    leaf.quadTo(0, width, -length / 2, 0);
    return leaf;
}

// A soft round blob: the building block of clouds and of gentle colour variation.
void Puff(QPainter& painter, const QPointF& centre, double radius, const QColor& colour)
{
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0.0, colour);
    gradient.setColorAt(0.55, WithAlpha(colour, colour.alpha() * 3 / 4));
    gradient.setColorAt(1.0, WithAlpha(colour, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
}

} // namespace

QImage ForestTile()
{
    const QSize size(64, 64);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(10, 34, 14));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Rng rng(0x0F02E57);

    // Deep leaves first, sunlit ones last: the layering is what reads as foliage.
    struct Layer
    {
        int count;
        QColor dark;
        QColor light;
        double length;
    };
    const Layer layers[] = {
        {150, QColor(14, 46, 18), QColor(26, 68, 26), 10.0},
        {120, QColor(24, 70, 28), QColor(44, 100, 38), 8.5},
        {70, QColor(44, 104, 40), QColor(86, 146, 58), 7.0},
        {18, QColor(96, 156, 64), QColor(130, 180, 80), 5.0},
    };
    for (const Layer& layer : layers) {
        for (int i = 0; i < layer.count; ++i) {
            const QPointF centre(rng.uniform(0, size.width()), rng.uniform(0, size.height()));
            const double angle = rng.uniform(0, 360);
            const double length = layer.length * rng.uniform(0.7, 1.3);
            const double width = length * rng.uniform(0.32, 0.45);
            const QColor colour = Mix(layer.dark, layer.light, rng.uniform(0, 1));
            const QPainterPath leaf = Leaf(length, width);
            const double reach = length / 2 + 2;
            const QRectF bounds(centre.x() - reach, centre.y() - reach, 2 * reach, 2 * reach);
            DrawWrapped(painter, size, bounds, [&](QPainter& p) {
                p.save();
                p.translate(centre);
                p.rotate(angle);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0, 10, 0, 70));
                p.drawPath(leaf.translated(0.8, 1.0));
                p.setBrush(colour);
                p.drawPath(leaf);
                p.setPen(QPen(colour.darker(130), 0.5));
                p.drawLine(QPointF(-length / 2 + 1, 0), QPointF(length / 2 - 1, 0));
                p.restore();
            });
        }
    }
    return image;
}

QImage SkyTile()
{
    const QSize size(200, 200);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(124, 182, 234));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Rng rng(0x5C1E5);

    // Faint large patches keep the blue from looking flat.
    for (int i = 0; i < 10; ++i) {
        const QPointF centre(rng.uniform(0, 200), rng.uniform(0, 200));
        const double radius = rng.uniform(40, 80);
        const QColor colour = i % 2 ? QColor(150, 200, 244, 60) : QColor(100, 160, 222, 50);
        const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        DrawWrapped(painter, size, bounds, [&](QPainter& p) { Puff(p, centre, radius, colour); });
    }

    // Fair-weather clouds: a row of puffs with a flat, slightly grey base.
    const QPointF cloudCentres[] = {{45, 42}, {160, 84}, {70, 140}, {175, 178}, {118, 20}};
    const double cloudWidths[] = {96, 76, 110, 54, 44};
    for (std::size_t c = 0; c < std::size(cloudCentres); ++c) {
        const QPointF base = cloudCentres[c];
        const double width = cloudWidths[c];
        const QRectF bounds(base.x() - width, base.y() - width / 2, 2 * width, width);
        const int puffs = static_cast<int>(width / 2.2);
        struct Cloudlet
        {
            QPointF centre;
            double radius;
        };
        std::vector<Cloudlet> cloudlets;
        for (int i = 0; i < puffs; ++i) {
            const double along = rng.uniform(-0.5, 0.5);
            // Taller in the middle, flat underneath.
            const double height = (1.0 - 4.0 * along * along) * width * 0.20;
            const QPointF centre(base.x() + along * width,
                                 base.y() - rng.uniform(0, height) + width * 0.04);
            const double radius = width * rng.uniform(0.09, 0.16) * (1.0 - 1.6 * along * along);
            cloudlets.push_back({centre, radius});
        }
        DrawWrapped(painter, size, bounds, [&](QPainter& p) {
            for (const Cloudlet& cloudlet : cloudlets)
                Puff(p, cloudlet.centre + QPointF(0, cloudlet.radius * 0.35), cloudlet.radius * 1.05,
                     QColor(176, 196, 220, 150));
            for (const Cloudlet& cloudlet : cloudlets)
                Puff(p, cloudlet.centre, cloudlet.radius, QColor(255, 255, 255, 215));
        });
    }
    return image;
}

QImage WaterTile()
{
    const QSize size(180, 120);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(158, 202, 238));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Rng rng(0xD2095);

    for (int i = 0; i < 8; ++i) {
        const QPointF centre(rng.uniform(0, 180), rng.uniform(0, 120));
        const double radius = rng.uniform(30, 60);
        const QColor colour = i % 2 ? QColor(190, 224, 248, 70) : QColor(140, 186, 228, 60);
        const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        DrawWrapped(painter, size, bounds, [&](QPainter& p) { Puff(p, centre, radius, colour); });
    }

    // Drops placed without touching each other (distances measured across the wrap).
    struct Drop
    {
        QPointF centre;
        double rx;
        double ry;
    };
    std::vector<Drop> drops;
    for (int attempt = 0; attempt < 4000 && drops.size() < 40; ++attempt) {
        const double pick = rng.uniform(0, 1);
        const double radius = pick < 0.45   ? rng.uniform(2.5, 4.5)
                              : pick < 0.80 ? rng.uniform(4.5, 8.0)
                                            : rng.uniform(8.0, 13.0);
        const QPointF centre(rng.uniform(0, 180), rng.uniform(0, 120));
        bool clear = true;
        for (const Drop& other : drops) {
            double dx = std::abs(other.centre.x() - centre.x());
            double dy = std::abs(other.centre.y() - centre.y());
            dx = std::min(dx, 180 - dx);
            dy = std::min(dy, 120 - dy);
            if (std::hypot(dx, dy) < radius + std::max(other.rx, other.ry) + 2.5) {
                clear = false;
                break;
            }
        }
        if (clear)
            drops.push_back({centre, radius, radius * rng.uniform(0.92, 1.15)});
    }
    for (const Drop& drop : drops) {
        const QRectF bounds(drop.centre.x() - drop.rx - 3, drop.centre.y() - drop.ry - 3,
                            2 * drop.rx + 6, 2 * drop.ry + 6);
        DrawWrapped(painter, size, bounds, [&](QPainter& p) {
            const QPointF c = drop.centre;
            p.setPen(Qt::NoPen);
            // Shadow cast down-right on the surface.
            p.setBrush(QColor(60, 104, 150, 70));
            p.drawEllipse(c + QPointF(drop.rx * 0.22, drop.ry * 0.30), drop.rx, drop.ry);
            // A drop is a lens: dark where it bends the light away (top left), bright where it
            // gathers it (bottom right).
            QLinearGradient body(c - QPointF(drop.rx, drop.ry), c + QPointF(drop.rx, drop.ry));
            body.setColorAt(0.0, QColor(92, 140, 196));
            body.setColorAt(0.55, QColor(160, 204, 240));
            body.setColorAt(1.0, QColor(226, 244, 255));
            p.setBrush(body);
            p.setPen(QPen(QColor(72, 118, 170, 160), std::max(0.6, drop.rx * 0.08)));
            p.drawEllipse(c, drop.rx, drop.ry);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 235));
            p.drawEllipse(c + QPointF(-drop.rx * 0.38, -drop.ry * 0.42), drop.rx * 0.26,
                          drop.ry * 0.18);
        });
    }
    return image;
}

QImage MahoganyTile()
{
    const int side = 150;
    const QSize size(side, side);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(104, 30, 18));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Rng rng(0x3A4060);

    // Every wave has a whole number of periods across the tile, so the grain wraps. Each strand
    // follows the common wave a little more or less, so neighbouring lines drift together and
    // apart as real grain does.
    const double p1 = rng.uniform(0, 2 * Pi);
    const double p2 = rng.uniform(0, 2 * Pi);
    const auto wave = [&](double x, double amplitude) {
        return amplitude * (2.2 * std::sin(2 * Pi * x / side + p1) +
                            0.9 * std::sin(2 * Pi * 2 * x / side + p2));
    };
    const auto strand = [&](double y0, double amplitude, double localAmp, int localFreq,
                            double localPhase) {
        QPainterPath path;
        for (int x = -4; x <= side + 4; x += 2) {
            const double y = y0 + wave(x, amplitude) +
                             localAmp * std::sin(2 * Pi * localFreq * x / side + localPhase);
            if (x == -4)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        return path;
    };
    const auto drawStrand = [&](const QPainterPath& path, const QColor& colour, double width) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        for (int dy = -1; dy <= 1; ++dy)
            painter.drawPath(path.translated(0, dy * side));
    };

    // Broad soft bands: the ribbon figure of the wood.
    for (int i = 0; i < 10; ++i) {
        const double y0 = i * side / 10.0 + rng.uniform(-3, 3);
        const QColor colour = i % 2 ? QColor(156, 58, 34, 45) : QColor(52, 10, 6, 55);
        drawStrand(strand(y0, rng.uniform(0.8, 1.2), rng.uniform(0, 1.0), 2, rng.uniform(0, 6)),
                   colour, rng.uniform(10, 20));
    }
    // Fine grain lines, mostly dark.
    for (int i = 0; i < 110; ++i) {
        const double y0 = i * side / 110.0 + rng.uniform(-0.6, 0.6);
        const bool dark = rng.uniform(0, 1) < 0.7;
        const QColor colour = dark ? QColor(44, 8, 4, rng.between(50, 130))
                                   : QColor(160, 62, 36, rng.between(40, 90));
        drawStrand(strand(y0, rng.uniform(0.7, 1.3), rng.uniform(0, 0.5), rng.between(2, 4),
                          rng.uniform(0, 6)),
                   colour, dark ? rng.uniform(0.4, 1.2) : rng.uniform(0.4, 0.9));
    }
    // Pores and light flecks: short dashes along the grain.
    for (int i = 0; i < 220; ++i) {
        const double x = rng.uniform(0, side);
        const double y = rng.uniform(0, side);
        const bool fleck = i % 8 == 0;
        const double length = fleck ? rng.uniform(6, 14) : rng.uniform(1.5, 4.0);
        const double slope = (wave(x + 1, 1.0) - wave(x - 1, 1.0)) / 2;
        const QRectF bounds(x - 3, y - 3 - length, 6 + length, 6 + 2 * length);
        const QPen pen = fleck ? QPen(QColor(176, 76, 44, 50), rng.uniform(1.2, 2.4), Qt::SolidLine,
                                      Qt::RoundCap)
                               : QPen(QColor(30, 4, 2, 120), 0.7);
        DrawWrapped(painter, size, bounds, [&](QPainter& p) {
            p.setPen(pen);
            p.drawLine(QPointF(x, y), QPointF(x + length, y + slope * length));
        });
    }
    return image;
}

QImage WorldMap()
{
    const QSize size(228, 184);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Equirectangular: longitude -180..180 across, latitude 90..-90 down.
    const QTransform toImage(size.width() / 360.0, 0, 0, -size.height() / 180.0, size.width() / 2.0,
                             size.height() / 2.0);
    painter.setTransform(toImage);

    // Outlines are united one by one so that touching shapes (the Americas at Panama, Africa
    // and Asia at Suez) merge whatever the direction they were written in.
    QPainterPath land;
    for (const Ring& ring : LandOutlines()) {
        const QPolygonF polygon(ring.begin(), ring.end());
        // Shapes that cross the date line are written with longitudes past 180 and drawn
        // again one turn west; Antarctica's ends meet the copies of itself.
        for (const double shift : {-360.0, 0.0, 360.0}) {
            const QPolygonF moved = polygon.translated(shift, 0);
            if (moved.boundingRect().intersects(QRectF(-180, -90, 360, 180))) {
                QPainterPath part;
                part.addPolygon(moved);
                part.closeSubpath();
                land = land.united(part);
            }
        }
    }
    for (const Ring& ring : InlandWaters()) {
        QPainterPath part;
        part.addPolygon(QPolygonF(ring.begin(), ring.end()));
        part.closeSubpath();
        land = land.subtracted(part);
    }

    QLinearGradient shade(0, 90, 0, -90);
    shade.setColorAt(0.0, QColor(70, 170, 70));
    shade.setColorAt(0.5, QColor(24, 156, 36));
    shade.setColorAt(1.0, QColor(70, 170, 70));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawPath(land);
    QPen coast(QColor(120, 230, 110));
    coast.setCosmetic(true);
    coast.setWidthF(0.7);
    painter.strokePath(land, coast);

    QPen grid(QColor(110, 160, 190, 120));
    grid.setCosmetic(true);
    grid.setWidthF(1.0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.resetTransform();
    painter.setPen(grid);
    for (int lon = -150; lon <= 150; lon += 30) {
        const int x = qRound(toImage.map(QPointF(lon, 0)).x());
        painter.drawLine(x, 0, x, size.height() - 1);
    }
    for (int lat = -60; lat <= 60; lat += 30) {
        const int y = qRound(toImage.map(QPointF(0, lat)).y());
        painter.drawLine(0, y, size.width() - 1, y);
    }
    return image;
}

void AddBackgrounds(PictureList& pictures)
{
    const QImage forest = ForestTile();
    pictures.push_back({"GIFbkforest1", forest});
    pictures.push_back({"GIFbkgd1", forest});
    pictures.push_back({"GIFbkSky1", SkyTile()});
    pictures.push_back({"GIFbkwater1", WaterTile()});
    pictures.push_back({"GIFbkmahogany1", MahoganyTile()});
    pictures.push_back({"GIFbkglobe1", WorldMap()});
}

} // namespace cirrolux::artgen
