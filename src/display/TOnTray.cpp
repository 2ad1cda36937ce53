#include "display/TOnTray.h"

#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace cirrolux {

TCustomOnTray::TCustomOnTray(QWidget* owner, std::optional<bool> trayAvailable)
    : QObject(owner), m_owner(owner),
      m_trayAvailable(trayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable())),
      m_tray(new QSystemTrayIcon(this))
{
    connect(m_tray, &QSystemTrayIcon::activated, this, &TCustomOnTray::HandleActivation);
}

TCustomOnTray::~TCustomOnTray()
{
    SetActive(false);
}

void TCustomOnTray::SetTip(const std::string& tip)
{
    if (tip != m_tip) {
        m_tipField = tip.size() <= MaxTipLength ? tip : tip.substr(0, MaxTipLength - 3) + "...";
        m_tip = tip;
        Refresh();
    }
    m_tip = tip;
}

void TCustomOnTray::SetActive(bool active)
{
    m_active = active;
    Refresh();
}

void TCustomOnTray::SetWindowShown(bool shown)
{
    m_windowShown = shown;
    Refresh();
    showOwner(shown);
}

void TCustomOnTray::RecordWindowShown(bool shown)
{
    m_windowShown = shown;
    Refresh();
}

void TCustomOnTray::Refresh()
{
    if (m_active && !m_icon.isNull()) {
        m_tray->setIcon(m_icon);
        m_tray->setToolTip(QString::fromLatin1(m_tipField));
        if (!m_registered && m_trayAvailable)
            m_tray->show();
        m_registered = true;
        ++m_refreshCount;
    } else {
        if (m_trayAvailable)
            m_tray->hide();
        m_registered = false;
    }
}

void TCustomOnTray::showOwner(bool shown)
{
    if (!m_owner)
        return;
    if (shown) {
        m_owner->show();
        m_owner->setWindowState(m_owner->windowState() & ~Qt::WindowMinimized);
        m_owner->raise();
        m_owner->activateWindow();
        return;
    }
    m_owner->setWindowState(m_owner->windowState() | Qt::WindowMinimized);
    // Without a tray a hidden window could never come back, so it stays minimised instead.
    if (m_trayAvailable)
        m_owner->hide();
}

void TCustomOnTray::HandleActivation(QSystemTrayIcon::ActivationReason reason)
{
    const QPoint at = QCursor::pos();
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        // The tray reports a left click only once the button is up; bringing the owner forward
        // first keeps it from taking the focus away from the menu that pops up.
        MouseUp(Qt::LeftButton, at.x(), at.y());
        MouseDown(Qt::LeftButton, at.x(), at.y());
        break;
    case QSystemTrayIcon::Context:
        MouseDown(Qt::RightButton, at.x(), at.y());
        MouseUp(Qt::RightButton, at.x(), at.y());
        break;
    case QSystemTrayIcon::MiddleClick:
        MouseDown(Qt::MiddleButton, at.x(), at.y());
        MouseUp(Qt::MiddleButton, at.x(), at.y());
        break;
    case QSystemTrayIcon::DoubleClick:
        DblClick();
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void TCustomOnTray::MouseMove(int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(x, y);
}

void TCustomOnTray::MouseDown(Qt::MouseButton button, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(button, x, y);
}

void TCustomOnTray::MouseUp(Qt::MouseButton button, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(button, x, y);
}

void TCustomOnTray::DblClick()
{
    if (OnDblClick)
        OnDblClick();
}

QMenu* TCustomOnTray::menuFor(Qt::MouseButton button) const
{
    switch (button) {
    case Qt::LeftButton:
        return m_leftMenu;
    case Qt::RightButton:
        return m_rightMenu;
    case Qt::MiddleButton:
        return m_middleMenu;
    default:
        return nullptr;
    }
}

void TOnTray::MouseDown(Qt::MouseButton button, int x, int y)
{
    QMenu* menu = menuFor(button);
    if (!menu)
        return;
    if (owner() && owner()->isVisible())
        owner()->activateWindow();
    m_lastPopup = menu;
    menu->popup(QPoint(x + 20, y));
}

void TOnTray::MouseUp(Qt::MouseButton button, int /*x*/, int /*y*/)
{
    if (button != Qt::LeftButton)
        return;
    bringOwnerToFront();
    if (OnClick)
        OnClick();
}

void TOnTray::DblClick()
{
    bringOwnerToFront();
    if (OnDblClick)
        OnDblClick();
}

void TOnTray::bringOwnerToFront()
{
    if (owner() && owner()->isVisible()) {
        owner()->raise();
        owner()->activateWindow();
    }
}

} // namespace cirrolux
