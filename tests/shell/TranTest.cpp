#include "ShellFixture.h"

namespace {

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

} // namespace
