#pragma once

#include "net/TNMHTTP.h"

#include <QObject>

#include <string>
#include <vector>

namespace cirrolux::test {

// Records every event of a transfer component as a line of text, in order.
class EventLog : public QObject
{
public:
    explicit EventLog(TNMHTTP& http)
    {
        auto add = [this](std::string text) { lines.push_back(std::move(text)); };
        connect(&http, &TNMHTTP::OnConnect, this, [add] { add("Connect"); });
        connect(&http, &TNMHTTP::OnDisconnect, this, [add] { add("Disconnect"); });
        connect(&http, &TNMHTTP::OnInvalidHost, this, [add](bool&) { add("InvalidHost"); });
        connect(&http, &TNMHTTP::OnHostResolved, this, [add] { add("HostResolved"); });
        connect(&http, &TNMHTTP::OnStatus, this,
                [add](const std::string& s) { add("Status " + s); });
        connect(&http, &TNMHTTP::OnConnectionFailed, this, [add] { add("ConnectionFailed"); });
        connect(&http, &TNMHTTP::OnPacketRecvd, this, [add] { add("PacketRecvd"); });
        connect(&http, &TNMHTTP::OnPacketSent, this, [add] { add("PacketSent"); });
        connect(&http, &TNMHTTP::OnAboutToSend, this, [add] { add("AboutToSend"); });
        connect(&http, &TNMHTTP::OnSuccess, this,
                [add](int c) { add("Success " + std::to_string(c)); });
        connect(&http, &TNMHTTP::OnFailure, this,
                [add](int c) { add("Failure " + std::to_string(c)); });
        connect(&http, &TNMHTTP::OnRedirect, this, [add](bool&) { add("Redirect"); });
        connect(&http, &TNMHTTP::OnAuthenticationNeeded, this,
                [add] { add("AuthenticationNeeded"); });
    }

    int count(const std::string& line) const
    {
        return int(std::count(lines.begin(), lines.end(), line));
    }

    std::vector<std::string> lines;
};

} // namespace cirrolux::test
