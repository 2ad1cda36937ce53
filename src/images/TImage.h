#pragma once

#include <QImage>
#include <QWidget>

#include <string>

namespace cirrolux {

// The picture control of the image window: decodes a JPEG file through JpegDecoder, drawing the
// rows as they arrive, and sizes itself to the picture. A picture larger than the screen is
// decoded at the scale that fits it.
class TImage : public QWidget
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    // Throws DecoderError (the control is then empty).
    void LoadFromFile(const std::string& fileName);
    void Clear();
    const QImage& Picture() const { return m_picture; }
    // How many times the control was painted during the last load before it ended.
    int ProgressPaints() const { return m_progressPaints; }
    // The largest size decoded without scaling; default: the screen's available size.
    void SetFitSize(QSize size) { m_fit = size; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    const QImage* m_partial = nullptr; // the picture being decoded, while a load runs
    int m_partialRows = 0;             // its rows decoded so far
    QSize m_fit;
    int m_progressPaints = 0;
};

} // namespace cirrolux
