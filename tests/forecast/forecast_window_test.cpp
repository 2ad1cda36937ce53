// The forecast window, headless, against the service emulator through the real transfer
// component: what it shows, asks and stores, its layout, fonts, colours and printing.
#include "CaseName.h"
#include "ForecastRoad.h"
#include "WaitFor.h"
#include "forecast/ForecastModes.h"
#include "forecast/ReportText.h"
#include "forecast/TfrmForecast.h"
#include "settings/ColorText.h"
#include "settings/SettingNames.h"
#include "ui_TfrmForecast.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

#include <gtest/gtest.h>

using namespace cirrolux;
using Event = test::RecordingUserInterface::Event;
namespace names = SettingNames;

namespace {

// The main window's side of the status routing, handing texts to the window once it exists.
class ForwardingView final : public ConditionsView
{
public:
    void setStatusText(const std::string&) override {}
    void setForecastStatusText(const std::string& text) override
    {
        if (window != nullptr)
            window->setStatusText(text);
    }
    void showReading(Reading, const std::string&) override {}
    std::string reading(Reading) const override { return {}; }
    void setTrayTip(const std::string&) override {}
    void setTrayPicture(int) override {}
    void setWindowTitle(const std::string&) override {}
    std::string windowTitle() const override { return {}; }

    TfrmForecast* window = nullptr;
};

struct MainSide
{
    ForwardingView view;
    std::string mainTitle = "Cirrolux - Boston, MA";
    int minimized = 0;
    int restored = 0;
};

class ForecastWindow : public ::testing::Test, protected MainSide, protected test::ForecastRoad
{
protected:
    ForecastWindow() : test::ForecastRoad(view)
    {
        request.SendUsageCounter();
        emulator.clearRequests();
        window =
            std::make_unique<TfrmForecast>(TfrmForecast::Environment{shared,
                                                                     store,
                                                                     ui,
                                                                     http,
                                                                     [this] { return mainTitle; },
                                                                     [this] { ++minimized; },
                                                                     [this] { ++restored; },
                                                                     {}});
        view.window = window.get();
    }
    ~ForecastWindow() override { view.window = nullptr; }

    Ui::TfrmForecast& form() { return window->form(); }

    static bool waitFor(const std::function<bool()>& done, int ms = 10000)
    {
        return test::WaitFor(done, ms);
    }

    // Opens the window as a report command does and lets its activation run.
    void open(const std::string& mode)
    {
        window->openForecast(mode);
        waitFor([this] { return window->isActiveWindow(); }, 2000);
        QCoreApplication::processEvents();
    }

    // Another window takes the focus, then the forecast window gets it back.
    void reactivate()
    {
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
    }

    std::string status() const { return window->statusLabel()->text().toStdString(); }
    std::string boxText() { return form().RichEdit1->toPlainText().toLatin1().toStdString(); }
    std::string title() const { return window->windowTitle().toLatin1().toStdString(); }

    // The box shows CR LF and a lone CR as one line end.
    static std::string asShown(std::string text)
    {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                out += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    std::unique_ptr<TfrmForecast> window;
};

TEST_F(ForecastWindow, ImmediateReportIsFetchedWhenTheWindowShows)
{
    open("p");
    ASSERT_EQ(requestLines(), std::vector<std::string>{
                                  "GET http://iwin.nws.noaa.gov/iwin/MA/public.html HTTP/1.0"});
    EXPECT_EQ(title(), "Cirrolux - Public Information for MA");
    EXPECT_EQ(boxText(),
              asShown(parse_warning_html(
                  StripReportHtml(page("http://iwin.nws.noaa.gov/iwin/MA/public.html")), "MA")));
    EXPECT_EQ(status(), " Thank you for using Cirrolux...");
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(form().btnGetit->isVisible());
    EXPECT_FALSE(form().editCounty->isVisible());
    EXPECT_TRUE(ui.events().empty());
}

TEST_F(ForecastWindow, EveryActivationFetchesAgain)
{
    open("eb");
    ASSERT_EQ(emulator.requests().size(), 1u);
    reactivate();
    EXPECT_EQ(emulator.requests().size(), 2u);
    EXPECT_EQ(title(), "Cirrolux - Near-Real Time Earthquake Bulletin (World)");
    EXPECT_TRUE(boxText().starts_with("Current Time: Thu Jan 15 14:00:00 UTC 2026\n"));
    EXPECT_TRUE(boxText().ends_with("\n\n--- End of File --\nThanks for using Cirrolux..."));
}

TEST_F(ForecastWindow, ClosingAMessageBoxDoesNotAskAgain)
{
    shared.locationState.clear();
    open("w");
    EXPECT_EQ(ui.messages().size(), 1u);
    // The activation that follows the box's closing.
    window->FormActivate();
    EXPECT_EQ(ui.messages().size(), 1u);
    // The next one, from the user, asks again.
    window->FormActivate();
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_TRUE(emulator.requests().empty());
}

TEST_F(ForecastWindow, CountyReportWaitsForGetIt)
{
    open("f");
    EXPECT_TRUE(emulator.requests().empty());
    EXPECT_TRUE(form().btnGetit->isVisible());
    EXPECT_TRUE(form().editCounty->isVisible());
    EXPECT_EQ(form().lblCounty->text(), QStringLiteral("Enter a County name (optional):"));
    form().editCounty->setText(QStringLiteral("suffolk"));
    form().btnGetit->click();
    EXPECT_EQ(requestLines(),
              std::vector<std::string>{"GET http://iwin.nws.noaa.gov/iwin/MA/zone.html HTTP/1.0"});
    EXPECT_EQ(title(), "Cirrolux - Text Forecast for SUFFOLK county, MA");
    EXPECT_TRUE(boxText().starts_with("\nSUFFOLK-\n")) << boxText().substr(0, 60);
    EXPECT_EQ(boxText().find("NORFOLK"), std::string::npos);
    EXPECT_EQ(status(), " Thank you for using Cirrolux...");
}

struct TitleCase
{
    const char* name;
    std::string mainTitle;
    std::string city;
    std::string state;
    std::vector<std::string> messages;
};

class LocationFromTitle : public ForecastWindow, public ::testing::WithParamInterface<TitleCase>
{
};

TEST_P(LocationFromTitle, CountyModesTakeTheLocationFromTheMainTitle)
{
    const TitleCase& c = GetParam();
    shared.locationCity = "before";
    shared.locationState.clear();
    mainTitle = c.mainTitle;
    open("n");
    EXPECT_EQ(shared.locationCity, c.city);
    EXPECT_EQ(shared.locationState, c.state);
    EXPECT_EQ(ui.messages(), c.messages);
}

const std::string NoLocation(ForecastTexts::NoLocation);
const std::string UsOnly(ForecastTexts::TextForecastsUsOnly);

INSTANTIATE_TEST_SUITE_P(
    Titles, LocationFromTitle,
    ::testing::Values(
        TitleCase{"US city", "Cirrolux - Boston, MA", "Boston", "MA", {}},
        TitleCase{"two word city", "Cirrolux - New York, NY", "New York", "NY", {}},
        TitleCase{"foreign place", "Cirrolux - Lima, Peru (O)", "Lima", "Peru (O)", {UsOnly}},
        TitleCase{"no location yet", "Cirrolux", "before", "", {NoLocation}}),
    [](const ::testing::TestParamInfo<TitleCase>& info) {
        return test::CaseName(info.param.name);
    });

TEST_F(ForecastWindow, NoLocationYetGetItAsksAgainAndFetchesNothing)
{
    shared.locationState.clear();
    mainTitle = "Cirrolux";
    open("f");
    form().btnGetit->click();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{NoLocation, NoLocation}));
    EXPECT_TRUE(emulator.requests().empty());
}

TEST_F(ForecastWindow, CropWeatherListStartsWithTheLocationsState)
{
    open("cw");
    EXPECT_TRUE(form().cboState->isVisible());
    EXPECT_EQ(form().cboState->count(), 52);
    EXPECT_EQ(form().cboState->itemText(0), QStringLiteral("None"));
    EXPECT_EQ(form().cboState->currentText(), QStringLiteral("MA"));
    form().btnGetit->click();
    EXPECT_EQ(form().cboState->currentText(), QStringLiteral("MA,"));
    EXPECT_EQ(requestLines().back(),
              "GET http://www.nass.usda.gov/weather/cpcurr/ma-crop-weather HTTP/1.0");
    EXPECT_EQ(title(), "Cirrolux - Crop Weather for MA");
}

struct PickCase
{
    const char* entry;
    std::string rewritten;
    std::string cropState;
    std::string code; // in the address and the title
};

class CropWeatherPick : public ForecastWindow, public ::testing::WithParamInterface<PickCase>
{
};

TEST_P(CropWeatherPick, FetchesThePickedStateOrFallsBack)
{
    const PickCase& c = GetParam();
    open("cw");
    form().cboState->setCurrentIndex(form().cboState->findText(QString::fromLatin1(c.entry)));
    form().btnGetit->click();
    EXPECT_EQ(form().cboState->currentText().toStdString(), c.rewritten);
    EXPECT_EQ(window->forecastState().cropStateCode, c.cropState);
    EXPECT_EQ(requestLines().back(), "GET http://www.nass.usda.gov/weather/cpcurr/" +
                                         AsciiLower(c.code) + "-crop-weather HTTP/1.0");
    EXPECT_EQ(title(), "Cirrolux - Crop Weather for " + c.code);
    // The lookup borrows stateCode and locationTitle and gives them back.
    EXPECT_EQ(shared.stateCode, "");
    EXPECT_EQ(shared.locationTitle, "");
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CropWeatherPick,
    ::testing::Values(PickCase{"50-Vermont", "50,Vermont", "VT", "VT"},
                      // The state-name table has no New Hampshire: the location's state is used.
                      PickCase{"33-New Hampshire", "33,New Hampshire", "", "MA"},
                      PickCase{"None", "No,e", "", "MA"}),
    [](const ::testing::TestParamInfo<PickCase>& info) {
        return test::CaseName(info.param.entry);
    });

TEST_F(ForecastWindow, NoneKeepsAStateChosenEarlier)
{
    open("cw");
    QComboBox* list = form().cboState;
    list->setCurrentIndex(list->findText(QStringLiteral("50-Vermont")));
    form().btnGetit->click();
    list->setCurrentIndex(0);
    form().btnGetit->click();
    EXPECT_EQ(window->forecastState().cropStateCode, "VT");
    EXPECT_EQ(requestLines().back(),
              "GET http://www.nass.usda.gov/weather/cpcurr/vt-crop-weather HTTP/1.0");
}

TEST_F(ForecastWindow, CensusByStateSendsTheRewrittenListText)
{
    open("s1");
    QComboBox* list = form().cboState;
    list->setCurrentIndex(list->findText(QStringLiteral("25-Massachusetts")));
    form().btnGetit->click();
    ASSERT_EQ(emulator.requests().size(), 1u);
    EXPECT_NE(requestLines().back().find("/LEV=STATE/SEL=25,Massachusetts/T=P1/"),
              std::string::npos);
    EXPECT_TRUE(boxText().starts_with("1990 US Census Lookup: Massachusetts (FIPS.STATE=25)"));
    // The census page's "|" lines between line breaks close up.
    EXPECT_NE(boxText().find("P1. PERSONS |  Universe: Persons\n"), std::string::npos);
}

TEST_F(ForecastWindow, CensusByZipTakesFiveCharacters)
{
    open("s2");
    EXPECT_TRUE(form().txtZip->isVisible());
    EXPECT_FALSE(form().cboState->isVisible());
    EXPECT_EQ(form().txtZip->maxLength(), 5);
    EXPECT_EQ(form().txtZip->y(), window->height() - 130);
    form().txtZip->setText(QStringLiteral("123"));
    form().btnGetit->click();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Sorry, you entered an invalid zip."});
    EXPECT_TRUE(emulator.requests().empty());
    form().txtZip->setText(QStringLiteral("02134"));
    form().btnGetit->click();
    EXPECT_TRUE(boxText().starts_with("1990 US Census Lookup: ZIP Code 02134"));
}

struct LayoutCase
{
    std::string mode;
    int boxLess;       // the box is this much less high than the window
    int inputLess;     // the input row's top; 0: no input row
    const char* input; // objectName of the input box
};

class WindowLayout : public ForecastWindow, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(WindowLayout, ControlsFollowTheWindowSize)
{
    const LayoutCase& c = GetParam();
    shared.locationState = "AZ"; // immediate modes fetch something small
    open(c.mode);
    for (const QSize size : {QSize(486, 313), QSize(640, 480), QSize(800, 260)}) {
        window->resize(size);
        QCoreApplication::processEvents();
        const int h = window->height();
        EXPECT_EQ(form().RichEdit1->height(), h - c.boxLess) << size.width();
        EXPECT_EQ(form().RichEdit1->width(), window->width() - 5);
        if (c.inputLess != 0) {
            auto* input = window->findChild<QWidget*>(QString::fromLatin1(c.input));
            ASSERT_NE(input, nullptr);
            EXPECT_TRUE(input->isVisible());
            EXPECT_EQ(input->y(), h - c.inputLess);
            EXPECT_EQ(form().btnGetit->y(), h - 100);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Groups, WindowLayout,
                         ::testing::Values(LayoutCase{"h", 62, 0, ""}, LayoutCase{"ss", 62, 0, ""},
                                           LayoutCase{"f", 150, 130, "editCounty"},
                                           LayoutCase{"n", 150, 130, "lblCounty"},
                                           LayoutCase{"s1", 150, 130, "cboState"},
                                           LayoutCase{"cw", 150, 130, "lblState"},
                                           LayoutCase{"s2", 150, 130, "txtZip"}),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             return test::CaseName(info.param.mode);
                         });

TEST_F(ForecastWindow, StartsAt486By313Above_TheCentre)
{
    open("f");
    // 486 x 313 is the client area: below the menu bar, status bar included.
    EXPECT_EQ(window->size() - QSize(0, form().MenuForecast->height()), QSize(486, 313));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->x(), screen.width() / 2 - window->width() / 2);
    EXPECT_EQ(window->y(), screen.height() / 2 - window->height() / 2 - 20);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cirrolux - Forecast"));
    EXPECT_EQ(form().RichEdit1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form().RichEdit1->focusPolicy(), Qt::ClickFocus);
}

struct FontSizeCase
{
    const char* name;
    std::string stored; // empty: nothing stored
    int points;
    bool largeChecked;
};

class StoredFontSize : public ForecastWindow, public ::testing::WithParamInterface<FontSizeCase>
{
};

TEST_P(StoredFontSize, IsReadWhenTheWindowShows)
{
    const FontSizeCase& c = GetParam();
    if (!c.stored.empty())
        store.write_setting(names::Settings, "FfontSiz", c.stored);
    open("f");
    EXPECT_EQ(form().RichEdit1->font().pointSize(), c.points);
    EXPECT_EQ(form().mnuLargefont->isChecked(), c.largeChecked);
    EXPECT_EQ(form().mnuSmallfont->isChecked(), !c.largeChecked);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredFontSize,
                         ::testing::Values(FontSizeCase{"nothing stored", "", 8, false},
                                           FontSizeCase{"large", "12", 12, true},
                                           FontSizeCase{"small", "8", 8, false},
                                           FontSizeCase{"sorts before 1", "0", 8, false},
                                           FontSizeCase{"not a number", "big", 8, false}),
                         [](const ::testing::TestParamInfo<FontSizeCase>& info) {
                             return test::CaseName(info.param.name);
                         });

TEST_F(ForecastWindow, FontSizeChoiceIsStored)
{
    open("f");
    form().mnuLargefont->trigger();
    EXPECT_EQ(store.read_setting(names::Settings, "FfontSiz"), "12");
    EXPECT_EQ(form().RichEdit1->font().pointSize(), 12);
    EXPECT_TRUE(form().mnuLargefont->isChecked());
    EXPECT_FALSE(form().mnuSmallfont->isChecked());
    form().mnuSmallfont->trigger();
    EXPECT_EQ(store.read_setting(names::Settings, "Ffontsiz"), "8");
    EXPECT_EQ(form().RichEdit1->font().pointSize(), 8);
    EXPECT_TRUE(form().mnuSmallfont->isChecked());
}

TEST_F(ForecastWindow, WordWrapIsSwitchedButNotStored)
{
    open("f");
    form().mnuwordwrapOn1->trigger();
    EXPECT_EQ(form().RichEdit1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(form().mnuwordwrapOn1->isChecked());
    EXPECT_FALSE(form().mnuWordwrapOff1->isChecked());
    form().mnuWordwrapOff1->trigger();
    EXPECT_EQ(form().RichEdit1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(QFile::exists(profile.settingsFile()));
}

TEST_F(ForecastWindow, BackgroundColourIsReadChosenAndStored)
{
    open("f");
    EXPECT_EQ(form().RichEdit1->palette().color(QPalette::Base), QColor(Qt::white));
    window->close();

    store.write_setting(names::Settings, "Fbgcolor", "clAqua");
    open("f");
    EXPECT_EQ(form().RichEdit1->palette().color(QPalette::Base), QColor(0, 255, 255));

    ui.answerColor(QColor(0x40, 0x80, 0xFF));
    form().mnubgColor->trigger();
    EXPECT_EQ(form().RichEdit1->palette().color(QPalette::Base), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(store.read_setting(names::Settings, "Fbgcolor"), "$00FF8040");

    form().mnubgColor->trigger(); // cancelled: nothing changes
    EXPECT_EQ(store.read_setting(names::Settings, "Fbgcolor"), "$00FF8040");

    ui.failColorDialog();
    form().mnubgColor->trigger();
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"Error - Color selection dialog failed to load"});
    EXPECT_EQ(form().RichEdit1->palette().color(QPalette::Base), QColor(0x40, 0x80, 0xFF));
}

TEST_F(ForecastWindow, ClosingRestoresTheMainWindowAndTheUsersFont)
{
    open("f");
    const QString userFont = form().RichEdit1->font().family();
    window->close();
    open("ap");
    reactivate(); // a second fetch in the fixed font
    EXPECT_EQ(emulator.requests().size(), 2u);
    EXPECT_EQ(form().RichEdit1->font().family(),
              QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    window->form().mnuCloseWindow->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(form().RichEdit1->font().family(), userFont);
    EXPECT_EQ(boxText(), "");
    EXPECT_EQ(shared.forecastMode, "");
    EXPECT_EQ(restored, 2);
}

TEST_F(ForecastWindow, PrintsTheReportToPdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    open("ss");
    form().mnuPrint->trigger(); // cancelled
    EXPECT_FALSE(QFile::exists(pdf));
    ui.printToPdf(pdf);
    form().mnuPrint->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              1);
    EXPECT_TRUE(ui.errors().empty());
}

TEST_F(ForecastWindow, HelpAndHtmlForecastGoThroughTheUserInterface)
{
    open("f");
    form().mnuHelp->trigger();
    window->openHtmlForecast();
    EXPECT_EQ(ui.events(),
              (std::vector<Event>{{Event::Kind::Help, "forecast"},
                                  {Event::Kind::OpenUrl, "http://www.wunderground.com/"}}));
}

TEST_F(ForecastWindow, TransferErrorIsShownAndNotRetriedOnTheNextActivation)
{
    http.ProxyPort = 1;
    open("p");
    EXPECT_EQ(ui.errors().size(), 1u);
    window->FormActivate();
    EXPECT_EQ(ui.errors().size(), 1u);
}

} // namespace

namespace {

TEST_F(ForecastWindow, AnotherReportCommandWhileShownFetchesOnce)
{
    open("ss");
    ASSERT_EQ(emulator.requests().size(), 1u);
    window->openForecast("si");
    QCoreApplication::processEvents();
    EXPECT_EQ(requestLines().back(), "GET http://www.census.gov/statab/ranks/pg20.txt HTTP/1.0");
    EXPECT_EQ(emulator.requests().size(), 2u);
    EXPECT_EQ(title(), "Cirrolux - US/State Census Median HH Income");
    EXPECT_EQ(minimized, 1); // FormShow ran once
}

} // namespace

namespace {

// WCAG's relative luminance, for readability checks.
double luminance(const QColor& c)
{
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A report opened while a timed refresh (any transfer) holds the shared component waits for it
// and is then fetched, saying meanwhile why nothing comes yet.
TEST_F(ForecastWindow, AReportOpenedDuringAnotherTransferIsFetchedWhenItEnds)
{
    std::string during;
    bool busy = false;
    QTimer::singleShot(0, window.get(), [&] {
        busy = http.Busy();
        open("p");
        during = status();
    });
    http.Get("http://www.wunderground.com/US/MA/Boston.html");
    ASSERT_TRUE(busy);
    EXPECT_EQ(during, "Waiting for the current transfer to end...");
    ASSERT_TRUE(waitFor([this] { return !boxText().empty(); }, 5000));
    EXPECT_EQ(requestLines().back(), "GET http://iwin.nws.noaa.gov/iwin/MA/public.html HTTP/1.0");
    EXPECT_EQ(title(), "Cirrolux - Public Information for MA");
    EXPECT_EQ(status(), " Thank you for using Cirrolux...");
}

// Switched from a fetched report to a census mode, the window shows the census mode's title at
// once, drops the other report, and the text box makes room for the input row without a resize.
struct SwitchCase
{
    const char* mode;
    const char* title;
    const char* input; // the input box that shows
};

class SwitchToCensus : public ForecastWindow, public ::testing::WithParamInterface<SwitchCase>
{
};

TEST_P(SwitchToCensus, TakesItsTitleAndLayoutAtOnce)
{
    open("w");
    ASSERT_FALSE(boxText().empty());
    window->openForecast(GetParam().mode);
    QCoreApplication::processEvents();
    EXPECT_EQ(title(), GetParam().title);
    EXPECT_EQ(boxText(), "");
    auto* input = window->findChild<QWidget*>(QString::fromLatin1(GetParam().input));
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(input->isVisible());
    const QRect box = form().RichEdit1->geometry();
    EXPECT_EQ(box.height(), window->height() - 150);
    EXPECT_LT(box.bottom(), input->y());
    EXPECT_LT(box.bottom(), form().btnGetit->y());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SwitchToCensus,
    ::testing::Values(SwitchCase{"s1", "Cirrolux - Census Detail by State", "cboState"},
                      SwitchCase{"s2", "Cirrolux - Census Detail by Zip", "txtZip"},
                      SwitchCase{"cw", "Cirrolux - Crop Weather for MA", "cboState"}),
    [](const auto& info) { return test::CaseName(info.param.mode); });

TEST_F(ForecastWindow, StatusBarTextIsReadable)
{
    open("p");
    QLabel* text = window->statusLabel();
    text->ensurePolished();
    form().StatusBar1->ensurePolished();
    EXPECT_GE(contrast(text->palette().color(QPalette::WindowText),
                       form().StatusBar1->palette().color(QPalette::Window)),
              4.5);
}

// Every input label shows its whole text, colon included, and its box starts after it.
TEST_F(ForecastWindow, InputLabelsShowTheirWholeText)
{
    const std::pair<QLabel*, QWidget*> rows[] = {{form().lblCounty, form().editCounty},
                                                 {form().lblZip, form().txtZip},
                                                 {form().lblState, form().cboState}};
    for (const auto& [label, box] : rows) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        EXPECT_GT(box->x(), label->geometry().right()) << label->text().toStdString();
    }
    EXPECT_EQ(form().lblCounty->text(), QStringLiteral("Enter a County name (optional):"));
}

TEST_F(ForecastWindow, F1OpensTheForecastPage)
{
    open("f");
    ui.clear();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(ui.events(), (std::vector<test::RecordingUserInterface::Event>{
                               {test::RecordingUserInterface::Event::Kind::Help, "forecast"}}));
}

} // namespace
