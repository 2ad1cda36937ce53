#include "platform/GSettingsDesktop.h"

#include <QFile>
#include <QUrl>

// GIO names a struct member "signals", which Qt's keyword macro would rewrite.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <utility>

namespace cirrolux {

namespace {

struct SchemaDeleter
{
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct ObjectDeleter
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaDeleter>;
using SettingsPtr = std::unique_ptr<GSettings, ObjectDeleter>;

SchemaPtr lookupSchema(const std::string& id)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr)
        return {};
    return SchemaPtr(g_settings_schema_source_lookup(source, id.c_str(), TRUE));
}

// Writing a key of another type is a programmer error to GSettings, so it is checked first.
bool hasStringKey(GSettingsSchema* schema, const std::string& name)
{
    if (name.empty() || !g_settings_schema_has_key(schema, name.c_str()))
        return false;
    GSettingsSchemaKey* key = g_settings_schema_get_key(schema, name.c_str());
    const bool isString =
        g_variant_type_equal(g_settings_schema_key_get_value_type(key), G_VARIANT_TYPE_STRING);
    g_settings_schema_key_unref(key);
    return isString;
}

} // namespace

GSettingsDesktop::Layout GSettingsDesktop::gnomeLayout()
{
    return {"GNOME",           "org.gnome.desktop.background",
            "picture-uri",     "picture-uri-dark",
            "picture-options", true};
}

GSettingsDesktop::Layout GSettingsDesktop::cinnamonLayout()
{
    return {"Cinnamon", "org.cinnamon.desktop.background", "picture-uri", "", "picture-options",
            true};
}

GSettingsDesktop::Layout GSettingsDesktop::mateLayout()
{
    return {"MATE", "org.mate.background", "picture-filename", "", "picture-options", false};
}

GSettingsDesktop::GSettingsDesktop(Layout layout) : m_layout(std::move(layout)) {}

GSettingsDesktop::GSettingsDesktop(Layout layout, std::string desktopName)
    : m_layout(std::move(layout))
{
    m_layout.desktopName = std::move(desktopName);
}

const char* GSettingsDesktop::optionsValue(WallpaperFill fill)
{
    switch (fill) {
    case WallpaperFill::Tile:
        return "wallpaper";
    case WallpaperFill::Stretch:
        return "stretched";
    case WallpaperFill::Centre:
        break;
    }
    return "centered";
}

bool GSettingsDesktop::available()
{
    const SchemaPtr schema = lookupSchema(m_layout.schemaId);
    return schema && hasStringKey(schema.get(), m_layout.pictureKey) &&
           hasStringKey(schema.get(), m_layout.optionsKey);
}

void GSettingsDesktop::apply(const QString& picture, WallpaperFill fill)
{
    const SchemaPtr schema = lookupSchema(m_layout.schemaId);
    const std::string failed = "Error - " + m_layout.desktopName + " did not take the wallpaper " +
                               picture.toLatin1().toStdString() + ": ";
    if (!schema)
        throw DesktopError(failed + "the settings schema " + m_layout.schemaId +
                           " is not installed.");
    for (const std::string* key : {&m_layout.pictureKey, &m_layout.optionsKey}) {
        if (!hasStringKey(schema.get(), *key))
            throw DesktopError(failed + "the settings schema " + m_layout.schemaId +
                               " has no text key " + *key + ".");
    }

    const QByteArray value = m_layout.pictureIsUri ? QUrl::fromLocalFile(picture).toEncoded()
                                                   : QFile::encodeName(picture);
    SettingsPtr settings(g_settings_new_full(schema.get(), nullptr, nullptr));

    // Written as one change, so the desktop never shows the new picture with the old layout.
    g_settings_delay(settings.get());
    bool written = g_settings_set_string(settings.get(), m_layout.pictureKey.c_str(),
                                         value.constData()) != FALSE;
    if (hasStringKey(schema.get(), m_layout.darkPictureKey))
        written = written && g_settings_set_string(settings.get(), m_layout.darkPictureKey.c_str(),
                                                   value.constData()) != FALSE;
    written = written && g_settings_set_string(settings.get(), m_layout.optionsKey.c_str(),
                                               optionsValue(fill)) != FALSE;
    if (!written) {
        g_settings_revert(settings.get());
        throw DesktopError(failed + "its settings cannot be written.");
    }
    g_settings_apply(settings.get());
    // The settings backend writes asynchronously; a short-lived caller must not lose the change.
    g_settings_sync();

    // Read back through a settings object of its own: a backend that dropped the change (a
    // locked key, a settings service that is not there) would otherwise pass for a success.
    SettingsPtr check(g_settings_new_full(schema.get(), nullptr, nullptr));
    const auto readBack = [&check](const std::string& key) {
        gchar* text = g_settings_get_string(check.get(), key.c_str());
        std::string got = text != nullptr ? text : "";
        g_free(text);
        return got;
    };
    for (const auto& [key, wanted] :
         {std::pair{m_layout.pictureKey, value.toStdString()},
          std::pair{m_layout.optionsKey, std::string(optionsValue(fill))}}) {
        const std::string got = readBack(key);
        if (got != wanted)
            throw DesktopError(failed + key + " reads back \"" + got + "\".");
    }
}

} // namespace cirrolux
