#include "images/TfrmImageWallpaper.h"

#include "display/TGIFImage.h"
#include "images/TfrmImage.h"

namespace cirrolux {

std::string TfrmImageWallpaper::imageTitle() const
{
    return m_window.imageTitle();
}

QImage TfrmImageWallpaper::captureRadar(const std::string& file)
{
    // The loop is drawn as the window would show it, frame 2 and the window's margins included,
    // without showing the window: the wallpaper cannot animate.
    m_window.hide();
    m_window.moveWindow(0, 0);
    m_window.setGifAnimate(true);
    m_window.setGifFrame(2);
    m_window.loadGif(file);
    m_window.resizeWindow(m_window.gifWidth() + 10, m_window.gifHeight() + 50);
    m_window.loadGif(file);
    m_window.repaintWindow();
    m_window.setGifAnimate(true);
    m_window.setGifFrame(2);
    const QImage picture = m_window.GIFImage1().Empty() ? QImage() : m_window.captureClientArea();
    m_window.FormClose();
    return picture;
}

QImage TfrmImageWallpaper::gifFirstFrame() const
{
    return m_window.GIFImage1().FirstFrameBitmap();
}

} // namespace cirrolux
