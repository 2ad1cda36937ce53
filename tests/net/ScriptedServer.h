#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpServer>

#include <memory>
#include <vector>

class QTcpSocket;

namespace cirrolux::test {

// A loopback HTTP server for transfer tests. It records the exact bytes of every request (up to
// and including the empty line) and answers each connection with a script of steps.
class ScriptedServer : public QObject
{
    Q_OBJECT

public:
    struct Step
    {
        enum class Kind { Send, Delay, WaitRelease, Close };
        Kind kind;
        QByteArray data;
        int ms = 0;
    };
    // A script that runs out without Close keeps the connection open and silent.
    using Script = std::vector<Step>;

    static Step send(const QByteArray& bytes) { return {Step::Kind::Send, bytes, 0}; }
    static Step delay(int ms) { return {Step::Kind::Delay, {}, ms}; }
    static Step waitRelease() { return {Step::Kind::WaitRelease, {}, 0}; }
    static Step close() { return {Step::Kind::Close, {}, 0}; }
    // Status line, header lines and body, CR LF line ends, then close.
    static Script reply(const QByteArray& statusLine, const QList<QByteArray>& headerLines,
                        const QByteArray& body);

    ScriptedServer();
    ~ScriptedServer() override;

    quint16 port() const { return m_server.serverPort(); }
    // The i-th connection runs scripts[i]; later ones run the last script.
    void setScripts(std::vector<Script> scripts) { m_scripts = std::move(scripts); }
    void setScript(Script script) { m_scripts = {std::move(script)}; }
    // Lets every connection waiting at WaitRelease go on.
    void release();

    const std::vector<QByteArray>& requests() const { return m_requests; }
    int connections() const { return int(m_connections.size()); }
    int closedByClient() const { return m_closedByClient; }

Q_SIGNALS:
    void clientClosed();

private:
    struct Connection;
    void accept();
    void readRequest(Connection& c);
    void run(Connection& c);

    QTcpServer m_server;
    std::vector<Script> m_scripts;
    std::vector<QByteArray> m_requests;
    std::vector<std::unique_ptr<Connection>> m_connections;
    int m_closedByClient = 0;
};

} // namespace cirrolux::test
