#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

class QImageReader;

namespace cirrolux {

// The GIF display control: shows one GIF (or any picture Qt reads), still or animated.
//
// Frames are decoded one at a time from the file as the animation advances, so memory stays at
// two frames (the current and the first) whatever the length of the loop. A file that is
// missing, empty or cannot be decoded leaves the control empty; the control never raises an
// error or shows a message of its own.
//
// Show/hide, place and size are those of QWidget. With AutoSize on (the default) loading a file
// resizes the control to the image; a failed load keeps its current size.
class TGIFImage : public QWidget
{
    Q_OBJECT

public:
    explicit TGIFImage(QWidget* parent = nullptr);
    ~TGIFImage() override;

    // Drops every frame, the first-frame bitmap and the open file; stops the animation timer
    // but keeps the Animate choice.
    void Clear();
    // Opens `fileName` and shows its first frame. Returns false (and leaves the control empty)
    // when the file cannot be read as a picture.
    bool LoadFromFile(const QString& fileName);
    bool Empty() const { return m_current.isNull(); }

    bool Animate() const { return m_animate; }
    // Animation on runs the frames at their own delays; off holds the current frame.
    void SetAnimate(bool animate);

    // Frames are numbered from 1; 0 when empty.
    int CurrentFrame() const { return m_currentIndex; }
    // Moves to frame `frame` (clamped to the frames of the file). Going back reopens the file,
    // since frames of a GIF can only be decoded in order.
    void SetCurrentFrame(int frame);
    // Number of frames in the file; 0 when empty.
    int FrameCount() const { return m_frameCount; }

    // The first frame as decoded; a null image when empty.
    QImage FirstFrameBitmap() const { return m_first; }
    // The frame on show now.
    const QImage& CurrentBitmap() const { return m_current; }

    // Size of the control follows the loaded image (default on).
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }
    // Draw the image in the middle of the control instead of at the top-left corner.
    bool Center() const { return m_center; }
    void SetCenter(bool center);
    // Start again from frame 1 after the last frame even when the file asks to play once.
    // Off (default): the file's own loop count decides, and a GIF without a loop count plays once.
    bool Loop() const { return m_loop; }
    void SetLoop(bool loop) { m_loop = loop; }
    // Fill the control with `colour` under the image; without it the parent shows through.
    void SetOpaqueColor(const QColor& colour);

    // How many frames have been decoded since the last load (for tests and benchmarks).
    int DecodedFrames() const { return m_decodedFrames; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool openReader();
    bool readNextFrame();
    bool rewind();
    void advance();
    void scheduleNext();

    QString m_fileName;
    std::unique_ptr<QImageReader> m_reader;
    QImage m_current;
    QImage m_first;
    QTimer m_timer;
    QColor m_opaque;
    int m_currentIndex = 0;
    int m_frameCount = 0;
    int m_loopCount = 0;
    int m_loopsDone = 0;
    int m_nextDelay = 0;
    int m_decodedFrames = 0;
    bool m_animate = false;
    bool m_autoSize = true;
    bool m_center = false;
    bool m_loop = false;
};

} // namespace cirrolux
