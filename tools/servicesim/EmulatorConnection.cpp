#include "EmulatorConnection.h"

#include <QTcpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace cirrolux::servicesim {

namespace {

constexpr qint64 kStreamChunk = 64 * 1024;
constexpr qint64 kStreamBacklog = 256 * 1024; // queued in the socket before waiting for the peer
constexpr int kResetDelayMs = 100;

} // namespace

EmulatorConnection::EmulatorConnection(QTcpSocket* socket, Answer answer,
                                       std::function<QDateTime()> clock, QObject* parent)
    : QObject(parent), m_socket(socket), m_answer(std::move(answer)), m_clock(std::move(clock))
{
    m_socket->setParent(this);
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
    if (const std::optional<QByteArray> head = m_head.feed(m_socket->readAll()))
        answer(*head);
}

void EmulatorConnection::answer(const QByteArray& head)
{
    m_state = State::Sending;
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
    if (reply.delivery == Delivery::Trickle && reply.trickleHead) {
        m_pending = reply.head(m_clock()) + reply.body;
        m_tricklePiece = std::max<qsizetype>(1, reply.tricklePiece);
        m_state = State::Trickling;
        m_trickleTimer.start(std::max(1, reply.tricklePauseMs));
        return;
    }
    m_socket->write(reply.head(m_clock()));
    switch (reply.delivery) {
    case Delivery::Stall:
        m_state = State::Holding;
        return;
    case Delivery::Trickle:
        m_pending = reply.body;
        m_tricklePiece = std::max<qsizetype>(1, reply.tricklePiece);
        m_state = State::Trickling;
        m_trickleTimer.start(std::max(1, reply.tricklePauseMs));
        return;
    case Delivery::Reset:
        m_socket->write(reply.body.left(reply.resetAfter));
        m_state = State::Holding;
        // Give the client time to take the first bytes before the connection goes.
        QTimer::singleShot(kResetDelayMs, this, &EmulatorConnection::resetConnection);
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
    m_socket->write(m_pending.left(m_tricklePiece));
    m_pending.remove(0, std::min(m_tricklePiece, m_pending.size()));
    if (m_pending.isEmpty()) {
        m_trickleTimer.stop();
        finish();
    }
}

void EmulatorConnection::resetConnection()
{
    if (m_state == State::Gone)
        return;
    // A zero linger time makes the close send RST instead of FIN: the client sees the connection
    // torn down, not a reply that ended.
    const qintptr descriptor = m_socket->socketDescriptor();
    if (descriptor != -1) {
        linger option{};
        option.l_onoff = 1;
        option.l_linger = 0;
#ifdef Q_OS_WIN
        ::setsockopt(SOCKET(descriptor), SOL_SOCKET, SO_LINGER,
                     reinterpret_cast<const char*>(&option), sizeof option);
#else
        ::setsockopt(int(descriptor), SOL_SOCKET, SO_LINGER, &option, sizeof option);
#endif
    }
    m_socket->abort();
    onDisconnected();
}

void EmulatorConnection::finish()
{
    m_state = State::Closed;
    m_socket->disconnectFromHost(); // sends what is still queued, then closes
}

void EmulatorConnection::onDisconnected()
{
    if (m_state == State::Gone)
        return;
    m_state = State::Gone;
    m_trickleTimer.stop();
    emit closed();
    deleteLater();
}

} // namespace cirrolux::servicesim
