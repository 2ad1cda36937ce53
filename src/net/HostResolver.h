#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace cirrolux {

// Asynchronous host look-up used by TNMHTTP. The default is the system's (QHostInfo); tests
// inject one that never answers to exercise the look-up time-out and abort.
class HostResolver
{
public:
    using Done = std::function<void(const QList<QHostAddress>& addresses)>;
    virtual ~HostResolver() = default;
    // Starts a look-up; `done` runs later on the thread of `context`, with no addresses when the
    // host is unknown. Returns an id for cancel().
    virtual int lookup(const QString& host, QObject* context, Done done) = 0;
    virtual void cancel(int id) = 0;
};

} // namespace cirrolux
