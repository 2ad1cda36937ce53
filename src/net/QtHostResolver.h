#pragma once

#include "net/HostResolver.h"

namespace cirrolux {

// The system's host look-up through QHostInfo.
class QtHostResolver : public HostResolver
{
public:
    int lookup(const QString& host, QObject* context, Done done) override;
    void cancel(int id) override;
};

} // namespace cirrolux
