#include "CodecSupport.h"
#include "defdb/ValueCodec.h"

#include <gtest/gtest.h>

using namespace ValueCodec;

namespace {

const TTableDataRows kTable = {
    {5, 1, "ON", "入", "on"},
    {5, 0, "OFF", "切", "off"},
    {6, 9, "NINE", "九", "nine"},
};

struct TTextCase {
    const char *what;
    TParamDef def;
    TDecimalSettings settings;
    qint32 raw;
    const char *text;
};

void PrintTo(const TTextCase &c, std::ostream *os) { *os << c.what; }

TParamDef WithTable(TParamDef d, qint32 tableId)
{
    d.tableId = tableId;
    return d;
}

class ValueTextCase : public ::testing::TestWithParam<TTextCase> {};

TEST_P(ValueTextCase, ShowsValue)
{
    const TTextCase &c = GetParam();
    EXPECT_EQ(ValueText(TValueField::Now, c.raw, c.def, c.settings, kTable), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ValueTextCase,
    ::testing::Values(
        TTextCase{"2/2 0xFF9C", Def(2, 2), {}, 65436, "-100"},
        TTextCase{"2/2 -100", Def(2, 2), {}, -100, "-100"},
        TTextCase{"4/1 -1", Def(4, 1), {}, -1, "4294967295"},
        TTextCase{"2/1 65535", Def(2, 1), {}, 65535, "65535"},
        TTextCase{"2/3 26", Def(2, 3), {}, 26, "001A H"},
        TTextCase{"1/3 255", Def(1, 3), {}, 255, "FF H"},
        TTextCase{"2/4 n=2", Def(2, 4, 2), {}, 1234, "12.34"},
        TTextCase{"2/4 n=null", Def(2, 4), {}, 1234, "?????"},
        TTextCase{"2/8 n=null", Def(2, 8), {}, 1234, "1234"},
        TTextCase{"2/8 n=1 0xFFF6", Def(2, 8, 1), {}, 65526, "-1.0"},
        TTextCase{"4/5 1/3", Def(4, 5), {}, 196609, "1/3"},
        TTextCase{"1/6 0x21", Def(1, 6), {}, 33, "21 H"},
        TTextCase{"4/6 top bit set", Def(4, 6), {}, qint32(0x80000021), "80000021 H"},
        TTextCase{"2/6 sign copies", Def(2, 6), {}, -2, "FFFE H"},
        TTextCase{"1/7 no row", WithTable(Def(1, 7), 5), {}, 9, "?????"},
        TTextCase{"4/9 d=3", Def(4, 9), {3, 0, 0}, -1500, "-1.500"},
        TTextCase{"4/10 d=0", Def(4, 10), {3, 0, 0}, 42, "42"}));

INSTANTIATE_TEST_SUITE_P(
    MoreForms, ValueTextCase,
    ::testing::Values(
        TTextCase{"7 found", WithTable(Def(1, 7), 5), {}, 1, "ON"},
        TTextCase{"7 other table", WithTable(Def(1, 7), 6), {}, 1, "?????"},
        TTextCase{"7 no TABLE_ID", Def(1, 7), {}, 1, "?????"},
        TTextCase{"4/3 4 bytes", Def(4, 3), {}, -2, "FFFFFFFE H"},
        TTextCase{"4/3 small", Def(4, 3), {}, 10, "0000000A H"},
        TTextCase{"4/4 unsigned above 2^31", Def(4, 4, 2), {}, -1, "42949672.95"},
        TTextCase{"2/4 small fraction", Def(2, 4, 3), {}, 5, "0.005"},
        TTextCase{"4/4 n=0", Def(4, 4, 0), {}, 5, "?????"},
        TTextCase{"2/8 n=-1", Def(2, 8, -1), {}, 5, "?????"},
        TTextCase{"2/8 n=2 -5", Def(2, 8, 2), {}, -5, "-0.05"},
        TTextCase{"4/8 n=10", Def(4, 8, 10), {}, qint32(0x80000000), "-0.2147483648"},
        TTextCase{"1/2 0x80", Def(1, 2), {}, 0x80, "-128"},
        TTextCase{"1/1 255", Def(1, 1), {}, 255, "255"},
        TTextCase{"4/2 min", Def(4, 2), {}, qint32(0x80000000), "-2147483648"},
        TTextCase{"4/10 d=2", Def(4, 10), {0, 2, 0}, 12345, "123.45"},
        TTextCase{"2/5 fraction of 2 bytes", Def(2, 5), {}, 0x0102, "258/0"},
        TTextCase{"1/6 one digit", Def(1, 6), {}, 5, "05 H"},
        TTextCase{"form 0", Def(2, 0), {}, 5, ""},
        TTextCase{"form 11", Def(2, 11), {}, 5, ""},
        TTextCase{"length 0", Def(0, 1), {}, 5, ""}));

// The same amplifier value spelled with zero bits or with sign copies above
// its length shows the same text.
struct TSpellingCase {
    int length;
    int dataForm;
    std::optional<int> places;
    qint32 zeroExtended;
    qint32 signExtended;
    const char *text;
};

class SignSpelling : public ::testing::TestWithParam<TSpellingCase> {};

TEST_P(SignSpelling, BothSpellingsShowTheSame)
{
    const TSpellingCase &c = GetParam();
    const TParamDef d = Def(c.length, c.dataForm, c.places);
    const TDecimalSettings s{2, 1, 0};
    EXPECT_EQ(ValueText(TValueField::Now, c.zeroExtended, d, s, {}), c.text);
    EXPECT_EQ(ValueText(TValueField::Now, c.signExtended, d, s, {}), c.text);
    EXPECT_EQ(EditText(c.zeroExtended, d, s).text, EditText(c.signExtended, d, s).text);
    EXPECT_EQ(WidenSigned(c.zeroExtended, c.length), WidenSigned(c.signExtended, c.length));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SignSpelling,
    ::testing::Values(
        TSpellingCase{1, 2, {}, 0xFF, -1, "-1"},
        TSpellingCase{1, 2, {}, 0x80, -128, "-128"},
        TSpellingCase{2, 2, {}, 0x8000, -32768, "-32768"},
        TSpellingCase{1, 8, 1, 0xF6, -10, "-1.0"},
        TSpellingCase{2, 8, 2, 0xFF9C, -100, "-1.00"},
        TSpellingCase{2, 9, {}, 0xFF9C, -100, "-1.00"},  // 2 places from the amplifier
        TSpellingCase{2, 10, {}, 0xFF9C, -100, "-10.0"}, // 1 place
        TSpellingCase{4, 2, {}, -100, -100, "-100"},
        TSpellingCase{2, 3, {}, 0xFF9C, -100, "FF9C H"},
        TSpellingCase{1, 3, {}, 0xFE, -2, "FE H"}));

TEST(ValueText, RangeFieldsOfCodedForms)
{
    const TDecimalSettings s;
    const TParamDef fraction = Def(4, 5);
    const TParamDef digits = Def(1, 6);
    TParamDef code = Def(1, 7);
    code.tableId = 5;
    for (TValueField f : {TValueField::Min, TValueField::Max}) {
        EXPECT_EQ(ValueText(f, 1, fraction, s, kTable), "*");
        EXPECT_EQ(ValueText(f, 1, digits, s, kTable), "-");
        EXPECT_EQ(ValueText(f, 1, code, s, kTable), "-");
        EXPECT_EQ(ValueText(f, 1234, Def(2, 4, 2), s, kTable), "12.34");
    }
    for (TValueField f : {TValueField::Standard, TValueField::Now, TValueField::Input})
        EXPECT_EQ(ValueText(f, 1, code, s, kTable), "ON");
    EXPECT_EQ(ValueText(TValueField::Now, std::nullopt, code, s, kTable), "");
}

TEST(ValueText, MotorAndVerificationOptions)
{
    const TDecimalSettings s{3, 3, 0};
    // Motor parameters read a fraction as 4 bytes even when LENGTH says 2.
    const TParamDef fraction = Def(2, 5);
    EXPECT_EQ(ValueText(TValueField::Now, -1, fraction, s, {}), "-1/0");
    EXPECT_EQ(ValueText(TValueField::Now, -1, fraction, s, {}, TValueTextOptions::MotorParameters()),
              "65535/65535");
    // The verification list scales forms 9 and 10 by PER_POWEROF10.
    const TParamDef scaled = Def(2, 9, 1);
    EXPECT_EQ(ValueText(TValueField::Now, 1234, scaled, s, {}), "1.234");
    EXPECT_EQ(ValueText(TValueField::Now, 1234, scaled, s, {}, TValueTextOptions::Verification()),
              "123.4");
    EXPECT_EQ(ValueText(TValueField::Now, 1234, Def(2, 10), s, {}, TValueTextOptions::Verification()),
              "1234");
    // ... and looks table texts up by the low 16 bits.
    TParamDef code = Def(4, 7);
    code.tableId = 5;
    EXPECT_EQ(ValueText(TValueField::Now, 0x10001, code, s, kTable), "?????");
    EXPECT_EQ(ValueText(TValueField::Now, 0x10001, code, s, kTable, TValueTextOptions::Verification()),
              "ON");
}

TEST(ValueText, DecimalPointSettingsFromTheAmplifier)
{
    // A places byte of 11 counts as 0; a unit selector of 3 chooses UNIT.
    const TDecimalSettings s = TDecimalSettings::FromAmplifier(11, 2, 3);
    EXPECT_EQ(s, (TDecimalSettings{0, 2, 0}));
    TParamDef d = Def(2, 9);
    d.unit = "mm";
    d.unit2 = "inch";
    d.unit3 = "deg";
    EXPECT_EQ(ValueText(TValueField::Now, 1234, d, s, {}), "1234");
    EXPECT_EQ(UnitText(d, s.unitSelector), "mm");
    EXPECT_EQ(UnitText(d, 1), "inch");
    EXPECT_EQ(UnitText(d, 2), "deg");
    d.dataForm = 8;
    EXPECT_EQ(UnitText(d, 1), "mm");
    EXPECT_EQ(BracketedUnitText(d, 0), "[mm]");
    d.unit.clear();
    EXPECT_EQ(BracketedUnitText(d, 0), "");
    EXPECT_EQ(TDecimalSettings::FromAmplifier(std::nullopt, 10, std::nullopt),
              (TDecimalSettings{0, 10, 0}));
    EXPECT_EQ(TDecimalSettings::FromAmplifier(0, 1, 2), (TDecimalSettings{0, 1, 2}));
}

TEST(ValueText, PageAndPosition)
{
    EXPECT_EQ(PageText(10), "0A");
    EXPECT_EQ(PageText(0), "00");
    EXPECT_EQ(PageText(0x1AB), "1AB");
    EXPECT_EQ(PageText(std::nullopt), "");
    EXPECT_EQ(PositionText(1, 10), "Group 1 - 0A");
    EXPECT_EQ(PositionText(std::nullopt, 10), "0A");
    EXPECT_EQ(PositionText(0xC, 0x21), "Group C - 21");
}

struct TRangeCase {
    const char *what;
    TParamDef def;
    TDecimalSettings settings;
    const char *text;
};

void PrintTo(const TRangeCase &c, std::ostream *os) { *os << c.what; }

class RangeTextCase : public ::testing::TestWithParam<TRangeCase> {};

TEST_P(RangeTextCase, ShowsRange)
{
    EXPECT_EQ(RangeText(GetParam().def, GetParam().settings), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeTextCase,
    ::testing::Values(
        TRangeCase{"hex 2", Def(2, 3, {}, 0, 65535), {}, "( 0000 - FFFF ) H"},
        TRangeCase{"hex 4", Def(4, 3, {}, 0, -1), {}, "( 00000000 - FFFFFFFF ) H"},
        TRangeCase{"hex 1", Def(1, 3, {}, 1, 0x7F), {}, "( 01 - 7F ) H"},
        TRangeCase{"fixed 2", Def(2, 4, 2, 0, 10000), {}, "( 0.00 - 100.00 )"},
        TRangeCase{"unsigned", Def(2, 1, {}, 0, 65535), {}, "( 0 - 65535 )"},
        TRangeCase{"unsigned 4", Def(4, 1, {}, 0, -1), {}, "( 0 - 4294967295 )"},
        TRangeCase{"signed", Def(2, 2, {}, 0xFF9C, 100), {}, "( -100 - 100 )"},
        TRangeCase{"signed fixed", Def(2, 8, 1, -100, 100), {}, "( -10.0 - 10.0 )"},
        TRangeCase{"form 9", Def(4, 9, {}, -5000, 5000), {3, 0, 0}, "( -5.000 - 5.000 )"},
        TRangeCase{"form 10", Def(4, 10, {}, -5000, 5000), {3, 0, 0}, "( -5000 - 5000 )"},
        TRangeCase{"form 4 no places", Def(2, 4, {}, 0, 100), {}, "?????"},
        TRangeCase{"form 8 negative", Def(2, 8, -2, 0, 100), {}, "?????"},
        TRangeCase{"fraction", Def(4, 5, {}, 0, -1), {}, ""},
        TRangeCase{"digits", Def(1, 6, {}, 0, 255), {}, ""},
        TRangeCase{"code", Def(1, 7, {}, 0, 255), {}, ""}));

struct TEditCase {
    const char *what;
    TParamDef def;
    qint32 raw;
    const char *text;
    const char *numerator;
    const char *denominator;
};

void PrintTo(const TEditCase &c, std::ostream *os) { *os << c.what; }

class EditTextCase : public ::testing::TestWithParam<TEditCase> {};

TEST_P(EditTextCase, FillsTheBoxes)
{
    const TEditCase &c = GetParam();
    const TEditTexts t = EditText(c.raw, c.def, TDecimalSettings{2, 0, 0});
    EXPECT_EQ(t.text, QString::fromUtf8(c.text));
    EXPECT_EQ(t.numerator, QString::fromUtf8(c.numerator));
    EXPECT_EQ(t.denominator, QString::fromUtf8(c.denominator));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditTextCase,
    ::testing::Values(
        TEditCase{"unsigned", Def(2, 1), 65535, "65535", "", ""},
        TEditCase{"signed", Def(2, 2), 65436, "-100", "", ""},
        TEditCase{"hex", Def(2, 3), 26, "001A", "", ""},
        TEditCase{"hex 4", Def(4, 3), -1, "FFFFFFFF", "", ""},
        TEditCase{"fixed", Def(2, 4, 2), 1234, "12.34", "", ""},
        TEditCase{"fixed no places", Def(2, 4), 1234, "?????", "", ""},
        TEditCase{"form 9", Def(2, 9), -150, "-1.50", "", ""},
        TEditCase{"fraction", Def(4, 5), 196609, "", "1", "3"},
        TEditCase{"fraction 2 bytes", Def(2, 5), -1, "", "65535", "65535"},
        TEditCase{"digits", Def(1, 6), 0x21, "", "", ""},
        TEditCase{"code", Def(1, 7), 1, "", "", ""}));

TEST(Widen, Rules)
{
    struct {
        qint32 raw;
        int length;
        qint64 unsignedV;
        qint64 signedV;
    } const cases[] = {
        {-1, 4, 4294967295LL, -1},
        {-2, 4, 4294967294LL, -2},
        {0x7FFFFFFF, 4, 0x7FFFFFFF, 0x7FFFFFFF},
        {65436, 2, 65436, -100},
        {-100, 2, -100, -100}, // lengths 1 and 2 stand as they are when unsigned
        {0x7FFF, 2, 0x7FFF, 0x7FFF},
        {0x80, 1, 0x80, -128},
        {0x7F, 1, 0x7F, 0x7F},
        {0x1FF, 1, 0x1FF, -1}, // bit 7 set: all bits from 8 set
        {0x100, 1, 0x100, 0x100},
        {-1, 3, -1, -1},
        {0xFFFF, 0, 0xFFFF, 0xFFFF},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(WidenUnsigned(c.raw, c.length), c.unsignedV) << c.raw << "/" << c.length;
        EXPECT_EQ(WidenSigned(c.raw, c.length), c.signedV) << c.raw << "/" << c.length;
    }
}

} // namespace
