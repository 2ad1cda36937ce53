#include "FakeStatusNotifierWatcher.h"

#include <QDBusMessage>

namespace cirrolux::testing {

void FakeStatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service)
{
    // Items may pass their object path instead of a bus name; the sender is the bus name then.
    const QString item =
        service.startsWith(QLatin1Char('/')) ? message().service() + service : service;
    if (!m_items.contains(item)) {
        m_items.append(item);
        emit StatusNotifierItemRegistered(item);
    }
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierHost(const QString& /*service*/)
{
    emit StatusNotifierHostRegistered();
}

} // namespace cirrolux::testing
