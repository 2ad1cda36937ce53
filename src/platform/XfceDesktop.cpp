#include "platform/XfceDesktop.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QRegularExpression>

namespace cirrolux {

namespace {
constexpr int CallTimeoutMs = 10000;
const QString LastImage = QStringLiteral("/last-image");
} // namespace

XfceDesktop::XfceDesktop(QDBusConnection bus, QStringList monitors)
    : m_bus(std::move(bus)), m_monitors(std::move(monitors))
{
}

bool XfceDesktop::registered(const QString& service) const
{
    const QDBusReply<bool> reply = m_bus.interface()->isServiceRegistered(service);
    return reply.isValid() && reply.value();
}

bool XfceDesktop::available()
{
    if (!m_bus.isConnected() || m_bus.interface() == nullptr ||
        !registered(QLatin1String(DesktopService)))
        return false;
    const QString service = QLatin1String(Service);
    if (registered(service))
        return true;
    const QDBusReply<QStringList> activatable = m_bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(service);
}

int XfceDesktop::imageStyle(WallpaperFill fill)
{
    switch (fill) {
    case WallpaperFill::Tile:
        return 2;
    case WallpaperFill::Stretch:
        return 3;
    case WallpaperFill::Centre:
        break;
    }
    return 1;
}

QStringList XfceDesktop::backdrops(const QStringList& properties)
{
    static const QRegularExpression backdrop(
        QStringLiteral("^(/backdrop/screen0/monitor[^/]+/workspace[0-9]+)/last-image$"));
    QStringList bases;
    for (const QString& property : properties) {
        const QRegularExpressionMatch match = backdrop.match(property);
        if (match.hasMatch())
            bases << match.captured(1);
    }
    bases.sort();
    bases.removeDuplicates();
    return bases;
}

QDBusMessage XfceDesktop::call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QLatin1String(Service), QLatin1String(Path), QLatin1String(Interface), method);
    message.setArguments(arguments);
    return m_bus.call(message, QDBus::Block, CallTimeoutMs);
}

void XfceDesktop::apply(const QString& picture, WallpaperFill fill)
{
    const QString channel = QLatin1String(Channel);
    // A channel without backdrops answers with an error; then the fallback monitors are set.
    QStringList known;
    const QDBusMessage all =
        call(QStringLiteral("GetAllProperties"), {channel, QStringLiteral("/backdrop")});
    if (all.type() == QDBusMessage::ReplyMessage && !all.arguments().isEmpty()) {
        const auto properties = qdbus_cast<QVariantMap>(all.arguments().constFirst());
        known = properties.keys();
    }
    QStringList bases = backdrops(known);
    if (bases.isEmpty()) {
        for (const QString& monitor : m_monitors)
            bases << QStringLiteral("/backdrop/screen0/monitor%1/workspace0").arg(monitor);
    }
    if (bases.isEmpty())
        bases << QStringLiteral("/backdrop/screen0/monitor0/workspace0");

    const auto failed = [&picture](const QString& why) {
        return DesktopError("Error - Xfce did not take the wallpaper " +
                            picture.toLatin1().toStdString() + ": " + why.toStdString());
    };
    std::vector<std::pair<QString, QVariant>> wanted;
    for (const QString& base : bases) {
        wanted.emplace_back(base + LastImage, QVariant(picture));
        wanted.emplace_back(base + QStringLiteral("/image-style"), QVariant(imageStyle(fill)));
    }
    for (const auto& [property, value] : wanted) {
        const QDBusMessage reply =
            call(QStringLiteral("SetProperty"),
                 {channel, property, QVariant::fromValue(QDBusVariant(value))});
        if (reply.type() != QDBusMessage::ReplyMessage)
            throw failed(reply.errorMessage());
    }
    // Read back: a value xfconf did not keep would leave the old backdrop without a word.
    for (const auto& [property, value] : wanted) {
        const QDBusMessage reply = call(QStringLiteral("GetProperty"), {channel, property});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            throw failed(property + QStringLiteral(" cannot be read back: ") +
                         reply.errorMessage());
        QVariant got = reply.arguments().constFirst();
        if (got.canConvert<QDBusVariant>())
            got = got.value<QDBusVariant>().variant();
        const bool same = value.typeId() == QMetaType::Int
                              ? got.typeId() != QMetaType::QString && got.toInt() == value.toInt()
                              : got.toString() == value.toString();
        if (!same)
            throw failed(property + QStringLiteral(" reads back \"") + got.toString() +
                         QStringLiteral("\"."));
    }
}

} // namespace cirrolux
