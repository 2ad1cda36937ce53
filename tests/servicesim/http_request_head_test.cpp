// Reading request heads: proxy form, plain form, and heads that cannot be read.
#include "httpserver/HttpRequestHead.h"

#include <gtest/gtest.h>

namespace cirrolux::test {
namespace {

using cirrolux::HttpRequestHead;

struct HeadCase
{
    const char* name;
    QByteArray raw;
    bool valid;
    bool proxyForm;
    QByteArray host;
    QByteArray authority;
    QByteArray path;
};

class RequestHead : public ::testing::TestWithParam<HeadCase>
{
};

TEST_P(RequestHead, Parsed)
{
    const HttpRequestHead head = HttpRequestHead::parse(GetParam().raw);
    EXPECT_EQ(head.raw, GetParam().raw);
    EXPECT_EQ(head.valid, GetParam().valid);
    if (!GetParam().valid)
        return;
    EXPECT_EQ(head.proxyForm, GetParam().proxyForm);
    EXPECT_EQ(head.host, GetParam().host);
    EXPECT_EQ(head.authority, GetParam().authority);
    EXPECT_EQ(head.path, GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, RequestHead,
    ::testing::Values(
        HeadCase{"ProxyForm",
                 "GET http://www.wunderground.com/US/MA/Boston.html HTTP/1.0\r\n"
                 "Proxy-Connection: Keep-Alive\r\nHost: www.wunderground.com\r\n\r\n",
                 true, true, "www.wunderground.com", "www.wunderground.com", "/US/MA/Boston.html"},
        HeadCase{"ProxyFormWithPortAndQuery",
                 "GET http://WWW.Wunderground.com:8080/cgi-bin/findweather/getForecast?query=02134 "
                 "HTTP/1.0\r\n\r\n",
                 true, true, "www.wunderground.com", "WWW.Wunderground.com:8080",
                 "/cgi-bin/findweather/getForecast?query=02134"},
        HeadCase{"ProxyFormWithoutPath", "GET http://www.cirrolux.net HTTP/1.0\r\n\r\n", true, true,
                 "www.cirrolux.net", "www.cirrolux.net", "/"},
        HeadCase{"ProxyFormQueryRightAfterHost", "GET http://a.b?x=1 HTTP/1.0\r\n\r\n", true, true,
                 "a.b", "a.b", "/?x=1"},
        HeadCase{"ProxyFormUserInfo", "GET http://u:p@a.b:81/x HTTP/1.0\r\n\r\n", true, true, "a.b",
                 "u:p@a.b:81", "/x"},
        HeadCase{"PlainFormUsesHostHeader",
                 "GET /assets/cirroluxvs.txt HTTP/1.0\r\nHost: www.cirrolux.net:80\r\n\r\n", true,
                 false, "www.cirrolux.net", "www.cirrolux.net:80", "/assets/cirroluxvs.txt"},
        HeadCase{"PlainFormWithoutHost", "GET /sim/echo HTTP/1.0\r\n\r\n", true, false, "", "",
                 "/sim/echo"},
        HeadCase{"BareLineEnds", "GET /x HTTP/1.0\nHost: 127.0.0.1:5000\n\n", true, false,
                 "127.0.0.1", "127.0.0.1:5000", "/x"},
        HeadCase{"Ipv6Host", "GET /x HTTP/1.0\r\nHost: [::1]:5000\r\n\r\n", true, false, "::1",
                 "[::1]:5000", "/x"},
        HeadCase{"FragmentDropped", "GET /x#frag HTTP/1.0\r\n\r\n", true, false, "", "", "/x"},
        HeadCase{"NoVersion", "GET /x\r\n\r\n", false, false, "", "", ""},
        HeadCase{"Garbage", QByteArray("\x01\x02\xFF garbage\r\n\r\n"), false, false, "", "", ""},
        HeadCase{"Empty", "", false, false, "", "", ""},
        HeadCase{"LowerCaseMethod", "get /x HTTP/1.0\r\n\r\n", false, false, "", "", ""},
        HeadCase{"OtherScheme", "GET ftp://a.b/x HTTP/1.0\r\n\r\n", false, false, "", "", ""},
        HeadCase{"AsteriskTarget", "OPTIONS * HTTP/1.0\r\n\r\n", false, false, "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RequestHeadHeaders, LookedUpWithoutRegardToCase)
{
    const HttpRequestHead head = HttpRequestHead::parse(
        "GET /x HTTP/1.0\r\nReferer: Cirrolux by Tallowmere\r\nCOOKIE:  a=1 \r\nno colon here\r\n"
        "Cookie: b=2\r\n\r\n");
    EXPECT_EQ(head.header("referer"), "Cirrolux by Tallowmere");
    EXPECT_EQ(head.header("Cookie"), "a=1");
    EXPECT_TRUE(head.hasHeader("cookie"));
    EXPECT_FALSE(head.hasHeader("Authorization"));
    EXPECT_EQ(head.header("Authorization"), "");
    EXPECT_EQ(head.headers.size(), 4);
}

} // namespace
} // namespace cirrolux::test
