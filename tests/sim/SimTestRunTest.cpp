// The simulator's JOG test-run mode on its own: the watchdog, the replies of
// each state and the pulse feed's exact travel.
#include "sim/SimAlarms.h"
#include "sim/SimMemory.h"
#include "sim/SimMotion.h"
#include "sim/SimOperations.h"
#include "sim/SimTestRun.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t C = 0xF9800;
constexpr int64_t Ms = 1000;

class SimTestRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The current alarm lives in memory, as on an amplifier.
        alarms.Attach(&memory, 0xF9000u, std::nullopt);
        run.Install(ops);
        run.Reset(0);
    }
    uint32_t Send(const std::string &code, int64_t at) { return ops.Dispatch(code, at); }
    std::string Ctl(const std::string &line, int64_t at = 0)
    {
        std::vector<std::string> words;
        size_t from = 0;
        while (from < line.size()) {
            const size_t sp = std::min(line.find(' ', from), line.size());
            words.push_back(line.substr(from, sp - from));
            from = sp + 1;
        }
        std::string reply;
        return run.Control(words, at, reply) ? "ok " + reply : "error " + reply;
    }

    TSimMemory memory;
    TSimMotion motion{0};
    TSimAlarms alarms;
    TSimOperations ops;
    TSimTestRun run{memory, motion, alarms, C};
};

TEST_F(SimTestRunTest, JogMovesOnlyWhileItsCommandsArrive)
{
    EXPECT_EQ(Send("W84", 0), 8u); // servo off: refused
    EXPECT_EQ(Send("W83", 0), 0u);
    EXPECT_TRUE(run.ServoOn());
    EXPECT_EQ(Send("W84", 10 * Ms), 0u);
    EXPECT_EQ(run.Jog(), TSimTestRun::TDirection::Forward);
    EXPECT_EQ(motion.Mode(), TSimMotion::TMode::Speed);
    for (int64_t t = 50; t <= 500; t += 50)
        ASSERT_EQ(Send("W84", t * Ms), 0u);
    motion.Update(500 * Ms);
    EXPECT_GT(motion.Value(TSimQuantity::Speed), 0.0);
    // Commands stop coming: the watchdog stops the motor.
    ops.Tick(500 * Ms + run.WatchdogUs() - Ms);
    EXPECT_EQ(run.Jog(), TSimTestRun::TDirection::Forward);
    ops.Tick(500 * Ms + run.WatchdogUs() + Ms);
    EXPECT_EQ(run.Jog(), TSimTestRun::TDirection::None);
    EXPECT_EQ(motion.Mode(), TSimMotion::TMode::Stop);

    // The idle poll stops it at once.
    EXPECT_EQ(Send("W85", 1000 * Ms), 0u);
    EXPECT_EQ(run.Jog(), TSimTestRun::TDirection::Reverse);
    EXPECT_EQ(Send("W83", 1001 * Ms), 0u);
    EXPECT_EQ(run.Jog(), TSimTestRun::TDirection::None);
}

TEST_F(SimTestRunTest, RepliesOfEachState)
{
    Send("W83", 0);
    Ctl("overtravel fwd");
    EXPECT_EQ(Send("W84", Ms), 9u);
    EXPECT_EQ(Send("W85", Ms), 0u);
    EXPECT_TRUE(run.ServoOn());
    Ctl("overtravel none");
    alarms.Raise(0x10, 1, 2 * Ms);
    EXPECT_EQ(Send("W85", 2 * Ms), 7u);
    EXPECT_FALSE(run.ServoOn());
    EXPECT_EQ(Send("W83", 3 * Ms), 7u);
    alarms.Reset();
    EXPECT_EQ(Send("W83", 4 * Ms), 0u);
    EXPECT_EQ(Send("W80", 5 * Ms), 0u);
    EXPECT_EQ(run.Kind(), -1);
    EXPECT_FALSE(run.ServoOn());
}

TEST_F(SimTestRunTest, PulseFeedTravelsExactlyTheFeedAmount)
{
    memory.SetValue(C + 4, 2000, 4);
    memory.SetValue(C, 600, 2); // 600 r/min = 100000 pulses/s: 20 ms
    Send("W93", 0);
    EXPECT_EQ(Send("W94", 0), 0u);
    EXPECT_TRUE(run.Feeding());
    EXPECT_EQ(Send("W96", 10 * Ms), 0u);
    EXPECT_EQ(int32_t(memory.Value(C + 8, 4)), 1000);
    EXPECT_GT(int32_t(memory.Value(C + 12, 4)), 0); // deviation while it moves
    EXPECT_EQ(Send("W96", 30 * Ms), 12u);
    EXPECT_EQ(int32_t(memory.Value(C + 8, 4)), 2000);
    EXPECT_EQ(memory.Value(C + 12, 4), 0u);
    EXPECT_EQ(Send("W95", 40 * Ms), 0u);
    EXPECT_EQ(Send("W97", 70 * Ms), 12u);
    EXPECT_EQ(memory.Value(C + 8, 4), 0u);

    // The stop ends a feed on the spot and clears the deviation.
    memory.SetValue(C + 4, 1000000, 4);
    EXPECT_EQ(Send("W94", 100 * Ms), 0u);
    EXPECT_EQ(Send("W98", 110 * Ms), 0u);
    EXPECT_FALSE(run.Feeding());
    EXPECT_EQ(memory.Value(C + 12, 4), 0u);
    EXPECT_EQ(int32_t(memory.Value(C + 8, 4)), 1000);
}

TEST_F(SimTestRunTest, SettingsThatAllowNoFeed)
{
    Send("W93", 0);
    struct TCase {
        uint32_t amount, speed, reply;
    };
    for (const TCase c : {TCase{0, 100, 11}, TCase{100, 0, 11}, TCase{100, 40000, 11}, TCase{100, 100, 0}}) {
        memory.SetValue(C + 4, c.amount, 4);
        memory.SetValue(C, c.speed, 2);
        EXPECT_EQ(Send("W94", Ms), c.reply) << c.amount << " " << c.speed;
        Send("W98", Ms);
    }
}

TEST_F(SimTestRunTest, ForcedRepliesComeFirstThenTheModel)
{
    EXPECT_EQ(Ctl("W81 10,10,0"), "ok ");
    EXPECT_EQ(Send("W81", 0), 10u);
    EXPECT_EQ(Send("W81", 0), 10u);
    EXPECT_EQ(Send("W81", 0), 0u);
    EXPECT_EQ(Send("W81", 0), 0u);
    EXPECT_EQ(Ctl("W84 x").substr(0, 5), "error");
    EXPECT_EQ(Ctl("W99 1").substr(0, 5), "error");
    EXPECT_EQ(Ctl("watchdog 0").substr(0, 5), "error");
    EXPECT_EQ(Ctl("overtravel up").substr(0, 5), "error");
    EXPECT_EQ(Ctl("").substr(0, 9), "ok kind=0");
}

TEST(SimTestRunWithoutArea, AnswersNotUsable)
{
    TSimMemory memory;
    TSimMotion motion{0};
    TSimAlarms alarms;
    TSimOperations ops;
    TSimTestRun run{memory, motion, alarms, std::nullopt};
    run.Install(ops);
    run.Reset(0);
    EXPECT_EQ(ops.Dispatch("W81", 0), 2u);
    EXPECT_EQ(ops.Dispatch("W91", 0), 2u);
}

} // namespace
