// The main window's menus and the tray icon's menus.
#include "shell/TForm1.h"

#include "shell/WrappingMenuBar.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace cirrolux {

QAction* TForm1::addAction(QMenu* menu, const char* objectName, const char* caption)
{
    QAction* item = menu->addAction(QString::fromLatin1(caption));
    item->setObjectName(QString::fromLatin1(objectName));
    return item;
}

void TForm1::addOffOnChoice(QMenu* parent, MenuName submenu, MenuName off, MenuName on,
                            const std::function<void(bool)>& choose)
{
    QMenu* menu = parent->addMenu(QString::fromLatin1(submenu.caption));
    menu->setObjectName(QString::fromLatin1(submenu.objectName));
    auto* group = new QActionGroup(menu);
    QAction* offItem = addAction(menu, off.objectName, off.caption);
    QAction* onItem = addAction(menu, on.objectName, on.caption);
    for (QAction* item : {offItem, onItem}) {
        item->setCheckable(true);
        group->addAction(item);
    }
    offItem->setChecked(true);
    connect(offItem, &QAction::triggered, this, [choose] { choose(false); });
    connect(onItem, &QAction::triggered, this, [choose] { choose(true); });
}

void TForm1::createMenus()
{
    // At the window's width the menus take two rows; none hides behind an overflow button.
    m_menuBar = new WrappingMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu1"));
    setMenuWidget(m_menuBar);
    WrappingMenuBar* bar = m_menuBar;

    QMenu* getStats = bar->addMenu(QStringLiteral("&Get Stats"));
    getStats->setObjectName(QStringLiteral("mnuGetStats"));
    connect(addAction(getStats, "mnuChooseLocation", "&Choose Location..."), &QAction::triggered,
            this, &TForm1::mnuChooseLocationClick);
    getStats->addSeparator();
    for (int i = 0; i < PresetMenu::Size; ++i) {
        QAction* entry = getStats->addAction(QStringLiteral("Location %1").arg(i));
        entry->setObjectName(i < 4 ? QStringLiteral("mnuViewstats%1").arg(i)
                                   : QStringLiteral("mnuViewStats%1").arg(i));
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, i] { mnuViewstatsClick(i); });
        m_presetActions[std::size_t(i)] = entry;
    }
    getStats->addSeparator();
    connect(addAction(getStats, "mnuAbortconnection", "Abort GetStats connection"),
            &QAction::triggered, this, &TForm1::mnuAbortconnectionClick);
    connect(addAction(getStats, "mnuClearlocations", "Clear all locations"), &QAction::triggered,
            this, &TForm1::mnuClearlocationsClick);
    connect(addAction(getStats, "mnuRemoveaspecificlocation1", "Remove a specific location"),
            &QAction::triggered, this, &TForm1::mnuRemoveaspecificlocation1Click);
    connect(addAction(getStats, "mnuSortlocations1", "Sort locations"), &QAction::triggered, this,
            &TForm1::mnuSortlocations1Click);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QMenu* preferences = options->addMenu(QStringLiteral("Pre&ferences"));
    preferences->setObjectName(QStringLiteral("mnuPreferences1"));
    connect(addAction(preferences, "mnuGeneralPreferences1", "&General Preferences..."),
            &QAction::triggered, this, &TForm1::mnuGeneralPreferences1Click);

    QMenu* labelOptions = preferences->addMenu(QStringLiteral("Label Options"));
    labelOptions->setObjectName(QStringLiteral("mnuLabelOptions1"));
    connect(addAction(labelOptions, "mnuMainLabelColor1", "&Label Color"), &QAction::triggered,
            this, &TForm1::mnuMainLabelColor1Click);
    connect(addAction(labelOptions, "mnuMainLabelFontColor1", "Label &Font Color"),
            &QAction::triggered, this, &TForm1::mnuMainLabelFontColor1Click);
    addOffOnChoice(labelOptions, {"mnuTransparency1", "&Transparency"}, {"mnulblTOff1", "O&ff"},
                   {"mnulblTOn1", "O&n"}, [this](bool on) { setTransparency(on); });

    connect(addAction(preferences, "mnuStatsFontColor1", "Stats &Font Color"), &QAction::triggered,
            this, &TForm1::mnuStatsFontColor1Click);

    QMenu* background = preferences->addMenu(QStringLiteral("Stats Window Background"));
    background->setObjectName(QStringLiteral("mnuStatsWindowBackground1"));
    const struct
    {
        const char* objectName;
        const char* caption;
        const char* stored;
    } backgrounds[] = {
        {"mnuBkgdDefault1", "&Default", ""},
        {"mnubkgdGlobe1", "&Globe", "globe1"},
        {"mnuBkgdGreenForest1", "Green &Forest", "forest1"},
        {"mnuBkgdMahogany1", "&Mahogany", "mahogany1"},
        {"mnubkgdSky1", "&Sky", "sky1"},
        {"mnubkgdWater1", "&Waterdrops", "water1"},
    };
    for (const auto& entry : backgrounds) {
        const std::string stored = entry.stored;
        connect(addAction(background, entry.objectName, entry.caption), &QAction::triggered, this,
                [this, stored] { setBackground(stored); });
    }

    addOffOnChoice(preferences, {"mnuStayonTop1", "Stay on Top"}, {"mnuSOTNo1", "&No"},
                   {"mnuSOTYes1", "&Yes"}, [this](bool on) { setStayOnTop(on); });

    connect(addAction(options, "mnuPrint1", "&Print"), &QAction::triggered, this,
            &TForm1::mnuPrint1Click);
    connect(addAction(options, "mnuMinimize", "&Minimize to tray"), &QAction::triggered, this,
            &TForm1::hideToTray);
    options->addSeparator();
    connect(addAction(options, "mnuExit1", "E&xit"), &QAction::triggered, this,
            &TForm1::mnuExit1Click);
}

void TForm1::createHelpMenu()
{
    // Last on the menu bar, after the image, forecast and report menus.
    QMenu* help = m_menuBar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* contents = addAction(help, "mnuHelpContents", "Help &Contents (F1)");
    connect(contents, &QAction::triggered, this, &TForm1::mnuHelpContentsClick);
    // The entry's caption names its key; as the entry's shortcut it would show "F1" twice.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setObjectName(QStringLiteral("mnuHelpContentsKey"));
    connect(f1, &QShortcut::activated, contents, &QAction::trigger);
    help->addSeparator();
    connect(addAction(help, "mnuAbout", "&About Cirrolux..."), &QAction::triggered, this,
            &TForm1::mnuAboutClick);
    connect(addAction(help, "CheckforUpdate1", "Check for &Update"), &QAction::triggered, this,
            &TForm1::CheckforUpdate1Click);
}

QList<QAction*> TForm1::menuBarActions() const
{
    return m_menuBar->actions();
}

void TForm1::createTrayMenus()
{
    m_pmnLeft = new QMenu(this);
    m_pmnLeft->setObjectName(QStringLiteral("pmnLeft"));
    connect(addAction(m_pmnLeft, "pmnLeft_show", "Restore window..."), &QAction::triggered, this,
            &TForm1::showFromTray);

    m_pmnRight = new QMenu(this);
    m_pmnRight->setObjectName(QStringLiteral("pmnRight"));
    connect(addAction(m_pmnRight, "pitshow", "Restore window..."), &QAction::triggered, this,
            &TForm1::showFromTray);
    connect(addAction(m_pmnRight, "pithide", "Hide window..."), &QAction::triggered, this,
            &TForm1::hideToTray);
    m_pmnRight->addSeparator();
    connect(addAction(m_pmnRight, "pitExit", "Exit"), &QAction::triggered, this,
            &TForm1::mnuExit1Click);
}

} // namespace cirrolux
