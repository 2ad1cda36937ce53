// parse_imgsrcs: image tags of a page become remarks, in memory and in the page file.
#include "CaseName.h"
#include "TempProfile.h"
#include "platform/CirroluxError.h"
#include "webwindow/ImageTags.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cirrolux;

namespace {

struct TagCase
{
    std::string name;
    std::string page;
    std::string stripped;
};

class StripImageTagsCases : public ::testing::TestWithParam<TagCase>
{
};

TEST_P(StripImageTagsCases, ReplacesExactCaseTagsOnly)
{
    EXPECT_EQ(StripImageTags(GetParam().page), GetParam().stripped);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StripImageTagsCases,
    ::testing::Values(
        TagCase{"one_tag", "<p><img src=\"flag.gif\"></p>", "<p><REM=\"flag.gif\"></p>"},
        TagCase{"two_tags_in_a_line", "<img src=a.gif><img src=b.gif>\r\n",
                "<REM=a.gif><REM=b.gif>\r\n"},
        TagCase{"upper_case_untouched", "<IMG SRC=\"map.gif\">", "<IMG SRC=\"map.gif\">"},
        TagCase{"mixed_case_untouched", "<Img src=x><img SRC=y>", "<Img src=x><img SRC=y>"},
        TagCase{"no_overlap_rescan", "<img src<img src", "<REM<REM"},
        TagCase{"replacement_not_rescanned", "<<img srcimg src", "<<REMimg src"},
        TagCase{"tag_cut_at_the_end", "text <img sr", "text <img sr"},
        TagCase{"line_ends_kept", "a\r\nb\nc\rd", "a\r\nb\nc\rd"},
        TagCase{"bytes_kept", std::string("\0<img src\xFF", 11), std::string("\0<REM\xFF", 7)},
        TagCase{"empty", "", ""}),
    [](const auto& info) { return test::CaseName(info.param.name); });

class ParseImgsrcsFile : public ::testing::Test
{
protected:
    ParseImgsrcsFile() { QDir::setCurrent(m_dir.path()); }
    ~ParseImgsrcsFile() override { QDir::setCurrent(m_old); }

    static void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    QString m_old = QDir::currentPath();
    QTemporaryDir m_dir;
};

TEST_F(ParseImgsrcsFile, RewritesThePageInPlaceAndLeavesNoTemporaryFile)
{
    write(QStringLiteral("temp.html"),
          "<html>\r\n<img src=\"f.gif\"><IMG SRC=\"g.gif\">\r\n</html>");
    ASSERT_TRUE(parse_imgsrcs("temp.html"));
    EXPECT_EQ(read(QStringLiteral("temp.html")),
              "<html>\r\n<REM=\"f.gif\"><IMG SRC=\"g.gif\">\r\n</html>");
    EXPECT_FALSE(QFile::exists(QStringLiteral("ttemp.html")));
}

TEST_F(ParseImgsrcsFile, StaleTemporaryFileIsReplaced)
{
    write(QStringLiteral("ttemp.html"), "old rubbish that is longer than the page");
    write(QStringLiteral("temp.html"), "<img src=x>");
    ASSERT_TRUE(parse_imgsrcs("temp.html"));
    EXPECT_EQ(read(QStringLiteral("temp.html")), "<REM=x>");
}

TEST_F(ParseImgsrcsFile, MissingPageIsReportedNotThrown)
{
    EXPECT_FALSE(parse_imgsrcs("temp.html"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("temp.html")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("ttemp.html")));
}

TEST_F(ParseImgsrcsFile, UnwritableFolderRaisesTheProgramsText)
{
    write(QStringLiteral("temp.html"), "<img src=x>");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (QFile(QStringLiteral("probe")).open(QIODevice::WriteOnly))
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    try {
        parse_imgsrcs("temp.html");
        ADD_FAILURE() << "no error";
    } catch (const CirroluxError& e) {
        EXPECT_STREQ(e.what(), "Cannot write to file: ttemp.html");
    }
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(read(QStringLiteral("temp.html")), "<img src=x>");
}

} // namespace
