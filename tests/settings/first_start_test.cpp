// First start with the live gateway installed: how the program finds the gateway beside it and
// the port its socket unit names, and that only a user without any settings gets the gateway
// as the proxy.
#include "TempProfile.h"
#include "settings/FirstStart.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace cirrolux;
namespace names = cirrolux::SettingNames;

namespace {

struct UnitCase
{
    const char* name;
    const char* unit;
    int port; // 0: none
};

void PrintTo(const UnitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SocketUnitPort : public ::testing::TestWithParam<UnitCase>
{
};

TEST_P(SocketUnitPort, IsTheLoopbackListenStream)
{
    const std::optional<int> port = FirstStart::listenPort(QByteArray(GetParam().unit));
    EXPECT_EQ(port.value_or(0), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Units, SocketUnitPort,
    ::testing::Values(UnitCase{"Packaged", "[Socket]\nListenStream=127.0.0.1:61088\n", 61088},
                      UnitCase{"Spaces", "[Socket]\n  ListenStream= 127.0.0.1:4000  \r\n", 4000},
                      UnitCase{"Ipv6Loopback", "ListenStream=[::1]:5000\n", 5000},
                      UnitCase{"Localhost", "ListenStream=localhost:5001\n", 5001},
                      UnitCase{"FirstLoopbackWins",
                               "ListenStream=192.168.1.2:80\nListenStream=127.0.0.1:6000\n"
                               "ListenStream=127.0.0.1:7000\n",
                               6000},
                      UnitCase{"AllAddressesIsNotLoopback", "ListenStream=61088\n", 0},
                      UnitCase{"OtherAddress", "ListenStream=0.0.0.0:61088\n", 0},
                      UnitCase{"PortZero", "ListenStream=127.0.0.1:0\n", 0},
                      UnitCase{"PortTooLarge", "ListenStream=127.0.0.1:65536\n", 0},
                      UnitCase{"NotANumber", "ListenStream=127.0.0.1:http\n", 0},
                      UnitCase{"Commented", "#ListenStream=127.0.0.1:61088\n", 0},
                      UnitCase{"Empty", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// An install tree: bin/cirrolux-gateway and lib/systemd/user/cirrolux-gateway.socket.
struct Layout
{
    bool program = true;
    bool executable = true;
    const char* unit = "[Socket]\nListenStream=127.0.0.1:61088\n"; // nullptr: no unit

    QString makeIn(const QString& root) const
    {
        QDir(root).mkpath(QStringLiteral("bin"));
        QDir(root).mkpath(QStringLiteral("lib/systemd/user"));
        if (program) {
            QFile file(root + QStringLiteral("/bin/cirrolux-gateway"));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.close();
            if (executable)
                file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
        if (unit) {
            QFile file(root + QStringLiteral("/lib/systemd/user/cirrolux-gateway.socket"));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(unit);
        }
        return root;
    }
};

struct LayoutCase
{
    const char* name;
    Layout layout;
    int port; // 0: no gateway found
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class InstalledGatewayLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(InstalledGatewayLayout, IsFoundOnlyWhenProgramAndSocketAreThere)
{
    QTemporaryDir root;
    const std::optional<InstalledGateway> gateway =
        FirstStart::findGateway(GetParam().layout.makeIn(root.path()));
    EXPECT_EQ(gateway ? gateway->port : 0, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, InstalledGatewayLayout,
    ::testing::Values(
        LayoutCase{"Installed", Layout{}, 61088},
        LayoutCase{"OtherPort", Layout{true, true, "ListenStream=127.0.0.1:5555\n"}, 5555},
        LayoutCase{"NoProgram", Layout{false, true, Layout{}.unit}, 0},
        LayoutCase{"ProgramNotExecutable", Layout{true, false, Layout{}.unit}, 0},
        LayoutCase{"NoSocketUnit", Layout{true, true, nullptr}, 0},
        LayoutCase{"SocketNotOnLoopback", Layout{true, true, "ListenStream=0.0.0.0:61088\n"}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

class FirstStartSetUp : public ::testing::Test
{
protected:
    std::string fileText() const
    {
        QFile file(profile.settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(no file)";
    }

    test::TempProfile profile;
    SettingsStore store = profile.store();
};

TEST_F(FirstStartSetUp, NoSettingsFileWithGatewayStoresTheProxy)
{
    ASSERT_TRUE(FirstStart::isFirstStart(store));
    EXPECT_TRUE(FirstStart::setUp(store, InstalledGateway{61088}));
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyUse), "y");
    EXPECT_EQ(store.read_setting(names::Settings, names::Proxy), "127.0.0.1");
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyPort), "61088");
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyUserid), "n/a");
    EXPECT_FALSE(FirstStart::isFirstStart(store));
    // A second start is not a first start any more.
    EXPECT_FALSE(FirstStart::setUp(store, InstalledGateway{5555}));
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyPort), "61088");
}

TEST_F(FirstStartSetUp, NoGatewayLeavesNoFile)
{
    EXPECT_FALSE(FirstStart::setUp(store, std::nullopt));
    EXPECT_EQ(fileText(), "(no file)");
}

TEST_F(FirstStartSetUp, ExistingSettingsStayAsTheyAre)
{
    // Even settings that say nothing of a proxy, or turn it off, are the user's.
    for (const char* proxyUse : {"", "n"}) {
        store.write_setting(names::Settings, names::StartupLoc, "Austin, TX");
        if (*proxyUse)
            store.write_setting(names::Settings, names::ProxyUse, proxyUse);
        const std::string before = fileText();
        EXPECT_FALSE(FirstStart::setUp(store, InstalledGateway{61088}));
        EXPECT_EQ(fileText(), before);
    }
}

} // namespace
