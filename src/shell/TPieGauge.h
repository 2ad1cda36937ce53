#pragma once

#include <QColor>
#include <QWidget>

namespace cirrolux {

// A pie gauge: progress 0..100 as a filled slice of a circle in the fore colour.
class TPieGauge : public QWidget
{
    Q_OBJECT

public:
    explicit TPieGauge(QWidget* parent = nullptr);
    int Progress() const { return m_progress; }
    void SetProgress(int progress);
    QColor ForeColor() const { return m_foreColor; }
    void SetForeColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_progress = 0;
    QColor m_foreColor = Qt::green;
};

} // namespace cirrolux
