// A first start of the installed program: no settings file, the live gateway installed beside
// it (a test layout whose socket unit names the port of a socket the test hands to the real
// gateway, as systemd would on the first connection), the choose-location dialog open at once,
// "Boston, MA" chosen, and the readings of the fake upstream's file on the main window. A user
// who already has settings, or has no gateway, starts as before.
#include "ActivatedGateway.h"
#include "FakeNoaa.h"
#include "MainWindowFixture.h"

#include "locations/TfrmLocation.h"
#include "net/TNMHTTP.h"
#include "settings/FirstStart.h"
#include "shell/Startup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

using namespace cirrolux;
using cirrolux::test::ActivatedGateway;
using cirrolux::test::MainWindowFixture;
using cirrolux::test::Socket;
namespace names = cirrolux::SettingNames;

namespace {

class FirstStartRoad : public MainWindowFixture
{
protected:
    // An install tree under a temporary prefix whose socket unit listens on `port`.
    QString installLayout(quint16 port)
    {
        QDir root(m_prefix.path());
        root.mkpath(QStringLiteral("bin"));
        root.mkpath(QStringLiteral("lib/systemd/user"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                                root.filePath(QStringLiteral("bin/cirrolux-gateway"))));
        QFile unit(root.filePath(QStringLiteral("lib/systemd/user/cirrolux-gateway.socket")));
        EXPECT_TRUE(unit.open(QIODevice::WriteOnly));
        unit.write("[Socket]\nListenStream=127.0.0.1:" + QByteArray::number(port) + "\n");
        return m_prefix.path();
    }

    std::unique_ptr<Startup> start(const std::optional<InstalledGateway>& gateway)
    {
        auto startup = std::make_unique<Startup>(store, ui, quietOptions(), gateway);
        startup->run();
        current = &startup->mainWindow();
        return startup;
    }

    std::string fileText() const
    {
        QFile file(profile.settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(no file)";
    }

private:
    QTemporaryDir m_prefix;
};

TEST_F(FirstStartRoad, ChoosingBostonShowsTheReadingsOfTheUpstreamsFile)
{
    if (!QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz")))
        GTEST_SKIP() << "weather-util-data is not installed";
    fakenoaa::FakeNoaa noaa;
    const QString observed =
        QDateTime::currentDateTimeUtc().addSecs(-600).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    noaa.setFile("/data/observations/metar/stations/KBOS.TXT",
                 observed.toLatin1() +
                     "\nKBOS 151454Z 31012G22KT 10SM FEW045 BKN250 M01/M09 A3012 RMK AO2\n");
    ASSERT_TRUE(noaa.listen());
    Socket socket(SOCK_STREAM, "127.0.0.1", true);
    ActivatedGateway gateway({socket.fd()},
                             {QStringLiteral("--data"), QStringLiteral("/usr/share/weather-util"),
                              QStringLiteral("--observations"), noaa.observationsBase()});

    const std::unique_ptr<Startup> startup =
        start(FirstStart::findGateway(installLayout(socket.port())));
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyUse), "y");
    EXPECT_EQ(store.read_setting(names::Settings, names::Proxy), "127.0.0.1");
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyPort), std::to_string(socket.port()));
    EXPECT_EQ(startup->mainWindow().NMHTTP1().Proxy, "127.0.0.1");
    EXPECT_EQ(startup->mainWindow().NMHTTP1().ProxyPort, socket.port());
    TfrmLocation* chooser = startup->mainWindow().frmLocation();
    ASSERT_NE(chooser, nullptr) << "the choose-location dialog did not open";
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_TRUE(ui.texts().empty());

    ASSERT_TRUE(chooser->selectPath(
        {"Continent", "North America", "United States", "Massachusetts", "Boston"}));
    chooser->findChild<QPushButton*>(QStringLiteral("btnOkay"))->click();
    EXPECT_TRUE(waitFor([&] { return !text("lblTemp2").empty(); }, 20000));
    EXPECT_EQ(startup->mainWindow().windowTitle(), "Cirrolux - Boston, MA");
    EXPECT_EQ(text("lblTemp2"), "30\xB0"
                                "F ");
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"Location added to Get_Stats presets: Boston, MA"});
    EXPECT_EQ(noaa.hits("/data/observations/metar/stations/KBOS.TXT"), 1);
}

TEST_F(FirstStartRoad, ExistingSettingsFileChangesNothing)
{
    store.write_setting(names::Settings, names::StartupLoc, "None");
    const std::string before = fileText();
    const std::unique_ptr<Startup> startup = start(FirstStart::findGateway(installLayout(61088)));
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(startup->mainWindow().frmLocation(), nullptr);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(FirstStartRoad, WithoutTheGatewayNothingIsSetUp)
{
    const std::unique_ptr<Startup> startup = start(std::nullopt);
    EXPECT_EQ(store.read_setting(names::Settings, names::ProxyUse), "n/a");
    EXPECT_EQ(startup->mainWindow().frmLocation(), nullptr);
}

} // namespace
