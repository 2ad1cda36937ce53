// Transfer settings that stay with the transfer, and memory that follows what was received.
#include "TransferFixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace cirrolux;
using namespace cirrolux::test;
using S = ScriptedServer;

namespace {

struct ChangeCase
{
    const char* name;
    bool inputFileMode;
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }
};

class SettingsChangedMidTransfer : public TransferFixture,
                                   public ::testing::WithParamInterface<ChangeCase>
{
};

// A handler that sets up the next transfer while this one runs leaves this one's files alone.
TEST_P(SettingsChangedMidTransfer, KeepTheFilesGetStartedWith)
{
    QTemporaryDir dir;
    const std::string body = dir.filePath(QStringLiteral("image.gif")).toStdString();
    const std::string other = dir.filePath(QStringLiteral("other.txt")).toStdString();
    const std::string head = dir.filePath(QStringLiteral("head.txt")).toStdString();
    server.setScript({S::send("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n01234"),
                      S::waitRelease(), S::send("56789"), S::close()});
    http->InputFileMode = GetParam().inputFileMode;
    http->OutputFileMode = false;
    http->Body = GetParam().inputFileMode ? body : "";
    QObject::connect(http.get(), &TNMHTTP::OnConnect, &server, [&] {
        http->InputFileMode = !GetParam().inputFileMode;
        http->OutputFileMode = true;
        http->Body = other;
        http->Header = head;
    });
    http->ReportLevel = 8;
    QObject::connect(http.get(), &TNMHTTP::OnStatus, &server, [&](const std::string& s) {
        if (s == "CaptureFile" || s == "Capture String")
            server.release();
    });
    http->Get(direct("/image.gif"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(other)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(head)));
    EXPECT_EQ(http->Header.rfind("HTTP/1.0 200 OK", 0), 0u);
    if (GetParam().inputFileMode) {
        QFile file(QString::fromStdString(body));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("0123456789"));
    } else {
        EXPECT_EQ(http->Body, "0123456789");
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, SettingsChangedMidTransfer,
                         ::testing::Values(ChangeCase{"to_file", true},
                                           ChangeCase{"in_memory", false}),
                         [](const auto& info) { return std::string(info.param.name); });

class BodyReserve : public TransferFixture
{
};

TEST_F(BodyReserve, AnnouncedGigabytesReserveLittleAndKeepNothingAfter)
{
    server.setScript({S::send("HTTP/1.0 200 OK\r\nContent-Length: 4294967296\r\n\r\nabc"),
                      S::waitRelease(), S::send("defgh"), S::close()});
    std::size_t reserved = 0;
    http->ReportLevel = 8;
    QObject::connect(http.get(), &TNMHTTP::OnStatus, &server, [&](const std::string& s) {
        if (s == "Capture String")
            server.release();
    });
    QObject::connect(http.get(), &TNMHTTP::OnPacketRecvd, &server,
                     [&] { reserved = std::max(reserved, http->Body.capacity()); });
    http->Get(direct("/"));
    EXPECT_EQ(http->Body, "abcdefgh");
    EXPECT_EQ(http->ExpectedLength(), 4294967296LL);
    EXPECT_GT(reserved, 0u);
    EXPECT_LE(reserved, std::size_t{64} * 1024 * 1024);
    EXPECT_LT(http->Body.capacity(), std::size_t{64} * 1024);
}

} // namespace
