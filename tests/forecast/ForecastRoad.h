#pragma once

#include "RecordingUserInterface.h"
#include "TempProfile.h"
#include "conditions/ConditionsParser.h"
#include "conditions/ConditionsRequest.h"
#include "conditions/ConditionsView.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "servicesim/ReportContent.h"
#include "servicesim/ServiceEmulator.h"

#include <QUrl>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cirrolux::test {

// The service emulator on a free loopback port as the proxy of the real transfer component,
// with the main window's conditions request bound to it (it turns the transfer's events into
// status texts and routes them), over a throwaway profile.
class ForecastRoad
{
public:
    explicit ForecastRoad(ConditionsView& mainView)
        : parser(shared, store, ui, mainView, [] {}),
          request(shared, ui, mainView, http, parser, ConditionsRequest::Hooks{})
    {
        emulator.setNow(Now());
        EXPECT_TRUE(emulator.listen());
        http.Proxy = "127.0.0.1";
        http.ProxyPort = emulator.port();
        shared.locationCity = "Boston";
        shared.locationState = "MA";
    }

    static QDateTime Now() { return QDateTime(QDate(2026, 1, 15), QTime(14, 0), Qt::UTC); }

    // The emulator's page at `address`, as it serves it.
    static std::string page(const std::string& address)
    {
        const QUrl url(QString::fromLatin1(address));
        const auto body = servicesim::ReportContent::page(
            url.host().toLatin1(), url.path(QUrl::FullyEncoded).toLatin1(), Now());
        EXPECT_TRUE(body.has_value()) << address;
        return body ? body->toStdString() : std::string();
    }

    // The request lines the emulator received.
    std::vector<std::string> requestLines() const
    {
        std::vector<std::string> lines;
        for (const auto& head : emulator.requests())
            lines.push_back(head.raw.left(head.raw.indexOf("\r\n")).toStdString());
        return lines;
    }

    TempProfile profile;
    SettingsStore store = profile.store();
    RecordingUserInterface ui;
    SharedState shared;
    servicesim::ServiceEmulator emulator;
    TNMHTTP http;
    ConditionsParser parser;
    ConditionsRequest request;
};

} // namespace cirrolux::test
