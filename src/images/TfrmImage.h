#pragma once

#include "images/ImageWindow.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QLabel;

namespace Ui {
class TfrmImage;
}

namespace cirrolux {

class SettingsStore;
class TGIFImage;
class TImage;
class UserInterface;
class WallpaperCommands;
struct SharedState;

// The image window: the one picture downloaded last, in Image1 (JPEG) or GIFImage1 (GIF), with
// its own menu. Showing it minimises the main window; closing it restores the main window and
// deletes the downloaded file. Created once and kept for the life of the program.
class TfrmImage : public QMainWindow, public ImageWindow
{
    Q_OBJECT

public:
    // What the window does to the main window: minimise it while this one shows, bring it back
    // when this one closes. The main window is not the owner, so that minimising it leaves this
    // window on the screen.
    struct MainWindowSteps
    {
        std::function<void()> minimize;
        std::function<void()> restore;
    };

    // References must outlive the window.
    TfrmImage(SharedState& state, SettingsStore& settings, UserInterface& ui,
              MainWindowSteps mainWindow);
    ~TfrmImage() override;

    // The wallpaper step "Save As &Wallpaper" ends with; null (the default) disables the entry.
    void setWallpaperCommands(WallpaperCommands* commands);

    void FormShow();
    void FormClose();
    void mnuMOYes1Click();
    void mnuMONo1Click();
    void mnuSaveAsWallpaper1Click();
    void mnuPrint1Click();
    void mnuClose1Click();
    void mnuHelpContentsF11Click();

    TImage& Image1();
    TGIFImage& GIFImage1();
    QColor backgroundColor() const;
    bool maximizeButtonShown() const { return m_maximizeButton; }
    // The client area as it is painted now (the print and wallpaper capture).
    QImage captureClientArea();
    // The capture's wait before it repaints, in ms (tests shorten it).
    void setCaptureDelay(int ms) { m_captureDelayMs = ms; }

    // ImageWindow
    void setImageTitle(const std::string& title) override;
    std::string imageTitle() const override;
    void setWhiteBackground() override;
    void removeMaximizeButton() override;
    void setGifAnimate(bool on) override;
    void setGifFrame(int frame) override;
    void preparePicture() override;
    void loadPicture(const std::string& file) override;
    void prepareGif() override;
    void loadGif(const std::string& file) override;
    int gifWidth() const override;
    int gifHeight() const override;
    void moveWindow(int left, int top) override;
    void resizeWindow(int width, int height) override;
    void repaintWindow() override;
    void showWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void guarded(const std::function<void()>& command);
    void setBackground(const QColor& colour);
    void setMaximizeButton(bool shown);
    void checkMaximize(bool yes);

    SharedState& m_state;
    SettingsStore& m_settings;
    UserInterface& m_ui;
    MainWindowSteps m_main;
    std::unique_ptr<Ui::TfrmImage> m_form;
    WallpaperCommands* m_wallpaper = nullptr;
    QLabel* m_statusText = nullptr;
    bool m_maximizeButton = true;
    int m_captureDelayMs = 500;
};

} // namespace cirrolux
