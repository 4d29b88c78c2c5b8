// The texts a system-analysis result travels in: the saved file, the
// analyser's input and its output, and the recording's unpacking.
#include "sysanalysis/MachineFile.h"
#include "sysanalysis/MachineResult.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList Lines(const QByteArray &bytes)
{
    QStringList l = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

TMachineResult Sample(int rows)
{
    TMachineResult r;
    r.AmpCode = 0xA101;
    r.AmpType = QStringLiteral("TVA-S10A  ");
    r.MotType = QStringLiteral("TM-200 \"x\"");
    r.TC = 100;
    r.FREQUENCY = 3;
    r.JRAT_MON = 150;
    r.KVP_MON = 40;
    r.TVI_MON = 25;
    r.TCFIL_MON = 1000;
    r.TCNFILA_MON = 4000;
    r.TCNFILB_MON = 3500;
    r.MENP = -123456;
    r.SW = {3, 0, 1, 2, 0, 65535};
    r.T_LIM = 12.5f;
    r.TriggerNo = 7;
    for (int k = 0; k < rows; ++k)
        r.DATA2.push_back({1.0 + k * 4.25, -0.5 * k, 180.0 - k});
    for (int k = 0; k < TMachineResult::SampleCount; ++k)
        r.DATA1[size_t(k)] = {int64_t(k % 7 == 0 ? -2 : k * 3 - 1500), int8_t(k % 2)};
    return r;
}

TEST(MachineFile, RoundTripKeepsEveryValueAndTwoDecimalRows)
{
    TMachineResult r = Sample(460);
    r.DATA2[5] = {12.3456, -3.456, 120};
    const QByteArray text = TMachineFile::Write(r, 0.25);
    const QStringList l = Lines(text);
    ASSERT_EQ(l.size(), 1503);
    EXPECT_EQ(l[16], QStringLiteral("DATA2,460"));
    EXPECT_EQ(l[477], QStringLiteral("DATA1,1024"));
    EXPECT_EQ(l[478], QStringLiteral("TRIGGER-NO,7"));
    EXPECT_EQ(l[3], QStringLiteral("TC,0x64,\"100[%]\""));
    EXPECT_EQ(l[4], QStringLiteral("SAMPLING,0.25,\"0.25[ms]\""));
    EXPECT_EQ(l[5], QStringLiteral("FREQUENCY,0x0003,\" 2.5 to 500 [Hz]\""));
    EXPECT_EQ(l[8], QStringLiteral("TVI_MON,0x0019,\"2.5[ms]\""));
    EXPECT_EQ(l[22], QStringLiteral("12.35,-3.46,120.00"));
    EXPECT_EQ(l[479], QStringLiteral("0,-2,0"));

    TMachineResult back;
    ASSERT_TRUE(TMachineFile::Read(text, back));
    EXPECT_EQ(back.AmpCode, r.AmpCode);
    EXPECT_EQ(back.AmpType, r.AmpType);
    EXPECT_EQ(back.MotType, r.MotType);
    EXPECT_EQ(back.TC, 100);
    EXPECT_EQ(back.FREQUENCY, 3);
    EXPECT_EQ(back.TVI_MON, 25);
    EXPECT_EQ(back.TCNFILB_MON, 3500);
    EXPECT_EQ(back.MENP, -123456);
    EXPECT_EQ(back.SW, r.SW);
    EXPECT_FLOAT_EQ(back.T_LIM, 12.5f);
    EXPECT_EQ(back.TriggerNo, 7);
    EXPECT_EQ(back.DATA1, r.DATA1);
    ASSERT_EQ(back.DATA2.size(), 460u);
    EXPECT_DOUBLE_EQ(back.DATA2[5].frequency, 12.35);
    EXPECT_DOUBLE_EQ(back.DATA2[5].gain, -3.46);
    EXPECT_DOUBLE_EQ(back.DATA2[5].phase, 120.0);
}

TEST(MachineFile, DamagedFilesAreRejected)
{
    const QStringList good = Lines(TMachineFile::Write(Sample(10), 0.25));
    struct TCase {
        const char *what;
        std::function<void(QStringList &)> damage;
    };
    const TCase cases[] = {
        {"a key in the wrong case", [](QStringList &l) { l[3].replace(0, 2, QStringLiteral("tc")); }},
        {"a header line missing", [](QStringList &l) { l.removeAt(6); }},
        {"a monitor that is no number", [](QStringList &l) { l[7] = QStringLiteral("KVP_MON,abc,\"x\""); }},
        {"a switch missing", [](QStringList &l) { l[13] = QStringLiteral("SW1,1,2"); }},
        {"more response rows than announced", [](QStringList &l) { l.insert(27, QStringLiteral("1.0,2.0,3.0")); }},
        {"a response field that is no number", [](QStringList &l) { l[20] = QStringLiteral("1.0,x,3.0"); }},
        {"a sample number beyond the recording", [](QStringList &l) { l[40] = QStringLiteral("1024,1,0"); }},
        {"a no-data sample", [](QStringList &l) { l[40] = QStringLiteral("5,-,0"); }},
        {"an absurd row count", [](QStringList &l) { l[16] = QStringLiteral("DATA2,999999999"); }},
    };
    for (const TCase &c : cases) {
        QStringList l = good;
        c.damage(l);
        TMachineResult r;
        r.AmpCode = 5;
        EXPECT_FALSE(TMachineFile::Read(l.join(QStringLiteral("\r\n")).toLatin1(), r)) << c.what;
        EXPECT_EQ(r.AmpCode, -1) << c.what;
    }
}

TEST(MachineFile, ClearedResultIsWrittenWithDashesAndRefused)
{
    TMachineResult r = Sample(3);
    r.ClearData();
    const QByteArray text = TMachineFile::Write(r, 0.25);
    EXPECT_TRUE(Lines(text).contains(QStringLiteral("0,-,-")));
    TMachineResult back;
    EXPECT_FALSE(TMachineFile::Read(text, back));
}

TEST(MachineFile, HandWrittenNumbersAndShortFilesLoad)
{
    // Hexadecimal in both notations, a sign, and a file that ends after the
    // rows: values it does not set keep what they had.
    const QByteArray text = "AMP-CODE,$A102\r\nAMP-TYPE\r\nMOT-TYPE,\"M\"\r\nTC,0x32,\"\"\r\nSAMPLING,1\r\n"
                            "FREQUENCY,2\r\nJRAT_MON,+10\r\nKVP_MON,0x0A\r\nTVI_MON,5\r\nTCFIL_MON,1\r\n"
                            "TCNFILA_MON,2\r\nTCNFILB_MON,3\r\nMENP,-1\r\nSW1,1,2,3\r\nSW4,4,5,6\r\nT_LIM,1.5\r\n"
                            "DATA2,1\r\n10,-1,-2\r\n";
    TMachineResult r;
    r.TriggerNo = 99;
    ASSERT_TRUE(TMachineFile::Read(text, r));
    EXPECT_EQ(r.AmpCode, 0xA102);
    EXPECT_TRUE(r.AmpType.isEmpty());
    EXPECT_EQ(r.TC, 50);
    EXPECT_EQ(r.KVP_MON, 10);
    EXPECT_EQ(r.TriggerNo, 99);
    ASSERT_EQ(r.DATA2.size(), 1u);
    EXPECT_EQ(r.DATA2[0], (TMachineResult::TRow{10, -1, -2}));
}

TEST(MachineFile, AnalyserInputHasItsFixedLayout)
{
    TMachineResult r = Sample(0);
    r.DATA1[3].analog = TMachineResult::NoData;
    const QStringList l = Lines(TMachineFile::WriteExchange(r, 0.0625));
    ASSERT_EQ(l.size(), 1038);
    EXPECT_EQ(l[0], QStringLiteral("0.063,0,0"));
    EXPECT_EQ(l[1], QStringLiteral("100,0,0"));
    EXPECT_EQ(l[2], QStringLiteral("3,0,0"));
    EXPECT_EQ(l[5], QStringLiteral("2.5,0,0"));
    EXPECT_EQ(l[9], QStringLiteral("-123456,0,0"));
    EXPECT_EQ(l[10], QStringLiteral("3,0,1"));
    EXPECT_EQ(l[11], QStringLiteral("2,0,65535"));
    EXPECT_EQ(l[12], QStringLiteral("7,0,0"));
    EXPECT_EQ(l[13], QStringLiteral("1024,0,0"));
    EXPECT_EQ(l[14], QStringLiteral("0,-2,0"));
    EXPECT_EQ(l[17], QStringLiteral("3,-,1"));
}

TEST(MachineFile, AnalyserOutputIsReadOnlyWhenWhole)
{
    struct TCase {
        const char *text;
        bool ok;
        size_t rows;
    };
    const TCase cases[] = {
        {"2,0,0\r\n1,-3.5,170\r\n2.5,1e-2,-170.25\r\n", true, 2},
        {"1,0,0\r\n1,2,3\r\n4,5,6\r\n", true, 1}, // lines beyond the count are ignored
        {"0,0,0\r\n", true, 0},
        {"3,0,0\r\n1,2,3\r\n", false, 0},        // rows missing
        {"x,0,0\r\n1,2,3\r\n", false, 0},        // count not a number
        {"1,0,0\r\n1,nan,3\r\n", false, 0},      // a field not a number
        {"1,0,0\r\n1,2\r\n", false, 0},          // a field missing
        {"", false, 0},
    };
    for (const TCase &c : cases) {
        std::vector<TMachineResult::TRow> rows{{9, 9, 9}};
        EXPECT_EQ(TMachineFile::ReadResult(c.text, rows), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(rows.size(), c.rows) << c.text;
        else
            EXPECT_EQ(rows.size(), 1u) << "rows kept: " << c.text;
    }
    std::vector<TMachineResult::TRow> rows;
    ASSERT_TRUE(TMachineFile::ReadResult("2,0,0\r\n1,-3.5,170\r\n2.5,1e-2,-170.25\r\n", rows));
    EXPECT_EQ(rows[1], (TMachineResult::TRow{2.5, 0.01, -170.25}));
}

TEST(MachineResult, RecordingIsUnpackedFromTheRingStart)
{
    std::array<uint16_t, 1024> words{};
    std::array<uint8_t, 128> bits{};
    for (int g = 0; g < 1024; ++g)
        words[size_t(g)] = uint16_t(g);
    words[1020] = 0xFFFE;
    bits[0] = 0x01;   // slot 0
    bits[127] = 0x10; // slot 1020
    TMachineResult r;
    r.Unpack(words.data(), bits.data(), 1020);
    EXPECT_EQ(r.DATA1[0].analog, -2); // slot 1020, signed
    EXPECT_EQ(r.DATA1[0].bit, 1);
    EXPECT_EQ(r.DATA1[4].analog, 0);  // slot 0
    EXPECT_EQ(r.DATA1[4].bit, 1);
    EXPECT_EQ(r.DATA1[5].analog, 1);
    EXPECT_EQ(r.DATA1[5].bit, 0);
    EXPECT_EQ(r.DATA1[1023].analog, 1019);
}

TEST(MachineResult, TorqueLimitRateCountsAfterTheTrigger)
{
    struct TCase {
        int trigger;
        int firstSet, setCount;
        float rate;
    };
    const TCase cases[] = {
        {23, 24, 100, 10.0f},   // 100 of 1000
        {23, 0, 24, 0.0f},      // bits up to the trigger sample do not count
        {0, 1, 1023, 100.0f},
        {1023, 0, 1024, 0.0f},  // nothing after the trigger: no division by zero
        {-5, 0, 10, 0.0f},      // a trigger outside the recording
    };
    for (const TCase &c : cases) {
        TMachineResult r;
        for (auto &s : r.DATA1)
            s = {0, 0};
        for (int k = c.firstSet; k < c.firstSet + c.setCount; ++k)
            r.DATA1[size_t(k)].bit = 1;
        r.TriggerNo = c.trigger;
        r.ComputeTorqueLimitRate();
        EXPECT_FLOAT_EQ(r.T_LIM, c.rate) << c.trigger;
    }
}

TEST(MachineResult, FrequencyTableWorksBothWays)
{
    for (int code = 1; code <= 7; ++code)
        EXPECT_EQ(TMachineResult::FrequencyCode(TMachineResult::FrequencyText(code)), code);
    EXPECT_EQ(TMachineResult::FrequencyText(1), QStringLiteral("10.0 to 2000 [Hz]"));
    EXPECT_TRUE(TMachineResult::FrequencyText(0).isEmpty());
    EXPECT_TRUE(TMachineResult::FrequencyText(9).isEmpty());
    EXPECT_EQ(TMachineResult::FrequencyCode(QStringLiteral("2000")), 0);
}

} // namespace
