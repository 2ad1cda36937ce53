#include "images/TImage.h"

#include "images/JpegDecoder.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace cirrolux {

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::Clear()
{
    m_picture = QImage();
    update();
}

void TImage::LoadFromFile(const std::string& fileName)
{
    Clear();
    m_progressPaints = 0;
    JpegDecoder::Options options;
    options.fit = m_fit;
    if (options.fit.isEmpty()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            options.fit = screen->availableSize();
    }
    int painted = 0;
    options.progress = [this, &painted](const QImage& image, int rowsDone) {
        if (size() != image.size())
            resize(image.size());
        m_partial = &image;
        m_partialRows = rowsDone;
        repaint(0, painted, width(), rowsDone - painted);
        m_partial = nullptr;
        painted = rowsDone;
        ++m_progressPaints;
    };
    // Paint every 64 rows, so the top of a large camera picture shows well before its end.
    options.progressRows = 64;
    try {
        m_picture = JpegDecoder::decodeFile(fileName, options);
    } catch (...) {
        m_partial = nullptr;
        Clear();
        throw;
    }
    resize(m_picture.size());
    update();
}

void TImage::paintEvent(QPaintEvent* event)
{
    const QImage& shown = m_partial ? *m_partial : m_picture;
    if (shown.isNull())
        return;
    // While decoding, the rows below those done hold no picture yet.
    const QRect area =
        m_partial ? event->rect() & QRect(0, 0, shown.width(), m_partialRows) : event->rect();
    if (area.isEmpty())
        return;
    QPainter painter(this);
    painter.drawImage(area.topLeft(), shown, area);
}

} // namespace cirrolux
