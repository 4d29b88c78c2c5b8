#include "RawPeer.h"
#include "TestLayout.h"

#include "sim/SimLine.h"

#include <gtest/gtest.h>

namespace {
class SimOperationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        line.SetLayoutSource([](uint32_t) { return TestLayout(); });
        axis = &line.AddAxis(1, 0x12A, peer.now);
    }
    std::string W(const std::string &code) { return peer.Command(1, code); }
    void Wait(int64_t us) { peer.now += us; }

    TSimLine line;
    TRawPeer peer{line};
    TSimAxis *axis = nullptr;
};

class SimAdjustmentFamilyTest : public SimOperationTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(SimAdjustmentFamilyTest, QueryStartProgressEnd)
{
    const std::string n = std::to_string(GetParam());
    axis->Adjustment(GetParam()).config.durationUs = 500'000;
    EXPECT_EQ(W("W" + n + "3"), "00000006"); // nothing runs yet
    EXPECT_EQ(W("W" + n + "1"), "00000000");
    EXPECT_EQ(W("W" + n + "2"), "00000000");
    EXPECT_EQ(W("W" + n + "3"), "00000004");
    Wait(200'000);
    EXPECT_EQ(W("W" + n + "2"), "00000000"); // a retried start does not restart
    EXPECT_EQ(W("W" + n + "3"), "00000004");
    Wait(300'000);
    EXPECT_EQ(W("W" + n + "3"), "00000005");
    EXPECT_EQ(W("W" + n + "3"), "00000005");
    EXPECT_EQ(axis->Adjustment(GetParam()).Runs(), 1);
    EXPECT_EQ(W("W" + n + "0"), "00000000");
    EXPECT_EQ(W("W" + n + "3"), "00000006");
    EXPECT_EQ(W("W" + n + "2"), "00000000"); // after the end a new run starts
    EXPECT_EQ(axis->Adjustment(GetParam()).Runs(), 2);
}

INSTANTIATE_TEST_SUITE_P(Digits, SimAdjustmentFamilyTest, ::testing::Range(1, 7));

TEST_F(SimOperationTest, ConfiguredOutcomes)
{
    TSimAdjustment &a = axis->Adjustment(1);
    a.config.query = 2;
    EXPECT_EQ(W("W11"), "00000002");
    EXPECT_EQ(W("W12"), "00000001"); // not usable: does not start
    EXPECT_EQ(a.State(), TSimAdjustment::TState::Idle);
    a.config = {};
    a.config.start = 1;
    EXPECT_EQ(W("W12"), "00000001");
    a.config = {};
    a.config.result = 7;
    a.config.durationUs = 0;
    a.config.end = 1;
    EXPECT_EQ(W("W12"), "00000000");
    EXPECT_EQ(W("W13"), "00000007");
    EXPECT_EQ(W("W10"), "00000001");
}

TEST_F(SimOperationTest, AlarmResetClearsTheCurrentAlarmWhenItSucceeds)
{
    axis->Alarms().Raise(0x21, 3, peer.now);
    ASSERT_TRUE(axis->Alarms().Active());
    axis->Adjustment(3).config.durationUs = 100'000;
    EXPECT_EQ(W("W32"), "00000000");
    EXPECT_TRUE(axis->Alarms().Active()); // still running
    Wait(100'000);
    EXPECT_EQ(W("W33"), "00000005");
    EXPECT_FALSE(axis->Alarms().Active());
    EXPECT_EQ(axis->Alarms().History()[0].code, 0x21); // the history keeps it
    EXPECT_EQ(W("W30"), "00000000");

    // A failed reset leaves the alarm.
    axis->Alarms().Raise(0x22, 0, peer.now);
    axis->Adjustment(3).config.result = 6;
    W("W32");
    Wait(100'000);
    EXPECT_EQ(W("W33"), "00000006");
    EXPECT_TRUE(axis->Alarms().Active());
}

TEST_F(SimOperationTest, AlarmTraceClearEmptiesTheHistoryOnly)
{
    axis->Alarms().Raise(0x10, 1, peer.now);
    axis->Alarms().Raise(0x11, 2, peer.now);
    const int pointer = axis->Alarms().RingPointer();
    axis->Adjustment(5).config.durationUs = 0;
    W("W52");
    EXPECT_EQ(W("W53"), "00000005");
    for (const TSimAlarms::TEntry &e : axis->Alarms().History())
        EXPECT_EQ(e.code, 0);
    EXPECT_EQ(axis->Alarms().RingPointer(), pointer);
    EXPECT_EQ(axis->Alarms().Code(), 0x11); // the current alarm stays
}

TEST_F(SimOperationTest, AbsoluteEncoderClearZeroesThePosition)
{
    axis->Motion().SetSpeed(600, peer.now);
    Wait(2'000'000);
    axis->Refresh(peer.now);
    EXPECT_NE(axis->Memory().Value(0xF0004, 4), 0u);
    axis->Motion().Stop(peer.now);
    Wait(2'000'000);
    axis->Adjustment(4).config.durationUs = 0;
    W("W42");
    EXPECT_EQ(W("W43"), "00000005");
    axis->Refresh(peer.now);
    EXPECT_LT(std::abs(int32_t(axis->Memory().Value(0xF0004, 4))), 10);
}

TEST_F(SimOperationTest, AlarmBlocksAsTheAlarmWindowReadsThem)
{
    TSimAlarms &alarms = axis->Alarms();
    alarms.Raise(0x41, 2, peer.now);
    alarms.Raise(0x42, 5, peer.now);
    alarms.Raise(0x43, 0xF, peer.now);
    Wait(1'000'000);
    const std::string block = peer.Command(1, "MF8600");
    // w0 = 43 | part << 8 | F << 12; ticks since the alarm: 1 s = 250, counted from 1
    EXPECT_EQ(block.substr(0, 2), "43");
    EXPECT_EQ(block.substr(2, 1), "F");
    EXPECT_EQ(block.substr(8, 8), "FB000000");

    // The newest entry is the sum of all nine pointer parts, modulo 8.
    auto word = [&](const std::string &hex, int i) { return std::stoul(hex.substr(4 * i + 2, 2) + hex.substr(4 * i, 2), nullptr, 16); };
    const std::string h = peer.Command(1, "MF8610") + peer.Command(1, "MF8618");
    unsigned sum = unsigned(word(block, 0) >> 8 & 7);
    for (int i = 0; i < 8; ++i)
        sum += unsigned(word(h, i) >> 8 & 7);
    const int p = int(sum % 8);
    EXPECT_NE(word(block, 0) >> 8 & 7, 0u); // the pointer really is split
    EXPECT_EQ(word(h, p) & 0xFF, 0x43u);
    EXPECT_EQ(word(h, p) >> 12, 0xFu);
    EXPECT_EQ(word(h, (p + 7) % 8) & 0xFF, 0x42u);
    EXPECT_EQ(word(h, (p + 6) % 8) & 0xFF, 0x41u);

    alarms.SetHistory({{0x01, 1}, {0x02, 2}});
    EXPECT_EQ(alarms.History()[0].code, 0x01);
    EXPECT_EQ(alarms.History()[1].state, 2);
    EXPECT_EQ(alarms.History()[2].code, 0);
}

TEST_F(SimOperationTest, HistoryWrittenByTheProgramIsWhatTheSimulatorKeeps)
{
    // A whole-area load may write the history words: the ring follows them.
    peer.Command(1, "PF86100305"); // h0 = 0x0305: code 05, pointer part 3
    peer.Command(1, "PF86000000"); // w0: pointer part 0, no alarm
    EXPECT_EQ(axis->Alarms().RingPointer(), 3);
    axis->Alarms().Raise(0x66, 0, peer.now);
    EXPECT_EQ(axis->Alarms().RingPointer(), 4);
    EXPECT_EQ(axis->Alarms().History()[0].code, 0x66);
}

TEST_F(SimOperationTest, MonitorItemsFollowTheMotorOrAPinnedValue)
{
    axis->Motion().SetSpeed(1000, peer.now);
    Wait(1'000'000);
    axis->Refresh(peer.now);
    EXPECT_NEAR(int16_t(axis->Memory().Value(0xF0000, 2)), 1000, 2);
    // Torque has one decimal: friction 5 % reads 50.
    EXPECT_NEAR(int16_t(axis->Memory().Value(0xF0002, 2)), 50, 3);
    axis->Pin(0xF0000, 2, 0xFF9C);
    Wait(10'000);
    EXPECT_EQ(peer.Command(1, "RF0000").substr(0, 4), "9CFF");
    EXPECT_TRUE(axis->Unpin(0xF0000));
    Wait(10'000);
    EXPECT_EQ(peer.Command(1, "RF0000").substr(0, 4), "E803"); // 1000 again
    // Items the motor does not drive keep what is written there.
    peer.Command(1, "PF00081234");
    EXPECT_EQ(axis->Memory().Value(0xF0008, 2), 0x1234u);
}

TEST_F(SimOperationTest, OperationTableIsExtensible)
{
    axis->Operations().Register("W81", [](int64_t) { return 10u; });
    EXPECT_EQ(W("W81"), "0000000A");
    axis->Operations().SetConstant("L00", 0x0100002A);
    EXPECT_EQ(W("L00"), "0100002A");
    axis->Operations().SetConstant("W31", 1);
    EXPECT_EQ(W("W31"), "00000001");
    axis->RestoreOperation("W31");
    EXPECT_EQ(W("W31"), "00000000");
    axis->RestoreOperation("W81");
    EXPECT_EQ(W("W81"), "00000002");
}

TEST_F(SimOperationTest, ReleaseIsRemembered)
{
    EXPECT_FALSE(axis->Released());
    EXPECT_EQ(W("H1"), "0");
    EXPECT_TRUE(axis->Released());
}
} // namespace
