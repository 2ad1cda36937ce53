#pragma once

#include "images/WallpaperUpdate.h"

namespace cirrolux {

class TfrmImage;

// The wallpaper update's view of the image window.
class TfrmImageWallpaper final : public WallpaperUpdate::Window
{
public:
    // `window` must outlive this object.
    explicit TfrmImageWallpaper(TfrmImage& window) : m_window(window) {}

    std::string imageTitle() const override;
    QImage captureRadar(const std::string& file) override;
    QImage gifFirstFrame() const override;

private:
    TfrmImage& m_window;
};

} // namespace cirrolux
