#pragma once

#include "platform/CirroluxError.h"

#include <QString>

#include <string>

namespace cirrolux {

// How a desktop lays the picture out: the three layouts every supported desktop offers.
enum class WallpaperFill { Tile, Centre, Stretch };

// A desktop refused or failed to take the wallpaper (D-Bus error, read-only setting, ...).
class DesktopError : public CirroluxError
{
public:
    using CirroluxError::CirroluxError;
};

// One way of telling a desktop which picture to show. Each desktop the program knows has one.
class DesktopBackend
{
public:
    virtual ~DesktopBackend() = default;

    // The desktop's name as the user knows it ("GNOME", "KDE Plasma", ...).
    virtual std::string name() const = 0;
    // True when this desktop's settings service is there to take a wallpaper (schema installed,
    // service answering on the session bus). Never throws.
    virtual bool available() = 0;
    // Shows `picture` (an absolute path) laid out as `fill`. Throws DesktopError on failure.
    virtual void apply(const QString& picture, WallpaperFill fill) = 0;
};

} // namespace cirrolux
