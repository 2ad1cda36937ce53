#pragma once

#include <QByteArray>
#include <QTcpSocket>

#include <chrono>
#include <functional>

namespace cirrolux::test {

// A raw TCP client for talking to the emulator in the same thread: every wait turns the event
// loop (so the emulator can answer) and ends at the awaited event or at a generous guard time,
// which only keeps a broken test from hanging.
class WireClient
{
public:
    static constexpr std::chrono::milliseconds kGuard{20000};

    // Connects to 127.0.0.1:`port`; false when that fails.
    bool connectTo(quint16 port);
    void send(const QByteArray& bytes);
    // Waits until the server closes the connection; true when it did.
    bool waitForClose(std::chrono::milliseconds guard = kGuard);
    // Waits until at least `count` bytes have arrived in all; true when they have.
    bool waitForBytes(qsizetype count, std::chrono::milliseconds guard = kGuard);
    // Waits until `text` has arrived; true when it has.
    bool waitForText(const QByteArray& text, std::chrono::milliseconds guard = kGuard);
    // Sends one byte at a time, each pushed onto the wire before the next.
    void sendSlowly(const QByteArray& bytes);
    // Lets the event loop run for `period` (for checking that nothing happens).
    void idle(std::chrono::milliseconds period);
    void close();

    const QByteArray& received() const { return m_received; }
    int readCount() const { return m_reads; }
    bool isOpen() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

    // One whole exchange: connect, send, read until the server closes.
    static QByteArray exchange(quint16 port, const QByteArray& request);

private:
    bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds guard);
    void drain();

    QTcpSocket m_socket;
    QByteArray m_received;
    int m_reads = 0;
};

// A reply split into its parts.
struct WireReply
{
    int status = -1;
    QByteArray head; // status line and header lines, through the empty line
    QByteArray body;

    QByteArray header(QByteArrayView name) const;
    static WireReply parse(const QByteArray& bytes);
};

} // namespace cirrolux::test
