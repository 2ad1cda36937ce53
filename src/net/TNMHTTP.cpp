#include "net/TNMHTTP.h"

#include "net/HttpReplyReader.h"
#include "net/HttpRequest.h"
#include "net/QtHostResolver.h"
#include "net/UrlParts.h"
#include "platform/CirroluxError.h"

#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>

namespace cirrolux {

namespace {

// Blocks of the body are taken from the socket at most this large, one OnPacketRecvd each.
constexpr qint64 BlockSize = 16383;
// Rounds of one Get; a server that keeps redirecting ends the transfer instead of holding it.
constexpr int MaxRounds = 20;
// What the socket may hold before we take it. Small enough that taking it never keeps the event
// loop away for long, large enough that a fast server is not throttled.
constexpr qint64 ReadBufferSize = 256 * 1024;

// Room reserved at most for a body kept in memory before it arrives.
constexpr std::int64_t MaxBodyReserve = std::int64_t{64} * 1024 * 1024;

// Status levels of OnStatus.
constexpr int Completed = 2;
constexpr int Socket = 4;
constexpr int Detail = 8;
constexpr int Errors = 16;

// A file that receives the body or the header. Blocks are gathered and written in large pieces:
// the file system takes a few big page-aligned writes much faster than many odd-sized ones.
class ReplyFile
{
public:
    // False when the file cannot be created.
    bool open(const std::string& fileName)
    {
        m_file.setFileName(QString::fromLocal8Bit(fileName.data(), qsizetype(fileName.size())));
        m_pending.reserve(std::size_t(Gather + BlockSize));
        return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    }
    // False when the file system refused bytes.
    bool write(const char* data, std::size_t size)
    {
        m_pending.append(data, size);
        return m_pending.size() < std::size_t(Gather) || flush();
    }
    bool flush()
    {
        const char* data = m_pending.data();
        qint64 left = qint64(m_pending.size());
        while (left > 0) {
            const qint64 written = m_file.write(data, left);
            if (written <= 0)
                return false;
            data += written;
            left -= written;
        }
        m_pending.clear();
        return true;
    }

private:
    static constexpr qint64 Gather = 256 * 1024;
    QFile m_file;
    std::string m_pending;
};

// Makes room for a body of `bytes`. Large bodies ask for huge pages: touching 64 MB page by page
// costs more than receiving it.
void reserveBody(std::string& body, std::size_t bytes)
{
    body.reserve(bytes);
#ifdef Q_OS_LINUX
    constexpr std::size_t Huge = std::size_t{2} * 1024 * 1024;
    if (bytes < 4 * Huge)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(body.data());
    const std::uintptr_t first = (start + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t last = (start + bytes) & ~(Huge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

struct LookupResult
{
    bool done = false;
    QList<QHostAddress> addresses;
};

} // namespace

TNMHTTP::TNMHTTP(QObject* parent, std::unique_ptr<HostResolver> resolver)
    : QObject(parent), m_resolver(std::move(resolver)), m_timer(std::make_unique<QTimer>())
{
    if (!m_resolver)
        m_resolver = std::make_unique<QtHostResolver>();
    m_timer->setSingleShot(true);
    connect(m_timer.get(), &QTimer::timeout, this, [this] {
        m_timedOut = true;
        wake();
    });
}

TNMHTTP::~TNMHTTP()
{
    // A handler deleted us while Get waits: release that wait; it sees m_life gone and leaves.
    m_cancel = true;
    wake();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void TNMHTTP::Get(const std::string& url)
{
    if (m_busy)
        throw TransferError("Already connected");
    m_busy = true;
    m_cancel = false;
    // Handlers run while Get waits and may set up the next transfer; this one keeps its files.
    // Body and Header are file names only in their file modes; otherwise they may hold the last
    // reply, which is not copied.
    m_round = Round{InputFileMode, OutputFileMode, InputFileMode ? Body : std::string(),
                    OutputFileMode ? Header : std::string()};
    const std::weak_ptr<int> life = m_life;
    try {
        transact(url);
    } catch (...) {
        if (!life.expired()) {
            m_timer->stop();
            m_timerArmed = false;
            closeQuietly();
            m_busy = false;
        }
        throw;
    }
    m_busy = false;
}

void TNMHTTP::AbortTransfer()
{
    report(Detail, "Canceling");
    m_cancel = true;
    wake();
}

void TNMHTTP::transact(std::string url)
{
    for (int round = 0;; ++round) {
        if (round == MaxRounds)
            fail("Too many redirects");

        UrlParts parts;
        try {
            parts = SplitUrl(url, Port);
        } catch (const TransferError& error) {
            fail(error.what());
        }
        url = parts.url;
        if (!parts.host.empty())
            Host = parts.host;
        Port = parts.port;
        const bool viaProxy = !Proxy.empty();
        const std::string request =
            BuildHttpRequest(viaProxy ? url : parts.path, Host, viaProxy, HeaderInfo);
        Q_EMIT OnAboutToSend();

        connectToServer();
        sendRequest(request);
        readBody(readHeader(url));

        const int status = m_replyStatus;
        if (status < 299) {
            Q_EMIT OnSuccess(0);
            report(Completed, "Transaction Completed");
        } else if (status > 399) {
            Q_EMIT OnFailure(0);
        }
        closeConnection();

        if (status >= 300 && status <= 398) {
            if (!m_replyCookie.empty())
                HeaderInfo.Cookie = m_replyCookie;
            bool handled = false;
            Q_EMIT OnRedirect(handled);
            if (handled)
                return;
            if (url.find('/') == std::string::npos)
                url = "http://" + Host + "/" + url;
        }
        if (status == 401)
            Q_EMIT OnAuthenticationNeeded();
        if (status < 299 || status > 399)
            return;
    }
}

void TNMHTTP::connectToServer()
{
    report(Detail, "Connecting");
    const bool viaProxy = !Proxy.empty();
    const std::string& target = viaProxy ? Proxy : Host;
    const int port = viaProxy ? ProxyPort : Port;

    QHostAddress address;
    // Dotted addresses need no look-up.
    if (!address.setAddress(QString::fromLatin1(target.data(), qsizetype(target.size()))))
        address = lookUp(target);

    m_socket = std::make_unique<QTcpSocket>();
    QTcpSocket* socket = m_socket.get();
    socket->setReadBufferSize(ReadBufferSize);
    connect(socket, &QAbstractSocket::stateChanged, this, &TNMHTTP::wake);
    connect(socket, &QAbstractSocket::errorOccurred, this, &TNMHTTP::wake);
    connect(socket, &QIODevice::readyRead, this, &TNMHTTP::wake);
    connect(socket, &QIODevice::bytesWritten, this, [this] {
        ++m_blocksSent;
        wake();
    });
    if (port < 1 || port > 65535) {
        Q_EMIT OnConnectionFailed();
        fail("Connection Failed");
    }
    socket->connectToHost(address, static_cast<quint16>(port));

    armTimeOut();
    waitFor([&] {
        return m_cancel || m_timedOut || socket->state() == QAbstractSocket::ConnectedState ||
               socket->state() == QAbstractSocket::UnconnectedState;
    });
    disarmTimeOut();
    if (!m_cancel && socket->state() == QAbstractSocket::ConnectedState) {
        Q_EMIT OnConnect();
        return;
    }
    Q_EMIT OnConnectionFailed();
    if (m_cancel)
        fail("Connection Canceled");
    if (m_timedOut)
        fail("Connection Timed Out");
    fail("Connection Failed");
}

QHostAddress TNMHTTP::lookUp(const std::string& host)
{
    const QString name = QString::fromLatin1(host.data(), qsizetype(host.size()));
    bool askedHandler = false;
    for (;;) {
        report(Detail, "Resolve Host");
        auto result = std::make_shared<LookupResult>();
        QPointer<TNMHTTP> self(this);
        armTimeOut();
        // The resolver may answer at once, later, or (after a cancel) never; the shared result
        // and the guarded pointer keep a late answer harmless.
        const int id = m_resolver->lookup(name, this, [result, self](const QList<QHostAddress>& a) {
            result->done = true;
            result->addresses = a;
            if (self)
                self->wake();
        });
        waitFor([&] { return m_cancel || m_timedOut || result->done; });
        disarmTimeOut();
        if (m_cancel || !result->done) {
            m_resolver->cancel(id);
            fail(m_cancel ? "Host Lookup Canceled" : "Host Lookup Timed Out");
        }
        if (!result->addresses.isEmpty()) {
            Q_EMIT OnHostResolved();
            return result->addresses.front();
        }
        if (!askedHandler) {
            askedHandler = true;
            bool handled = false;
            Q_EMIT OnInvalidHost(handled);
            if (handled)
                continue;
        }
        fail("Null Remote Address");
    }
}

void TNMHTTP::sendRequest(const std::string& request)
{
    report(Socket, "Sending Buffer");
    if (m_cancel)
        fail("Socket send aborted");
    QTcpSocket* socket = m_socket.get();
    m_blocksSent = 0;
    socket->write(request.data(), qint64(request.size()));
    for (;;) {
        for (; m_blocksSent > 0; --m_blocksSent)
            Q_EMIT OnPacketSent();
        if (m_cancel)
            fail("Socket send aborted");
        // A server that closes early may still have answered; the reply decides.
        if (socket->bytesToWrite() == 0 || socket->state() != QAbstractSocket::ConnectedState)
            return;
        waitFor([&] {
            return m_cancel || m_blocksSent > 0 ||
                   socket->state() != QAbstractSocket::ConnectedState;
        });
    }
}

std::string TNMHTTP::readHeader(std::string& url)
{
    QTcpSocket* socket = m_socket.get();
    m_expectedLength = 0;
    m_bodyBytes = 0;
    m_replyCookie.clear();
    ReplyFile headerFile;
    const bool toFile = m_round.outputFileMode;
    const std::string& fileName = m_round.headerFile;
    if (toFile && !headerFile.open(fileName))
        fail(cannotWrite(fileName));
    if (!toFile)
        Header.clear();

    HttpReplyReader reader;
    std::string block;
    for (;;) {
        while (const auto line = reader.takeLine()) {
            if (toFile && !headerFile.write(line->data(), line->size()))
                fail(cannotWrite(fileName));
            if (!toFile)
                Header += *line;
            m_replyStatus = reader.status();
        }
        if (reader.state() == HttpReplyReader::State::TooLarge)
            fail("Reply header too large");
        if (reader.state() == HttpReplyReader::State::Body) {
            if (toFile && !headerFile.flush())
                fail(cannotWrite(fileName));
            break;
        }
        if (m_cancel)
            fail("Socket capture aborted");
        if (const qint64 available = socket->bytesAvailable(); available > 0) {
            // One block at a time: what comes after the header in it belongs to the body.
            block.resize(std::size_t(std::min(available, BlockSize)));
            const qint64 got = socket->read(block.data(), qint64(block.size()));
            reader.append(std::string_view(block.data(), std::size_t(std::max<qint64>(got, 0))));
            continue;
        }
        if (socket->state() != QAbstractSocket::ConnectedState) {
            reader.endOfInput();
            continue;
        }
        waitFor([&] {
            return m_cancel || socket->bytesAvailable() > 0 ||
                   socket->state() != QAbstractSocket::ConnectedState;
        });
    }
    m_replyStatus = reader.status();
    m_expectedLength = reader.contentLength();
    m_replyCookie = reader.cookie();
    if (reader.location())
        url = *reader.location();
    return reader.takeLeftover();
}

void TNMHTTP::readBody(std::string leftover)
{
    QTcpSocket* socket = m_socket.get();
    const bool toFile = m_round.inputFileMode;
    report(Detail, toFile ? "CaptureFile" : "Capture String");
    m_receivedCount = 0;
    m_bodyBytes = std::int64_t(leftover.size());

    ReplyFile bodyFile;
    const std::string& fileName = m_round.bodyFile;
    if (toFile) {
        if (!bodyFile.open(fileName) || !bodyFile.write(leftover.data(), leftover.size()))
            fail(cannotWrite(fileName));
    } else {
        Body.clear();
        // The announced length is only a hint: a server may announce gigabytes and send little.
        if (m_expectedLength > 0)
            reserveBody(Body, std::size_t(std::min(m_expectedLength, MaxBodyReserve)));
        Body += leftover;
    }

    char block[BlockSize];
    for (;;) {
        if (m_cancel)
            fail("Socket capture aborted");
        const qint64 available = socket->bytesAvailable();
        if (available > 0) {
            const qint64 got =
                std::max<qint64>(socket->read(block, std::min(available, BlockSize)), 0);
            if (toFile) {
                if (!bodyFile.write(block, std::size_t(got)))
                    fail(cannotWrite(fileName));
            } else {
                if (qint64(Body.size()) + got > m_bodyLimit) {
                    Body.clear();
                    Body.shrink_to_fit();
                    fail("Reply too large");
                }
                Body.append(block, std::size_t(got));
            }
            m_receivedCount += got;
            m_bodyBytes += got;
            Q_EMIT OnPacketRecvd();
            continue;
        }
        // HTTP/1.0: the body ends when the server closes.
        if (socket->state() != QAbstractSocket::ConnectedState)
            break;
        waitFor([&] {
            return m_cancel || socket->bytesAvailable() > 0 ||
                   socket->state() != QAbstractSocket::ConnectedState;
        });
    }
    if (toFile && !bodyFile.flush())
        fail(cannotWrite(fileName));
    // Room reserved for more than came is given back.
    if (!toFile && Body.capacity() - Body.size() > std::size_t(BlockSize))
        Body.shrink_to_fit();
}

std::string TNMHTTP::cannotWrite(const std::string& fileName)
{
    return "Cannot write to file: " + fileName;
}

void TNMHTTP::closeConnection()
{
    report(Detail, "Disconnecting");
    report(Socket, "Request Close Socket");
    closeQuietly();
    Q_EMIT OnDisconnect();
}

void TNMHTTP::closeQuietly()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket.reset();
}

void TNMHTTP::fail(std::string text)
{
    disarmTimeOut();
    closeQuietly();
    report(Errors, "Checking Error In Error Manager");
    throw TransferError(text);
}

void TNMHTTP::report(int level, const char* text)
{
    if (level <= ReportLevel)
        Q_EMIT OnStatus(text);
}

void TNMHTTP::armTimeOut()
{
    m_timedOut = false;
    if (TimeOut <= 0)
        return;
    m_timerArmed = true;
    report(Detail, "Timer On");
    m_timer->start(TimeOut);
}

void TNMHTTP::disarmTimeOut()
{
    // m_timedOut stays set: the caller reads it to choose its error.
    if (!m_timerArmed)
        return;
    m_timerArmed = false;
    m_timer->stop();
    if (m_timedOut)
        report(Detail, "Timer Triggered");
    report(Detail, "Timer Off");
}

void TNMHTTP::waitFor(const std::function<bool()>& ready)
{
    const std::weak_ptr<int> life = m_life;
    while (!ready()) {
        QEventLoop loop;
        m_loop = &loop;
        const int exit = loop.exec();
        if (life.expired())
            throw TransferError("Transfer Canceled");
        m_loop = nullptr;
        // A loop that returns at once with -1 means the application is quitting: no event will
        // come any more, so waiting on would spin for ever.
        if (exit < 0)
            throw TransferError("Transfer Canceled");
    }
}

void TNMHTTP::wake()
{
    if (m_loop)
        m_loop->quit();
}

} // namespace cirrolux
