// cirrolux-test-sni-watcher: a fake StatusNotifierWatcher and host for the tray test. On the
// session bus of its environment it waits for one item to register, prints the item's
// properties one per line ("Title=Cirrolux"), optionally clicks it, and exits 0; exits 1 when no
// item registers in time and 2 when the watcher's name is taken.
//
//   cirrolux-test-sni-watcher [--timeout <seconds>] [--click Activate|ContextMenu]

#include "FakeStatusNotifierWatcher.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTimer>

#include <cstdio>

using cirrolux::testing::FakeStatusNotifierWatcher;

namespace {

const QString ItemInterface = QStringLiteral("org.kde.StatusNotifierItem");

void Print(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// a(iiay) as "16x16 32x32".
QString PixmapSizes(const QDBusArgument& pixmaps)
{
    QStringList sizes;
    pixmaps.beginArray();
    while (!pixmaps.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray argb;
        pixmaps.beginStructure();
        pixmaps >> width >> height >> argb;
        pixmaps.endStructure();
        const bool complete = argb.size() == qsizetype(width) * height * 4;
        sizes << QStringLiteral("%1x%2%3").arg(width).arg(height).arg(
            complete ? QString() : QStringLiteral("(short)"));
    }
    pixmaps.endArray();
    return sizes.join(QLatin1Char(' '));
}

QString Text(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return value.toString();
    const QDBusArgument argument = value.value<QDBusArgument>();
    const QString signature = argument.currentSignature();
    if (signature == QLatin1String("a(iiay)"))
        return PixmapSizes(argument);
    if (signature == QLatin1String("(sa(iiay)ss)")) {
        QString iconName;
        QString title;
        QString text;
        argument.beginStructure();
        argument >> iconName;
        const QString sizes = PixmapSizes(argument);
        argument >> title >> text;
        argument.endStructure();
        return QStringLiteral("%1|%2|%3|%4").arg(iconName, sizes, title, text);
    }
    return QStringLiteral("<%1>").arg(signature);
}

void Report(const QString& item, const QString& click)
{
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    const QString service = slash < 0 ? item : item.left(slash);
    const QString path = slash < 0 ? QStringLiteral("/StatusNotifierItem") : item.mid(slash);
    Print(QStringLiteral("registered %1 %2").arg(service, path));

    QDBusMessage getAll = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    getAll << ItemInterface;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(getAll);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        Print(QStringLiteral("GetAll failed: %1").arg(reply.errorMessage()));
        return;
    }
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        Print(QStringLiteral("%1=%2").arg(it.key(), Text(it.value())));

    if (!click.isEmpty()) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, ItemInterface, click);
        call << 40 << 30;
        const QDBusMessage answer = QDBusConnection::sessionBus().call(call);
        Print(answer.type() == QDBusMessage::ReplyMessage
                  ? QStringLiteral("clicked %1").arg(click)
                  : QStringLiteral("click failed: %1").arg(answer.errorMessage()));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int timeoutSeconds = 30;
    QString click;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--timeout"))
            timeoutSeconds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--click"))
            click = args[i + 1];
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    FakeStatusNotifierWatcher watcher;
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        Print(QStringLiteral("cannot own org.kde.StatusNotifierWatcher: %1")
                  .arg(bus.lastError().message()));
        return 2;
    }
    Print(QStringLiteral("ready"));

    QObject::connect(&watcher, &FakeStatusNotifierWatcher::StatusNotifierItemRegistered, &app,
                     [&](const QString& item) {
                         Report(item, click);
                         QCoreApplication::exit(0);
                     });
    QTimer::singleShot(timeoutSeconds * 1000, &app, [timeoutSeconds] {
        Print(QStringLiteral("no item registered within %1 s").arg(timeoutSeconds));
        QCoreApplication::exit(1);
    });
    return QCoreApplication::exec();
}
