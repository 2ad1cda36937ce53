#include "EmulatorConnection.h"

#include <QTcpSocket>

namespace cirrolux::servicesim {

namespace {

constexpr qint64 kStreamChunk = 64 * 1024;
constexpr qint64 kStreamBacklog = 256 * 1024; // queued in the socket before waiting for the peer
constexpr qsizetype kTricklePiece = 6;
constexpr int kTricklePauseMs = 15;

bool isBlankLine(QByteArrayView line)
{
    return line == "\n" || line == "\r\n";
}

} // namespace

EmulatorConnection::EmulatorConnection(QTcpSocket* socket, Answer answer,
                                       std::function<QDateTime()> clock, QObject* parent)
    : QObject(parent), m_socket(socket), m_answer(std::move(answer)), m_clock(std::move(clock))
{
    m_socket->setParent(this);
    m_trickleTimer.setInterval(kTricklePauseMs);
    connect(&m_trickleTimer, &QTimer::timeout, this, &EmulatorConnection::trickleMore);
    connect(m_socket, &QTcpSocket::readyRead, this, &EmulatorConnection::readAvailable);
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_state == State::Streaming)
            streamMore();
    });
    connect(m_socket, &QTcpSocket::disconnected, this, &EmulatorConnection::onDisconnected);
    // Bytes may have arrived before the signals were connected.
    if (m_socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &EmulatorConnection::readAvailable);
}

void EmulatorConnection::readAvailable()
{
    if (m_state != State::ReadingHead) {
        m_socket->readAll(); // nothing after the head is read
        return;
    }
    m_buffer += m_socket->readAll();
    qsizetype lineEnd;
    while ((lineEnd = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(lineEnd + 1);
        m_buffer.remove(0, lineEnd + 1);
        if (m_head.isEmpty() && isBlankLine(line))
            continue; // stray line ends before a request line are allowed
        m_head += line;
        if (isBlankLine(line)) {
            answer(m_head);
            return;
        }
        if (m_head.size() > kMaxHead)
            break;
    }
    if (m_head.size() + m_buffer.size() > kMaxHead)
        answer((m_head + m_buffer).left(kMaxHead));
}

void EmulatorConnection::answer(const QByteArray& head)
{
    m_state = State::Sending;
    m_buffer.clear();
    send(m_answer(head));
}

void EmulatorConnection::send(const EmulatorReply& reply)
{
    using Delivery = EmulatorReply::Delivery;
    if (reply.delivery == Delivery::Silent) {
        m_state = State::Holding;
        return;
    }
    if (reply.delivery == Delivery::Raw) {
        m_socket->write(reply.raw);
        finish();
        return;
    }
    m_socket->write(reply.head(m_clock()));
    switch (reply.delivery) {
    case Delivery::Stall:
        m_state = State::Holding;
        return;
    case Delivery::Trickle:
        m_pending = reply.body;
        m_state = State::Trickling;
        m_trickleTimer.start();
        return;
    default:
        break;
    }
    if (reply.generatedLength >= 0) {
        m_streamLength = reply.generatedLength;
        m_state = State::Streaming;
        streamMore();
        return;
    }
    m_socket->write(reply.body);
    finish();
}

void EmulatorConnection::streamMore()
{
    while (m_state == State::Streaming && m_streamed < m_streamLength &&
           m_socket->bytesToWrite() < kStreamBacklog) {
        const qint64 length = std::min(kStreamChunk, m_streamLength - m_streamed);
        // Chunks start on a multiple of the pattern length, so one cached chunk serves them all.
        static const QByteArray chunk = EmulatorReply::generatedBytes(0, kStreamChunk);
        m_socket->write(length == kStreamChunk ? chunk : chunk.left(length));
        m_streamed += length;
    }
    if (m_state == State::Streaming && m_streamed >= m_streamLength)
        finish();
}

void EmulatorConnection::trickleMore()
{
    if (m_state != State::Trickling)
        return;
    m_socket->write(m_pending.left(kTricklePiece));
    m_pending.remove(0, std::min(kTricklePiece, m_pending.size()));
    if (m_pending.isEmpty()) {
        m_trickleTimer.stop();
        finish();
    }
}

void EmulatorConnection::finish()
{
    m_state = State::Closed;
    m_socket->disconnectFromHost(); // sends what is still queued, then closes
}

void EmulatorConnection::onDisconnected()
{
    m_state = State::Closed;
    m_trickleTimer.stop();
    emit closed();
    deleteLater();
}

} // namespace cirrolux::servicesim
