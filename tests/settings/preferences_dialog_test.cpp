// The preferences dialog's widgets: its design, the colours of enabled and disabled controls,
// and what the buttons do.
#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "net/TNMHTTP.h"
#include "platform/WindowCommands.h"
#include "settings/SettingNames.h"
#include "settings/TfrmPref.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace cirrolux;
using Event = test::RecordingUserInterface::Event;
namespace names = cirrolux::SettingNames;

namespace {

const QColor Silver(192, 192, 192);

// Plays the radar chooser opened in its preferences mode: stores a choice and shows it.
class FakeRadarChooser final : public RadarChooserCommands
{
public:
    void openRadarChooser(bool preferencesMode) override
    {
        opened.push_back(preferencesMode);
        settings->write_setting(names::Settings, names::AutoWallpaper, "Regional/State Radar=TX");
        dialog->showRadarWallpaper("Regional/State Radar=TX");
    }
    std::vector<bool> opened;
    SettingsStore* settings = nullptr;
    TfrmPref* dialog = nullptr;
};

} // namespace

class PreferencesDialog : public ::testing::Test
{
protected:
    PreferencesDialog()
    {
        radar.settings = &settings;
        radar.dialog = &dialog;
    }
    template <typename T> T* child(const char* name) const
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    QColor base(const char* name) const
    {
        QWidget* widget = child<QWidget>(name);
        return widget->palette().color(widget->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::Base);
    }
    std::string stored(std::string_view name) const
    {
        return settings.read_setting(names::Settings, name);
    }

    test::TempProfile profile;
    SettingsStore settings = profile.store();
    test::RecordingUserInterface ui;
    TNMHTTP http;
    FakeRadarChooser radar;
    TfrmPref dialog{settings, ui, http, &radar, nullptr};
};

struct TextCase
{
    const char* name;
    const char* text;
};

class PreferencesTexts : public PreferencesDialog, public ::testing::WithParamInterface<TextCase>
{
};

TEST_P(PreferencesTexts, ShowTheirTextInFull)
{
    dialog.show();
    QWidget* widget = child<QWidget>(GetParam().name);
    ASSERT_NE(widget, nullptr) << GetParam().name;
    QString text;
    int needed = 0;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
        needed = label->wordWrap() ? label->heightForWidth(label->width()) : 0;
        if (!label->wordWrap()) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << GetParam().name;
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
        EXPECT_GE(button->width(), button->sizeHint().width()) << GetParam().name;
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        text = box->title();
    }
    EXPECT_EQ(text, QString::fromLatin1(GetParam().text));
    EXPECT_GE(widget->height(), needed) << GetParam().name;
    // Inside its parent.
    EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Design, PreferencesTexts,
    ::testing::Values(
        TextCase{"GroupBox2", " Auto Update "},
        TextCase{"Label6", "Do you want the stats automatically updated?"},
        TextCase{"radioYesupstat", "Yes"}, TextCase{"radioNoupstat", "No"},
        TextCase{"lblstartuploc", "Select the location you would like Cirrolux to \"Get Stats\" "
                                  "on when it starts up."},
        TextCase{"Label1", "Start-up Location:"},
        TextCase{"Label3",
                 "As Cirrolux gets an update, it can automatically update your Wallpaper with "
                 "one of the selections below.  If you don't want this, choose \"None\"."},
        TextCase{"Label4", "Wallpaper Image:"}, TextCase{"lblWallpaperloc", "Wallpaper style:"},
        TextCase{"lblXloc", "X:"}, TextCase{"lblYloc", "Y:"},
        TextCase{"GroupBox1", " Proxy Settings "},
        TextCase{"CheckBox1", "Use these Proxy Settings"}, TextCase{"lblProxy", "Proxy:"},
        TextCase{"lblProxyPort", "Proxy Port:"}, TextCase{"lblProxyUserid", "Userid:"},
        TextCase{"lblProxyPass", "Password:"}, TextCase{"GroupBox3", " Metric Setting "},
        TextCase{"lblMetric", "For temperatures, etc."}, TextCase{"radioEnglish", "Use English"},
        TextCase{"radioMetric", "Use Metric"}, TextCase{"ckMinimized", "Minimize on Start-up"},
        TextCase{"btnOkay", "OK"}, TextCase{"btnCancel", "Cancel"}, TextCase{"BitBtn1", "&Help"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST_F(PreferencesDialog, WindowAndEditsAsDesigned)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cirrolux - Preferences"));
    EXPECT_EQ(dialog.size(), QSize(516, 373));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_EQ(child<QLineEdit>("txtProxyPass")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>("txtXloc")->maxLength(), 5);
    EXPECT_EQ(child<QLineEdit>("txtYloc")->maxLength(), 5);
    EXPECT_TRUE(child<QComboBox>("cboStartupLoc")->isEditable());
    EXPECT_FALSE(child<QComboBox>("cboAutoWallpaper")->isEditable());
}

TEST_F(PreferencesDialog, EmptyStoreShowsDefaultsWithSilverForWhatIsOff)
{
    dialog.show();
    EXPECT_TRUE(child<QRadioButton>("radioYesupstat")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("radioEnglish")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("ckMinimized")->isChecked());
    const QComboBox* startup = child<QComboBox>("cboStartupLoc");
    EXPECT_EQ(startup->count(), 1);
    EXPECT_EQ(startup->itemText(0), QStringLiteral("None"));
    EXPECT_EQ(startup->currentText(), QString());
    EXPECT_EQ(child<QComboBox>("cboAutoWallpaper")->currentText(), QStringLiteral("None"));
    EXPECT_EQ(child<QComboBox>("cboAutoWallpaper")->count(), 21);
    EXPECT_EQ(child<QComboBox>("cboWallpaperStyles")->currentText(), QStringLiteral("Tile"));
    const QColor window = QApplication::palette().color(QPalette::Base);
    for (const char* edit :
         {"EditProxy", "EditProxyPort", "txtProxyUserid", "txtProxyPass", "txtXloc", "txtYloc"}) {
        EXPECT_FALSE(child<QWidget>(edit)->isEnabled()) << edit;
        EXPECT_EQ(base(edit), Silver) << edit;
    }
    EXPECT_EQ(base("cboStartupLoc"), window);

    child<QRadioButton>("radioNoupstat")->click();
    EXPECT_FALSE(child<QWidget>("cboStartupLoc")->isEnabled());
    EXPECT_EQ(base("cboAutoWallpaper"), Silver);
    child<QCheckBox>("CheckBox1")->click();
    EXPECT_TRUE(child<QWidget>("txtProxyPass")->isEnabled());
    EXPECT_EQ(base("EditProxy"), window);
    child<QComboBox>("cboWallpaperStyles")->setCurrentIndex(3);
    EXPECT_TRUE(child<QWidget>("txtXloc")->isEnabled());
    EXPECT_EQ(base("txtYloc"), window);
}

TEST_F(PreferencesDialog, MinimizedThenCancelIsStillStored)
{
    dialog.show();
    child<QCheckBox>("ckMinimized")->click();
    child<QPushButton>("btnCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stored(names::StartMinimized), "y");
    EXPECT_EQ(stored(names::AutoUpdate), "n/a");
}

TEST_F(PreferencesDialog, OkStoresAndCloses)
{
    dialog.show();
    child<QComboBox>("cboStartupLoc")->setEditText(QStringLiteral("Paris, France (O)"));
    child<QRadioButton>("radioMetric")->click();
    child<QPushButton>("btnOkay")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stored(names::StartupLoc), "Paris, France (O)");
    EXPECT_EQ(stored(names::Metric), "y");
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(PreferencesDialog, BadPortShowsTheErrorAndStaysOpen)
{
    dialog.show();
    child<QCheckBox>("CheckBox1")->click();
    child<QLineEdit>("EditProxy")->setText(QStringLiteral("cache.example"));
    child<QLineEdit>("EditProxyPort")->setText(QStringLiteral("31x8"));
    child<QComboBox>("cboStartupLoc")->setEditText(QStringLiteral("Boston, MA"));
    child<QPushButton>("btnOkay")->click();
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"'31x8' is not a valid integer value"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(stored(names::ProxyUse), "n/a");
}

TEST_F(PreferencesDialog, RadarEntryOpensTheChooserWhoseChoiceOkKeeps)
{
    dialog.show();
    QComboBox* images = child<QComboBox>("cboAutoWallpaper");
    const int radarRow = images->findText(QStringLiteral("Regional/State Radar"));
    ASSERT_GE(radarRow, 0);
    images->setCurrentIndex(radarRow);
    Q_EMIT images->activated(radarRow);
    EXPECT_EQ(radar.opened, std::vector<bool>{true});
    EXPECT_EQ(images->currentText(), QStringLiteral("Regional/State Radar=TX"));
    child<QPushButton>("btnOkay")->click();
    EXPECT_EQ(stored(names::AutoWallpaper), "Regional/State Radar=TX");

    // Shown again from the store at the next showing.
    dialog.show();
    EXPECT_EQ(images->currentText(), QStringLiteral("Regional/State Radar=TX"));
}

TEST_F(PreferencesDialog, HelpOpensItsPage)
{
    dialog.show();
    child<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(ui.events(), (std::vector<Event>{{Event::Kind::Help, "preferences"}}));
    EXPECT_TRUE(dialog.isVisible());
}
