#pragma once

#include "forecast/ForecastRetrieval.h"
#include "forecast/ForecastState.h"
#include "forecast/ForecastView.h"
#include "platform/WindowCommands.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QTimer;

namespace Ui {
class TfrmForecast;
}

namespace cirrolux {

class SettingsStore;
class TNMHTTP;
class UserInterface;
struct SharedState;

// The forecast window: one text report at a time, fetched for forecastMode at once or after the
// user gave a county, a state or a zip code. Created once at start-up and shown by the main
// window's report commands (through ForecastCommands).
class TfrmForecast : public QMainWindow, public ForecastView, public ForecastCommands
{
    Q_OBJECT

public:
    // What the window needs from the main window. References must outlive the window.
    struct Environment
    {
        SharedState& shared;
        SettingsStore& settings;
        UserInterface& ui;
        TNMHTTP& http;                                     // the shared NMHTTP1
        std::function<std::string()> mainTitle;            // the main window's title
        std::function<void()> minimizeMain;                // while this window is shown
        std::function<void()> restoreMain;                 // when it closes
        std::function<void(SharedState&)> stateNameToCode; // default: the catalogue's
    };

    explicit TfrmForecast(Environment environment, QWidget* parent = nullptr);
    ~TfrmForecast() override;

    // ForecastCommands
    void openForecast(const std::string& mode) override;
    void openHtmlForecast() override;

    // Handlers, named as the program's users know them.
    void FormShow();
    void FormActivate();
    void FormResize();
    void FormClose();
    void btnGetitClick();
    void process_s1s2();
    void get_xcast();
    void mnubgColorClick();
    void mnuLargefontClick();
    void mnuSmallfontClick();
    void mnuWordwrapOff1Click();
    void mnuwordwrapOn1Click();
    void mnuPrintClick();
    void mnuCloseWindowClick();
    void mnuHelpClick();

    // ForecastView
    void setStatusText(const std::string& text) override;
    void setWindowTitle(const std::string& title) override;
    void setReportText(const std::string& text) override;
    std::string reportText() const override;
    std::string fontName() const override;
    void setFontName(const std::string& name) override;
    bool zipVisible() const override;
    std::string zipText() const override;
    std::string stateListText() const override;
    std::string countyText() const override;
    void repaint() override;

    ForecastState& forecastState() { return m_state; }
    ForecastRetrieval& retrieval() { return m_retrieval; }
    Ui::TfrmForecast& form() { return *m_form; }
    QLabel* statusLabel() const { return m_status; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void guarded(const std::function<void()>& command);
    void setFontSize(int points);
    // Runs get_xcast; a message or an error it shows keeps the activation that follows the
    // box's closing from fetching again.
    void fetch();
    // Titles the window for a census or crop mode, which waits for input.
    void showInputMode();

    Environment m_env;
    ForecastState m_state;
    std::unique_ptr<Ui::TfrmForecast> m_form;
    ForecastRetrieval m_retrieval;
    QLabel* m_status = nullptr;
    QTimer* m_transferWait = nullptr; // polls for the end of another transfer
    std::string m_shownText;
    std::string m_listStartText; // what the state list shows once it is filled
    bool m_fixedFont = false;
    bool m_fetching = false;
    bool m_skipActivation = false;
};

} // namespace cirrolux
