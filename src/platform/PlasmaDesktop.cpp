#include "platform/PlasmaDesktop.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>

namespace cirrolux {

namespace {

constexpr int CallTimeoutMs = 10000;

// A JavaScript string literal; the shell runs the script as JavaScript.
QString jsString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

} // namespace

PlasmaDesktop::PlasmaDesktop(QDBusConnection bus) : m_bus(std::move(bus)) {}

bool PlasmaDesktop::available()
{
    if (!m_bus.isConnected() || m_bus.interface() == nullptr)
        return false;
    const QDBusReply<bool> registered =
        m_bus.interface()->isServiceRegistered(QLatin1String(Service));
    return registered.isValid() && registered.value();
}

int PlasmaDesktop::fillMode(WallpaperFill fill)
{
    switch (fill) {
    case WallpaperFill::Tile:
        return 3;
    case WallpaperFill::Stretch:
        return 0;
    case WallpaperFill::Centre:
        break;
    }
    return 6;
}

QString PlasmaDesktop::script(const QString& picture, WallpaperFill fill)
{
    // The picture keeps its name from one update to the next; writing an empty image first
    // makes the shell load the file again instead of keeping the picture it already shows.
    return QStringLiteral(
               "var image = %1;\n"
               "var fillMode = %2;\n"
               "var all = desktops();\n"
               "for (var i = 0; i < all.length; ++i) {\n"
               "    var d = all[i];\n"
               "    d.wallpaperPlugin = \"org.kde.image\";\n"
               "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", "
               "\"General\"];\n"
               "    d.writeConfig(\"Image\", \"\");\n"
               "    d.writeConfig(\"Image\", image);\n"
               "    d.writeConfig(\"FillMode\", fillMode);\n"
               "    print(d.wallpaperPlugin + \"\\t\" + d.readConfig(\"Image\") + \"\\t\" +\n"
               "          d.readConfig(\"FillMode\") + \"\\n\");\n"
               "}\n")
        // Both at once: a second arg() would also replace a "%2" of the encoded path.
        .arg(jsString(QString::fromLatin1(QUrl::fromLocalFile(picture).toEncoded())),
             QString::number(fillMode(fill)));
}

QString PlasmaDesktop::misreadDesktop(const QString& printed, const QString& picture,
                                      WallpaperFill fill)
{
    const QStringList lines = printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return QStringLiteral("the shell reports no desktop.");
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        bool number = false;
        const bool same = parts.size() == 3 && parts[0] == QLatin1String("org.kde.image") &&
                          QUrl(parts[1]).toLocalFile() == picture &&
                          parts[2].trimmed().toInt(&number) == fillMode(fill) && number;
        if (!same)
            return QStringLiteral("a desktop reads back \"") +
                   QString(line).replace(QLatin1Char('\t'), QLatin1Char(' ')) +
                   QStringLiteral("\".");
    }
    return {};
}

void PlasmaDesktop::apply(const QString& picture, WallpaperFill fill)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(Service), QLatin1String(Path),
                                       QLatin1String(Interface), QStringLiteral("evaluateScript"));
    call << script(picture, fill);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, CallTimeoutMs);
    const std::string failed =
        "Error - KDE Plasma did not take the wallpaper " + picture.toLatin1().toStdString() + ": ";
    if (reply.type() != QDBusMessage::ReplyMessage)
        throw DesktopError(failed + reply.errorMessage().toStdString());
    // The script prints what each desktop holds after the change.
    const QString printed =
        reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
    const QString misread = misreadDesktop(printed, picture, fill);
    if (!misread.isEmpty())
        throw DesktopError(failed + misread.toStdString());
}

} // namespace cirrolux
