#pragma once

#include "net/HostResolver.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

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
    std::string Host;       // filled from the URL by each transfer
    int Port = 0;           // filled from the URL, 80 when none is given
    int TimeOut = 0;        // milliseconds for look-up and for connecting; 0 = no limit
    int ReportLevel = 1;    // OnStatus reports messages of this level or lower
    std::string Proxy;      // proxy host; empty = no proxy
    int ProxyPort = 0;

    // HTTP properties
    std::string Body = "Default.htm"; // after Get: the body, or the file name in input file mode
    std::string Header = "Head.txt";  // after Get: the header text, or the file name in output file mode
    THeaderInfo HeaderInfo;
    bool InputFileMode = false;  // write the body to the file named by Body
    bool OutputFileMode = false; // write the header lines to the file named by Header

    std::int64_t ExpectedLength() const { return m_expectedLength; }
    std::int64_t ReceivedCount() const { return m_receivedCount; }
    int ReplyStatus() const { return m_replyStatus; }
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
    // Implementation state lives here (helper classes in src/net/ as needed).
    std::int64_t m_expectedLength = 0;
    std::int64_t m_receivedCount = 0;
    int m_replyStatus = 0;
    bool m_busy = false;
    std::unique_ptr<HostResolver> m_resolver;
};

} // namespace cirrolux
