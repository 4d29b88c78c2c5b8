#include "ZnLibs/ShiftJis.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

QByteArray Bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

struct TCodeCase {
    const char *utf8;
    QByteArray sjis;
};

class ShiftJisRoundTrip : public ::testing::TestWithParam<TCodeCase> {};

TEST_P(ShiftJisRoundTrip, EncodesAndDecodes)
{
    const QString text = QString::fromUtf8(GetParam().utf8);
    EXPECT_EQ(ShiftJis::Encode(text), GetParam().sjis);
    EXPECT_EQ(ShiftJis::Decode(GetParam().sjis), text);
    EXPECT_EQ(ShiftJis::ByteLength(text), GetParam().sjis.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShiftJisRoundTrip,
    ::testing::Values(
        TCodeCase{"", {}},
        TCodeCase{"AMP-TYPE", "AMP-TYPE"},
        // Controls stay as they are (the system converter rotates these three).
        TCodeCase{"\x1A\x1C\x7F\t\r\n", Bytes({0x1A, 0x1C, 0x7F, 0x09, 0x0D, 0x0A})},
        TCodeCase{"\\~", "\\~"},
        TCodeCase{"予備", Bytes({0x97, 0x5C, 0x94, 0xF5})}, // trail byte 0x5C
        TCodeCase{"ﾍﾟｰｼﾞ", Bytes({0xCD, 0xDF, 0xB0, 0xBC, 0xDE})},
        TCodeCase{"単位[rpm]", Bytes({0x92, 0x50, 0x88, 0xCA, '[', 'r', 'p', 'm', ']'})},
        TCodeCase{"～－∥", Bytes({0x81, 0x60, 0x81, 0x7C, 0x81, 0x61})},
        TCodeCase{"①", Bytes({0x87, 0x40})}));

TEST(ShiftJis, UnencodableCharactersBecomeQuestionMarks)
{
    const QString text = QString::fromUtf8("a\u00A5b\U0001F600c\u20ACd");
    EXPECT_EQ(ShiftJis::Encode(text), QByteArray("a?b?c?d"));
    EXPECT_EQ(ShiftJis::ByteLength(text), 7);
}

TEST(ShiftJis, MalformedBytesBecomeReplacementCharacters)
{
    const QChar bad = QChar::ReplacementCharacter;
    // A lead byte at the end, a lead byte followed by a control, a stray 0xFF.
    EXPECT_EQ(ShiftJis::Decode(Bytes({'A', 0x81})), QString("A") + bad);
    EXPECT_EQ(ShiftJis::Decode(Bytes({0x81, 0x0A, 'B'})), QString(bad) + "\nB");
    const QString s = ShiftJis::Decode(Bytes({'x', 0xFF, 'y'}));
    EXPECT_EQ(s.size(), 3);
    EXPECT_EQ(s.front(), 'x');
    EXPECT_EQ(s.back(), 'y');
}

TEST(ShiftJis, DoubleByteClassification)
{
    struct {
        char32_t ch;
        bool twoBytes;
    } const cases[] = {
        {U'A', false},  {U'~', false},  {U'\u3042', true}, {U'\u65E5', true},
        {U'\uFF71', false}, // half-width katakana
        {U'\uFF21', true},  // full-width A
        {U'\u00A5', false}, {U'\u20AC', false}, {U'\U0001F600', false},
        {char32_t(0xD800), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShiftJis::IsDoubleByte(c.ch), c.twoBytes) << std::hex << unsigned(c.ch);
    EXPECT_TRUE(ShiftJis::IsHalfWidthKatakana(U'\uFF61'));
    EXPECT_TRUE(ShiftJis::IsHalfWidthKatakana(U'\uFF9F'));
    EXPECT_FALSE(ShiftJis::IsHalfWidthKatakana(U'\uFFA0'));
}

TEST(ShiftJis, ByteLengthAgreesWithEncodeOnRandomText)
{
    QRandomGenerator rng(7);
    for (int round = 0; round < 200; ++round) {
        QString s;
        for (int i = 0; i < 20; ++i) {
            const int pick = rng.bounded(4);
            if (pick == 0)
                s.append(QChar(char16_t(rng.bounded(0x80))));
            else if (pick == 1)
                s.append(QChar(char16_t(0xFF61 + rng.bounded(0x3F))));
            else if (pick == 2)
                s.append(QChar(char16_t(0x4E00 + rng.bounded(0x5000))));
            else
                s.append(QChar(char16_t(0x80 + rng.bounded(0xD000))));
        }
        EXPECT_EQ(ShiftJis::ByteLength(s), ShiftJis::Encode(s).size()) << s.toStdString();
    }
}

TEST(ShiftJis, EveryTwoByteCodeDecodesToOneCharacter)
{
    // Every assigned pair is one character; decoding it and encoding it again
    // gives two bytes.
    int assigned = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!ShiftJis::IsLeadByte(uchar(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!ShiftJis::IsTrailByte(uchar(trail)))
                continue;
            const QString s = ShiftJis::Decode(Bytes({lead, trail}));
            ASSERT_EQ(s.size(), 1);
            if (s[0] == QChar::ReplacementCharacter)
                continue;
            ++assigned;
            EXPECT_TRUE(ShiftJis::IsDoubleByte(s[0].unicode())) << lead << " " << trail;
            EXPECT_EQ(ShiftJis::Encode(s).size(), 2);
        }
    }
    EXPECT_GT(assigned, 7000);
}

} // namespace
