#include "ShellFixture.h"

namespace {

TEST(TranText, FailureMessagesNameTheAxisInHex)
{
    struct {
        TTranResult result;
        int axis;
        const char *text;
    } cases[] = {
        {trCommError, 1, "通信異常です。（軸番号[#1]）"},
        {trNak, 9, "軸番号が重複しています。（軸番号[#9]）"},
        {trTimeout, 10, "通信タイムアウト。（軸番号[#A]）"},
        {trTimeout, 15, "通信タイムアウト。（軸番号[#F]）"},
        {trOk, 3, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TDMTran::FailureText(c.result, c.axis), QString::fromUtf8(c.text)) << c.axis;
}

TEST(TranWords, EvenAddressByteIsTheLowHalf)
{
    const uint8_t bytes[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    TDMTran::TWords w{};
    ASSERT_TRUE(TDMTran::AssembleWords(bytes, 4, 2, w));
    EXPECT_EQ(w[0], 0x2211);
    EXPECT_EQ(w[1], 0x4433);
    ASSERT_TRUE(TDMTran::AssembleWords(bytes, 8, 4, w));
    EXPECT_EQ(w, (TDMTran::TWords{0x2211, 0x4433, 0x6655, 0x8877}));
    // More words than the bytes hold, or none, are refused.
    EXPECT_FALSE(TDMTran::AssembleWords(bytes, 4, 3, w));
    EXPECT_FALSE(TDMTran::AssembleWords(bytes, 8, 5, w));
    EXPECT_FALSE(TDMTran::AssembleWords(bytes, 8, 0, w));
}

TEST(TranCodes, OperationsMapToTheirCommandByKind)
{
    using T = TDMTran;
    // Rows: operation; columns: kinds 0..5; -1 where the kind has no such operation.
    const std::pair<T::TTestRunOp, std::array<int, 6>> testRuns[] = {
        {T::opEnd, {0x80, 0x90, 0xA0, 0xB0, 0x70, 0xD0}},
        {T::opStatus, {0x81, 0x91, 0xA1, 0xB1, 0x71, 0xD1}},
        {T::opRunStatus, {0x83, 0x93, 0xA3, 0xB3, -1, 0xD3}},
        {T::opJogForward, {0x84, 0x94, -1, -1, -1, -1}},
        {T::opJogReverse, {0x85, 0x95, -1, -1, -1, -1}},
        {T::opTuningStart, {-1, -1, 0xA4, 0xB4, -1, 0xD4}},
        {T::opTuningProgress, {-1, -1, 0xA6, 0xB6, -1, 0xD6}},
        {T::opPulseJogForwardRepeat, {-1, 0x96, -1, -1, -1, -1}},
        {T::opPulseJogReverseRepeat, {-1, 0x97, -1, -1, -1, -1}},
        {T::opPulseJogStop, {-1, 0x98, -1, -1, -1, -1}},
        {T::opTuningSave, {-1, -1, -1, -1, 0x74, -1}},
    };
    for (const auto &[op, codes] : testRuns) {
        for (int kind = 0; kind < 6; ++kind)
            EXPECT_EQ(T::TestRunCode(op, kind), codes[kind]) << op << " kind " << kind;
        EXPECT_EQ(T::TestRunCode(op, 6), -1);
    }
    // Adjustments: V-REF, T-COMP, alarm reset, alarm trace clear, abs clear, excitation.
    const int tens[6] = {0x10, 0x20, 0x30, 0x50, 0x40, 0x60};
    for (int kind = 0; kind < 6; ++kind)
        for (int step = 0; step < 4; ++step)
            EXPECT_EQ(T::AdjustCode(kind, step), tens[kind] + step);
    EXPECT_EQ(T::AdjustCode(6, 0), -1);
    EXPECT_EQ(T::AdjustCode(0, 4), -1);
}

class Tran : public ShellTest
{
protected:
    void Open(const QStringList &axes)
    {
        StartSim(axes);
        MakeModules({});
        engine = std::make_unique<TTranAmp>();
        tran->SetEngine(engine.get());
        engine->SetDevicePath(sim.Link());
        engine->OpenPort(Baud, 1);
        ASSERT_TRUE(engine->PortOpen());
        engine->SetRts(true);
        for (int axis = 1; axis <= 15; ++axis)
            env->SetAmpCode(axis, known[0]);
    }
};

TEST_F(Tran, FailureWarnsWhileTheCableIsOnAndMarksTheAxis)
{
    Open({KnownAxis(1), KnownAxis(2), KnownAxis(3)});
    sim.Ok("fault 2 nak");
    sim.Ok("fault 3 badcheck");
    struct {
        int axis;
        const char *text;
    } cases[] = {
        {1, nullptr},
        {2, "軸番号が重複しています。（軸番号[#2]）"},
        {3, "通信異常です。（軸番号[#3]）"},
        {6, "通信タイムアウト。（軸番号[#6]）"},
        {10, "通信タイムアウト。（軸番号[#A]）"},
    };
    for (const auto &c : cases) {
        messages.Clear();
        TDMTran::TWords words{};
        const bool ok = tran->ReadWords4(c.axis, 0xF8000, 2, words);
        EXPECT_EQ(ok, c.text == nullptr) << c.axis;
        if (c.text) {
            ASSERT_EQ(messages.entries.size(), 1) << c.axis;
            EXPECT_EQ(messages.entries[0].kind, TMsgKind::Warning);
            EXPECT_EQ(messages.entries[0].text, QString::fromUtf8(c.text));
            EXPECT_EQ(env->AmpCode(c.axis), -1) << c.axis;
        } else {
            EXPECT_TRUE(messages.entries.isEmpty());
            EXPECT_EQ(env->AmpCode(c.axis), known[0]);
        }
    }
}

TEST_F(Tran, FailureWithoutTheCableIsSilentButStillMarksTheAxis)
{
    Open({KnownAxis(1)});
    sim.Ok("pull");
    ASSERT_TRUE(WaitUntil([&] { return !engine->CtsOn(); }));
    uint32_t v32 = 0;
    QByteArray bytes;
    EXPECT_FALSE(tran->TestRunStatus(1, TDMTran::tkVelocityJog, v32));
    EXPECT_FALSE(tran->ReadBytes8(2, 0xF8000, bytes));
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_EQ(env->AmpCode(1), -1);
    EXPECT_EQ(env->AmpCode(2), -1);
    EXPECT_EQ(env->AmpCode(3), known[0]);
}

TEST_F(Tran, ReadsAssembleWordsAndWritesGoMostSignificantFirst)
{
    Open({KnownAxis(1)});
    const uint32_t at = 0xF8100;
    sim.Ok(QStringLiteral("poke 1 %1 1122334455667788").arg(at, 0, 16));
    TDMTran::TWords words{};
    ASSERT_TRUE(tran->ReadWords4(1, at, 2, words));
    EXPECT_EQ(words[0], 0x2211);
    EXPECT_EQ(words[1], 0x4433);
    ASSERT_TRUE(tran->ReadWords8(1, at, 4, words));
    EXPECT_EQ(words, (TDMTran::TWords{0x2211, 0x4433, 0x6655, 0x8877}));
    QByteArray bytes;
    ASSERT_TRUE(tran->ReadBytes8(1, at, bytes));
    EXPECT_EQ(bytes.toHex().toUpper(), QByteArray("1122334455667788"));

    sim.Ok("log 1 clear");
    ASSERT_TRUE(tran->WriteWord(1, at, 0x1234));
    EXPECT_TRUE(sim.Ok("log 1").contains(QStringLiteral("PF81001234")));
    ASSERT_TRUE(tran->WriteLong(1, at + 2, 0xA1B2C3D4));
    ASSERT_TRUE(tran->WriteByte(1, at + 7, 0x5E));
    // P and Q put the low byte at the address.
    EXPECT_TRUE(sim.Ok(QStringLiteral("peek 1 %1 8").arg(at, 0, 16)).toUpper().remove(' ').contains("3412D4C3B2A1775E"));
    ASSERT_TRUE(tran->WriteWorkWord(1, at, 0xBEEF));
    ASSERT_TRUE(tran->WriteWorkLong(1, at, 0x01020304));
    const QString log = sim.Ok("log 1");
    EXPECT_TRUE(log.contains("YF8100BEEF"));
    EXPECT_TRUE(log.contains("ZF810001020304"));
}

TEST_F(Tran, CallsThatCannotBeRightSendNothing)
{
    Open({KnownAxis(1)});
    sim.Ok("log 1 clear");
    TDMTran::TWords words{};
    uint32_t v32 = 0;
    EXPECT_FALSE(tran->ReadWords4(1, 0xF8000, 3, words));
    EXPECT_FALSE(tran->ReadWords8(1, 0xF8000, 0, words));
    EXPECT_FALSE(tran->TuningStart(1, TDMTran::tkVelocityJog, v32));
    EXPECT_FALSE(tran->JogForward(1, TDMTran::tkNotchTuning, v32));
    EXPECT_FALSE(tran->AdjustStart(1, 9, v32));
    EXPECT_FALSE(tran->WriteByte(0, 0xF8000, 1));
    EXPECT_FALSE(tran->WriteByte(16, 0xF8000, 1));
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_EQ(env->AmpCode(1), known[0]);
    EXPECT_EQ(sim.Ok("log 1"), QString()) << "nothing went out";
}

TEST_F(Tran, OperationCommandsDeliverTheirValues)
{
    Open({KnownAxis(1)});
    bool usable = true;
    sim.Ok("op 1 W01 5");
    ASSERT_TRUE(tran->TraceUsable(1, usable));
    EXPECT_FALSE(usable) << "the exchange worked, the trace is not usable";
    sim.Ok("op 1 W01 0");
    ASSERT_TRUE(tran->TraceUsable(1, usable));
    EXPECT_TRUE(usable);

    sim.Ok("op 1 W81 10");
    uint32_t v32 = 0;
    ASSERT_TRUE(tran->TestRunStatus(1, TDMTran::tkVelocityJog, v32));
    EXPECT_EQ(v32, 10u);

    sim.Ok("op 1 L00 0x01000123");
    uint8_t s = 0;
    uint32_t n = 0;
    ASSERT_TRUE(tran->TraceStatus(1, s, n));
    EXPECT_EQ(s, 1);
    EXPECT_EQ(n, 0x123u);

    sim.Ok("log 1 clear");
    ASSERT_TRUE(tran->AdjustQuery(1, TDMTran::akAlarmTraceClear, v32));
    EXPECT_TRUE(sim.Ok("log 1").contains("W51"));
}

TEST(TranWithoutEngine, FailsLikeASilentLine)
{
    TMessageRecorder messages;
    QTemporaryDir dir;
    TDMEnvironment env(dir.filePath("Tuvanta.ini"));
    env.SetAmpCode(4, 0x123);
    TDMTran tran(env);
    EXPECT_EQ(TDMTran::Instance(), &tran);
    TDMTran::TWords words{};
    EXPECT_FALSE(tran.ReadWords8(4, 0, 1, words));
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_EQ(env.AmpCode(4), -1);
}

} // namespace
