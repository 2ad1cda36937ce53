#include "net/UrlParts.h"
#include "platform/CirroluxError.h"

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {

struct SplitCase
{
    const char* name;
    std::string url;
    int currentPort;
    std::string expectedUrl;
    std::string path;
    std::string host;
    int port;
};

class SplitUrlTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitUrlTest, GivesUrlPathHostAndPort)
{
    const SplitCase& c = GetParam();
    const UrlParts parts = SplitUrl(c.url, c.currentPort);
    EXPECT_EQ(parts.url, c.expectedUrl);
    EXPECT_EQ(parts.path, c.path);
    EXPECT_EQ(parts.host, c.host);
    EXPECT_EQ(parts.port, c.port);
}

const std::string LongPath = "/census/" + std::string(600, 'q') + ".html";

INSTANTIATE_TEST_SUITE_P(
    Table, SplitUrlTest,
    ::testing::Values(
        SplitCase{"HostOnlyAsksForRootAndGetsSlash", "http://www.example.com", 0,
                  "http://www.example.com/", "/", "www.example.com", 80},
        SplitCase{"HostWithSlash", "http://www.example.com/", 0, "http://www.example.com/", "/",
                  "www.example.com", 80},
        SplitCase{"PathAndQuery", "http://www.example.com/US/MA/Boston.html?x=1", 0,
                  "http://www.example.com/US/MA/Boston.html?x=1", "/US/MA/Boston.html?x=1",
                  "www.example.com", 80},
        SplitCase{"Port8080", "http://www.example.com:8080/cgi-bin/page", 0,
                  "http://www.example.com:8080/cgi-bin/page", "/cgi-bin/page", "www.example.com",
                  8080},
        SplitCase{"Port8080WithoutPath", "http://www.example.com:8080", 0,
                  "http://www.example.com:8080/", "/", "www.example.com", 8080},
        SplitCase{"EmptyPortKeepsSchemePort", "http://www.example.com:/a", 0,
                  "http://www.example.com:/a", "/a", "www.example.com", 80},
        SplitCase{"GopherPort70", "gopher://gopher.example.com/1/news", 0,
                  "gopher://gopher.example.com/1/news", "/1/news", "gopher.example.com", 70},
        SplitCase{"FtpPort21AnyCase", "FTP://ftp.example.com/pub/file.txt", 0,
                  "FTP://ftp.example.com/pub/file.txt", "/pub/file.txt", "ftp.example.com", 21},
        SplitCase{"OtherSchemePort80", "https://www.example.com/x", 8080,
                  "https://www.example.com/x", "/x", "www.example.com", 80},
        SplitCase{"NoDoubleSlashKeepsPort", "www.example.com/path/page.html", 8080,
                  "www.example.com/path/page.html", "/path/page.html", "www.example.com", 8080},
        SplitCase{"NoDoubleSlashWithPort", "www.example.com:81/x", 8080, "www.example.com:81/x",
                  "/x", "www.example.com", 81},
        SplitCase{"NoSlashAtAll", "www.example.com", 0, "www.example.com/", "/", "www.example.com",
                  80},
        SplitCase{"LeadingSlashKeepsHost", "/images/radar.gif", 8000, "/images/radar.gif",
                  "/images/radar.gif", "", 8000},
        SplitCase{"PortZeroBecomes80", "/x", 0, "/x", "/x", "", 80},
        SplitCase{"DoubleSlashInQuery", "http://h.example.com/cgi?u=http://x/y", 0,
                  "http://h.example.com/cgi?u=http://x/y", "/cgi?u=http://x/y", "h.example.com",
                  80},
        SplitCase{"PathLongerThan256KeptWhole", "http://www.example.com" + LongPath, 0,
                  "http://www.example.com" + LongPath, LongPath, "www.example.com", 80}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

struct BadCase
{
    const char* name;
    std::string url;
    std::string error;
};

class SplitUrlErrorTest : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(SplitUrlErrorTest, RaisesTransferError)
{
    const BadCase& c = GetParam();
    try {
        SplitUrl(c.url, 80);
        FAIL() << "no error for " << c.url;
    } catch (const TransferError& e) {
        EXPECT_EQ(std::string(e.what()), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitUrlErrorTest,
    ::testing::Values(BadCase{"Empty", "", "Empty URL"},
                      BadCase{"PortNotANumber", "http://h:abc/", "Invalid Port Number"},
                      BadCase{"PortTooLarge", "http://h:70000/", "Invalid Port Number"},
                      BadCase{"PortZero", "http://h:0/", "Invalid Port Number"}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

} // namespace
