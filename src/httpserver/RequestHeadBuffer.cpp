#include "RequestHeadBuffer.h"

#include <QByteArrayView>

namespace cirrolux {

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
        if (m_head.isEmpty() && isBlankLine(line)) {
            m_skipped += line.size(); // allowed, but not without end
            if (m_skipped > m_maxHead)
                break;
            continue;
        }
        m_head += line;
        if (isBlankLine(line)) {
            m_buffer.clear();
            return m_head;
        }
        if (m_head.size() > m_maxHead)
            break;
    }
    if (m_skipped + m_head.size() + m_buffer.size() > m_maxHead) {
        const QByteArray cut = (m_head + m_buffer).left(m_maxHead);
        m_buffer.clear();
        m_cut = true;
        return cut;
    }
    return std::nullopt;
}

} // namespace cirrolux
