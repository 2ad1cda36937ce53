#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QMutex>
#include <QObject>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <memory>

namespace cirrolux::test {

// The calls a fake service received, in order, as readable lines.
class CallLog
{
public:
    void add(const QString& line)
    {
        QMutexLocker lock(&m_mutex);
        m_lines << line;
    }
    QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
};

// Stands in for the Plasma shell's scripting interface. It answers a wallpaper script as the
// shell prints it back: one line per desktop with the plug-in, the image and the fill mode the
// script wrote.
class FakePlasmaShell : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    CallLog log;
    QString refuseWith; // when set, every script is answered with this error text
    int desktops = 2;   // desktops that print their values
    QString keptImage;  // when set, the last desktop keeps this image (the change did not take)

public Q_SLOTS:
    QString evaluateScript(const QString& script)
    {
        log.add(script);
        if (!refuseWith.isEmpty()) {
            sendErrorReply(QStringLiteral("org.kde.PlasmaShell.Error"), refuseWith);
            return {};
        }
        static const QRegularExpression image(QStringLiteral("^var image = \"([^\"]*)\";$"),
                                              QRegularExpression::MultilineOption);
        static const QRegularExpression fill(QStringLiteral("^var fillMode = ([0-9]+);$"),
                                             QRegularExpression::MultilineOption);
        QString printed;
        for (int i = 0; i < desktops; ++i) {
            const bool kept = i == desktops - 1 && !keptImage.isEmpty();
            printed += QStringLiteral("org.kde.image\t%1\t%2\n")
                           .arg(kept ? keptImage : image.match(script).captured(1),
                                fill.match(script).captured(1));
        }
        return printed;
    }
};

// Stands in for xfdesktop, which only has to own its name on the bus.
class FakeXfdesktop : public QObject
{
    Q_OBJECT
};

// Stands in for xfconfd: a property store for channels, with the calls it was sent.
class FakeXfconf : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.xfce.Xfconf")
public:
    CallLog log;
    QMap<QString, QVariantMap> channels; // set before the service is registered
    QString lockedProperty;              // SetProperty on it is refused
    QString droppedProperty;             // SetProperty on it is answered but not kept

public Q_SLOTS:
    QVariantMap GetAllProperties(const QString& channel, const QString& base)
    {
        log.add(QStringLiteral("GetAllProperties %1 %2").arg(channel, base));
        QVariantMap found;
        const QVariantMap properties = channels.value(channel);
        for (auto it = properties.begin(); it != properties.end(); ++it) {
            if (it.key().startsWith(base + QLatin1Char('/')))
                found.insert(it.key(), it.value());
        }
        if (found.isEmpty())
            sendErrorReply(QStringLiteral("org.xfce.Xfconf.Error.PropertyNotFound"),
                           QStringLiteral("Property \"%1\" does not exist on channel \"%2\"")
                               .arg(base, channel));
        return found;
    }
    void SetProperty(const QString& channel, const QString& property, const QDBusVariant& value)
    {
        const QVariant v = value.variant();
        const QString type = v.metaType().id() == QMetaType::Int ? QStringLiteral("int32")
                             : v.metaType().id() == QMetaType::QString
                                 ? QStringLiteral("string")
                                 : QString::fromLatin1(v.typeName());
        log.add(
            QStringLiteral("SetProperty %1 %2 %3:%4").arg(channel, property, type, v.toString()));
        if (property == lockedProperty) {
            sendErrorReply(QStringLiteral("org.xfce.Xfconf.Error.PermissionDenied"),
                           QStringLiteral("Permission denied while modifying property \"%1\" on "
                                          "channel \"%2\"")
                               .arg(property, channel));
            return;
        }
        if (property != droppedProperty)
            channels[channel][property] = v;
    }
    QDBusVariant GetProperty(const QString& channel, const QString& property)
    {
        log.add(QStringLiteral("GetProperty %1 %2").arg(channel, property));
        const QVariantMap properties = channels.value(channel);
        if (!properties.contains(property)) {
            sendErrorReply(QStringLiteral("org.xfce.Xfconf.Error.PropertyNotFound"),
                           QStringLiteral("Property \"%1\" does not exist on channel \"%2\"")
                               .arg(property, channel));
            return {};
        }
        return QDBusVariant(properties.value(property));
    }
};

// Runs fake services in a thread of their own, so a blocking call from the test's thread is
// answered. Each service is registered under its bus name and object path.
class FakeServiceThread
{
public:
    explicit FakeServiceThread(QDBusConnection bus) : m_bus(std::move(bus)) { m_thread.start(); }
    ~FakeServiceThread()
    {
        for (const auto& [name, path] : m_registered) {
            m_bus.unregisterService(name);
            m_bus.unregisterObject(path);
        }
        m_thread.quit();
        m_thread.wait();
    }

    bool add(QObject& service, const QString& name, const QString& path)
    {
        service.moveToThread(&m_thread);
        if (!m_bus.registerObject(path, &service, QDBusConnection::ExportAllSlots) ||
            !m_bus.registerService(name))
            return false;
        m_registered.push_back({name, path});
        return true;
    }

private:
    QDBusConnection m_bus;
    QThread m_thread;
    std::vector<std::pair<QString, QString>> m_registered;
};

} // namespace cirrolux::test
