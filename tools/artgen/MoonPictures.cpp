#include "MoonPictures.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <string>

namespace cirrolux::artgen {

namespace {

constexpr int Side = 50;
const QPointF Centre(25.0, 25.0);
constexpr double Radius = 23.0;

const QColor Unlit(18, 30, 96);
const QColor Lit(252, 248, 222);

struct Mare
{
    QPointF at; // in disc radii from the centre
    double rx;
    double ry;
    int depth; // how much darker than the bright ground
};

// Rough places of the large maria as seen from the northern hemisphere, in disc radii.
constexpr Mare Maria[] = {
    {{-0.32, -0.36}, 0.24, 0.20, 44}, // Imbrium
    {{-0.62, 0.02}, 0.22, 0.42, 34},  // Procellarum
    {{0.16, -0.36}, 0.15, 0.14, 46},  // Serenitatis
    {{0.30, -0.08}, 0.18, 0.16, 42},  // Tranquillitatis
    {{0.64, -0.30}, 0.10, 0.09, 50},  // Crisium
    {{0.52, 0.18}, 0.12, 0.15, 36},   // Fecunditatis
    {{0.30, 0.28}, 0.10, 0.09, 30},   // Nectaris
    {{-0.16, 0.36}, 0.15, 0.12, 32},  // Nubium
    {{-0.05, -0.68}, 0.26, 0.06, 18}, // Frigoris
};

void PaintTexture(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    // Each mare is a few overlapping soft blobs, so that its edge is ragged and blurred rather
    // than a drawn circle.
    constexpr QPointF Lobes[] = {{0.0, 0.0}, {0.45, 0.3}, {-0.4, 0.35}, {0.1, -0.45}};
    constexpr double LobeSizes[] = {1.0, 0.6, 0.55, 0.5};
    for (const Mare& mare : Maria) {
        const QColor dark(Lit.red() - mare.depth, Lit.green() - mare.depth,
                          Lit.blue() - mare.depth * 6 / 5, 150);
        QColor edge = dark;
        edge.setAlpha(0);
        for (std::size_t lobe = 0; lobe < std::size(Lobes); ++lobe) {
            const double rx = mare.rx * Radius * LobeSizes[lobe];
            const double ry = mare.ry * Radius * LobeSizes[lobe];
            const QPointF at =
                Centre + mare.at * Radius +
                QPointF(Lobes[lobe].x() * mare.rx, Lobes[lobe].y() * mare.ry) * Radius;
            const double r = std::max(rx, ry);
            QRadialGradient gradient(at, r);
            gradient.setColorAt(0.0, dark);
            gradient.setColorAt(0.45, dark);
            gradient.setColorAt(1.0, edge);
            painter.save();
            painter.translate(at);
            painter.scale(rx / r, ry / r);
            painter.translate(-at);
            painter.setBrush(gradient);
            painter.drawEllipse(at, r, r);
            painter.restore();
        }
    }
    // Tycho: a small bright crater in the southern highlands.
    painter.setBrush(QColor(255, 255, 240));
    painter.drawEllipse(Centre + QPointF(-0.12, 0.72) * Radius, 1.2, 1.2);
    // Limb darkening: the edge of the disc is a little dimmer than the middle.
    QRadialGradient limb(Centre, Radius);
    limb.setColorAt(0.0, QColor(0, 0, 0, 0));
    limb.setColorAt(0.8, QColor(0, 0, 0, 0));
    limb.setColorAt(1.0, QColor(60, 50, 0, 40));
    painter.setBrush(limb);
    painter.drawEllipse(Centre, Radius, Radius);
}

} // namespace

QPainterPath LitPart(const QPointF& centre, double radius, double fraction, bool waxing)
{
    const QRectF disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Positive: the terminator bulges towards the lit limb (crescent); negative: away (gibbous).
    const double bulge = (1.0 - 2.0 * fraction) * radius;
    const QRectF terminator(centre.x() - std::abs(bulge), centre.y() - radius, 2 * std::abs(bulge),
                            2 * radius);
    QPainterPath path;
    path.moveTo(centre.x(), centre.y() - radius);
    path.arcTo(disc, 90, -180);                           // the right limb, top to bottom
    path.arcTo(terminator, -90, bulge >= 0 ? 180 : -180); // back up along the terminator
    path.closeSubpath();
    if (waxing)
        return path;
    QTransform mirror;
    mirror.translate(2 * centre.x(), 0);
    mirror.scale(-1, 1);
    return mirror.map(path);
}

QImage MoonPicture(double fraction, bool waxing)
{
    QImage image(Side, Side, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    // The lit ground with its maria is drawn once and used as the brush of the lit part, so
    // the terminator keeps a smooth edge (clipping would not be antialiased).
    QImage surface(Side, Side, QImage::Format_RGB32);
    surface.fill(Lit);
    {
        QPainter ground(&surface);
        ground.setRenderHint(QPainter::Antialiasing);
        PaintTexture(ground);
    }

    QPainterPath disc;
    disc.addEllipse(Centre, Radius, Radius);
    if (fraction >= 1.0) {
        painter.setBrush(QBrush(surface));
        painter.drawPath(disc);
        return image;
    }
    painter.setBrush(Unlit);
    painter.drawPath(disc);
    if (fraction > 0.0) {
        painter.setBrush(QBrush(surface));
        painter.drawPath(LitPart(Centre, Radius, fraction, waxing));
    }
    return image;
}

void AddMoonPictures(PictureList& pictures)
{
    pictures.push_back({"GIFImagenew", MoonPicture(0.0, true)});
    pictures.push_back({"GIFImageFull", MoonPicture(1.0, true)});
    for (const bool waxing : {true, false}) {
        for (int tenth = 1; tenth <= 9; ++tenth) {
            const std::string name =
                std::string(waxing ? "GIFImagel" : "GIFImage") + std::to_string(tenth) + "0x";
            pictures.push_back({name, MoonPicture((tenth + 0.5) / 10.0, waxing)});
        }
    }
}

} // namespace cirrolux::artgen
