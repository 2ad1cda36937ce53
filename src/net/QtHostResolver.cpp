#include "net/QtHostResolver.h"

#include <QHostInfo>

#include <algorithm>

namespace cirrolux {

int QtHostResolver::lookup(const QString& host, QObject* context, Done done)
{
    return QHostInfo::lookupHost(host, context, [done = std::move(done)](const QHostInfo& info) {
        if (info.error() != QHostInfo::NoError) {
            done({});
            return;
        }
        // IPv4 first: the servers this program talks to are reached that way most reliably.
        QList<QHostAddress> addresses = info.addresses();
        std::stable_partition(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol;
        });
        done(addresses);
    });
}

void QtHostResolver::cancel(int id)
{
    QHostInfo::abortHostLookup(id);
}

} // namespace cirrolux
