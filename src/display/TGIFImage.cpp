#include "display/TGIFImage.h"

#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace cirrolux {

namespace {
// Browsers show frames that ask for (almost) no delay at 100 ms; a loop made for them expects it.
constexpr int MinimumDelayMs = 20;
constexpr int ShortDelayMs = 100;
} // namespace

TGIFImage::TGIFImage(QWidget* parent) : QWidget(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TGIFImage::advance);
}

TGIFImage::~TGIFImage() = default;

void TGIFImage::Clear()
{
    m_timer.stop();
    m_reader.reset();
    m_fileName.clear();
    m_current = QImage();
    m_first = QImage();
    m_currentIndex = 0;
    m_frameCount = 0;
    m_loopCount = 0;
    m_loopsDone = 0;
    m_decodedFrames = 0;
    update();
}

bool TGIFImage::LoadFromFile(const QString& fileName)
{
    Clear();
    m_fileName = fileName;
    if (!openReader() || !readNextFrame()) {
        Clear();
        return false;
    }
    m_first = m_current;
    m_frameCount = std::max(1, m_reader->imageCount());
    m_loopCount = m_reader->loopCount();
    if (m_autoSize)
        resize(m_current.size());
    update();
    scheduleNext();
    return true;
}

bool TGIFImage::openReader()
{
    m_reader = std::make_unique<QImageReader>(m_fileName);
    if (!m_reader->canRead()) {
        m_reader.reset();
        return false;
    }
    m_currentIndex = 0;
    return true;
}

bool TGIFImage::readNextFrame()
{
    if (!m_reader)
        return false;
    QImage frame;
    if (!m_reader->read(&frame) || frame.isNull())
        return false;
    m_current = std::move(frame);
    m_nextDelay = m_reader->nextImageDelay();
    ++m_currentIndex;
    ++m_decodedFrames;
    return true;
}

bool TGIFImage::rewind()
{
    // A GIF's frames build on each other and its reader only goes forward: start the file again.
    return openReader() && readNextFrame();
}

void TGIFImage::SetAnimate(bool animate)
{
    m_animate = animate;
    if (animate)
        scheduleNext();
    else
        m_timer.stop();
}

void TGIFImage::SetCurrentFrame(int frame)
{
    if (Empty())
        return;
    frame = std::clamp(frame, 1, m_frameCount);
    if (frame < m_currentIndex && !rewind()) {
        Clear();
        return;
    }
    while (m_currentIndex < frame) {
        if (!readNextFrame()) {
            // The file had fewer readable frames than it announced.
            m_frameCount = m_currentIndex;
            break;
        }
    }
    update();
    scheduleNext();
}

void TGIFImage::scheduleNext()
{
    if (!m_animate || Empty() || m_frameCount < 2)
        return;
    m_timer.start(m_nextDelay < MinimumDelayMs ? ShortDelayMs : m_nextDelay);
}

void TGIFImage::advance()
{
    if (!m_animate || Empty())
        return;
    if (m_currentIndex >= m_frameCount || !readNextFrame()) {
        const bool again = m_loop || m_loopCount < 0 || m_loopsDone < m_loopCount;
        if (!again)
            return;
        ++m_loopsDone;
        if (!rewind()) {
            Clear();
            return;
        }
    }
    update();
    scheduleNext();
}

void TGIFImage::SetCenter(bool center)
{
    m_center = center;
    update();
}

void TGIFImage::SetOpaqueColor(const QColor& colour)
{
    m_opaque = colour;
    update();
}

QSize TGIFImage::sizeHint() const
{
    return m_current.isNull() ? QWidget::sizeHint() : m_current.size();
}

void TGIFImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_opaque.isValid())
        painter.fillRect(event->rect(), m_opaque);
    if (m_current.isNull())
        return;
    QPoint at(0, 0);
    if (m_center)
        at = QPoint((width() - m_current.width()) / 2, (height() - m_current.height()) / 2);
    painter.drawImage(at, m_current);
}

} // namespace cirrolux
