#include "defdb/Buffer.h"
#include "defdb/DecimalSettings.h"
#include "defdb/ValueCodec.h"

#include <gtest/gtest.h>

namespace {

TBuffer Image(qint32 start, std::initializer_list<quint16> words)
{
    TBuffer b;
    b.startAddress = start;
    b.words = words;
    return b;
}

TEST(Buffer, ReadsByLength)
{
    const TBuffer b = Image(0xF8000, {0x1234, 0xABCD, 0xFFFE, 0xFFFF});
    struct {
        qint64 address;
        int length;
        qint32 value;
    } const cases[] = {
        {0xF8000, 1, 0x34}, {0xF8001, 1, 0x12}, {0xF8003, 1, 0xAB},
        {0xF8000, 2, 0x1234}, {0xF8002, 2, 0xABCD},
        {0xF8000, 4, qint32(0xABCD1234)}, {0xF8004, 4, qint32(0xFFFFFFFE)},
        {0xF8000, 3, 0}, {0xF8000, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImageValue(b, c.address, c.length), c.value) << std::hex << c.address << "/" << c.length;
}

TEST(Buffer, FourByteMinusTwo)
{
    TBuffer b = Image(0x100, {0, 0, 0});
    SetImageValue(b, 0x102, -2, 4);
    EXPECT_EQ(b.words[1], 0xFFFE);
    EXPECT_EQ(b.words[2], 0xFFFF);
    const qint32 v = ImageValue(b, 0x102, 4);
    EXPECT_EQ(quint32(v), 0xFFFFFFFEu);
    EXPECT_EQ(ValueCodec::WidenSigned(v, 4), -2);
    EXPECT_EQ(ValueCodec::WidenUnsigned(v, 4), 4294967294LL);
}

TEST(Buffer, ByteWritesKeepTheOtherHalf)
{
    TBuffer b = Image(0x100, {0x1234});
    SetImageValue(b, 0x101, 0xAB, 1);
    EXPECT_EQ(b.words[0], 0xAB34);
    SetImageValue(b, 0x100, 0xCD, 1);
    EXPECT_EQ(b.words[0], 0xABCD);
    // Negative values and values with more bits store their low byte only.
    SetImageValue(b, 0x100, -1, 1);
    EXPECT_EQ(b.words[0], 0xABFF);
    SetImageValue(b, 0x101, 0x1FF01, 1);
    EXPECT_EQ(b.words[0], 0x01FF);
    SetImageValue(b, 0x100, -100, 2);
    EXPECT_EQ(b.words[0], 0xFF9C);
    SetImageValue(b, 0x100, 7, 3);
    EXPECT_EQ(b.words[0], 0xFF9C);
}

TEST(Buffer, OutsideTheImage)
{
    const TBuffer original = Image(0x100, {0x1111, 0x2222});
    struct {
        qint64 address;
        int length;
    } const cases[] = {
        {0xFF, 1}, {0xFF, 2}, {0xFE, 2}, {0xFE, 4}, {0xFF, 4}, {0x0, 4},
        {0x104, 1}, {0x104, 2}, {0x102, 4}, {0x103, 4}, {0x10000, 2}, {-5, 1},
        {qint64(1) << 40, 4},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ImageValue(original, c.address, c.length), 0) << std::hex << c.address << "/" << c.length;
        TBuffer b = original;
        SetImageValue(b, c.address, -1, c.length);
        EXPECT_EQ(b.words, original.words) << std::hex << c.address << "/" << c.length;
    }
    // The last byte of the last word still belongs to the image.
    EXPECT_EQ(ImageValue(original, 0x103, 1), 0x22);
    EXPECT_EQ(ImageValue(original, 0x103, 2), 0x2222); // the word holding it
    const TBuffer empty;
    EXPECT_EQ(ImageValue(empty, 0, 1), 0);
}

TEST(Buffer, DecimalSettingsFromAFileImage)
{
    TBuffer b;
    b.startAddress = 0xF8000;
    b.words.fill(0, 600);
    b.words[594] = 0x0302; // offsets 1188 (low) and 1189 (high)
    b.words[595] = 0x0701; // offset 1190 (low); the high byte is not a setting
    EXPECT_EQ(TDecimalSettings::FromImage(b), (TDecimalSettings{2, 3, 1}));
    b.words[594] = 0x0B00; // 0 and 11 both count as 0
    b.words[595] = 0x0003; // 3 counts as 0
    EXPECT_EQ(TDecimalSettings::FromImage(b), (TDecimalSettings{0, 0, 0}));
    b.words[594] = 0x0A0A;
    b.words[595] = 0x0002;
    EXPECT_EQ(TDecimalSettings::FromImage(b), (TDecimalSettings{10, 10, 2}));
    // An image too short for the settings gives zeros.
    b.words.resize(594);
    EXPECT_EQ(TDecimalSettings::FromImage(b), (TDecimalSettings{0, 0, 0}));
    // The offsets count from the image's own start.
    TBuffer moved = Image(0x1000, {});
    moved.words.fill(0, 596);
    moved.words[594] = 0x0405;
    EXPECT_EQ(TDecimalSettings::FromImage(moved), (TDecimalSettings{5, 4, 0}));
}

} // namespace
