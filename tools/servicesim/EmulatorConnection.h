#pragma once

#include "EmulatorReply.h"
#include "httpserver/RequestHeadBuffer.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

namespace cirrolux::servicesim {

// One client connection: reads the request head line by line, asks for the reply, sends it the
// way the reply says, and deletes itself once the connection is closed.
class EmulatorConnection : public QObject
{
    Q_OBJECT
public:
    // Turns the bytes of a complete request head (or of one too large or unreadable) into the
    // reply. Called once per connection.
    using Answer = std::function<EmulatorReply(const QByteArray& head)>;

    // Takes ownership of `socket`.
    EmulatorConnection(QTcpSocket* socket, Answer answer, std::function<QDateTime()> clock,
                       QObject* parent);

    // Largest request head read; a longer one is answered with the reply for what was read.
    static constexpr qsizetype kMaxHead = 64 * 1024;

signals:
    void closed();

private:
    enum class State { ReadingHead, Sending, Streaming, Trickling, Holding, Closed, Gone };

    void readAvailable();
    void answer(const QByteArray& head);
    void send(const EmulatorReply& reply);
    void streamMore();
    void trickleMore();
    void finish();
    void resetConnection();
    void onDisconnected();

    QTcpSocket* m_socket;
    Answer m_answer;
    std::function<QDateTime()> m_clock;
    State m_state = State::ReadingHead;
    RequestHeadBuffer m_head{kMaxHead};
    QByteArray m_pending;  // trickle: body still to send
    qint64 m_streamed = 0; // generated body: bytes queued so far
    qint64 m_streamLength = 0;
    qsizetype m_tricklePiece = 6;
    QTimer m_trickleTimer;
};

} // namespace cirrolux::servicesim
