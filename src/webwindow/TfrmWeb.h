#pragma once

#include "platform/WindowCommands.h"
#include "webwindow/WebPageRetrieval.h"
#include "webwindow/WebPageView.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QPrinter;

namespace Ui {
class TfrmWeb;
}

namespace cirrolux {

class TFrameViewer;
class TGIFImage;
class TNMHTTP;
class UserInterface;
struct SharedState;

// The web page window: country information from the Factbook (mode "ci", with flag and map) and
// the NIFC fire report ("usfi"). Created hidden at start; its controls are built when it is
// first opened, so a window nobody opens costs next to nothing.
class TfrmWeb : public QMainWindow, public WebPageView, public WebWindowCommands
{
    Q_OBJECT

public:
    // `http` is the program's shared transfer component. All references must outlive the window.
    TfrmWeb(SharedState& state, TNMHTTP& http, UserInterface& ui, QWidget* parent = nullptr);
    ~TfrmWeb() override;

    // The image window that shows the country's map; null shows no map.
    void setMapWindow(CountryMapWindow* map);
    // The same, with the window owning `map`.
    void adoptMapWindow(std::unique_ptr<CountryMapWindow> map);
    // Puts the main window back to its normal state (the image window minimised it).
    void setMainWindowRestorer(std::function<void()> restore)
    {
        m_restoreMain = std::move(restore);
    }
    WebPageRetrieval& retrieval() { return m_retrieval; }

    // WebWindowCommands: sets webMode and shows the window for that mode.
    void openWebWindow(const std::string& mode) override;

    // Handlers, named as the program's users know them.
    void FormShow();
    void btnGoClick();
    void btnReloadClick();
    void btnStopClick();
    void FormResize();
    void mnuPrint1Click();
    void mnuClose1Click();
    void mnuHelpContentsF11Click();
    void close_stuff();
    // Prints the current page, pages 1 to 9999, on `printer`.
    void printTo(QPrinter& printer);

    // The controls (built on first use).
    Ui::TfrmWeb& form();
    TFrameViewer& FrameViewer1();
    TGIFImage& GIFImage1();
    std::string statusText() const;

    // WebPageView
    void setStatusText(const std::string& text) override;
    void setTitle(const std::string& title) override;
    void setCountries(const std::vector<std::string>& entries) override;
    std::string chosenCountry() const override;
    void loadPage(const std::string& fileName) override;
    void showFlag(const std::string& fileName) override;
    void bringToFront() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void guarded(const std::function<void()>& command);

    SharedState& m_state;
    TNMHTTP& m_http;
    UserInterface& m_ui;
    WebPageRetrieval m_retrieval;
    std::unique_ptr<Ui::TfrmWeb> m_form;
    std::unique_ptr<CountryMapWindow> m_ownedMap;
    QLabel* m_status = nullptr;
    std::function<void()> m_restoreMain;
    std::string m_shownMode; // the mode the window shows; empty while it is closed
};

} // namespace cirrolux
