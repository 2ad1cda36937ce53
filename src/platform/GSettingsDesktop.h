#pragma once

#include "platform/DesktopBackend.h"

#include <memory>

namespace cirrolux {

// The desktops that keep their wallpaper in GSettings (GNOME and its relatives, Cinnamon, MATE).
// Talks to GSettings through GIO, so the user's settings backend (dconf, or the keyfile backend
// when GSETTINGS_BACKEND=keyfile) receives the values.
class GSettingsDesktop final : public DesktopBackend
{
public:
    // Where one desktop keeps its wallpaper.
    struct Layout
    {
        std::string desktopName;
        std::string schemaId;
        std::string pictureKey;     // takes the picture
        std::string darkPictureKey; // also takes it when the schema has it; empty for none
        std::string optionsKey;     // layout: "wallpaper", "centered" or "stretched"
        bool pictureIsUri = true;   // "file://..." (GNOME, Cinnamon) or a plain path (MATE)
    };

    static Layout gnomeLayout();    // org.gnome.desktop.background
    static Layout cinnamonLayout(); // org.cinnamon.desktop.background
    static Layout mateLayout();     // org.mate.background

    explicit GSettingsDesktop(Layout layout);
    // Uses the layout's name with another desktop name ("Unity", "Budgie") for the messages.
    GSettingsDesktop(Layout layout, std::string desktopName);

    std::string name() const override { return m_layout.desktopName; }
    // True when the schema is installed. GSettings aborts the program on an unknown schema, so
    // nothing else here opens one that was not found first.
    bool available() override;
    void apply(const QString& picture, WallpaperFill fill) override;

    // The picture-options value for a fill ("wallpaper", "centered", "stretched").
    static const char* optionsValue(WallpaperFill fill);

private:
    Layout m_layout;
};

} // namespace cirrolux
