#include "AviBuilder.h"

#include "app/AviReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t Opaque = 0xFF000000u;
const QList<uint32_t> Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// Rows of an 8-bit 4x2 DIB, bottom row first as stored, each 4 bytes.
TAviBuilder Paletted8()
{
    TAviBuilder b;
    b.palette = Palette;
    b.frames = {Bytes({1, 1, 1, 1, /*top:*/ 2, 3, 0, 1})};
    return b;
}

std::vector<uint32_t> Pixels(std::initializer_list<uint32_t> rgb)
{
    std::vector<uint32_t> out;
    for (uint32_t c : rgb)
        out.push_back(Opaque | c);
    return out;
}

TEST(AviReader, UncompressedDepthsDecodeBottomUpRows)
{
    struct TCase {
        const char *name;
        int bits;
        QList<uint32_t> palette;
        QByteArray frame; // two rows of a 4x2 picture, bottom first, 4-byte aligned
    } cases[] = {
        {"1 bit", 1, {0x000000, 0xFFFFFF}, Bytes({0xF0, 0, 0, 0, 0x50, 0, 0, 0})},
        {"4 bit", 4, Palette, Bytes({0x11, 0x11, 0, 0, 0x23, 0x01, 0, 0})},
        {"8 bit", 8, Palette, Bytes({1, 1, 1, 1, 2, 3, 0, 1})},
        {"24 bit", 24, {},
         Bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF,
                0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0xFF})},
        {"32 bit", 32, {},
         Bytes({0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0,
                0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0})},
        {"16 bit 555", 16, {},
         Bytes({0x00, 0x7C, 0x00, 0x7C, 0x00, 0x7C, 0x00, 0x7C,
                0xE0, 0x03, 0x1F, 0x00, 0x00, 0x00, 0x00, 0x7C})},
    };
    const std::vector<uint32_t> eightBitWant =
        Pixels({0x00FF00, 0x0000FF, 0x000000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000});
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        TAviBuilder b;
        b.bits = c.bits;
        b.palette = c.palette;
        b.frames = {c.frame};
        TAviReader avi;
        ASSERT_TRUE(avi.LoadData(b.Build()));
        EXPECT_EQ(avi.Width(), 4);
        EXPECT_EQ(avi.Height(), 2);
        ASSERT_EQ(avi.FrameCount(), 1);
        if (c.bits == 1) {
            EXPECT_EQ(avi.Frame(0), Pixels({0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF,
                                            0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
        } else {
            EXPECT_EQ(avi.Frame(0), eightBitWant);
        }
    }
}

TEST(AviReader, TopDownPictureKeepsRowOrder)
{
    TAviBuilder b = Paletted8();
    b.height = -2;
    TAviReader avi;
    ASSERT_TRUE(avi.LoadData(b.Build()));
    EXPECT_EQ(avi.Height(), 2);
    EXPECT_EQ(avi.Frame(0), Pixels({0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000,
                                    0x00FF00, 0x0000FF, 0x000000, 0xFF0000}));
}

TEST(AviReader, Rle8RunsLiteralsAndDeltasPaintOverThePreviousFrame)
{
    TAviBuilder b;
    b.compression = 1;
    b.palette = Palette;
    b.frames = {
        // bottom row: run of four 1s; end of line; top row: literal 2,3,0 (padded), run 1
        Bytes({4, 1, 0, 0, 0, 3, 2, 3, 0, 0, 1, 1, 0, 1}),
        // delta: skip to (2, 1), paint one 3, end of picture; the rest stays
        Bytes({0, 2, 2, 1, 1, 3, 0, 1}),
        // a run longer than the row is clipped, not written beyond the picture
        Bytes({200, 2, 0, 0, 0, 2, 0, 5, 9, 0, 0, 1}),
    };
    TAviReader avi;
    ASSERT_TRUE(avi.LoadData(b.Build()));
    ASSERT_EQ(avi.FrameCount(), 3);
    EXPECT_EQ(avi.Frame(0), Pixels({0x00FF00, 0x0000FF, 0x000000, 0xFF0000,
                                    0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}));
    EXPECT_EQ(avi.Frame(1), Pixels({0x00FF00, 0x0000FF, 0x0000FF, 0xFF0000,
                                    0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}));
    EXPECT_EQ(avi.Frame(2), Pixels({0x00FF00, 0x0000FF, 0x0000FF, 0xFF0000,
                                    0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00}));
}

TEST(AviReader, FramesAreFoundInRecListsAndAfterOtherStreams)
{
    for (bool rec : {false, true}) {
        for (bool audio : {false, true}) {
            SCOPED_TRACE(testing::Message() << "rec " << rec << " audio " << audio);
            TAviBuilder b = Paletted8();
            b.frames.append(Bytes({0, 0, 0, 0, 0, 0, 0, 0}));
            b.framesInRecList = rec;
            b.audioFirst = audio;
            b.frameSuffix = "dc";
            TAviReader avi;
            ASSERT_TRUE(avi.LoadData(b.Build()));
            EXPECT_EQ(avi.FrameCount(), 2);
        }
    }
}

TEST(AviReader, EmptyFrameChunkRepeatsThePicture)
{
    TAviBuilder b = Paletted8();
    b.frames.append(QByteArray());
    TAviReader avi;
    ASSERT_TRUE(avi.LoadData(b.Build()));
    ASSERT_EQ(avi.FrameCount(), 2);
    EXPECT_EQ(avi.Frame(1), avi.Frame(0));
}

TEST(AviReader, FrameIntervalComesFromTheStreamRate)
{
    struct {
        uint32_t scale, rate;
        int ms;
    } cases[] = {{1, 10, 100}, {1, 15, 67}, {100, 1, 10000}, {1, 10000, 10}, {0, 0, 100}};
    for (const auto &c : cases) {
        TAviBuilder b = Paletted8();
        b.scale = c.scale;
        b.rate = c.rate;
        TAviReader avi;
        ASSERT_TRUE(avi.LoadData(b.Build()));
        EXPECT_EQ(avi.FrameIntervalMs(), c.ms) << c.scale << "/" << c.rate;
    }
}

TEST(AviReader, RefusesWhatTheAnimationCannotPlay)
{
    struct TCase {
        const char *name;
        std::function<QByteArray()> make;
    } cases[] = {
        {"other codec", [] { TAviBuilder b = Paletted8(); b.compression = 0x47504A4D; return b.Build(); }},
        {"RLE8 top-down", [] { TAviBuilder b = Paletted8(); b.compression = 1; b.height = -2; return b.Build(); }},
        {"RLE4", [] { TAviBuilder b = Paletted8(); b.compression = 2; b.bits = 4; return b.Build(); }},
        {"odd depth", [] { TAviBuilder b = Paletted8(); b.bits = 12; return b.Build(); }},
        {"no frames", [] { TAviBuilder b = Paletted8(); b.frames.clear(); return b.Build(); }},
        {"short frame", [] { TAviBuilder b = Paletted8(); b.frames = {Bytes({1, 2, 3})}; return b.Build(); }},
        {"huge width", [] { TAviBuilder b = Paletted8(); b.width = 100000; return b.Build(); }},
        {"zero height", [] { TAviBuilder b = Paletted8(); b.height = 0; return b.Build(); }},
        {"not RIFF", [] { QByteArray d = Paletted8().Build(); d[0] = 'X'; return d; }},
        {"WAVE file", [] { QByteArray d = Paletted8().Build(); d.replace(8, 4, "WAVE"); return d; }},
        {"empty", [] { return QByteArray(); }},
    };
    for (const TCase &c : cases) {
        TAviReader avi;
        EXPECT_FALSE(avi.LoadData(c.make())) << c.name;
        EXPECT_TRUE(avi.IsEmpty()) << c.name;
        EXPECT_EQ(avi.FrameCount(), 0) << c.name;
    }
}

TEST(AviReader, TooManyPixelsAreRefused)
{
    // RLE8 frames that only say "end of picture" cost nothing to store; five
    // of 2048 x 2048 pixels are more than the reader keeps.
    TAviBuilder b;
    b.width = 2048;
    b.height = 2048;
    b.compression = 1;
    b.palette = Palette;
    const QByteArray empty = Bytes({0, 1});
    b.frames = {empty, empty, empty, empty};
    TAviReader avi;
    EXPECT_TRUE(avi.LoadData(b.Build()));
    b.frames.append(empty);
    EXPECT_FALSE(avi.LoadData(b.Build()));
}

TEST(AviReader, EveryTruncationIsHandledWithoutHarm)
{
    TAviBuilder b;
    b.compression = 1;
    b.palette = Palette;
    b.frames = {Bytes({4, 1, 0, 0, 0, 3, 2, 3, 0, 0, 1, 1, 0, 1}), Bytes({0, 2, 2, 1, 1, 3, 0, 1})};
    const QByteArray full = b.Build();
    int accepted = 0;
    for (int n = 0; n < full.size(); ++n) {
        TAviReader avi;
        if (avi.LoadData(full.left(n))) {
            ++accepted;
            EXPECT_GE(avi.FrameCount(), 1);
            EXPECT_EQ(avi.Frame(0).size(), size_t(avi.Width() * avi.Height()));
        }
    }
    // A cut in the index or the second frame still leaves a playable clip.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, full.size());
}

TEST(AviReader, LoadReadsAFileAndAMissingOneLeavesTheReaderEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Online.avi");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Paletted8().Build());
    f.close();
    TAviReader avi;
    EXPECT_TRUE(avi.Load(path));
    EXPECT_EQ(avi.FrameCount(), 1);
    EXPECT_FALSE(avi.Load(dir.filePath("missing.avi")));
    EXPECT_TRUE(avi.IsEmpty());
}

} // namespace
