#include "net/HttpReplyReader.h"

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {

// Feeds `bytes` in pieces of `piece` bytes and takes every whole line as it becomes available.
std::vector<std::string> readAll(HttpReplyReader& reader, const std::string& bytes,
                                 std::size_t piece, bool closeAtEnd)
{
    std::vector<std::string> lines;
    auto take = [&] {
        while (auto line = reader.takeLine())
            lines.push_back(*line);
    };
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.append(std::string_view(bytes).substr(at, piece));
        take();
    }
    if (closeAtEnd) {
        reader.endOfInput();
        take();
    }
    return lines;
}

struct StatusCase
{
    const char* name;
    std::string statusLine;
    int status;
};

class StatusLineTest : public ::testing::TestWithParam<StatusCase>
{
};

TEST_P(StatusLineTest, SecondWordAsDecimalElseZero)
{
    HttpReplyReader reader;
    readAll(reader, GetParam().statusLine + "\r\nServer: x\r\n\r\n", 1000, false);
    EXPECT_EQ(reader.state(), HttpReplyReader::State::Body);
    EXPECT_EQ(reader.status(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusLineTest,
    ::testing::Values(StatusCase{"Ok", "HTTP/1.0 200 OK", 200},
                      StatusCase{"NotFound", "HTTP/1.1 404 Not Found", 404},
                      StatusCase{"Found", "HTTP/1.0 302 Found", 302},
                      StatusCase{"SeveralSpaces", "HTTP/1.0   301   Moved", 301},
                      StatusCase{"NoNumber", "HTTP/1.0 OK", 0},
                      StatusCase{"DigitsThenLetters", "HTTP/1.0 20x OK", 0},
                      StatusCase{"TooLargeFor16Bits", "HTTP/1.0 99999 Odd", 0},
                      StatusCase{"OneWord", "garbage", 0},
                      StatusCase{"BinaryNoise", std::string("\x01\xff\x7f \x80\x90", 6), 0}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

TEST(HttpReplyReader, NotesCookieLocationAndLengthWhateverTheirCase)
{
    HttpReplyReader reader;
    const auto lines =
        readAll(reader,
                "HTTP/1.0 302 Found\r\nset-cookie: a=1\r\nSET-COOKIE: b=2; path=/\r\n"
                "Location: http://www.example.com/next.htm\r\n"
                "content-length: 1234\r\n\r\nBODY",
                1000, false);
    EXPECT_EQ(lines.size(), 6u);
    EXPECT_EQ(reader.cookie(), "b=2; path=/");
    ASSERT_TRUE(reader.location().has_value());
    EXPECT_EQ(*reader.location(), "http://www.example.com/next.htm");
    EXPECT_EQ(reader.contentLength(), 1234);
    EXPECT_EQ(reader.takeLeftover(), "BODY");
}

TEST(HttpReplyReader, LinesKeepTheirLineEnds)
{
    HttpReplyReader reader;
    const auto lines = readAll(reader, "HTTP/1.0 200 OK\r\nA: 1\nB: 2\r\n\nrest", 1000, false);
    EXPECT_EQ(lines, (std::vector<std::string>{"HTTP/1.0 200 OK\r\n", "A: 1\n", "B: 2\r\n", "\n"}));
    EXPECT_EQ(reader.takeLeftover(), "rest");
}

TEST(HttpReplyReader, OneByteAtATimeGivesTheSameResult)
{
    const std::string reply = "HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot here!";
    HttpReplyReader whole;
    HttpReplyReader bytewise;
    const auto a = readAll(whole, reply, reply.size(), false);
    // Bytes after the header stay with the reader, whichever piece brought them.
    const auto b = readAll(bytewise, reply.substr(0, reply.size() - 9), 1, false);
    EXPECT_EQ(a, b);
    EXPECT_EQ(bytewise.status(), 404);
    EXPECT_EQ(bytewise.contentLength(), 9);
    EXPECT_EQ(whole.takeLeftover(), "not here!");
    EXPECT_EQ(bytewise.takeLeftover(), "");
}

TEST(HttpReplyReader, IncompleteLineWaitsForItsEnd)
{
    HttpReplyReader reader;
    reader.append("HTTP/1.0 200");
    EXPECT_FALSE(reader.takeLine().has_value());
    EXPECT_EQ(reader.state(), HttpReplyReader::State::StatusLine);
    reader.append(" OK\r\n");
    EXPECT_EQ(reader.takeLine(), std::optional<std::string>("HTTP/1.0 200 OK\r\n"));
    EXPECT_EQ(reader.status(), 200);
}

TEST(HttpReplyReader, ClosedConnectionEndsTheHeaderWithItsPartialLine)
{
    HttpReplyReader reader;
    const auto lines = readAll(reader, "HTTP/1.0 200 OK\r\nLocation: elsewhere.htm", 1000, true);
    EXPECT_EQ(lines, (std::vector<std::string>{"HTTP/1.0 200 OK\r\n", "Location: elsewhere.htm"}));
    EXPECT_EQ(reader.state(), HttpReplyReader::State::Body);
    EXPECT_EQ(reader.location(), std::optional<std::string>("elsewhere.htm"));
    EXPECT_EQ(reader.takeLeftover(), "");
}

TEST(HttpReplyReader, NothingAtAllReadsAsStatusZero)
{
    HttpReplyReader reader;
    EXPECT_TRUE(readAll(reader, "", 1, true).empty());
    EXPECT_EQ(reader.state(), HttpReplyReader::State::Body);
    EXPECT_EQ(reader.status(), 0);
}

TEST(HttpReplyReader, LongValuesKeptWhole)
{
    const std::string location = "http://www.example.com/" + std::string(700, 'l');
    const std::string cookie = "session=" + std::string(500, 's');
    HttpReplyReader reader;
    readAll(reader,
            "HTTP/1.0 302 Found\r\nLocation: " + location + "\r\nSet-Cookie: " + cookie +
                "\r\n\r\n",
            7, false);
    EXPECT_EQ(reader.location(), std::optional<std::string>(location));
    EXPECT_EQ(reader.cookie(), cookie);
}

struct LengthCase
{
    const char* name;
    std::string value;
    std::int64_t length;
};

class ContentLengthTest : public ::testing::TestWithParam<LengthCase>
{
};

TEST_P(ContentLengthTest, NumberAfterTheColonElseZero)
{
    HttpReplyReader reader;
    readAll(reader, "HTTP/1.0 200 OK\r\nContent-Length:" + GetParam().value + "\r\n\r\n", 1000,
            false);
    EXPECT_EQ(reader.contentLength(), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ContentLengthTest,
    ::testing::Values(LengthCase{"Plain", " 67108864", 67108864}, LengthCase{"Tab", "\t12", 12},
                      LengthCase{"TrailingText", " 12abc", 12}, LengthCase{"Negative", " -5", 0},
                      LengthCase{"Empty", "", 0},
                      LengthCase{"Overflow", " 99999999999999999999999", 0}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });

// Replies whose cookie or redirect address hid a CR inside the line (found by fuzzing): sent back
// as they were, the CR would end a line of the next request early.
struct HiddenLineEndCase
{
    const char* name;
    std::string header;
    std::string cookie;
    std::string location;
};

class HiddenLineEndTest : public ::testing::TestWithParam<HiddenLineEndCase>
{
};

TEST_P(HiddenLineEndTest, CarriageReturnInsideAValueBecomesASpace)
{
    HttpReplyReader reader;
    const auto lines =
        readAll(reader, "HTTP/1.0 302 Found\r\n" + GetParam().header + "\r\n", 3, true);
    EXPECT_EQ(reader.state(), HttpReplyReader::State::Body);
    EXPECT_EQ(reader.cookie(), GetParam().cookie);
    EXPECT_EQ(reader.location().value_or("none"), GetParam().location);
    // The lines themselves, for the Header text, stay as they came.
    std::string all;
    for (const std::string& line : lines)
        all += line;
    EXPECT_EQ(all, "HTTP/1.0 302 Found\r\n" + GetParam().header + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, HiddenLineEndTest,
    ::testing::Values(
        HiddenLineEndCase{"CookieWithNulsAndCr",
                          std::string("Set-Cookie: id=\0\0\0\00042; path=/\r\0\0\n", 33),
                          std::string("id=\0\0\0\00042; path=/ \0\0", 20), "none"},
        HiddenLineEndCase{"CookieInjectingAHeader", "Set-Cookie: a=1\rAuthorization: x\r\n",
                          "a=1 Authorization: x", "none"},
        HiddenLineEndCase{"LocationInjectingAHeader", "Location: http://h/p\rCookie: stolen\r\n",
                          "", "http://h/p Cookie: stolen"},
        HiddenLineEndCase{"SeveralCarriageReturns", "Location: /a\r\r\rb\r\r\n", "", "/a   b"}),
    [](const ::testing::TestParamInfo<HiddenLineEndCase>& info) {
        return std::string(info.param.name);
    });

TEST(HttpReplyReader, EndlessHeaderIsRefused)
{
    HttpReplyReader reader;
    reader.append("HTTP/1.0 200 OK\r\n");
    EXPECT_TRUE(reader.takeLine().has_value());
    const std::string chunk(64 * 1024, 'x');
    for (std::size_t sent = 0; sent <= HttpReplyReader::MaxHeaderBytes; sent += chunk.size()) {
        reader.append(chunk);
        EXPECT_FALSE(reader.takeLine().has_value());
    }
    EXPECT_EQ(reader.state(), HttpReplyReader::State::TooLarge);
}

TEST(HttpReplyReader, EndlessHeaderOfShortLinesIsRefused)
{
    HttpReplyReader reader;
    const std::string line = "X-Filler: " + std::string(100, 'f') + "\r\n";
    std::size_t sent = 0;
    while (reader.state() != HttpReplyReader::State::TooLarge &&
           sent < 2 * HttpReplyReader::MaxHeaderBytes) {
        reader.append(line);
        sent += line.size();
        while (reader.takeLine()) {
        }
    }
    EXPECT_EQ(reader.state(), HttpReplyReader::State::TooLarge);
}

} // namespace
