#pragma once

#include <QWidget>

namespace cirrolux {

// A needle gauge: progress 0..100 shown as a lime needle sweeping a half circle on navy.
class TGauge : public QWidget
{
    Q_OBJECT

public:
    explicit TGauge(QWidget* parent = nullptr);
    int Progress() const { return m_progress; }
    void SetProgress(int progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_progress = 0;
};

// A small busy animation: a ring of dots, one bright dot going round.
class TBusyAnimation : public QWidget
{
    Q_OBJECT

public:
    explicit TBusyAnimation(QWidget* parent = nullptr);
    void Start();
    void Stop();
    bool Active() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class QTimer* m_timer = nullptr;
    int m_step = 0;
};

} // namespace cirrolux
