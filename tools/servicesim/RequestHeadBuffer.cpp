#include "RequestHeadBuffer.h"

#include <QByteArrayView>

namespace cirrolux::servicesim {

namespace {

bool isBlankLine(QByteArrayView line)
{
    return line == "\n" || line == "\r\n";
}

} // namespace

std::optional<QByteArray> RequestHeadBuffer::feed(const QByteArray& bytes)
{
    m_buffer += bytes;
    qsizetype lineEnd;
    while ((lineEnd = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(lineEnd + 1);
        m_buffer.remove(0, lineEnd + 1);
        if (m_head.isEmpty() && isBlankLine(line))
            continue; // stray line ends before a request line are allowed
        m_head += line;
        if (isBlankLine(line)) {
            m_buffer.clear();
            return m_head;
        }
        if (m_head.size() > m_maxHead)
            break;
    }
    if (m_head.size() + m_buffer.size() > m_maxHead) {
        const QByteArray cut = (m_head + m_buffer).left(m_maxHead);
        m_buffer.clear();
        return cut;
    }
    return std::nullopt;
}

} // namespace cirrolux::servicesim
