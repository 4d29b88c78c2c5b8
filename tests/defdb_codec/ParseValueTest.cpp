#include "CodecSupport.h"
#include "defdb/ValueCodec.h"

#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

using namespace ValueCodec;

namespace {

// ---- ParseValue for the typed forms ------------------------------------

struct TParseCase {
    const char *what;
    TParamDef def;
    const char *text;
    std::optional<qint32> expected; // nullopt: rejected
};

void PrintTo(const TParseCase &c, std::ostream *os) { *os << c.what << " '" << c.text << "'"; }

class ParseTyped : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ParseTyped, AcceptsOrRejects)
{
    const TParseCase &c = GetParam();
    TParseInput in;
    in.text = QString::fromUtf8(c.text);
    const qint32 current = 77;
    EXPECT_EQ(ParseValue(c.def, TDecimalSettings{3, 1, 0}, current, in, {}, {}, {}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Unsigned, ParseTyped,
    ::testing::Values(
        TParseCase{"in range", Def(2, 1, {}, 0, 1000), "500", 500},
        TParseCase{"lower end", Def(2, 1, {}, 10, 1000), "10", 10},
        TParseCase{"upper end", Def(2, 1, {}, 10, 1000), "1000", 1000},
        TParseCase{"below", Def(2, 1, {}, 10, 1000), "9", std::nullopt},
        TParseCase{"above", Def(2, 1, {}, 10, 1000), "1001", std::nullopt},
        TParseCase{"spaces", Def(2, 1, {}, 0, 1000), " 12 ", 12},
        TParseCase{"empty", Def(2, 1, {}, 0, 1000), "", std::nullopt},
        TParseCase{"letters", Def(2, 1, {}, 0, 1000), "12a", std::nullopt},
        TParseCase{"point", Def(2, 1, {}, 0, 1000), "1.0", std::nullopt},
        TParseCase{"4 bytes above 2^31", Def(4, 1, {}, 0, -1), "4294967295", -1},
        TParseCase{"4 bytes 2^31", Def(4, 1, {}, 0, -1), "2147483648", qint32(0x80000000)},
        TParseCase{"4 bytes beyond", Def(4, 1, {}, 0, -1), "4294967296", std::nullopt},
        TParseCase{"huge", Def(4, 1, {}, 0, -1), "99999999999999999999999", std::nullopt},
        // Twenty digits that wrap round to 4 when multiplied past 64 bits.
        TParseCase{"wraps to 4", Def(4, 1, {}, 0, -1), "18446744073709551620", std::nullopt},
        TParseCase{"wraps to 4 signed", Def(4, 2, {}, qint32(0x80000000), 0x7FFFFFFF), "18446744073709551620", std::nullopt},
        TParseCase{"wraps to 4 fixed", Def(4, 4, 2, 0, -1), "184467440737095516.20", std::nullopt},
        TParseCase{"wraps to 4 signed fixed", Def(4, 8, 2, qint32(0x80000000), 0x7FFFFFFF), "184467440737095516.20", std::nullopt},
        TParseCase{"2^32 as a fixed value", Def(4, 4, 2, 0, -1), "42949672.96", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Signed, ParseTyped,
    ::testing::Values(
        TParseCase{"negative", Def(2, 2, {}, 0xFF9C, 100), "-100", -100},
        TParseCase{"below", Def(2, 2, {}, 0xFF9C, 100), "-101", std::nullopt},
        TParseCase{"plus", Def(2, 2, {}, 0xFF9C, 100), "+5", 5},
        TParseCase{"lone sign", Def(2, 2, {}, 0xFF9C, 100), "-", std::nullopt},
        TParseCase{"4 bytes", Def(4, 2, {}, qint32(0x80000000), 0x7FFFFFFF), "-2147483648",
                   qint32(0x80000000)}));

INSTANTIATE_TEST_SUITE_P(
    Hex, ParseTyped,
    ::testing::Values(
        TParseCase{"2 bytes", Def(2, 3, {}, 0, 65535), "ff9c", 0xFF9C},
        TParseCase{"2 bytes above", Def(2, 3, {}, 0, 65535), "10000", std::nullopt},
        TParseCase{"4 bytes all ones", Def(4, 3, {}, 0, -1), "FFFFFFFF", -1},
        TParseCase{"4 bytes top bit", Def(4, 3, {}, 0, -1), "80000000", qint32(0x80000000)},
        TParseCase{"4 bytes beyond", Def(4, 3, {}, 0, -1), "100000000", std::nullopt},
        TParseCase{"not hex", Def(2, 3, {}, 0, 65535), "12G", std::nullopt},
        TParseCase{"prefixed", Def(2, 3, {}, 0, 65535), "$12", std::nullopt},
        TParseCase{"empty", Def(2, 3, {}, 0, 65535), "", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    FixedPoint, ParseTyped,
    ::testing::Values(
        TParseCase{"drops digits", Def(2, 4, 2, 0, 10000), "1.239", 123},
        TParseCase{"exact 0.29", Def(2, 4, 2, 0, 10000), "0.29", 29},
        TParseCase{"exact 1.005", Def(2, 4, 2, 0, 10000), "1.005", 100},
        TParseCase{"exact 4.35", Def(2, 4, 2, 0, 10000), "4.35", 435},
        TParseCase{"whole", Def(2, 4, 2, 0, 10000), "100", 10000},
        TParseCase{"above", Def(2, 4, 2, 0, 10000), "100.01", std::nullopt},
        TParseCase{"upper end with extra digits", Def(2, 4, 2, 0, 10000), "100.009", 10000},
        TParseCase{"two points", Def(2, 4, 2, 0, 10000), "1.2.3", std::nullopt},
        TParseCase{"trailing point", Def(2, 4, 2, 0, 10000), "5.", 500},
        TParseCase{"leading point", Def(2, 4, 2, 0, 10000), ".5", 50},
        TParseCase{"comma", Def(2, 4, 2, 0, 10000), "1,5", std::nullopt},
        TParseCase{"4 bytes unsigned", Def(4, 4, 2, 0, -1), "42949672.95", -1},
        // Must not wrap round to 0 and pass the range check.
        TParseCase{"wraps to 0", Def(4, 4, 2, 0, -1), "42949672.96", std::nullopt},
        TParseCase{"signed negative", Def(2, 8, 2, -10000, 10000), "-0.5", -50},
        TParseCase{"signed drops toward zero", Def(2, 8, 2, -10000, 10000), "-1.239", -123},
        TParseCase{"signed tiny", Def(2, 8, 2, -10000, 10000), "-0.001", 0},
        TParseCase{"signed from amplifier form", Def(2, 8, 2, 0xD8F0, 10000), "-100", -10000},
        TParseCase{"n=0", Def(2, 8, {}, -100, 100), "12.9", 12},
        TParseCase{"exponent", Def(2, 8, 2, -10000, 10000), "1.5e1", 1500},
        TParseCase{"form 9 places 3", Def(4, 9, {}, -100000, 100000), "-1.2345", -1234},
        TParseCase{"form 10 places 1", Def(4, 10, {}, -100000, 100000), "-1.2345", -12},
        TParseCase{"form 9 above", Def(4, 9, {}, -100000, 100000), "100.001", std::nullopt},
        TParseCase{"unknown form", Def(2, 11, {}, 0, 100), "5", std::nullopt},
        TParseCase{"form 0", Def(2, 0, {}, 0, 100), "5", std::nullopt}));

// ---- exact decimal reading ---------------------------------------------

TEST(ScaledDecimal, Table)
{
    struct {
        const char *text;
        int places;
        std::optional<qint64> v;
    } const cases[] = {
        {"1.239", 2, 123},     {"-1.239", 2, -123},   {"0.1", 1, 1},
        {"0.3", 1, 3},         {"2.675", 2, 267},     {"000012.50", 1, 125},
        {"1e3", 0, 1000},      {"1E-2", 2, 1},        {"123e-5", 2, 0},
        {"  7 ", 0, 7},        {"+7", 1, 70},         {"-0", 3, 0},
        {"9223372036854775807", 0, std::numeric_limits<qint64>::max()},
        {"9223372036854775808", 0, std::nullopt},
        {"1e30", 0, std::nullopt}, {"1e-99999", 2, 0}, {"0e99999", 2, 0},
        {"", 2, std::nullopt}, {".", 2, std::nullopt}, {"-", 2, std::nullopt},
        {"1e", 2, std::nullopt}, {"1 2", 2, std::nullopt}, {"nan", 2, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScaledDecimal(QString::fromUtf8(c.text), c.places), c.v) << c.text;
}

TEST(FixedText, Table)
{
    EXPECT_EQ(FixedText(1234, 2), "12.34");
    EXPECT_EQ(FixedText(-5, 3), "-0.005");
    EXPECT_EQ(FixedText(0, 2), "0.00");
    EXPECT_EQ(FixedText(42, 0), "42");
    EXPECT_EQ(FixedText(std::numeric_limits<qint64>::min(), 1), "-922337203685477580.8");
}

// ---- stepping ----------------------------------------------------------

struct TStepCase {
    const char *what;
    TParamDef def;
    const char *text;
    TStepDirection direction;
    const char *result;
};

void PrintTo(const TStepCase &c, std::ostream *os) { *os << c.what; }

class Step : public ::testing::TestWithParam<TStepCase> {};

TEST_P(Step, OnePress)
{
    const TStepCase &c = GetParam();
    EXPECT_EQ(StepValue(c.def, QString::fromUtf8(c.text), c.direction), QString::fromUtf8(c.result));
}

constexpr auto Up = TStepDirection::Up;
constexpr auto Down = TStepDirection::Down;

INSTANTIATE_TEST_SUITE_P(
    Cases, Step,
    ::testing::Values(
        TStepCase{"up", Def(2, 1, {}, 0, 10), "5", Up, "6"},
        TStepCase{"up at limit", Def(2, 1, {}, 0, 10), "10", Up, "10"},
        TStepCase{"up beyond limit", Def(2, 1, {}, 0, 10), "12", Up, "12"},
        TStepCase{"down", Def(2, 1, {}, 0, 10), "5", Down, "4"},
        TStepCase{"down at limit", Def(2, 1, {}, 0, 10), "0", Down, "0"},
        TStepCase{"unreadable", Def(2, 1, {}, 0, 10), "x", Up, "x"},
        TStepCase{"4 bytes unsigned", Def(4, 1, {}, 0, -1), "2147483647", Up, "2147483648"},
        TStepCase{"4 bytes unsigned top", Def(4, 1, {}, 0, -1), "4294967294", Up, "4294967295"},
        TStepCase{"wrapping typo stays", Def(4, 1, {}, 0, -1), "18446744073709551620", Up, "18446744073709551620"},
        TStepCase{"signed", Def(2, 2, {}, 0xFF9C, 100), "-99", Down, "-100"},
        TStepCase{"signed limit", Def(2, 2, {}, 0xFF9C, 100), "-100", Down, "-100"},
        TStepCase{"hex", Def(2, 3, {}, 0, 0xFFFF), "9", Up, "000A"},
        TStepCase{"hex down", Def(1, 3, {}, 0, 0xFF), "10", Down, "0F"},
        TStepCase{"hex 4 bytes", Def(4, 3, {}, 0, -1), "7fffffff", Up, "80000000"},
        TStepCase{"hex top", Def(4, 3, {}, 0, -1), "FFFFFFFF", Up, "FFFFFFFF"},
        TStepCase{"fixed", Def(2, 4, 2, 0, 1000), "1.49", Up, "1.5"},
        TStepCase{"fixed whole", Def(2, 4, 2, 0, 1000), "0.99", Up, "1"},
        TStepCase{"fixed drops digits", Def(2, 4, 2, 0, 1000), "1.239", Down, "1.22"},
        TStepCase{"fixed at limit", Def(2, 4, 2, 0, 1000), "10", Up, "10"},
        TStepCase{"fixed unreadable", Def(2, 4, 2, 0, 1000), "?????", Up, "?????"},
        TStepCase{"form 8 does not step", Def(2, 8, 2, 0, 1000), "1.00", Up, "1.00"},
        TStepCase{"form 7 does not step", Def(1, 7, {}, 0, 10), "3", Up, "3"}));

TEST(Step, FractionParts)
{
    EXPECT_EQ(StepFractionPart("5", Up), "6");
    EXPECT_EQ(StepFractionPart("65535", Up), "65535");
    EXPECT_EQ(StepFractionPart("65534", Up), "65535");
    EXPECT_EQ(StepFractionPart("0", Down), "0");
    EXPECT_EQ(StepFractionPart("1", Down), "0");
    EXPECT_EQ(StepFractionPart("", Up), "");
    EXPECT_EQ(StepFractionPart("7x", Down), "7x");
    EXPECT_EQ(StepFractionPart("18446744073709551620", Down), "18446744073709551620");
}

// ---- choice lists ------------------------------------------------------

const TTableDataRows kCodes = {
    {5, 2, "B", "二", "two"},
    {5, 0, "Z", "零", "zero"},
    {5, 1, "A", "一", "one"},
    {5, 9, "N", "九", "nine"},
    {6, 1, "X", "別", "other"},
};

TParamDef CodeDef(qint32 lo, qint32 hi)
{
    TParamDef d = Def(1, 7, {}, lo, hi);
    d.tableId = 5;
    return d;
}

TEST(Choices, TableInValueOrderWithinRange)
{
    const TChoiceList list = TableChoices(CodeDef(0, 2), 1, kCodes, true);
    ASSERT_EQ(list.items.size(), 3);
    EXPECT_EQ(list.items[0], (TChoice{QString::fromUtf8("Z\t零"), 0}));
    EXPECT_EQ(list.items[1], (TChoice{QString::fromUtf8("A\t一"), 1}));
    EXPECT_EQ(list.items[2], (TChoice{QString::fromUtf8("B\t二"), 2}));
    EXPECT_EQ(list.current, 1);
    EXPECT_EQ(TableChoices(CodeDef(0, 2), 2, kCodes, false).items[2].label, "B\ttwo");
}

TEST(Choices, TableReserveWhenCurrentNotListed)
{
    // 9 lies outside the range, 7 is in no row, and a missing TABLE_ID lists nothing.
    TParamDef noTable = CodeDef(0, 255);
    noTable.tableId.reset();
    for (const auto &[def, current] :
         {std::pair{CodeDef(0, 2), 9}, std::pair{CodeDef(0, 255), 7}, std::pair{noTable, 1}}) {
        const TChoiceList list = TableChoices(def, current, kCodes, true);
        ASSERT_EQ(list.items.size(), 1);
        EXPECT_EQ(list.items[0].label, QString::fromUtf8("\t予備"));
        EXPECT_EQ(list.items[0].value, current);
        EXPECT_EQ(list.current, 0);
        // Confirming the reserve keeps the value, even outside the range.
        TParseInput in;
        in.tableIndex = 0;
        EXPECT_EQ(ParseValue(def, {}, current, in, list, {}, {}), current);
    }
}

TEST(Choices, TableParse)
{
    const TParamDef def = CodeDef(0, 2);
    const TChoiceList list = TableChoices(def, 1, kCodes, true);
    TParseInput in;
    in.tableIndex = 2;
    EXPECT_EQ(ParseValue(def, {}, 1, in, list, {}, {}), 2);
    in.tableIndex = 3;
    EXPECT_EQ(ParseValue(def, {}, 1, in, list, {}, {}), std::nullopt);
    in.tableIndex = -1;
    EXPECT_EQ(ParseValue(def, {}, 1, in, list, {}, {}), std::nullopt);
    // A value outside the range that is not the current one is refused.
    const TChoiceList wide = TableChoices(CodeDef(0, 9), 1, kCodes, true);
    in.tableIndex = 3; // 9
    EXPECT_EQ(ParseValue(def, {}, 1, in, wide, {}, {}), std::nullopt);
}

const TBinaryDataRows kDigits = [] {
    TBinaryDataRows rows;
    for (int v = 15; v >= 0; --v)
        rows.append({10, v, QString::fromUtf8("下%1").arg(v), QString("low %1").arg(v)});
    for (int v = 0; v < 4; ++v)
        rows.append({20, v, QString::fromUtf8("上%1").arg(v), QString("high %1").arg(v)});
    return rows;
}();

TParamDef DigitDef(qint32 lo, qint32 hi)
{
    TParamDef d = Def(1, 6, {}, lo, hi);
    d.binaryHighId = 20;
    d.binaryLowId = 10;
    return d;
}

TEST(Choices, NibbleListsFollowTheRangeDigits)
{
    const TNibbleChoiceLists lists = NibbleChoices(DigitDef(0x10, 0x3F), 0x2A, kDigits, false);
    ASSERT_EQ(lists.high.items.size(), 3);
    EXPECT_EQ(lists.high.items[0], (TChoice{"1 H\thigh 1", 1}));
    EXPECT_EQ(lists.high.items[2].value, 3);
    EXPECT_EQ(lists.high.current, 1);
    ASSERT_EQ(lists.low.items.size(), 16);
    EXPECT_EQ(lists.low.items[10], (TChoice{"A H\tlow 10", 10}));
    EXPECT_EQ(lists.low.items[15].label, "F H\tlow 15");
    EXPECT_EQ(lists.low.current, 10);

    TParseInput in;
    in.highIndex = 2;
    in.lowIndex = 15;
    EXPECT_EQ(ParseValue(DigitDef(0x10, 0x3F), {}, 0x2A, in, {}, lists, {}), 0x3F);
    in.highIndex = 9;
    EXPECT_EQ(ParseValue(DigitDef(0x10, 0x3F), {}, 0x2A, in, {}, lists, {}), std::nullopt);
}

TEST(Choices, NibbleReservePerDigit)
{
    // High digit 5 is beyond the range: that list alone becomes the reserve.
    const TParamDef def = DigitDef(0x10, 0x3F);
    const TNibbleChoiceLists lists = NibbleChoices(def, 0x5C, kDigits, true);
    ASSERT_EQ(lists.high.items.size(), 1);
    EXPECT_EQ(lists.high.items[0], (TChoice{QString::fromUtf8("\t予備"), 5}));
    EXPECT_EQ(lists.low.items.size(), 16);
    EXPECT_EQ(lists.low.items[12].label, QString::fromUtf8("C H\t下12"));
    TParseInput in;
    in.highIndex = 0;
    in.lowIndex = 12;
    EXPECT_EQ(ParseValue(def, {}, 0x5C, in, {}, lists, {}), 0x5C); // unchanged
    in.lowIndex = 3;
    EXPECT_EQ(ParseValue(def, {}, 0x5C, in, {}, lists, {}), 0x53);
    // Range digits taken from the low 8 bits of the limits.
    EXPECT_EQ(ParseValue(DigitDef(0x110, 0x13F), {}, 0x5C, in, {}, lists, {}), 0x53);
}

// ---- fractions ---------------------------------------------------------

const TFractionRows kFractions = {
    {1, 1001, "(NUMER <= DENOM) and (DENOM > 0)"},
    {2, 1002, "numer * 10 >= Denom"},
    {3, 1003, "NUMER +"},   // evaluates (to NUMER)
    {5, 1005, "(NUMER"},    // broken
    {6, 1006, "null"},      // not a Boolean
    {7, 1007, "NUMER / DENOM < 2"},
};

struct TFractionCase {
    const char *numerator;
    const char *denominator;
    qint32 code;
    bool accepted;
    bool broken; // the definition error is shown
};

class Fraction : public ::testing::TestWithParam<TFractionCase> {};

TEST_P(Fraction, Check)
{
    const TFractionCase &c = GetParam();
    TMessageRecorder recorder;
    EXPECT_EQ(CheckFraction(c.numerator, c.denominator, c.code, kFractions), c.accepted);
    if (c.broken) {
        ASSERT_EQ(recorder.entries.size(), 1);
        EXPECT_EQ(recorder.entries[0].kind, TMsgKind::Error);
        EXPECT_EQ(recorder.entries[0].text, QString::fromUtf8("アンプ定義ファイルが壊れています。"));
    } else {
        EXPECT_TRUE(recorder.entries.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Fraction,
    ::testing::Values(
        TFractionCase{"1", "3", 1001, true, false},
        TFractionCase{"5", "3", 1001, false, false},
        TFractionCase{"0", "0", 1001, false, false},
        TFractionCase{"65535", "65535", 1001, true, false},
        TFractionCase{"65536", "65536", 1001, false, false}, // over 65535: not evaluated
        TFractionCase{"65536", "1", 1005, false, false},     // ... so no broken-file message
        TFractionCase{"1", "65536", 1001, false, false},
        TFractionCase{"-1", "3", 1001, false, false},
        TFractionCase{"", "3", 1001, false, false},
        TFractionCase{"1x", "3", 1001, false, false},
        TFractionCase{"1", "10", 1002, true, false},         // placeholders in any case
        TFractionCase{"1", "11", 1002, false, false},
        TFractionCase{"1", "3", 9999, false, false},         // no such row
        TFractionCase{"2", "1", 1003, true, false},
        TFractionCase{"0", "1", 1003, false, false},
        TFractionCase{"1", "3", 1005, false, true},
        TFractionCase{"1", "3", 1006, false, true},
        TFractionCase{"1", "0", 1007, false, true},          // division by zero
        TFractionCase{"3", "2", 1007, true, false},
        TFractionCase{"18446744073709551617", "3", 1001, false, false}, // wraps to 1
        TFractionCase{"1", "18446744073709551619", 1001, false, false}));

TEST(Fraction, ParseBuildsTheRawValue)
{
    TParamDef def = Def(4, 5);
    def.fractionCode = 1001;
    TParseInput in;
    in.numerator = "1";
    in.denominator = "3";
    EXPECT_EQ(ParseValue(def, {}, 0, in, {}, {}, kFractions), 196609);
    in.numerator = "65535";
    in.denominator = "65535";
    EXPECT_EQ(ParseValue(def, {}, 0, in, {}, {}, kFractions), -1);
    in.numerator = "4";
    in.denominator = "3";
    EXPECT_EQ(ParseValue(def, {}, 5, in, {}, {}, kFractions), std::nullopt);
    def.fractionCode.reset();
    in.numerator = "1";
    EXPECT_EQ(ParseValue(def, {}, 5, in, {}, {}, kFractions), std::nullopt);
}

} // namespace
