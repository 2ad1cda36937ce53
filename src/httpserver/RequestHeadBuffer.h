#pragma once

#include <QByteArray>

#include <optional>

namespace cirrolux {

// Gathers a request head from the bytes a connection receives: lines up to the first blank line,
// with stray line ends before the request line skipped. Every byte received counts against
// `maxHead`, the skipped line ends too; a head that grows past it is handed on cut to that size
// and cut() says so, so the answer can refuse it instead of the buffer growing.
class RequestHeadBuffer
{
public:
    explicit RequestHeadBuffer(qsizetype maxHead) : m_maxHead(maxHead) {}

    // Adds `bytes`; gives the head once it is complete or too long, and nothing until then.
    std::optional<QByteArray> feed(const QByteArray& bytes);
    // Whether the head given was cut at the limit (no blank line ended it).
    bool cut() const { return m_cut; }

private:
    qsizetype m_maxHead;
    qsizetype m_skipped = 0;
    bool m_cut = false;
    QByteArray m_buffer;
    QByteArray m_head;
};

} // namespace cirrolux
