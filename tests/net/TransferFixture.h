#pragma once

#include "EventLog.h"
#include "ScriptedResolver.h"
#include "ScriptedServer.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace cirrolux {

// Reaches into the component where a test needs a smaller limit than the real one.
class TNMHTTPTestAccess
{
public:
    static void setBodyLimit(TNMHTTP& http, std::int64_t bytes) { http.m_bodyLimit = bytes; }
};

namespace test {

inline const std::string AcceptLines =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
inline const std::string ContentTypeEnd = "Content-type: application/x-www-form-urlencoded\r\n\r\n";

// The exact request the component sends with no cookie, referer or credentials.
inline std::string plainRequest(const std::string& target, const std::string& host, bool viaProxy)
{
    return "GET " + target + " HTTP/1.0\r\n" +
           (viaProxy ? "Proxy-Connection: Keep-Alive\r\n" : "") + "Host: " + host + "\r\n" +
           AcceptLines + ContentTypeEnd;
}

// Turns the event loop until `done` holds or five seconds pass; true when it holds.
inline bool waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// A component with a scripted resolver and an event log, and a scripted server on 127.0.0.1.
class TransferFixture : public ::testing::Test
{
protected:
    TransferFixture()
    {
        auto scripted = std::make_unique<ScriptedResolver>();
        resolver = scripted.get();
        http = std::make_unique<TNMHTTP>(nullptr, std::move(scripted));
        log = std::make_unique<EventLog>(*http);
    }

    std::string direct(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server.port()) + path;
    }
    void useProxy()
    {
        http->Proxy = "127.0.0.1";
        http->ProxyPort = server.port();
    }
    // Runs Get; the error text, or empty when it ended without one.
    std::string getError(const std::string& url)
    {
        try {
            http->Get(url);
        } catch (const TransferError& error) {
            return error.what();
        }
        return {};
    }
    std::string request(std::size_t i) const
    {
        return i < server.requests().size() ? server.requests()[i].toStdString() : std::string();
    }

    ScriptedServer server;
    ScriptedResolver* resolver = nullptr;
    std::unique_ptr<TNMHTTP> http;
    std::unique_ptr<EventLog> log;
};

} // namespace test
} // namespace cirrolux
