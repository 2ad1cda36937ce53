#pragma once

#include <string>

namespace cirrolux {

// What the image download does to the image window, one call per step, so the steps can be
// checked without a display. Sizes are those of the window without its frame.
class ImageWindow
{
public:
    virtual ~ImageWindow() = default;

    virtual void setImageTitle(const std::string& title) = 0;
    virtual std::string imageTitle() const = 0;
    // White background until the next close.
    virtual void setWhiteBackground() = 0;
    // No maximize button in the title bar until the next close.
    virtual void removeMaximizeButton() = 0;

    virtual void setGifAnimate(bool on) = 0;
    // Frames numbered from 1.
    virtual void setGifFrame(int frame) = 0;

    // Hides the GIF control at size 0 and shows the picture control at the top-left corner.
    virtual void preparePicture() = 0;
    // Decodes `file` into the picture control; throws DecoderError with the decoder's text.
    virtual void loadPicture(const std::string& file) = 0;
    // Hides the picture control at size 0 and shows the GIF control, cleared, at the top-left.
    virtual void prepareGif() = 0;
    // Loads `file` into the GIF control; a file it cannot read leaves it empty, silently.
    virtual void loadGif(const std::string& file) = 0;
    virtual int gifWidth() const = 0;
    virtual int gifHeight() const = 0;

    virtual void moveWindow(int left, int top) = 0;
    // Sets the size and the normal (not maximised or minimised) state.
    virtual void resizeWindow(int width, int height) = 0;
    virtual void repaintWindow() = 0;
    // Shows the window without waiting for it (the window applies its maximize-on-open choice).
    virtual void showWindow() = 0;
};

} // namespace cirrolux
