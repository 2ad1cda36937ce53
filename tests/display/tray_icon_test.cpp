#include "display/TOnTray.h"

#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {
QIcon someIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    return QIcon(pixmap);
}
} // namespace

TEST(TrayIcon, SameTipTwiceRefreshesOnce)
{
    QWidget owner;
    TOnTray tray(&owner, true);
    tray.SetIcon(someIcon());
    tray.SetActive(true);
    const int afterActive = tray.RefreshCount();
    tray.SetTip("Sunny && 72\xB0"
                "F");
    tray.SetTip("Sunny && 72\xB0"
                "F");
    EXPECT_EQ(tray.RefreshCount(), afterActive + 1);
    tray.SetTip("Cloudy && 60\xB0"
                "F");
    EXPECT_EQ(tray.RefreshCount(), afterActive + 2);
}

TEST(TrayIcon, IconLeavesTheTrayWhenInactiveOrEmpty)
{
    QWidget owner;
    TOnTray tray(&owner, true);
    tray.SetActive(true);
    EXPECT_FALSE(tray.InTray()); // no picture yet
    tray.SetIcon(someIcon());
    tray.Refresh();
    EXPECT_TRUE(tray.InTray());
    tray.SetActive(false);
    EXPECT_FALSE(tray.InTray());
}

struct TipCase
{
    std::string tip;
    std::string field;
};

class TrayTip : public ::testing::TestWithParam<TipCase>
{
};

TEST_P(TrayTip, FieldHoldsAtMost63Characters)
{
    QWidget owner;
    TOnTray tray(&owner, true);
    tray.SetTip(GetParam().tip);
    EXPECT_EQ(tray.Tip(), GetParam().tip);
    EXPECT_EQ(tray.TipField(), GetParam().field);
    EXPECT_LE(tray.TipField().size(), 63u);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, TrayTip,
    ::testing::Values(TipCase{"Sunny && 72", "Sunny && 72"},
                      TipCase{std::string(63, 'a'), std::string(63, 'a')},
                      TipCase{std::string(64, 'b'), std::string(60, 'b') + "..."},
                      TipCase{"Light Thunderstorms and Rain with Small Hail and Fog && 101\xB0"
                              "F today",
                              "Light Thunderstorms and Rain with Small Hail and Fog && 101\xB0"
                              "..."}),
    [](const ::testing::TestParamInfo<TipCase>& info) {
        return "length" + std::to_string(info.param.tip.size());
    });

TEST(TrayIcon, HidingWithoutATrayOnlyMinimisesSoTheWindowCanComeBack)
{
    QWidget owner;
    owner.show();
    TOnTray tray(&owner, false);
    tray.SetWindowShown(false);
    EXPECT_FALSE(tray.WindowShown());
    EXPECT_TRUE(owner.isVisible());
    EXPECT_TRUE(owner.isMinimized());
    tray.SetWindowShown(true);
    EXPECT_FALSE(owner.isMinimized());
}

TEST(TrayIcon, ButtonEventsReachTheirHandlers)
{
    QWidget owner;
    TOnTray tray(&owner, true);
    QMenu middle;
    middle.addAction(QStringLiteral("one"));
    tray.SetMiddleMenu(&middle);
    int clicks = 0, doubles = 0;
    tray.OnClick = [&] { ++clicks; };
    tray.OnDblClick = [&] { ++doubles; };
    tray.HandleActivation(QSystemTrayIcon::Trigger);
    tray.HandleActivation(QSystemTrayIcon::DoubleClick);
    tray.HandleActivation(QSystemTrayIcon::Context); // no right menu: nothing pops up
    EXPECT_EQ(tray.LastPopup(), nullptr);
    tray.HandleActivation(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(tray.LastPopup(), &middle);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    middle.hide();
}
