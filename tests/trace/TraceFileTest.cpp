// The trace file format, the comma-text rule and numbers, with the model
// tables of the sample database.
#include "MessageRecorder.h"
#include "SampleDatabase.h"

#include "trace/DMTraceSetting.h"
#include "trace/Trace.h"
#include "trace/TraceFile.h"
#include "trace/TraceTables.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TraceFileTest : public TSampleDatabase
{
protected:
    void SetUp() override
    {
        TSampleDatabase::SetUp();
        tables.japanese = false;
        tables.Load(intf);
        model = tables.ModelOfCode(CodeA);
        ASSERT_NE(model, nullptr);
    }

    // A mode-1 trace of model A with a value in every cell that is possible.
    TTrace Sample(int mode = 1)
    {
        TTrace t;
        t.AmpCode = CodeA;
        t.AmpType = QStringLiteral("TVA-S10A");
        t.MotType = QStringLiteral("TVM-0400A");
        t.Setting.Mode = mode;
        t.Setting.Analog = {0, 5, 2, 9};
        t.Setting.TriggerChannel = 1;
        t.Setting.TriggerLevel = -1;
        t.Setting.TriggerPosition = 30;
        t.Setting.Sampling = 4;
        t.TriggerNo = 77;
        t.Reset();
        t.EvaluateChannels(model);
        for (int i = 0; i < int(t.Samples.size()); ++i)
            for (int c = 0; c < 8; ++c) {
                if (!t.Possible[size_t(c)])
                    continue;
                if (c < 4)
                    t.Samples[size_t(i)].analog[size_t(c)] = (i * 37 + c) % 2000 - 1000;
                else
                    t.Samples[size_t(i)].digital[size_t(c - 4)] = int8_t((i >> (c - 4)) & 1);
            }
        return t;
    }

    QStringList Lines(const TTrace &t) { return QString::fromLatin1(TTraceFile::Write(t, tables)).split("\r\n"); }

    TTrace ReadBack(const QByteArray &bytes, bool &ok)
    {
        TTrace t;
        ok = TTraceFile::Read(bytes, t);
        if (ok) {
            t.EvaluateChannels(tables.ModelOfCode(t.AmpCode));
            t.WidenTriggerLevel(tables.ModelOfCode(t.AmpCode));
        }
        return t;
    }

    TTraceTables tables;
    const TTraceModel *model = nullptr;
};

} // namespace

TEST(TraceText, CommaTextRule)
{
    const struct {
        const char *line;
        QStringList fields;
    } cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"AMP-TYPE,\"TVA S10,A\"", {"AMP-TYPE", "TVA S10,A"}},
        {"key,\"\"", {"key", ""}},
        {"a b,c", {"a", "b", "c"}},
        {"  a , b ", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"\"open", {"open"}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TTraceFile::SplitCommaText(QString::fromUtf8(c.line)), c.fields) << c.line;
}

TEST(TraceText, Integers)
{
    const struct {
        const char *text;
        bool ok;
        int64_t value;
    } cases[] = {
        {"12", true, 12},       {"-5", true, -5},          {"+7", true, 7},
        {"0x1F", true, 31},     {"$ff", true, 255},        {"0xFFFFFFFF", true, -1},
        {"0xFFFFFF80", true, -128}, {"0x100000000", true, 0x100000000LL}, {"-0x10", true, -16},
        {"9223372036854775807", true, INT64_MAX}, {"-9223372036854775808", true, INT64_MIN},
        {"9223372036854775808", false, 0}, {"", false, 0}, {"-", false, 0}, {"--", false, 0},
        {"0x", false, 0},       {"1.5", false, 0},         {"12a", false, 0}, {"０", false, 0},
    };
    for (const auto &c : cases) {
        int64_t v = 0;
        EXPECT_EQ(TTraceFile::ParseInteger(QString::fromUtf8(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_EQ(TTraceFile::FormatDecimal(0.25), "0.25");
    EXPECT_EQ(TTraceFile::FormatDecimal(63.75), "63.75");
    EXPECT_EQ(TTraceFile::FormatDecimal(50), "50");
    EXPECT_EQ(TTraceFile::FormatDecimal(0.0625), "0.063");
}

TEST_F(TraceFileTest, HeaderLinesAndRoundTrip)
{
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        TTrace t = Sample(mode);
        if (mode == 0)
            t.Start = 300;
        const QByteArray bytes = TTraceFile::Write(t, tables);
        const QStringList lines = QString::fromLatin1(bytes).split("\r\n");
        ASSERT_EQ(lines.size(), 19 + TTrace::SampleCount(mode) + 1);
        EXPECT_EQ(lines[0], "AMP-CODE,0x00A101");
        EXPECT_EQ(lines[3], QStringLiteral("TRACE-MODE,0x%1,\"%2\"").arg(mode, 2, 10, QChar('0')).arg(tables.ModeName(mode)));
        EXPECT_EQ(lines[4], "TRIGGER-CH,0x01,\"CH2 (analog)\"");
        EXPECT_EQ(lines[5], "TRIGGER-LEVEL,0xFFFFFFFF");
        EXPECT_EQ(lines[7], "TRIGGER-POSITION,0x001E,\"30[%]\"");
        EXPECT_EQ(lines[8], "SAMPLING-TIME,0x0004,\"1[ms]\"");
        EXPECT_EQ(lines[9], "TARGET-CH1,0x00,\"Speed feedback[min-1]\"");
        EXPECT_EQ(lines[12], "TARGET-CH4,0x09,\"Analog input 1[mV]\"");
        EXPECT_EQ(lines[13], "TARGET-CH5,0x00,\"Servo on\"");
        EXPECT_EQ(lines[17], "TRIGGER-NO,77");
        EXPECT_EQ(lines[18], "No.,CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8");
        EXPECT_TRUE(lines.last().isEmpty()); // CR LF after the last row
        bool ok = false;
        TTrace back = ReadBack(bytes, ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(back.Setting, t.Setting);
        EXPECT_EQ(back.AmpType, t.AmpType);
        EXPECT_EQ(back.MotType, t.MotType);
        EXPECT_EQ(back.TriggerNo, 77);
        for (int j = 0; j < int(t.Samples.size()); ++j)
            ASSERT_EQ(back.At(j), t.At(j)) << j;
        EXPECT_EQ(TTraceFile::Write(back, tables), bytes);
    }
}

TEST_F(TraceFileTest, CellsForMarkersWidthsAndRingOrder)
{
    // A 4-byte CH1 in mode 1: CH2 holds "-" in every row.
    TTrace t = Sample(1);
    t.Setting.Analog[0] = 3;
    t.EvaluateChannels(model);
    t.Samples[0].analog[0] = -5;
    t.Samples[1].analog[2] = TTraceSample::Gap;
    t.Samples[1].digital[1] = TTraceSample::GapBit;
    t.Samples[2].analog[3] = TTraceSample::NoData;
    QStringList lines = Lines(t);
    EXPECT_TRUE(lines[19].startsWith("0,-5,-,"));
    EXPECT_EQ(lines[20].split(',')[3], "--");
    EXPECT_EQ(lines[20].split(',')[6], "--");
    EXPECT_EQ(lines[21].split(',')[4], "-");
    for (int r = 19; r < 19 + 256; ++r)
        ASSERT_EQ(lines[r].split(',')[2], "-");
    bool ok = false;
    TTrace back = ReadBack(TTraceFile::Write(t, tables), ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(back.Samples[0].analog[0], -5);
    EXPECT_TRUE(back.Samples[1].IsGap(2));
    EXPECT_TRUE(back.Samples[1].IsGap(5));
    EXPECT_TRUE(back.Samples[2].IsNoData(3));

    // No trigger channel: FFFFFFFF with an empty name, read back as -1.
    t.Setting.TriggerChannel = -1;
    lines = Lines(t);
    EXPECT_EQ(lines[4], "TRIGGER-CH,0xFFFFFFFF,\"\"");
    back = ReadBack(TTraceFile::Write(t, tables), ok);
    EXPECT_EQ(back.Setting.TriggerChannel, -1);

    // Monitor ring starting at 300: slot 300 is row 0, slot 299 row 999.
    TTrace m = Sample(0);
    m.Start = 300;
    m.Samples[300].analog[0] = 4242;
    m.Samples[299].analog[0] = -4242;
    lines = Lines(m);
    EXPECT_TRUE(lines[19].startsWith("0,4242,"));
    EXPECT_TRUE(lines[19 + 999].startsWith("999,-4242,"));
}

TEST_F(TraceFileTest, ReaderRejectsWhatIsNotATraceFile)
{
    const QByteArray good = TTraceFile::Write(Sample(1), tables);
    auto withLine = [&](int k, const QByteArray &line) {
        QList<QByteArray> lines = good.split('\n');
        lines[k] = line + '\r';
        return lines.join('\n');
    };
    const struct {
        const char *name;
        QByteArray bytes;
        bool ok;
    } cases[] = {
        {"key differs in case", withLine(3, "Trace-Mode,0x01,\"\""), false},
        {"wrong key", withLine(0, "AMP-KODE,0x00A101"), false},
        {"code not a number", withLine(0, "AMP-CODE,A101"), false},
        {"code missing", withLine(0, "AMP-CODE"), false},
        {"row number out of range", withLine(19, "256,1,1,1,1,0,0,0,0"), false},
        {"negative row number", withLine(19, "-1,1,1,1,1,0,0,0,0"), false},
        {"short row", withLine(19, "0,1,1,1,1,0,0,0"), false},
        {"cell not a number", withLine(20, "1,x,1,1,1,0,0,0,0"), false},
        {"empty row", withLine(21, ""), false},
        {"empty type", withLine(1, "AMP-TYPE"), true},
        {"rows out of order", withLine(19, "5,1,2,3,4,1,1,1,1"), true},
        {"LF only", QByteArray(good).replace("\r\n", "\n"), true},
        {"empty file", QByteArray(), true},
    };
    for (const auto &c : cases) {
        TTrace t;
        EXPECT_EQ(TTraceFile::Read(c.bytes, t), c.ok) << c.name;
        EXPECT_EQ(t.AmpCode == -1, !c.ok || c.bytes.isEmpty()) << c.name;
        EXPECT_EQ(int(t.Samples.size()), TTrace::SampleCount(t.Setting.Mode)) << c.name;
    }

    // 19 lines, no rows: loads with every sample no-data.
    QList<QByteArray> lines = good.split('\n');
    TTrace t;
    ASSERT_TRUE(TTraceFile::Read(lines.mid(0, 19).join('\n') + '\n', t));
    ASSERT_EQ(t.Samples.size(), 256u);
    for (const TTraceSample &s : t.Samples)
        ASSERT_EQ(s, TTraceSample{});
}

TEST_F(TraceFileTest, SaveGoesThroughATemporaryFileAndCsvExport)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("t.csv");
    TTrace t = Sample(3);
    QString error;
    ASSERT_TRUE(TTraceFile::Save(name, t, tables, &error)) << error.toStdString();
    TTrace back;
    bool rejected = true;
    ASSERT_TRUE(TTraceFile::Load(name, back, rejected, &error));
    EXPECT_FALSE(rejected);
    // A folder that cannot be written: the old file stays as it was.
    EXPECT_FALSE(TTraceFile::Save(dir.filePath("missing/t.csv"), t, tables, &error));
    EXPECT_FALSE(error.isEmpty());

    const QStringList csv = QString::fromUtf8(TTraceFile::Csv(t, tables)).split('\n');
    EXPECT_EQ(csv[0], "t[ms],CH1 Speed feedback[min-1],CH5 Servo on");
    EXPECT_EQ(csv[1], "0,-1000,0");
    EXPECT_EQ(csv[2], "1,-963,1");
    EXPECT_EQ(csv.size(), 1024 + 2);
}

TEST_F(TraceFileTest, ChannelEvaluationAndTriggerLevel)
{
    // Codes: 0 signed 2, 3 signed 4, 7 unsigned 1, 8 signed 1, 6 unsigned 2.
    const struct {
        int mode;
        std::array<int32_t, 4> analog;
        std::array<bool, 8> possible;
    } cases[] = {
        {1, {0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1, 1}},
        {1, {3, 0, 0, 0}, {1, 0, 1, 1, 1, 1, 1, 1}},
        {1, {0, 3, 0, 0}, {1, 1, 0, 1, 1, 1, 1, 1}},
        {1, {0, 0, 3, 0}, {1, 1, 1, 0, 1, 1, 1, 1}},
        {1, {0, 0, 0, 3}, {1, 1, 1, 0, 1, 1, 1, 1}},
        {2, {0, 3, 0, 0}, {1, 0, 0, 0, 1, 1, 0, 0}},
        {2, {0, 0, 0, 0}, {1, 1, 0, 0, 1, 1, 0, 0}},
        {0, {3, 0, 0, 0}, {1, 0, 0, 0, 1, 1, 0, 0}},
        {3, {3, 0, 0, 0}, {0, 0, 0, 0, 1, 0, 0, 0}},
        {3, {0, 0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0}},
        {7, {0, 0, 0, 0}, {1, 1, 0, 0, 1, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        TTrace t;
        t.Setting.Mode = c.mode;
        t.Setting.Analog = c.analog;
        t.EvaluateChannels(model);
        EXPECT_EQ(t.Possible, c.possible) << c.mode << " " << c.analog[0] << c.analog[1] << c.analog[2] << c.analog[3];
        EXPECT_EQ(t.InUse, c.possible);
    }
    // Codes outside the table or the range are not in use; no model, none.
    TTrace t;
    t.Setting.Analog = {12, -1, 0, 0};
    t.Setting.Digital = {10, 0, 0, 0};
    t.EvaluateChannels(model);
    EXPECT_FALSE(t.InUse[0]);
    EXPECT_FALSE(t.InUse[1]);
    EXPECT_TRUE(t.InUse[2]);
    EXPECT_FALSE(t.InUse[4]);
    t.EvaluateChannels(nullptr);
    EXPECT_EQ(t.InUse, (std::array<bool, 8>{}));

    const struct {
        int code;
        int64_t stored, widened;
    } levels[] = {{8, 0xFFFFFF80, -128}, {7, 0xFFFFFF80, 0xFFFFFF80}, {0, 0xFFFF, -1},
                  {6, 0xFFFF, 0xFFFF},   {3, 0xFFFFFFFF, -1},         {10, 0xFFFFFFFF, 0xFFFFFFFF}};
    for (const auto &l : levels) {
        TTrace w;
        w.Setting.TriggerChannel = 2;
        w.Setting.Analog[2] = l.code;
        w.Setting.TriggerLevel = l.stored;
        w.WidenTriggerLevel(model);
        EXPECT_EQ(w.Setting.TriggerLevel, l.widened) << l.code;
    }
}

TEST_F(TraceFileTest, UnpackRingStartAndSignExtension)
{
    std::vector<uint16_t> words(1024);
    std::vector<uint8_t> bits(128);
    for (int i = 0; i < 1024; ++i)
        words[size_t(i)] = uint16_t(i);
    bits[100] = 0x5A; // slots 200 (low nibble) and 201 in mode 1
    TTrace t;
    t.Setting.Mode = 1;
    t.Setting.Analog = {0, 6, 0, 0};
    t.EvaluateChannels(model);
    t.Unpack(words.data(), bits.data(), 200);
    EXPECT_EQ(t.Samples[0].analog[0], 800); // slot 200
    EXPECT_EQ(t.Samples[56].analog[0], 0);  // slot 0
    EXPECT_EQ(t.Samples[0].digital, (std::array<int8_t, 4>{0, 1, 0, 1}));
    EXPECT_EQ(t.Samples[1].digital, (std::array<int8_t, 4>{1, 0, 1, 0}));

    words.assign(1024, 0xFFFF);
    t.Unpack(words.data(), bits.data(), 0);
    EXPECT_EQ(t.Samples[3].analog[0], -1);   // signed
    EXPECT_EQ(t.Samples[3].analog[1], 65535); // unsigned
    t.Setting.Analog[0] = -1;
    t.Unpack(words.data(), bits.data(), 0);
    EXPECT_TRUE(t.Samples[3].IsNoData(0));

    // Monitor records: CH1 over two words when it is 4 bytes.
    t.Setting.Mode = 0;
    t.Setting.Analog = {3, 0, 0, 0};
    t.EvaluateChannels(model);
    const TTraceSample s = t.DecodeMonitorRecord({5, 0xFFFE, 0xFFFF, 2});
    EXPECT_EQ(s.analog[0], -2);
    EXPECT_EQ(s.digital[0], 0);
    EXPECT_EQ(s.digital[1], 1);
}

#include "trace/DMTrace.h"

TEST(TraceMonitor, CounterWrapsAfter65534)
{
    const struct {
        uint16_t previous, current;
        int difference;
    } cases[] = {{10, 10, 0}, {10, 11, 1}, {10, 15, 5}, {65534, 2, 3}, {65534, 0, 1}, {0, 65534, 65534}};
    for (const auto &c : cases)
        EXPECT_EQ(TDMTrace::CounterDifference(c.previous, c.current), c.difference) << c.previous << "->" << c.current;
}

TEST_F(TraceFileTest, SettingListsGreyWhatTheChosenWidthsLeaveNoRoomFor)
{
    // Code 3 is the model's 4-byte quantity, code 0 a 2-byte one.
    const TDMTraceSetting lists(tables, CodeA);
    ASSERT_TRUE(lists.HasModel());
    const struct {
        int mode;
        std::array<int32_t, 4> analog; // the current choices
        int channel, entryLength;
        bool grey;
    } cases[] = {
        {3, {0, 0, 0, 0}, 0, 4, true},  {3, {0, 0, 0, 0}, 0, 2, false}, {1, {0, 0, 0, 0}, 0, 4, false},
        {3, {0, 0, 0, 0}, 1, 2, true},  {1, {3, 0, 0, 0}, 1, 2, true},  {1, {0, 0, 0, 0}, 1, 4, false},
        {0, {0, 0, 0, 0}, 1, 4, true},  {2, {0, 0, 0, 0}, 1, 4, true},  {2, {0, 0, 0, 0}, 1, 2, false},
        {0, {3, 0, 0, 0}, 1, 2, false}, {1, {0, 0, 0, 0}, 2, 4, false}, {1, {0, 3, 0, 0}, 2, 2, true},
        {2, {0, 0, 0, 0}, 2, 2, true},  {0, {0, 0, 0, 0}, 3, 2, true},  {1, {0, 0, 3, 0}, 3, 2, true},
        {1, {0, 0, 0, 0}, 3, 4, true},  {1, {0, 0, 0, 0}, 3, 2, false}, {1, {3, 0, 0, 0}, 3, 2, false},
    };
    for (const auto &c : cases) {
        TTraceSetting s;
        s.Mode = c.mode;
        s.Analog = c.analog;
        EXPECT_EQ(lists.Grey(c.channel, c.entryLength, s), c.grey)
            << "mode " << c.mode << " CH" << c.channel + 1 << " entry of " << c.entryLength << " bytes, choices "
            << c.analog[0] << c.analog[1] << c.analog[2];
    }
}
