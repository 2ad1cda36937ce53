#pragma once

#include <functional>
#include <string>

namespace cirrolux {

class ImageWindow;
class TNMHTTP;
class UserInterface;
struct ImageSource;
struct SharedState;

// The image commands of the menus and `do_image`, the download that fills the image window.
// Transfer and decoder errors are not caught here: they end the command and reach the caller's
// command guard with nothing shown. The transfer component's OnSuccess handler (the main
// window's) is what sets requestSucceeded.
class ImageDownload
{
public:
    struct Hooks
    {
        std::function<void(const std::string&)> setStatusText; // first panel of the main window
        std::function<void()> repaint;                         // repaint the main window at once
    };

    // All references must outlive this object.
    ImageDownload(SharedState& state, UserInterface& ui, TNMHTTP& http, ImageWindow& window,
                  Hooks hooks);

    // One catalogue row's menu command: window options, address, title and file, then do_image,
    // then the row's note.
    void runImageCommand(const ImageSource& row);

    // Fetches requestUrl into the file named by imageFile and prepares the image window; shows
    // it unless a timed refresh runs (automaticRequest "y").
    void do_image();

    // Window size every download starts from.
    static constexpr int WindowWidth = 332;
    static constexpr int WindowHeight = 316;
    // An image counts as received from this many bytes, announced or counted.
    static constexpr long long MinimumImageBytes = 500;
    // A Purdue radar picture announced shorter than this is not there yet.
    static constexpr long long RadarRetryBytes = 10000;

private:
    void setStatus(const std::string& text, bool repaint);
    void prepareWindow();
    long long receivedBytes() const;

    SharedState& m_state;
    UserInterface& m_ui;
    TNMHTTP& m_http;
    ImageWindow& m_window;
    Hooks m_hooks;
};

} // namespace cirrolux
