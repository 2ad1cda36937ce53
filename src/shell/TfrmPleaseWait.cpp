#include "shell/TfrmPleaseWait.h"

#include "shell/TGauge.h"

#include <QLabel>

namespace cirrolux {

TfrmPleaseWait::TfrmPleaseWait(QWidget* mainWindow, bool startMinimized)
    : QWidget(mainWindow, Qt::SplashScreen | Qt::FramelessWindowHint), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmPleaseWait"));
    setFixedSize(298, 253);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);

    auto* label =
        new QLabel(QStringLiteral("Please wait...           loading information..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(24, 24, 250, 60);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(16);
    font.setBold(true);
    label->setFont(font);

    m_gauge = new TGauge(this);
    m_gauge->setObjectName(QStringLiteral("Gauge1"));
    m_gauge->setGeometry(49, 100, 200, 110);

    m_animation = new TBusyAnimation(this);
    m_animation->setObjectName(QStringLiteral("Animate1"));
    m_animation->setGeometry(119, 120, 60, 60);
    m_animation->hide();

    FormCreate(startMinimized);
}

void TfrmPleaseWait::FormCreate(bool startMinimized)
{
    if (startMinimized)
        return;
    move(m_mainWindow->x() + 22, m_mainWindow->y() + 70);
    m_animation->Start();
    show();
    repaint();
}

void TfrmPleaseWait::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

// Nobody sees the animation of a hidden splash; left running it would wake the program a dozen
// times a second for the whole run.
void TfrmPleaseWait::hideEvent(QHideEvent* event)
{
    m_animation->Stop();
    QWidget::hideEvent(event);
}

void TfrmPleaseWait::FormShow()
{
    if (m_mainWindow->isMinimized()) {
        showMinimized();
        return;
    }
    m_animation->Start();
    move(m_mainWindow->x() + 12, m_mainWindow->y() + 70);
}

} // namespace cirrolux
