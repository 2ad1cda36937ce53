#include "ContactSheet.h"

#include <QPainter>

#include <algorithm>

namespace cirrolux::artgen {

namespace {

const QImage* Find(const PictureList& pictures, const std::string& name, int width)
{
    for (const Picture& picture : pictures)
        if (picture.name == name && picture.image.width() == width)
            return &picture.image;
    return nullptr;
}

class Sheet
{
public:
    explicit Sheet(QPainter& painter) : m_painter(painter) {}

    // Places a picture on the current row, scaled by `scale` and repeated `repeat` x `repeat`.
    void put(const QImage& image, int scale, int repeat = 1, const QColor& ground = QColor())
    {
        const QSize size = image.size() * scale * repeat;
        if (m_x + size.width() > Width)
            newRow();
        const QRect area(QPoint(m_x, m_y), size);
        if (ground.isValid())
            m_painter.fillRect(area.adjusted(-4, -4, 4, 4), ground);
        for (int ty = 0; ty < repeat; ++ty)
            for (int tx = 0; tx < repeat; ++tx)
                m_painter.drawImage(
                    QRect(area.topLeft() + QPoint(tx * image.width(), ty * image.height()) * scale,
                          image.size() * scale),
                    image);
        m_x += size.width() + Gap;
        m_rowHeight = std::max(m_rowHeight, size.height());
    }

    void newRow()
    {
        m_x = Gap;
        m_y += m_rowHeight + Gap;
        m_rowHeight = 0;
    }

    int height() const { return m_y + m_rowHeight + Gap; }

    static constexpr int Width = 1600;
    static constexpr int Gap = 12;

private:
    QPainter& m_painter;
    int m_x = Gap;
    int m_y = Gap;
    int m_rowHeight = 0;
};

void Lay(const PictureList& pictures, Sheet& sheet)
{
    const auto at = [&](const std::string& name, int width) {
        const QImage* image = Find(pictures, name, width);
        return image ? *image : QImage(width, width, QImage::Format_RGB32);
    };
    sheet.put(at("GIFbkforest1", 64), 2, 2);
    sheet.put(at("GIFbkSky1", 200), 1, 2);
    sheet.put(at("GIFbkwater1", 180), 1, 2);
    sheet.put(at("GIFbkmahogany1", 150), 1, 2);
    sheet.newRow();
    sheet.put(at("GIFbkglobe1", 228), 3);
    for (const int size : {256, 64, 48, 32, 16})
        sheet.put(at("cirrolux", size), 1, 1, QColor(90, 90, 90));
    sheet.put(at("cirrolux", 16), 8, 1, QColor(200, 200, 200));
    sheet.newRow();
    for (const Picture& picture : pictures)
        if (picture.name.starts_with("GIFImage"))
            sheet.put(picture.image, 3);
    sheet.newRow();
    for (const Picture& picture : pictures)
        if (picture.name.starts_with("IconList") && picture.image.width() == 16)
            sheet.put(picture.image, 6, 1, QColor(200, 200, 200));
    sheet.newRow();
    for (const Picture& picture : pictures)
        if (picture.name.starts_with("IconList") && picture.image.width() == 32)
            sheet.put(picture.image, 3, 1, QColor(60, 60, 60));
    sheet.newRow();
    for (const Picture& picture : pictures)
        if (picture.name.starts_with("IconList"))
            sheet.put(picture.image, 1, 1, QColor(200, 200, 200));
}

} // namespace

QImage ContactSheet(const PictureList& pictures)
{
    // Lay out once to measure, then again to draw.
    QImage scratch(Sheet::Width, 4000, QImage::Format_RGB32);
    int height = 0;
    {
        QPainter painter(&scratch);
        Sheet sheet(painter);
        Lay(pictures, sheet);
        height = sheet.height();
    }
    QImage image(Sheet::Width, height, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    Sheet sheet(painter);
    Lay(pictures, sheet);
    return image;
}

} // namespace cirrolux::artgen
