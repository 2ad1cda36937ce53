#include "display/TGIFImage.h"

#include "CaseName.h"
#include "GifWriter.h"
#include "WaitFor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace cirrolux;
using cirrolux::test::FrameShown;
using cirrolux::test::WriteNumberedGif;

namespace {

class GifImage : public ::testing::Test
{
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString numbered(int count, bool loop, int width = 40, int height = 30, int delayCs = 2)
    {
        const QString file = path("numbered.gif");
        EXPECT_TRUE(WriteNumberedGif(file, width, height, count, loop, delayCs));
        return file;
    }
    // Turns the event loop until `done` holds or `ms` pass; returns whether it held.
    static bool waitFor(const std::function<bool()>& done, int ms = 3000)
    {
        return test::WaitFor(done, ms);
    }

    QTemporaryDir m_dir;
    TGIFImage m_control;
};

TEST_F(GifImage, LoadSizesToTheImageAndShowsFrameOne)
{
    m_control.setGeometry(0, 0, 185, 81);
    ASSERT_TRUE(m_control.LoadFromFile(numbered(3, true)));
    EXPECT_EQ(m_control.size(), QSize(40, 30));
    EXPECT_EQ(m_control.FrameCount(), 3);
    EXPECT_EQ(m_control.CurrentFrame(), 1);
    EXPECT_EQ(FrameShown(m_control.CurrentBitmap()), 1);
    EXPECT_EQ(FrameShown(m_control.FirstFrameBitmap()), 1);
    EXPECT_EQ(FrameShown(m_control.grab().toImage()), 1);
}

TEST_F(GifImage, WithoutAutoSizeTheControlKeepsItsSize)
{
    m_control.setGeometry(264, 0, 72, 40);
    m_control.SetAutoSize(false);
    ASSERT_TRUE(m_control.LoadFromFile(numbered(1, false, 20, 10)));
    EXPECT_EQ(m_control.geometry(), QRect(264, 0, 72, 40));
}

TEST_F(GifImage, CentredImageOverAnOpaqueBackground)
{
    m_control.SetAutoSize(false);
    m_control.SetCenter(true);
    m_control.SetOpaqueColor(Qt::white);
    m_control.resize(72, 40);
    ASSERT_TRUE(m_control.LoadFromFile(numbered(5, false, 20, 10)));
    const QImage shown = m_control.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(FrameShown(shown, 36, 20), 1);
    EXPECT_EQ(qGreen(shown.pixel(36, 20)), 254);
}

struct FrameCase
{
    const char* name;
    std::vector<int> moves; // frames set in turn
    int shown;              // frame on show at the end
    friend void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }
};

class GifImageFrames : public GifImage, public ::testing::WithParamInterface<FrameCase>
{
};

TEST_P(GifImageFrames, CurrentFrameNumberedFromOne)
{
    ASSERT_TRUE(m_control.LoadFromFile(numbered(6, true)));
    for (int frame : GetParam().moves)
        m_control.SetCurrentFrame(frame);
    EXPECT_EQ(m_control.CurrentFrame(), GetParam().shown);
    EXPECT_EQ(FrameShown(m_control.CurrentBitmap()), GetParam().shown);
    EXPECT_EQ(FrameShown(m_control.FirstFrameBitmap()), 1);
}

INSTANTIATE_TEST_SUITE_P(Moves, GifImageFrames,
                         ::testing::Values(FrameCase{"second", {2}, 2}, FrameCase{"last", {6}, 6},
                                           FrameCase{"back_to_second", {5, 2}, 2},
                                           FrameCase{"back_to_first", {4, 1}, 1},
                                           FrameCase{"same_twice", {3, 3}, 3},
                                           FrameCase{"below_one", {0}, 1},
                                           FrameCase{"past_the_end", {99}, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GifImage, AnimationWrapsARadarLoopFromFrameTwo)
{
    ASSERT_TRUE(m_control.LoadFromFile(numbered(4, true)));
    m_control.SetAnimate(true);
    m_control.SetCurrentFrame(2);
    EXPECT_EQ(m_control.CurrentFrame(), 2);
    ASSERT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 4; }));
    ASSERT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 1; }));
    EXPECT_EQ(FrameShown(m_control.CurrentBitmap()), 1);
    ASSERT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 2; }));
}

TEST_F(GifImage, WithoutLoopExtensionItPlaysOnceUnlessLoopIsOn)
{
    ASSERT_TRUE(m_control.LoadFromFile(numbered(3, false)));
    m_control.SetAnimate(true);
    ASSERT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 3; }));
    EXPECT_FALSE(waitFor([&] { return m_control.CurrentFrame() != 3; }, 300));

    m_control.SetLoop(true);
    m_control.SetCurrentFrame(1);
    ASSERT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 3; }));
    EXPECT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 1; }));
}

TEST_F(GifImage, AnimationOffHoldsTheFrame)
{
    ASSERT_TRUE(m_control.LoadFromFile(numbered(3, true)));
    m_control.SetAnimate(true);
    ASSERT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 2; }));
    m_control.SetAnimate(false);
    const int held = m_control.CurrentFrame();
    EXPECT_FALSE(waitFor([&] { return m_control.CurrentFrame() != held; }, 300));
}

TEST_F(GifImage, ALongLoopIsDecodedAsItPlaysNotCached)
{
    ASSERT_TRUE(m_control.LoadFromFile(numbered(100, true, 80, 60)));
    EXPECT_EQ(m_control.FrameCount(), 100);
    m_control.SetCurrentFrame(100);
    m_control.SetCurrentFrame(50);
    // Going back starts the file again: 100 frames, then 50 more, and nothing kept between.
    EXPECT_EQ(m_control.DecodedFrames(), 150);
    EXPECT_EQ(FrameShown(m_control.CurrentBitmap()), 50);
}

TEST_F(GifImage, ClearDropsEveryFrame)
{
    ASSERT_TRUE(m_control.LoadFromFile(numbered(3, true)));
    m_control.SetAnimate(true);
    m_control.Clear();
    EXPECT_TRUE(m_control.Empty());
    EXPECT_EQ(m_control.FrameCount(), 0);
    EXPECT_EQ(m_control.CurrentFrame(), 0);
    EXPECT_TRUE(m_control.FirstFrameBitmap().isNull());
    EXPECT_TRUE(m_control.Animate());
    m_control.SetCurrentFrame(2);
    EXPECT_EQ(m_control.CurrentFrame(), 0);
}

TEST_F(GifImage, AFileCutInItsFourthFrameShowsThreeAndGoesOn)
{
    // The writer is deterministic: three frames are a prefix of five, but for the trailer byte.
    const QString three = path("three.gif");
    ASSERT_TRUE(WriteNumberedGif(three, 40, 30, 3, true, 2));
    const qint64 wholeFrames = QFileInfo(three).size() - 1;
    QFile file(numbered(5, true, 40, 30));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray cutBytes = file.readAll().left(wholeFrames + 10);
    const QString cut = path("cut.gif");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(cutBytes);
    out.close();

    ASSERT_TRUE(m_control.LoadFromFile(cut));
    m_control.SetCurrentFrame(5);
    EXPECT_EQ(m_control.CurrentFrame(), 3);
    EXPECT_EQ(FrameShown(m_control.CurrentBitmap()), 3);
    m_control.SetAnimate(true);
    EXPECT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 1; }));
    EXPECT_TRUE(waitFor([&] { return m_control.CurrentFrame() == 3; }));
}

struct BadFile
{
    const char* name;
    QByteArray bytes; // written to the file; null: no file at all
    friend void PrintTo(const BadFile& c, std::ostream* os) { *os << c.name; }
};

class GifImageBadFile : public GifImage, public ::testing::WithParamInterface<BadFile>
{
};

TEST_P(GifImageBadFile, LeavesTheControlEmptyAtItsSize)
{
    const QString file = path("bad.gif");
    if (!GetParam().bytes.isNull()) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(GetParam().bytes);
    }
    ASSERT_TRUE(m_control.LoadFromFile(numbered(2, true)));
    m_control.setGeometry(0, 0, 185, 81);
    EXPECT_FALSE(m_control.LoadFromFile(file));
    EXPECT_TRUE(m_control.Empty());
    EXPECT_EQ(m_control.size(), QSize(185, 81));
    EXPECT_EQ(m_control.FrameCount(), 0);
    EXPECT_EQ(m_control.CurrentFrame(), 0);
    EXPECT_TRUE(m_control.FirstFrameBitmap().isNull());
    m_control.SetAnimate(true);
    EXPECT_EQ(m_control.CurrentFrame(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GifImageBadFile,
    ::testing::Values(BadFile{"missing", QByteArray()}, BadFile{"zero_length", QByteArray("")},
                      BadFile{"error_page", QByteArray("<HTML><BODY>404 Not Found</BODY></HTML>")},
                      BadFile{"header_only", QByteArray("GIF89a")},
                      // A logical screen of 65535 x 65535 with no image in it.
                      BadFile{"huge_screen",
                              QByteArray("GIF89a\xFF\xFF\xFF\xFF\x00\x00\x00\x3B", 14)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
