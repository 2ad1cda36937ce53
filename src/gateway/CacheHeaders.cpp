#include "gateway/CacheHeaders.h"

#include <algorithm>

namespace cirrolux::gateway {

std::chrono::seconds RemainingLifetime(const QDateTime& fetchedAt, std::chrono::seconds lifetime,
                                       const QDateTime& now)
{
    if (!fetchedAt.isValid() || !now.isValid())
        return std::chrono::seconds(0);
    const qint64 age = std::max<qint64>(fetchedAt.secsTo(now), 0);
    return std::chrono::seconds(std::clamp<qint64>(lifetime.count() - age, 0, lifetime.count()));
}

void MarkFresh(HttpReply& reply, const QDateTime& fetchedAt, std::chrono::seconds lifetime,
               const QDateTime& now, const QDateTime& lastChanged)
{
    const std::chrono::seconds left = RemainingLifetime(fetchedAt, lifetime, now);
    reply.addHeader("Cache-Control", "max-age=" + QByteArray::number(qint64(left.count())));
    const QDateTime changed = lastChanged.isValid() ? lastChanged : fetchedAt;
    if (changed.isValid() && now.isValid())
        reply.addHeader("Last-Modified", HttpReply::date(std::min(changed, now)));
}

void MarkNotStored(HttpReply& reply)
{
    if (reply.header("Cache-Control").isEmpty())
        reply.addHeader("Cache-Control", "no-store");
}

} // namespace cirrolux::gateway
