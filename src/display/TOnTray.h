#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace cirrolux {

// The program's icon in the notification area: tip, picture, the three button menus and the
// hiding of the owner window to the tray. Where the desktop has no tray the component still
// keeps its state, and hiding only minimises the window so it can always be brought back.
class TCustomOnTray : public QObject
{
    Q_OBJECT

public:
    // The tip field of the notification record holds this many characters.
    static constexpr std::size_t MaxTipLength = 63;

    // `trayAvailable` defaults to what the desktop reports.
    explicit TCustomOnTray(QWidget* owner, std::optional<bool> trayAvailable = std::nullopt);
    ~TCustomOnTray() override;

    const std::string& Tip() const { return m_tip; }
    // Refreshes the icon only when the text differs from the current tip.
    void SetTip(const std::string& tip);
    // The tip as the tray shows it: longer tips are cut to 60 characters and "...".
    const std::string& TipField() const { return m_tipField; }

    const QIcon& Icon() const { return m_icon; }
    void SetIcon(const QIcon& icon) { m_icon = icon; }

    bool WindowShown() const { return m_windowShown; }
    void SetWindowShown(bool shown);
    // Records that the owner was shown or hidden by other means; the owner is left alone.
    void RecordWindowShown(bool shown);
    bool Active() const { return m_active; }
    void SetActive(bool active);

    void SetLeftMenu(QMenu* menu) { m_leftMenu = menu; }
    void SetRightMenu(QMenu* menu) { m_rightMenu = menu; }
    void SetMiddleMenu(QMenu* menu) { m_middleMenu = menu; }

    // Event handlers; empty unless assigned.
    std::function<void(int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton button, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButton button, int x, int y)> OnMouseUp;
    std::function<void()> OnDblClick;
    std::function<void()> OnClick;

    // Hands the tip and icon to the tray (adds the icon the first time), or removes the icon
    // when inactive or without a picture.
    void Refresh();
    // How many times the tray was handed the icon; a tip set twice refreshes once.
    int RefreshCount() const { return m_refreshCount; }
    // Whether the icon is in the notification area now.
    bool InTray() const { return m_registered; }
    bool TrayAvailable() const { return m_trayAvailable; }

    // Delivers a tray activation as the mouse events of the icon.
    void HandleActivation(QSystemTrayIcon::ActivationReason reason);

protected:
    virtual void MouseMove(int x, int y);
    virtual void MouseDown(Qt::MouseButton button, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, int x, int y);
    virtual void DblClick();

    QWidget* owner() const { return m_owner; }
    QMenu* menuFor(Qt::MouseButton button) const;

private:
    void showOwner(bool shown);

    QPointer<QWidget> m_owner;
    std::string m_tip;
    std::string m_tipField;
    QIcon m_icon;
    bool m_windowShown = false;
    bool m_active = false;
    bool m_registered = false;
    bool m_trayAvailable = false;
    int m_refreshCount = 0;
    QSystemTrayIcon* m_tray = nullptr; // child of this object
    QPointer<QMenu> m_leftMenu;
    QPointer<QMenu> m_rightMenu;
    QPointer<QMenu> m_middleMenu;
};

// The tray icon as the main window uses it: a button press pops up that button's menu, a left
// click and a double-click bring the owner to the front.
class TOnTray : public TCustomOnTray
{
    Q_OBJECT

public:
    using TCustomOnTray::TCustomOnTray;
    // The menu shown by the last button press, if any.
    QMenu* LastPopup() const { return m_lastPopup; }

protected:
    void MouseDown(Qt::MouseButton button, int x, int y) override;
    void MouseUp(Qt::MouseButton button, int x, int y) override;
    void DblClick() override;

private:
    void bringOwnerToFront();
    QPointer<QMenu> m_lastPopup;
};

} // namespace cirrolux
