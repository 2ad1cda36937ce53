#pragma once

#include <QWidget>

class QLabel;

namespace cirrolux {

class TBusyAnimation;
class TGauge;

// The start-up splash: a borderless black box with a "please wait" text, a needle gauge that
// follows the creation of the windows, and a busy animation.
class TfrmPleaseWait : public QWidget
{
    Q_OBJECT

public:
    // `startMinimized`: the splash stays hidden for a program that starts in the tray.
    TfrmPleaseWait(QWidget* mainWindow, bool startMinimized);

    TGauge& Gauge1() { return *m_gauge; }
    TBusyAnimation& Animate1() { return *m_animation; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate(bool startMinimized);
    void FormShow();

    QWidget* m_mainWindow;
    TGauge* m_gauge = nullptr;
    TBusyAnimation* m_animation = nullptr;
};

} // namespace cirrolux
