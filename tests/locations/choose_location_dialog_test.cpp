// The choose-location dialog's widgets: design, showing, and what "&Okay" leaves behind.
#include "RecordingUserInterface.h"
#include "locations/TfrmLocation.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace cirrolux;
using Event = test::RecordingUserInterface::Event;

class ChooseLocationDialog : public ::testing::Test
{
protected:
    template <typename T> T* child(const char* name) const
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    QTreeView* tree() const { return child<QTreeView>("TreeView1"); }

    test::RecordingUserInterface ui;
    SharedState state;
    TNMHTTP http;
    TfrmLocation dialog{state, ui, http, {}, nullptr};
};

struct TextCase
{
    const char* name;
    const char* text;
};

class ChooseLocationTexts : public ChooseLocationDialog,
                            public ::testing::WithParamInterface<TextCase>
{
};

TEST_P(ChooseLocationTexts, ShowTheirTextInFull)
{
    const TextCase& c = GetParam();
    QWidget* widget = child<QWidget>(c.name);
    ASSERT_NE(widget, nullptr);
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* button = qobject_cast<QPushButton*>(widget))
        text = button->text();
    EXPECT_EQ(text, QString::fromLatin1(c.text));
    // Inside the client area, and tall enough for its wrapped text.
    EXPECT_TRUE(QRect(0, 0, 426, 320).contains(widget->geometry())) << c.name;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Design, ChooseLocationTexts,
    ::testing::Values(TextCase{"lblCountry", "Select a Location:"},
                      TextCase{"Label1",
                               "If you can't find your city, you may enter a zip code here and "
                               "we'll find your city or a city near you."},
                      TextCase{"Label2", "or enter US Zip:"},
                      TextCase{"Label3",
                               "If I don't have your Country or State, please contact me at "
                               "support@cirrolux.net."},
                      TextCase{"btnOkay", "&Okay"}, TextCase{"btnCancel", "&Cancel"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

namespace {
int countNodes(const QAbstractItemModel& model, const QModelIndex& parent)
{
    int count = 0;
    for (int row = 0; row < model.rowCount(parent); ++row)
        count += 1 + countNodes(model, model.index(row, 0, parent));
    return count;
}
} // namespace

TEST_F(ChooseLocationDialog, WindowTreeAndZipBoxAsDesigned)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Cirrolux - Choose Location"));
    EXPECT_EQ(dialog.size(), QSize(426, 320));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(child<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    EXPECT_EQ(child<QLabel>("Label3")->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);

    EXPECT_EQ(tree()->size(), QSize(201, 273));
    EXPECT_EQ(tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
    const QAbstractItemModel& model = *tree()->model();
    EXPECT_EQ(countNodes(model, {}), 2272);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("Continent"));
    EXPECT_EQ(model.index(0, 0, model.index(4, 0, model.index(0, 0))).data().toString(),
              QStringLiteral("Austria"));
    EXPECT_EQ(child<QLineEdit>("txtzipcode")->maxLength(), 5);
    EXPECT_TRUE(tree()->isHidden()); // until the first showing
}

TEST_F(ChooseLocationDialog, ShowingClearsPartsAndZipAndOpensTheRootOnly)
{
    state.locationCity = "Paris";
    state.locationState = "France (O)";
    state.locationGroup = "Europe";
    state.locationZip = "02134";
    child<QLineEdit>("txtzipcode")->setText(QStringLiteral("02134"));
    dialog.show();
    EXPECT_TRUE(tree()->isVisible());
    EXPECT_EQ(state.locationCity, "");
    EXPECT_EQ(state.locationState, "");
    EXPECT_EQ(state.locationGroup, "");
    EXPECT_EQ(state.locationZip, "");
    EXPECT_EQ(child<QLineEdit>("txtzipcode")->text(), QString());
    const QModelIndex root = tree()->model()->index(0, 0);
    EXPECT_TRUE(tree()->isExpanded(root));
    EXPECT_FALSE(tree()->isExpanded(tree()->model()->index(0, 0, root)));
    // The zip box comes first in tab order.
    EXPECT_EQ(dialog.focusWidget(), child<QLineEdit>("txtzipcode"));

    // The tree keeps what the user opened between showings.
    const QModelIndex europe = tree()->model()->index(4, 0, root);
    tree()->expand(europe);
    dialog.close();
    dialog.show();
    EXPECT_TRUE(tree()->isExpanded(europe));
}

TEST_F(ChooseLocationDialog, IncompleteChoiceStaysOpenWithNothingSelected)
{
    dialog.show();
    ASSERT_TRUE(dialog.selectPath({"Continent", "Europe"}));
    EXPECT_EQ(dialog.selectedPath(), (std::vector<std::string>{"Continent", "Europe"}));
    child<QPushButton>("btnOkay")->click();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Error - please select a Country."});
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.selectedPath().empty());
    EXPECT_TRUE(tree()->selectionModel()->selectedIndexes().isEmpty());
}

TEST_F(ChooseLocationDialog, NothingChosenShowsTheDialogAgain)
{
    dialog.show();
    child<QPushButton>("btnOkay")->click();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Error - parsing pathStr.",
                                        "Please select your location for weather conditions."}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.lastOutcome(), ChooseLocation::Outcome::NoLocation);
}

// Only "&Cancel" and the title bar close the dialog; Escape leaves it open.
TEST_F(ChooseLocationDialog, EscapeDoesNotCloseIt)
{
    dialog.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(ChooseLocationDialog, CancelClosesAndF1OpensItsHelp)
{
    dialog.show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &f1);
    EXPECT_EQ(ui.events(), (std::vector<Event>{{Event::Kind::Help, "choose-location"}}));
    child<QPushButton>("btnCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
}
