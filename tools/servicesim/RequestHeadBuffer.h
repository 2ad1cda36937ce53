#pragma once

#include <QByteArray>

#include <optional>

namespace cirrolux::servicesim {

// Gathers a request head from the bytes a connection receives: lines up to the first blank line,
// with stray line ends before the request line skipped. A head that grows past `maxHead` is
// handed on cut to that size, so the answer can refuse it instead of the buffer growing.
class RequestHeadBuffer
{
public:
    explicit RequestHeadBuffer(qsizetype maxHead) : m_maxHead(maxHead) {}

    // Adds `bytes`; gives the head once it is complete or too long, and nothing until then.
    std::optional<QByteArray> feed(const QByteArray& bytes);

private:
    qsizetype m_maxHead;
    QByteArray m_buffer;
    QByteArray m_head;
};

} // namespace cirrolux::servicesim
