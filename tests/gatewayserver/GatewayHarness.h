#pragma once

#include "FakeNoaa.h"
#include "WaitFor.h"
#include "gateway/GatewayServer.h"
#include "gateway/LiveConditions.h"
#include "gateway/StationIndex.h"
#include "locations/CatalogueStations.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace cirrolux::test {

// The station tables of the installed weather-util-data, read once per test program; null
// when the package is not installed.
inline const gateway::StationIndex* InstalledStationIndex()
{
    static const std::optional<gateway::StationIndex> index =
        []() -> std::optional<gateway::StationIndex> {
        if (!QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz")))
            return std::nullopt;
        return gateway::StationIndex::load();
    }();
    return index ? &*index : nullptr;
}

inline QString GatewayTestData()
{
    return QStringLiteral(CIRROLUX_TEST_DATA "/gatewayserver");
}

// A gateway on a clock the test moves, its upstream the fake NOAA serving the recorded files of
// tests/data/gatewayserver.
class GatewayHarness : public ::testing::Test
{
protected:
    void SetUp() override
    {
        index = InstalledStationIndex();
        if (!index)
            GTEST_SKIP() << "weather-util-data is not installed";
        live.emplace(*index, cirrolux::CatalogueStationDirectory());
        noaa.serveFolder(GatewayTestData());
        ASSERT_TRUE(noaa.listen());
        gateway::UpstreamSettings settings;
        settings.observationsBase = noaa.observationsBase();
        settings.productsBase = noaa.productsBase();
        settings.timeout = std::chrono::milliseconds(400);
        server = std::make_unique<gateway::GatewayServer>(*index, *live, settings);
        server->setClock([this] { return now; });
        // Failures are not remembered here, so a test can retry at once; the attack tests
        // that check the memory set it.
        gateway::GatewayLimits limits;
        limits.failureMemoryMs = 0;
        server->setLimits(limits);
    }

    // The body the gateway answers `target` with ("http://host/path" or "/path").
    HttpReply get(const std::string& target)
    {
        std::optional<HttpReply> reply;
        server->answer(QByteArray::fromStdString("GET " + target + " HTTP/1.0\r\n\r\n"),
                       [&](const HttpReply& r) { reply = r; });
        EXPECT_TRUE(WaitFor([&] { return reply.has_value(); }, 5000)) << target;
        return reply.value_or(HttpReply{});
    }
    std::string page(const std::string& target) { return get(target).body.toStdString(); }

    static QByteArray observationPath(const std::string& icao)
    {
        return QByteArray::fromStdString("/data/observations/metar/stations/" + icao + ".TXT");
    }

    const gateway::StationIndex* index = nullptr;
    std::optional<gateway::LiveConditions> live;
    fakenoaa::FakeNoaa noaa;
    std::unique_ptr<gateway::GatewayServer> server;
    QDateTime now{QDate(2026, 1, 15), QTime(15, 0), QTimeZone::utc()};
};

} // namespace cirrolux::test
