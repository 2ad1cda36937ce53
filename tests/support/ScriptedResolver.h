#pragma once

#include "net/HostResolver.h"

#include <QTimer>

#include <vector>

namespace cirrolux::test {

// Host look-up for tests: answers the n-th look-up with answers[n] (the last one repeats) a turn
// of the event loop later, or never when `neverAnswers` is set. Records what it was asked.
class ScriptedResolver : public HostResolver
{
public:
    std::vector<QList<QHostAddress>> answers{{QHostAddress(QHostAddress::LocalHost)}};
    bool neverAnswers = false;
    std::vector<QString> asked;
    std::vector<int> cancelled;

    int lookup(const QString& host, QObject* context, Done done) override
    {
        asked.push_back(host);
        const int id = int(asked.size());
        if (!neverAnswers) {
            const QList<QHostAddress> answer = answers[std::min(asked.size(), answers.size()) - 1];
            QTimer::singleShot(0, context, [done, answer] { done(answer); });
        }
        return id;
    }
    void cancel(int id) override { cancelled.push_back(id); }
};

} // namespace cirrolux::test
