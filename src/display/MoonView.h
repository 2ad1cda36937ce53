#pragma once

#include <string>

namespace cirrolux {

// Where the chosen moon picture is shown (the main window, a recorder in tests).
class MoonView
{
public:
    virtual ~MoonView() = default;
    // True when a picture of that name exists ("GifImageL40x", "newmoonx", "fullmoonx", ...).
    virtual bool hasMoonPicture(const std::string& name) const = 0;
    // Hides the other pictures and shows this one in its box.
    virtual void showMoonPicture(const std::string& name) = 0;
};

} // namespace cirrolux
