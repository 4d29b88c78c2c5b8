// The simulator's tunings on their own: what each plant makes of a tuning,
// the replies of each state, the cancel, and the result save's area.
#include "sim/SimAlarms.h"
#include "sim/SimMemory.h"
#include "sim/SimMotion.h"
#include "sim/SimOperations.h"
#include "sim/SimPlant.h"
#include "sim/SimTuning.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t C = 0xF9800;
constexpr int64_t Ms = 1000;

class SimTuningTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        alarms.Attach(&memory, 0xF9F00u, std::nullopt);
        tuning.Install(ops);
        tuning.Reset(0);
        tuning.SetDurationMs(2, 100);
        tuning.SetDurationMs(5, 200);
        memory.SetValue(C, 100, 2); // torque command
    }
    uint32_t Send(const std::string &code, int64_t at) { return ops.Dispatch(code, at); }
    bool Ctl(const std::vector<std::string> &words, int64_t at = 0)
    {
        std::string reply;
        return tuning.Control(words, at, reply);
    }
    void SetPlant(double hz)
    {
        TSimPlant::TParameters p = plant.Parameters();
        p.resonanceHz = hz;
        plant.SetParameters(p);
    }
    // Servo on, start, and progress polls every 10 ms until the tuning ends;
    // the last reply.
    uint32_t RunTuning(char letter, int64_t &at)
    {
        const std::string f(1, letter);
        EXPECT_EQ(Send("W" + f + "1", at), 0u);
        EXPECT_EQ(Send("W" + f + "3", at), 0u);
        EXPECT_EQ(Send("W" + f + "4", at), 0u);
        uint32_t reply = 4;
        for (int i = 0; i < 1000 && reply == 4; ++i) {
            at += 10 * Ms;
            ops.Tick(at);
            reply = Send("W" + f + "6", at);
        }
        return reply;
    }
    uint16_t Word(uint32_t offset) { return uint16_t(memory.Value(C + offset, 2)); }

    TSimMemory memory;
    TSimMotion motion{0};
    TSimAlarms alarms;
    TSimPlant plant{TSimPlant::DefaultFor(1)};
    TSimOperations ops;
    TSimTuning tuning{memory, plant, motion, alarms, C};
};

TEST_F(SimTuningTest, ResultFollowsThePlant)
{
    struct TCase {
        const char *what;
        char letter;
        double resonance;
        int torque;
        int friction;
        uint32_t reply;
        int result;
    } cases[] = {
        {"notch at the resonance", 'A', 320, 100, 0, 5, 320},
        {"notch rounds to whole Hz", 'A', 320.6, 100, 0, 5, 321},
        {"notch of a pure gain finds nothing", 'A', 0, 100, 0, 6, -1},
        {"notch below its range", 'A', 60, 100, 0, 6, -1},
        {"notch without excitation", 'A', 320, 0, 0, 6, -1},
        {"frequency at the anti-resonance", 'D', 250, 100, 0, 5, 177},
        {"frequency with the largest compensation", 'D', 400, 100, 50, 5, 283},
        {"frequency refuses a compensation of 51", 'D', 400, 100, 51, 6, -1},
    };
    int64_t at = 0;
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.what);
        SetPlant(c.resonance);
        memory.SetValue(C, uint32_t(c.torque), 2);
        memory.SetValue(C + 4, 0xAAAA, 2);
        memory.SetValue(C + 6, uint32_t(c.friction), 2);
        EXPECT_EQ(RunTuning(c.letter, at), c.reply);
        EXPECT_EQ(Word(4), c.result < 0 ? 0xAAAA : c.result) << "the result word is written only on success";
        EXPECT_FALSE(tuning.ServoOn()) << "the tuning ends with the servo off";
        EXPECT_EQ(Send(std::string("W") + c.letter + "0", at), 0u);
    }
}

TEST_F(SimTuningTest, RepliesOfEachState)
{
    // Start without the servo, with an alarm; progress without a tuning.
    EXPECT_EQ(Send("WA1", 0), 0u);
    EXPECT_EQ(Send("WA4", 0), 8u);
    EXPECT_EQ(Send("WA6", 0), 1u);
    alarms.Raise(0x21, 1, 0);
    EXPECT_EQ(Send("WA3", 0), 7u);
    EXPECT_FALSE(tuning.ServoOn());
    alarms.Reset();
    EXPECT_EQ(Send("WA3", 0), 0u);
    EXPECT_EQ(Send("WA4", 0), 0u);
    EXPECT_EQ(Send("WA6", 50 * Ms), 4u);
    // An alarm during the tuning fails it.
    alarms.Raise(0x21, 1, 0);
    EXPECT_EQ(Send("WA6", 60 * Ms), 6u);
    EXPECT_FALSE(tuning.ServoOn());
    alarms.Reset();

    // Forced replies come first, in order, then the plant's again.
    ASSERT_TRUE(Ctl({"WD6", "4,4,9"}));
    EXPECT_EQ(Send("WD6", 0), 4u);
    EXPECT_EQ(Send("WD6", 0), 4u);
    EXPECT_EQ(Send("WD6", 0), 9u);
    EXPECT_EQ(Send("WD6", 0), 1u);
    // A forced result word replaces the plant's.
    ASSERT_TRUE(Ctl({"result", "0xFFFE"}));
    int64_t at = 1000 * Ms;
    EXPECT_EQ(RunTuning('A', at), 5u);
    EXPECT_EQ(Word(4), 0xFFFE);
    EXPECT_FALSE(Ctl({"result", "65536"}));
    EXPECT_FALSE(Ctl({"time", "notch", "-1"}));
    EXPECT_FALSE(Ctl({"WX6", "1"}));
}

TEST_F(SimTuningTest, LeavingTheProgressPollCancels)
{
    tuning.SetDurationMs(5, 30000);
    // The program's idle poll after a cancel, and a program that went quiet.
    const char *const idle[] = {"WD1", "WD3"};
    int64_t at = 0;
    for (const char *code : idle) {
        SCOPED_TRACE(code);
        const int before = tuning.Cancelled();
        ASSERT_EQ(Send("WD3", at), 0u);
        ASSERT_EQ(Send("WD4", at), 0u);
        ASSERT_EQ(Send("WD6", at + 100 * Ms), 4u);
        EXPECT_EQ(tuning.Run(), TSimTuning::TRun::Running);
        Send(code, at + 200 * Ms);
        EXPECT_EQ(tuning.Run(), TSimTuning::TRun::Idle);
        EXPECT_EQ(tuning.Cancelled(), before + 1);
        EXPECT_EQ(Send("WD6", at + 300 * Ms), 1u) << "nothing runs any more";
        at += 1000 * Ms;
    }
    ASSERT_EQ(Send("WD3", at), 0u);
    ASSERT_EQ(Send("WD4", at), 0u);
    ops.Tick(at + 4000 * Ms);
    EXPECT_EQ(tuning.Run(), TSimTuning::TRun::Running);
    ops.Tick(at + 6000 * Ms);
    EXPECT_EQ(tuning.Run(), TSimTuning::TRun::Idle) << "no progress request for seconds stops the excitation";
}

TEST_F(SimTuningTest, ResultSaveWritesTheChosenParametersOnly)
{
    // Which stored word each choice overwrites (KP1, KVP1, TVI1, TCFIL1, JRAT1).
    const bool chosen[5][5] = {{true, true, true, true, true},
                               {false, true, true, true, true},
                               {false, false, false, false, true},
                               {true, true, true, true, false},
                               {false, true, true, true, false}};
    const TSimTuning::TGains start{11, 12, 13, 14, 15};
    for (int choice = 0; choice < 5; ++choice) {
        SCOPED_TRACE(choice);
        ASSERT_TRUE(Ctl({"save", "stored=11,12,13,14,15", "choice=" + std::to_string(choice), "mode=0"}));
        int64_t at = choice * 100000 * Ms;
        ASSERT_EQ(Send("W71", at), 0u);
        EXPECT_EQ(memory.Byte(C + 3), choice);
        // Long enough for the gains to arrive at their targets.
        ops.Tick(at + 60000 * Ms);
        const TSimTuning::TGains target = tuning.Targets(memory.Byte(C + 2));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Word(8 + 2 * uint32_t(i)), target[size_t(i)]) << i;
        ASSERT_EQ(Send("W74", at + 60000 * Ms), 0u);
        for (int i = 0; i < 5; ++i) {
            const uint16_t expected = chosen[choice][i] ? target[size_t(i)] : start[size_t(i)];
            EXPECT_EQ(tuning.Stored()[size_t(i)], expected) << i;
            EXPECT_EQ(Word(18 + 2 * uint32_t(i)), expected) << i;
        }
        EXPECT_EQ(Send("W70", at + 60001 * Ms), 0u);
    }
}

TEST_F(SimTuningTest, ResultSaveModeGivesItsAreaBack)
{
    for (uint32_t i = 0; i < 28; ++i)
        memory.SetByte(C + i, uint8_t(0xA0 + i));
    ASSERT_TRUE(Ctl({"save", "mode=1", "char=7", "resp=12", "choice=3"}));
    ASSERT_EQ(Send("W71", 0), 0u);
    EXPECT_EQ(memory.Byte(C), 1);
    EXPECT_EQ(memory.Byte(C + 1), 7);
    EXPECT_EQ(memory.Byte(C + 2), 12);
    EXPECT_EQ(memory.Byte(C + 3), 3);
    // The program changes choice and responsiveness for the session.
    memory.SetValue(C + 2, 4u << 8 | 20u, 2);
    ASSERT_EQ(Send("W71", 1000 * Ms), 0u);
    ASSERT_EQ(Send("W70", 2000 * Ms), 0u);
    for (uint32_t i = 0; i < 28; ++i)
        EXPECT_EQ(memory.Byte(C + i), 0xA0 + i) << i;
    // The choice stays; the responsiveness goes back to its setting.
    ASSERT_EQ(Send("W71", 3000 * Ms), 0u);
    EXPECT_EQ(memory.Byte(C + 3), 4);
    EXPECT_EQ(memory.Byte(C + 2), 12);

    // Manual tuning: nothing to save, the gains stay at the parameters.
    ASSERT_EQ(Send("W70", 3000 * Ms), 0u);
    ASSERT_TRUE(Ctl({"save", "mode=2", "stored=30,40,200,200,50"}));
    ASSERT_EQ(Send("W71", 4000 * Ms), 0u);
    ops.Tick(30000 * Ms);
    EXPECT_EQ(Word(8), 30);
    EXPECT_EQ(Send("W74", 30000 * Ms), 1u);
    EXPECT_EQ(tuning.Saves(), 0);
}

} // namespace
