#pragma once

#include "net/HostResolver.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QEventLoop;
class QTcpSocket;
class QTimer;

namespace cirrolux {

class HostResolver;

// Request header values of a transfer.
struct THeaderInfo
{
    std::string Cookie;
    std::string Referer;
    std::string UserId;
    std::string Password;
};

// The program's HTTP/1.0 client: one GET at a time, direct or through a proxy, body kept in
// memory or written to a file. `Get` blocks its caller but keeps the event loop turning, so menus,
// timers and AbortTransfer run while it waits. Events are Qt signals delivered on the caller's
// thread; connect them directly.
//
// The properties keep the names the rest of the program and its users know them by.
class TNMHTTP : public QObject
{
    Q_OBJECT

public:
    // `resolver` replaces the system's host look-up (tests inject one that never answers);
    // null means QHostInfo.
    explicit TNMHTTP(QObject* parent = nullptr, std::unique_ptr<HostResolver> resolver = nullptr);
    ~TNMHTTP() override;

    // Socket properties
    std::string Host;    // filled from the URL by each transfer
    int Port = 0;        // filled from the URL, 80 when none is given
    int TimeOut = 0;     // milliseconds for look-up and for connecting; 0 = no limit
    int ReportLevel = 1; // OnStatus reports messages of this level or lower
    std::string Proxy;   // proxy host; empty = no proxy
    int ProxyPort = 0;

    // HTTP properties
    std::string Body = "Default.htm"; // after Get: the body, or the file name in input file mode
    // after Get: the header text, or the file name in output file mode
    std::string Header = "Head.txt";
    THeaderInfo HeaderInfo;
    bool InputFileMode = false;  // write the body to the file named by Body
    bool OutputFileMode = false; // write the header lines to the file named by Header

    std::int64_t ExpectedLength() const { return m_expectedLength; }
    std::int64_t ReceivedCount() const { return m_receivedCount; }
    int ReplyStatus() const { return m_replyStatus; }
    // True when the last reply announced a length and ended (closed or reset) before that many
    // body bytes came, those that arrived with the header included: a body cut off on the way.
    // The transfer still ends without an error; callers that need a whole page check this.
    bool BodyCutShort() const { return m_expectedLength > 0 && m_bodyBytes < m_expectedLength; }
    // The error text of such a page.
    static constexpr const char* CutShortText = "Reply cut short";
    // True between the start and the end of a Get.
    bool Busy() const { return m_busy; }

    // One GET transaction, following redirects. Throws TransferError with the component's text
    // ("Empty URL", "Already connected", "Host Lookup Timed Out", "Host Lookup Canceled",
    // "Null Remote Address", "Connection Timed Out", "Connection Canceled", "Connection Failed",
    // "Socket capture aborted", "Socket send aborted", ...). HTTP error statuses are not
    // exceptions: they arrive as OnFailure. The connection is closed before any error leaves.
    void Get(const std::string& url);

    // Cancels the transfer under way; safe from any handler that runs while Get waits.
    void AbortTransfer();

Q_SIGNALS:
    void OnConnect();
    void OnDisconnect();
    void OnInvalidHost(bool& handled);
    void OnHostResolved();
    void OnStatus(const std::string& status);
    void OnConnectionFailed();
    void OnPacketRecvd();
    void OnPacketSent();
    void OnAboutToSend();
    void OnSuccess(int command);
    void OnFailure(int command);
    void OnRedirect(bool& handled);
    void OnAuthenticationNeeded();

private:
    friend class TNMHTTPTestAccess; // tests lower the in-memory body limit

    void transact(std::string url);
    void connectToServer();
    QHostAddress lookUp(const std::string& host);
    void sendRequest(const std::string& request);
    std::string readHeader(std::string& url);
    void readBody(std::string leftover);
    void closeConnection();
    void closeQuietly();
    [[noreturn]] void fail(std::string text);
    static std::string cannotWrite(const std::string& fileName);
    void report(int level, const char* text);
    void armTimeOut();
    void disarmTimeOut();
    // Turns a local event loop until `ready` holds; socket, timer, look-up and abort wake it.
    void waitFor(const std::function<bool()>& ready);
    void wake();

    // The file settings of the transfer under way, fixed when Get starts.
    struct Round
    {
        bool inputFileMode = false;
        bool outputFileMode = false;
        std::string bodyFile;
        std::string headerFile;
    };
    Round m_round;
    std::int64_t m_expectedLength = 0;
    std::int64_t m_receivedCount = 0;
    std::int64_t m_bodyBytes = 0; // body bytes of the last reply, counted or not
    int m_replyStatus = 0;
    bool m_busy = false;
    std::unique_ptr<HostResolver> m_resolver;

    // A body kept in memory may not grow past this; a hostile server could send forever.
    std::int64_t m_bodyLimit = std::int64_t{512} * 1024 * 1024;
    std::string m_replyCookie;
    bool m_cancel = false;
    bool m_timedOut = false;
    bool m_timerArmed = false;
    int m_blocksSent = 0;
    std::unique_ptr<QTcpSocket> m_socket;
    std::unique_ptr<QTimer> m_timer;
    QEventLoop* m_loop = nullptr; // the wait under way, if any
    // Expires with the object, so a Get whose component was deleted by a handler can tell.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};

} // namespace cirrolux
