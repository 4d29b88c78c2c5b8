// The protocol engine against the simulator program: both written from the
// same description by different hands, so each catches the other's mistakes.
#include "SimProcess.h"

#include "comm/TranAmp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr int Baud = 57600; // character time-out 75 ms: a silent axis costs 375 ms
const int Axes[] = {1, 2, 0xA};
constexpr int32_t Codes[] = {0xA101, 0xA102, 0xC201};

class SimEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        link = dir.filePath("ttyAMP").toStdString();
        const std::string socket = dir.filePath("ctl").toStdString();
        ASSERT_TRUE(sim.Start({"--link", link, "--control", socket, "--db",
                               std::string(TUVANTA_BIN_DIR) + "/Sample.ad0", "--baud", std::to_string(Baud),
                               "--still", "--no-stdin", "--op-time", "100", "--axis", "1=A101", "--axis", "2=A102",
                               "--axis", "A=C201"}));
        ASSERT_TRUE(control.Connect(socket));
        Open();
    }
    void Open()
    {
        engine.SetDevicePath(QString::fromStdString(link));
        engine.OpenPort(Baud, 1);
        ASSERT_TRUE(engine.PortOpen()) << engine.LastOpenError().toStdString();
        engine.SetRts(true);
    }
    std::string Ask(const std::string &command)
    {
        const std::string reply = control.Ask(command);
        EXPECT_EQ(reply.substr(0, 2), "ok") << command << ": " << reply;
        return reply;
    }
    // Polls the axis has seen since the counters were cleared.
    int Polls(int axis)
    {
        const std::string s = control.Ask("stats " + std::string(1, "0123456789ABCDEF"[axis]));
        return std::stoi(s.substr(s.find("polls=") + 6));
    }

    QTemporaryDir dir;
    std::string link;
    TSimProcess sim;
    TControlClient control;
    TTranAmp engine;
};

TEST_F(SimEngineTest, EveryCommandRoundTripsOnThreeAxes)
{
    for (size_t i = 0; i < std::size(Axes); ++i) {
        const int axis = Axes[i];
        SCOPED_TRACE("axis " + std::to_string(axis));
        int32_t code = 0;
        ASSERT_EQ(engine.CmdH0(axis, code), trOk);
        EXPECT_EQ(code, Codes[i]);

        std::array<uint8_t, 8> m{};
        ASSERT_EQ(engine.CmdM(axis, 0xFA000, m), trOk);
        EXPECT_EQ(std::string(m.begin(), m.end()), i == 2 ? "TVC-M05 " : (i == 0 ? "TVA-S10A" : "TVA-S20A"));

        // Writes carry the value most significant byte first; memory and
        // reads have the least significant byte at the address.
        std::array<uint8_t, 4> r{};
        ASSERT_EQ(engine.CmdP(axis, 0xF8100, 0x12, 0x34), trOk);
        ASSERT_EQ(engine.CmdQ(axis, 0xF8102, 0x89, 0xAB, 0xCD, 0xEF), trOk);
        ASSERT_EQ(engine.CmdR(axis, 0xF8100, r), trOk);
        EXPECT_EQ(r, (std::array<uint8_t, 4>{0x34, 0x12, 0xEF, 0xCD}));
        ASSERT_EQ(engine.CmdO(axis, 0xF8101, 0x5A), trOk);
        ASSERT_EQ(engine.CmdR(axis, 0xF80FF, r), trOk); // odd address
        EXPECT_EQ(r[2], 0x5A);
        ASSERT_EQ(engine.CmdY(axis, 0xF9800, 0xFF, 0xFE), trOk);
        ASSERT_EQ(engine.CmdZ(axis, 0xF9804, 0x00, 0x01, 0x02, 0x03), trOk);
        ASSERT_EQ(engine.CmdM(axis, 0xF9800, m), trOk);
        EXPECT_EQ(m, (std::array<uint8_t, 8>{0xFE, 0xFF, 0, 0, 0x03, 0x02, 0x01, 0x00}));
        ASSERT_EQ(engine.CmdM(axis, 0xFFFFC, m), trOk); // the last bytes, then wrapping

        uint32_t v = 99;
        ASSERT_EQ(engine.CmdW(axis, 0x01, v), trOk);
        EXPECT_EQ(v, 0u); // trace usable
        // The test-run mode's own replies are checked by its tests; here the
        // exchange itself is what counts.
        ASSERT_EQ(engine.CmdW(axis, 0x81, v), trOk);
        uint8_t s = 0;
        uint32_t n = 1;
        ASSERT_EQ(engine.CmdL(axis, 0x00, s, n), trOk);
        EXPECT_EQ(s, 4);
        EXPECT_EQ(n, 0u);
        ASSERT_EQ(engine.CmdH1(axis), trOk);
    }
    EXPECT_NE(Ask("stats A").find("released=yes"), std::string::npos);
    // O at the odd address replaced the high byte of the P value.
    EXPECT_EQ(Ask("peek 2 F8100 6"), "ok 345AEFCDAB89");
}

TEST_F(SimEngineTest, AdjustmentRunsToItsEnd)
{
    Ask("alarm 1 21 3");
    uint32_t v = 0;
    ASSERT_EQ(engine.CmdW(1, 0x31, v), trOk);
    EXPECT_EQ(v, 0u);
    ASSERT_EQ(engine.CmdW(1, 0x32, v), trOk);
    EXPECT_EQ(v, 0u);
    QElapsedTimer timer;
    timer.start();
    do {
        ASSERT_EQ(engine.CmdW(1, 0x33, v), trOk);
    } while (v == 4 && timer.elapsed() < 5000);
    EXPECT_EQ(v, 5u);
    ASSERT_EQ(engine.CmdW(1, 0x30, v), trOk);
    std::array<uint8_t, 8> m{};
    ASSERT_EQ(engine.CmdM(1, 0xF9F00, m), trOk);
    EXPECT_EQ(m[0], 0); // the alarm is reset
}

struct TFaultCase {
    const char *fault;
    const char *command; // H0, P, M, W81
    TTranResult result;
    int polls; // pollings the engine makes
};

class SimEngineFaultTest : public SimEngineTest, public ::testing::WithParamInterface<TFaultCase>
{
};

TEST_P(SimEngineFaultTest, GivesTheEngineResult)
{
    const TFaultCase &c = GetParam();
    Ask("op 2 W81 8"); // "00000008" has the check 0B: lower case shows
    Ask("stats 2 clear");
    Ask(std::string("fault 2 ") + c.fault);
    const std::string command = c.command;
    auto run = [&]() {
        if (command == "H0") {
            int32_t code = 0;
            return engine.CmdH0(2, code);
        }
        if (command == "P")
            return engine.CmdP(2, 0xF8100, 0x12, 0x34);
        if (command == "M") {
            std::array<uint8_t, 8> m{};
            return engine.CmdM(2, 0xF8000, m);
        }
        uint32_t v = 0;
        return engine.CmdW(2, 0x81, v);
    };
    EXPECT_EQ(run(), c.result);
    EXPECT_EQ(Polls(2), c.polls);
    // Nothing sticks: the same command works once the fault is off.
    Ask("fault 2 none");
    EXPECT_EQ(run(), trOk);
    int32_t code = 0;
    EXPECT_EQ(engine.CmdH0(1, code), trOk);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimEngineFaultTest,
    ::testing::Values(TFaultCase{"silent", "H0", trTimeout, 5}, TFaultCase{"nak", "H0", trNak, 1},
                      TFaultCase{"latepoll 120", "H0", trTimeout, 5}, TFaultCase{"late 120", "H0", trCommError, 5},
                      TFaultCase{"badcheck", "H0", trCommError, 5}, TFaultCase{"lowercase", "W81", trCommError, 5},
                      TFaultCase{"empty", "H0", trCommError, 5}, TFaultCase{"long", "M", trCommError, 5},
                      TFaultCase{"long 253", "M", trOk, 1}, TFaultCase{"long 9", "W81", trCommError, 1},
                      TFaultCase{"noack", "P", trCommError, 5}, TFaultCase{"badecho", "P", trCommError, 1},
                      TFaultCase{"h0form first", "H0", trCommError, 1}, TFaultCase{"h0form short", "H0", trCommError, 1},
                      TFaultCase{"h0form long", "H0", trCommError, 1}, TFaultCase{"h0form nonhex", "H0", trCommError, 1},
                      TFaultCase{"failfirst 4", "H0", trOk, 5}, TFaultCase{"failfirst 5", "H0", trTimeout, 5},
                      TFaultCase{"failfirst 2 badcheck", "M", trOk, 3}, TFaultCase{"failfirst 1 noack", "P", trOk, 2},
                      TFaultCase{"alarm 41 2", "M", trOk, 1}));

TEST_F(SimEngineTest, ActiveAlarmIsReadLikeAnyMemory)
{
    Ask("fault 1 alarm 41 2");
    std::array<uint8_t, 8> m{};
    ASSERT_EQ(engine.CmdM(1, 0xF9F00, m), trOk);
    EXPECT_EQ(m[0], 0x41);
    EXPECT_EQ(m[1] >> 4, 2);
}

TEST_F(SimEngineTest, CablePullAndPlug)
{
    int32_t code = 0;
    ASSERT_EQ(engine.CmdH0(1, code), trOk);
    EXPECT_TRUE(engine.CtsOn());
    Ask("pull");
    QElapsedTimer timer;
    timer.start();
    while (engine.CtsOn() && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(engine.CtsOn());
    EXPECT_EQ(engine.CmdH0(1, code), trTimeout);
    engine.ClosePort();

    engine.OpenPort(Baud, 1);
    EXPECT_FALSE(engine.PortOpen()); // nothing to open while the cable is out

    Ask("plug");
    Open();
    EXPECT_TRUE(engine.CtsOn());
    ASSERT_EQ(engine.CmdH0(1, code), trOk);
    EXPECT_EQ(code, 0xA101);
}

TEST_F(SimEngineTest, LineResetAndDirectModeAxisZero)
{
    engine.ResetLine();
    int32_t code = 0;
    EXPECT_EQ(engine.CmdH0(0, code), trTimeout); // nobody answers 0x90 unless asked
    Ask("axis0 2");
    ASSERT_EQ(engine.CmdH0(0, code), trOk);
    EXPECT_EQ(code, 0xA102);
    ASSERT_EQ(engine.CmdH0(1, code), trOk);
    EXPECT_EQ(code, 0xA101);
}
} // namespace
