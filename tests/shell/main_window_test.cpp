#include "MainWindowFixture.h"

#include "display/StatsPanel.h"
#include "display/TOnTray.h"
#include "settings/SettingNames.h"
#include "shell/WrappingMenuBar.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

using namespace cirrolux;
using cirrolux::test::MainWindowFixture;
namespace names = cirrolux::SettingNames;

namespace {

struct LabelCase
{
    const char* name;
    QRect geometry;
    const char* text;
    int pixelSize;
    QColor background;
    QColor font;
};

// The window manager's frame as the window reports it, or 8 x 27 where it reports none: the
// window's sizes are outer sizes, frame included.
QSize frameOf(const QWidget& w)
{
    const QSize reported = w.frameGeometry().size() - w.size();
    return reported.width() <= 0 && reported.height() <= 0 ? QSize(8, 27) : reported;
}

const QColor Teal(0, 128, 128), Lime(0, 255, 0), Black(0, 0, 0), Yellow(255, 255, 0),
    Green(0, 128, 0);

std::string labelCaseName(const ::testing::TestParamInfo<LabelCase>& info)
{
    return info.param.name;
}

} // namespace

class StatsPanelLabels : public MainWindowFixture, public ::testing::WithParamInterface<LabelCase>
{
};

TEST_P(StatsPanelLabels, StandWhereTheyBelongWithTheirTextAndColours)
{
    createWindow();
    const LabelCase& c = GetParam();
    QLabel* l = label(c.name);
    ASSERT_NE(l, nullptr);
    // Width 0: as wide as the client area.
    const QRect expected =
        c.geometry.width() != 0
            ? c.geometry
            : QRect(c.geometry.topLeft(), QSize(current->width(), c.geometry.height()));
    EXPECT_EQ(l->geometry(), expected);
    EXPECT_EQ(l->text(), QString::fromLatin1(c.text));
    EXPECT_EQ(l->font().pixelSize(), c.pixelSize);
    EXPECT_EQ(l->palette().color(QPalette::Window), c.background);
    if (c.font.isValid()) {
        EXPECT_EQ(l->palette().color(QPalette::WindowText), c.font);
    }
    EXPECT_TRUE(l->autoFillBackground());
}

INSTANTIATE_TEST_SUITE_P(
    Design, StatsPanelLabels,
    ::testing::Values(
        // The title line is designed 321 wide and follows the client area's width (325 at start
        // less the frame; checked below).
        LabelCase{"lblConditions", {0, 0, 0, 18}, "", 13, Teal, Yellow},
        LabelCase{"lblSky1", {8, 32, 97, 17}, "Sky Conditions:", 13, Teal, Black},
        LabelCase{"lblsky2", {112, 32, 185, 17}, "", 13, Black, Lime},
        LabelCase{"lblTemperature", {8, 52, 97, 17}, "Temperature:", 13, Teal, Black},
        LabelCase{"lblTemp2", {112, 52, 185, 17}, "", 13, Black, Lime},
        LabelCase{"lblHumidity", {8, 72, 65, 17}, "Humidity:", 13, Teal, Black},
        LabelCase{"lblHumid2", {80, 72, 137, 17}, "", 12, Black, Lime},
        LabelCase{"lblPressure", {8, 92, 65, 17}, "Pressure:", 13, Teal, Black},
        LabelCase{"lblPress2", {80, 92, 137, 17}, "", 12, Black, Lime},
        LabelCase{"lblWind", {8, 112, 65, 17}, "Wind:", 13, Teal, Black},
        LabelCase{"lblWind2", {80, 112, 137, 17}, "", 12, Black, Lime},
        LabelCase{"lblVisible", {8, 132, 65, 17}, "Visibility:", 13, Teal, Black},
        LabelCase{"lblVisible2", {80, 132, 137, 17}, "", 12, Black, Lime},
        LabelCase{"lblSunrise", {8, 160, 65, 17}, "Sunrise:", 13, Teal, Black},
        LabelCase{"lblSunrise2", {80, 160, 97, 17}, "", 12, Black, Lime},
        LabelCase{"lblSunset", {8, 180, 65, 17}, "Sunset:", 13, Teal, Black},
        LabelCase{"lblSunset2", {80, 180, 97, 17}, "", 12, Black, Lime},
        LabelCase{"lblMoonrise", {8, 200, 65, 17}, "Moonrise:", 13, Teal, Black},
        LabelCase{"lblMoonRise2", {80, 200, 97, 17}, "", 12, Black, Lime},
        LabelCase{"lblMoonset", {8, 220, 65, 17}, "Moonset:", 13, Teal, Black},
        LabelCase{"lblMoonSet2", {80, 220, 97, 17}, "", 12, Black, Lime},
        LabelCase{"lblWindChill1", {224, 72, 81, 17}, "Wind Chill:", 13, Teal, QColor()},
        LabelCase{"lblWindChill2", {224, 92, 81, 17}, "n/a", 13, Black, Lime},
        LabelCase{"lblHeatIndex1", {224, 112, 81, 17}, "Heat Index:", 13, Teal, QColor()},
        LabelCase{"lblHeatIndex2", {224, 132, 81, 17}, "n/a", 13, Black, Lime},
        LabelCase{"lblMoonPhase", {224, 152, 81, 17}, "Moon Phase:", 13, Teal, QColor()},
        LabelCase{"Label1",
                  {11, 268, 294, 13},
                  "Conditions provided by Weather Underground.",
                  7,
                  Black,
                  Green}),
    labelCaseName);

TEST_F(MainWindowFixture, WindowStatusBarAndButtonAsDesigned)
{
    TForm1& w = createWindow();
    EXPECT_EQ(w.QMainWindow::windowTitle(), QStringLiteral("Cirrolux"));
    // 325 x 355 is the outer size: the client area is that less the frame.
    EXPECT_EQ(w.size(), QSize(325, 355) - frameOf(w));
    EXPECT_EQ(label("lblConditions")->width(), w.width());
    EXPECT_EQ(w.statusBar()->objectName(), QStringLiteral("StatusBar1"));
    EXPECT_EQ(w.statusPanel(0)->width(), 190);
    EXPECT_EQ(w.statusPanel(1)->width(), 60);
    EXPECT_EQ(w.statusPanel(0)->text(), QStringLiteral("Thank you for using Cirrolux..."));
    auto* minimize = w.findChild<QWidget*>(QStringLiteral("btnMinimize"));
    ASSERT_NE(minimize, nullptr);
    EXPECT_EQ(minimize->geometry(), QRect(232, 245, 73, 23));
    EXPECT_EQ(minimize->toolTip(), QStringLiteral("Pressing the Enter key also works..."));
    EXPECT_EQ(minimize->cursor().shape(), Qt::PointingHandCursor);
}

struct MenuCase
{
    const char* objectName;
    const char* caption;
};

class MainWindowMenus : public MainWindowFixture, public ::testing::WithParamInterface<MenuCase>
{
};

TEST_P(MainWindowMenus, EntryHasItsCaption)
{
    createWindow();
    QAction* item = window->action(QString::fromLatin1(GetParam().objectName));
    ASSERT_NE(item, nullptr) << GetParam().objectName;
    EXPECT_EQ(item->text(), QString::fromLatin1(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MainWindowMenus,
    ::testing::Values(MenuCase{"mnuAbortconnection", "Abort GetStats connection"},
                      MenuCase{"mnuClearlocations", "Clear all locations"},
                      MenuCase{"mnuRemoveaspecificlocation1", "Remove a specific location"},
                      MenuCase{"mnuSortlocations1", "Sort locations"},
                      MenuCase{"mnuMainLabelColor1", "&Label Color"},
                      MenuCase{"mnuMainLabelFontColor1", "Label &Font Color"},
                      MenuCase{"mnulblTOff1", "O&ff"}, MenuCase{"mnulblTOn1", "O&n"},
                      MenuCase{"mnuStatsFontColor1", "Stats &Font Color"},
                      MenuCase{"mnuBkgdDefault1", "&Default"}, MenuCase{"mnubkgdGlobe1", "&Globe"},
                      MenuCase{"mnuBkgdGreenForest1", "Green &Forest"},
                      MenuCase{"mnuBkgdMahogany1", "&Mahogany"}, MenuCase{"mnubkgdSky1", "&Sky"},
                      MenuCase{"mnubkgdWater1", "&Waterdrops"}, MenuCase{"mnuSOTNo1", "&No"},
                      MenuCase{"mnuSOTYes1", "&Yes"}, MenuCase{"mnuPrint1", "&Print"},
                      MenuCase{"mnuMinimize", "&Minimize to tray"}, MenuCase{"mnuExit1", "E&xit"},
                      MenuCase{"pmnLeft_show", "Restore window..."},
                      MenuCase{"pitshow", "Restore window..."},
                      MenuCase{"pithide", "Hide window..."}, MenuCase{"pitExit", "Exit"}),
    [](const ::testing::TestParamInfo<MenuCase>& info) { return info.param.objectName; });

TEST_F(MainWindowFixture, TwentyHiddenPresetEntriesFollowTheStoredList)
{
    store.write_setting(names::Locations, "loc0", "Boston, MA");
    store.write_setting(names::Locations, "loc1", "Tom & Jerry, TX");
    TForm1& w = createWindow();
    w.show();
    for (int i = 0; i < 20; ++i) {
        const QString name = i < 4 ? QStringLiteral("mnuViewstats%1").arg(i)
                                   : QStringLiteral("mnuViewStats%1").arg(i);
        QAction* entry = w.action(name);
        ASSERT_NE(entry, nullptr) << name.toStdString();
        EXPECT_EQ(entry->isVisible(), i < 2) << name.toStdString();
    }
    EXPECT_EQ(w.action(QStringLiteral("mnuViewstats0"))->text(), QStringLiteral("Boston, MA"));
    // An ampersand in a place name is shown as itself, not as an access key.
    EXPECT_EQ(w.action(QStringLiteral("mnuViewstats1"))->text(),
              QStringLiteral("Tom && Jerry, TX"));
}

struct SizeCase
{
    QSize asked;
    QSize got;
};

class MainWindowSize : public MainWindowFixture, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(MainWindowSize, IsHeldWithinItsLimitsAndTheTitleLineFollowsTheWidth)
{
    TForm1& w = createWindow();
    w.show();
    const QSize frame = frameOf(w);
    w.resize(GetParam().asked - frame);
    EXPECT_EQ(w.size() + frame, GetParam().got);
    EXPECT_EQ(label("lblConditions")->width(), GetParam().got.width() - frame.width());
}

INSTANTIATE_TEST_SUITE_P(Drags, MainWindowSize,
                         ::testing::Values(SizeCase{{400, 300}, {370, 355}},
                                           SizeCase{{600, 200}, {370, 355}},
                                           SizeCase{{100, 1000}, {325, 390}},
                                           SizeCase{{350, 370}, {350, 370}}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) {
                             return std::to_string(info.param.asked.width()) + "x" +
                                    std::to_string(info.param.asked.height());
                         });

TEST_F(MainWindowFixture, NoStoredSettingsGiveTheDesignLook)
{
    TForm1& w = createWindow();
    w.show();
    EXPECT_TRUE(w.action(QStringLiteral("mnulblTOff1"))->isChecked());
    EXPECT_FALSE(w.action(QStringLiteral("mnulblTOn1"))->isChecked());
    EXPECT_TRUE(label("lblTemp2")->autoFillBackground());
    EXPECT_TRUE(w.panel().visibleBackground().isEmpty());
    EXPECT_EQ(label("lblSky1")->palette().color(QPalette::Window), Teal);
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(MainWindowFixture, StoredLookIsRestoredAtFirstShow)
{
    store.write_setting(names::Settings, names::LabelColor, "clRed");
    store.write_setting(names::Settings, names::LabelFontColorWrite, "$00FF8000");
    store.write_setting(names::Settings, names::StatsFontColor, "clYellow");
    store.write_setting(names::Settings, names::LabelTransparent, "y");
    store.write_setting(names::Settings, names::FormBackground, "globe1");
    TForm1& w = createWindow();
    w.show();
    EXPECT_EQ(label("lblMoonPhase")->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(label("lblSky1")->palette().color(QPalette::WindowText), QColor(0, 128, 255));
    EXPECT_EQ(label("lblHumid2")->palette().color(QPalette::WindowText), Yellow);
    EXPECT_EQ(label("lblConditions")->palette().color(QPalette::Window), Teal);
    EXPECT_TRUE(w.action(QStringLiteral("mnulblTOn1"))->isChecked());
    EXPECT_FALSE(label("lblTemp2")->autoFillBackground());
    EXPECT_FALSE(label("Label1")->autoFillBackground());
    EXPECT_TRUE(label("lblSky1")->autoFillBackground());
    EXPECT_EQ(w.panel().visibleBackground(), QStringLiteral("GIFbkglobe1"));
}

TEST_F(MainWindowFixture, UnreadableStoredColoursLeaveTheDesignColoursSilently)
{
    store.write_setting(names::Settings, names::LabelColor, "blue");
    store.write_setting(names::Settings, names::StatsFontColor, "$zz");
    store.write_setting(names::Settings, names::FormBackground, "marble");
    createWindow().show();
    EXPECT_EQ(label("lblSky1")->palette().color(QPalette::Window), Teal);
    EXPECT_EQ(label("lblTemp2")->palette().color(QPalette::WindowText), Lime);
    EXPECT_TRUE(window->panel().visibleBackground().isEmpty());
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(MainWindowFixture, TransparencyChoiceSurvivesARestart)
{
    createWindow().show();
    window->action(QStringLiteral("mnulblTOn1"))->trigger();
    EXPECT_EQ(store.read_setting(names::Settings, names::LabelTransparent), "y");
    createWindow().show();
    EXPECT_TRUE(window->action(QStringLiteral("mnulblTOn1"))->isChecked());
    EXPECT_FALSE(label("lblWind2")->autoFillBackground());
    window->action(QStringLiteral("mnulblTOff1"))->trigger();
    createWindow().show();
    EXPECT_TRUE(window->action(QStringLiteral("mnulblTOff1"))->isChecked());
    EXPECT_TRUE(label("lblWind2")->autoFillBackground());
}

struct BackgroundCase
{
    const char* action;
    const char* stored;
    const char* picture;
};

class MainWindowBackground : public MainWindowFixture,
                             public ::testing::WithParamInterface<BackgroundCase>
{
};

TEST_P(MainWindowBackground, IsStoredShownAndKeepsItsSizeOnResize)
{
    TForm1& w = createWindow();
    w.show();
    w.action(QString::fromLatin1(GetParam().action))->trigger();
    EXPECT_EQ(store.read_setting(names::Settings, names::FormBackground), GetParam().stored);
    EXPECT_EQ(w.panel().visibleBackground(), QString::fromLatin1(GetParam().picture));
    if (*GetParam().picture) {
        auto* picture = w.findChild<QLabel*>(QString::fromLatin1(GetParam().picture));
        const QSize before = picture->size();
        EXPECT_EQ(before, w.size() + frameOf(w) - QSize(5, 5));
        w.resize(370, 390);
        EXPECT_EQ(picture->size(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, MainWindowBackground,
    ::testing::Values(BackgroundCase{"mnubkgdGlobe1", "globe1", "GIFbkglobe1"},
                      BackgroundCase{"mnuBkgdGreenForest1", "forest1", "GIFbkforest1"},
                      BackgroundCase{"mnuBkgdMahogany1", "mahogany1", "GIFbkmahogany1"},
                      BackgroundCase{"mnubkgdSky1", "sky1", "GIFbkSky1"},
                      BackgroundCase{"mnubkgdWater1", "water1", "GIFbkwater1"},
                      BackgroundCase{"mnuBkgdDefault1", "", ""}),
    [](const ::testing::TestParamInfo<BackgroundCase>& info) { return info.param.action; });

TEST_F(MainWindowFixture, BlackIsRefusedForTheValueFontButNearBlackIsTaken)
{
    createWindow().show();
    ui.answerColor(QColor(0, 0, 0));
    window->action(QStringLiteral("mnuStatsFontColor1"))->trigger();
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Sorry, black is the background color.  Please choose another "
                                 "color."}));
    EXPECT_EQ(store.read_setting(names::Settings, names::StatsFontColor), "n/a");
    EXPECT_EQ(label("lblTemp2")->palette().color(QPalette::WindowText), Lime);

    ui.answerColor(QColor(0, 0, 1));
    window->action(QStringLiteral("mnuStatsFontColor1"))->trigger();
    EXPECT_EQ(store.read_setting(names::Settings, names::StatsFontColor), "$00010000");
    EXPECT_EQ(label("lblTemp2")->palette().color(QPalette::WindowText), QColor(0, 0, 1));
}

TEST_F(MainWindowFixture, LabelColoursAreStoredUnderTheirNames)
{
    createWindow().show();
    ui.answerColor(QColor(255, 0, 0));
    window->action(QStringLiteral("mnuMainLabelColor1"))->trigger();
    ui.answerColor(QColor(255, 128, 64));
    window->action(QStringLiteral("mnuMainLabelFontColor1"))->trigger();
    window->action(QStringLiteral("mnuMainLabelColor1"))->trigger(); // cancelled: no change
    EXPECT_EQ(store.read_setting(names::Settings, names::LabelColor), "clRed");
    EXPECT_EQ(store.read_setting(names::Settings, "labelfcolor"), "$004080FF");
    EXPECT_EQ(label("lblHeatIndex1")->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(label("lblSunset")->palette().color(QPalette::WindowText), QColor(255, 128, 64));
}

TEST_F(MainWindowFixture, ColourDialogFailureGivesItsMessage)
{
    createWindow().show();
    ui.failColorDialog();
    window->action(QStringLiteral("mnuMainLabelColor1"))->trigger();
    window->action(QStringLiteral("mnuStatsFontColor1"))->trigger();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Error - Color selection dialog failed to load",
                                        "Error - Color selection dialog failed to load."}));
}

TEST_F(MainWindowFixture, StayOnTopIsNotRemembered)
{
    createWindow().show();
    window->action(QStringLiteral("mnuSOTYes1"))->trigger();
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->action(QStringLiteral("mnuSOTYes1"))->isChecked());
    createWindow().show();
    EXPECT_TRUE(window->action(QStringLiteral("mnuSOTNo1"))->isChecked());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(MainWindowFixture, PrintWritesTheWindowToTheChosenPrinter)
{
    createWindow().show();
    const QString pdf = profile.root() + QStringLiteral("/window.pdf");
    window->action(QStringLiteral("mnuPrint1"))->trigger(); // cancelled: nothing printed
    EXPECT_FALSE(QFile::exists(pdf));
    ui.printToPdf(pdf);
    window->action(QStringLiteral("mnuPrint1"))->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 2000); // a page with a picture, not an empty document
    EXPECT_TRUE(ui.errors().empty());
}

TEST_F(MainWindowFixture, FirstShowShowsTodaysMoon)
{
    createWindow().show();
    EXPECT_EQ(window->panel().visibleMoonPicture(), QStringLiteral("GIFImageFull"));
    auto* moon = window->findChild<QLabel*>(QStringLiteral("GIFImageFull"));
    EXPECT_EQ(moon->geometry(), QRect(237, 177, 81, 65));
}

TEST_F(MainWindowFixture, HideToTrayAndRestoreGiveANormalWindowEvenAfterMinimising)
{
    TForm1& w = createWindow();
    w.show();
    w.showMinimized();
    w.action(QStringLiteral("mnuMinimize"))->trigger();
    EXPECT_FALSE(w.tray().WindowShown());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.action(QStringLiteral("pitshow"))->isEnabled());
    EXPECT_FALSE(w.action(QStringLiteral("pithide"))->isEnabled());
    w.action(QStringLiteral("pitshow"))->trigger();
    EXPECT_TRUE(w.tray().WindowShown());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_FALSE(w.action(QStringLiteral("pitshow"))->isEnabled());
}

TEST_F(MainWindowFixture, TrayMenusOpenOnTheirButtonsAndDoubleClickOpensNone)
{
    TForm1& w = createWindow();
    w.show();
    TOnTray& tray = w.tray();
    EXPECT_TRUE(tray.InTray());
    EXPECT_EQ(tray.Tip(), "Cirrolux");
    tray.HandleActivation(QSystemTrayIcon::Trigger);
    ASSERT_NE(tray.LastPopup(), nullptr);
    EXPECT_EQ(tray.LastPopup()->objectName(), QStringLiteral("pmnLeft"));
    EXPECT_EQ(tray.LastPopup()->actions().size(), 1);
    tray.LastPopup()->hide();
    tray.HandleActivation(QSystemTrayIcon::Context);
    EXPECT_EQ(tray.LastPopup()->objectName(), QStringLiteral("pmnRight"));
    EXPECT_EQ(tray.LastPopup()->actions().size(), 4);
    tray.LastPopup()->hide();
    QMenu* before = tray.LastPopup();
    tray.HandleActivation(QSystemTrayIcon::DoubleClick);
    tray.HandleActivation(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(tray.LastPopup(), before);
    EXPECT_FALSE(before->isVisible());
}

namespace {

using cirrolux::test::MainWindowFixture;

// At the window's width every menu stays on the bar: it wraps onto a second row instead of
// hiding "&Reports" and "&Help" behind an overflow button, and each opens with its access key.
struct MenuKeyCase
{
    Qt::Key key;
    const char* menu;
};

class MenuBarWrap : public MainWindowFixture, public ::testing::WithParamInterface<MenuKeyCase>
{
};

TEST_P(MenuBarWrap, EveryMenuIsOnTheBarAndOpensWithItsKey)
{
    TForm1& w = createWindow();
    w.createImageWindow();
    w.show();
    ASSERT_TRUE(waitFor([&] { return w.isVisible(); }));
    QCoreApplication::processEvents();
    auto* bar = w.findChild<WrappingMenuBar*>(QStringLiteral("MainMenu1"));
    ASSERT_NE(bar, nullptr);
    const std::vector<QMenuBar*> rows = bar->rows();
    EXPECT_EQ(rows.size(), 2u);
    int shown = 0;
    for (QMenuBar* row : rows) {
        for (QToolButton* overflow : row->findChildren<QToolButton*>())
            EXPECT_FALSE(overflow->isVisible()) << "an overflow button shows";
        for (QAction* menu : row->actions()) {
            const QRect place = row->actionGeometry(menu);
            EXPECT_FALSE(place.isEmpty()) << menu->text().toStdString();
            EXPECT_LE(place.right(), row->width()) << menu->text().toStdString();
            ++shown;
        }
    }
    EXPECT_EQ(shown, w.menuBarActions().size());
    EXPECT_EQ(bar->height(), rows.size() * rows.front()->height());
    // The outer size rules hold: 325 x 355 with the frame.
    EXPECT_EQ(w.size() + frameOf(w), QSize(325, 355));

    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, GetParam().key, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName().toStdString(), GetParam().menu);
    popup->close();
}

// A value label too narrow for its text (a wind with gusts) shows the whole text as its tooltip;
// one whose text fits shows none.
struct TipCase
{
    const char* label;
    const char* text;
    bool tip;
};

class ValueTip : public MainWindowFixture, public ::testing::WithParamInterface<TipCase>
{
};

TEST_P(ValueTip, ShowsTheWholeTextOnlyWhenItIsCut)
{
    createWindow().show();
    QLabel* value = label(GetParam().label);
    ASSERT_NE(value, nullptr);
    value->setText(QString::fromLatin1(GetParam().text));
    QToolTip::showText(QPoint(0, 0), QStringLiteral("before"));
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), value->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(value, &help);
    EXPECT_EQ(QToolTip::text() == value->text(), GetParam().tip) << QToolTip::text().toStdString();
    QToolTip::hideText();
}

INSTANTIATE_TEST_SUITE_P(
    Labels, ValueTip,
    ::testing::Values(TipCase{"lblWind2", "From the NNW at 23 mph gusting to 29 mph", true},
                      TipCase{"lblsky2", "Partly Cloudy with Light Rain Showers and Fog", true},
                      TipCase{"lblWind2", "Calm", false}, TipCase{"lblTemp2", "45 F", false}),
    [](const auto& info) { return std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Menus, MenuBarWrap,
                         ::testing::Values(MenuKeyCase{Qt::Key_G, "mnuGetStats"},
                                           MenuKeyCase{Qt::Key_R, "mnuWarnings"},
                                           MenuKeyCase{Qt::Key_H, "mnuHelp"}),
                         [](const auto& info) { return std::string(info.param.menu); });

} // namespace
