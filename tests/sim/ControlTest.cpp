#include "RawPeer.h"
#include "TestLayout.h"

#include "sim/SimControl.h"
#include "sim/SimLine.h"

#include <gtest/gtest.h>

namespace {
class SimControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        line.SetLayoutSource([](uint32_t code) {
            TSimLayout l = TestLayout();
            l.known = code == 0x12A;
            return l;
        });
        line.AddAxis(1, 0x12A, peer.now);
        line.AddAxis(2, 0x12A, peer.now);
    }
    std::string Do(const std::string &command) { return control.Execute(command, peer.now); }

    TSimLine line;
    TRawPeer peer{line};
    bool plugged = true;
    bool quitAsked = false;
    TSimControl control{line, TSimControl::THooks{
                                  [this](std::string *e) {
                                      if (!plugged)
                                          *e = "the cable is already pulled";
                                      return plugged ? !(plugged = false) : false;
                                  },
                                  [this](std::string *) { return plugged = true; },
                                  [this]() { return plugged; },
                                  [this]() { quitAsked = true; },
                                  []() { return std::string("link=/x"); },
                                  nullptr,
                              }};
};

struct TReplyCase {
    const char *command;
    const char *reply; // expected reply, or its beginning when it ends with "*"
};

class SimControlReplyTest : public SimControlTest, public ::testing::WithParamInterface<TReplyCase>
{
};

TEST_P(SimControlReplyTest, Replies)
{
    const std::string expected = GetParam().reply;
    const std::string reply = Do(GetParam().command);
    if (!expected.empty() && expected.back() == '*')
        EXPECT_EQ(reply.substr(0, expected.size() - 1), expected.substr(0, expected.size() - 1)) << reply;
    else
        EXPECT_EQ(reply, expected);
}

const TReplyCase replyCases[] = {
    {"", ""},
    {"# a comment", ""},
    {"status", "ok cable=plugged baud=9600 linetime=off turnaround=1 axes=1:00012A,2:00012A link=/x"},
    {"axis 3 0x0001F0", "ok unknown-model"},
    {"axis 1 12A", "ok TEST-1"},
    {"axis 0 12A", "error axis must be one hexadecimal digit 1..F: 0"},
    {"axis G 12A", "error axis*"},
    {"axis 3 1000000", "error the model code*"},
    {"axis 3 remove", "error no axis 3"},
    {"plant 1", "ok resonance 250.0 Hz zeta 0.050 anti-resonance 176.8 Hz inertia 100%"},
    {"plant 2 320 0.1", "ok resonance 320.0 Hz zeta 0.100*"},
    {"plant * 0", "ok"},
    {"plant 1 -3", "error the resonance*"},
    {"plant 1 300 0", "error the damping*"},
    {"plant * ", "error plant N names one axis"},
    {"plant", "error usage: plant*"},
    {"fault 1 silent", "ok"},
    {"fault * late 40", "ok"},
    {"fault 1 late 0", "error late takes*"},
    {"fault 3 silent", "error no axis 3"},
    {"fault 1 -bogus", "error unknown fault bogus"},
    {"fault 1 bogus", "error unknown fault bogus"},
    {"fault 1", "error usage*"},
    {"faults 1", "ok none"},
    {"alarm 1 21 3", "ok"},
    {"alarm 1 0", "error the alarm code*"},
    {"alarm 1 21 10", "error the state*"},
    {"alarm 1 clear", "ok"},
    {"history 1 21:3 22 23:F", "ok"},
    {"history 1 2G", "error history entries*"},
    {"history 1", "ok"},
    {"monitor 1 SPD 123", "ok"},
    {"monitor 1 spd auto", "ok"},
    {"monitor 1 F0010 5 4", "ok"},
    {"monitor 1 F0010 5 3", "error the length is 1, 2 or 4"},
    {"monitor 1 NOPE 1", "error no monitor item NOPE"},
    {"motion * speed 500", "ok"},
    {"motion 1 sine 100 0", "error usage*"},
    {"motion 1 stop", "ok"},
    {"op 1 3 query=1 time=50", "ok"},
    {"op 1 alarm-reset result=6", "ok"},
    {"op 1 7 query=1", "error usage*"},
    {"op 1 3 speed=1", "error unknown setting speed*"},
    {"op 1 W01 2", "ok"},
    {"op 1 w81 0x0A", "ok"},
    {"op 1 W01 default", "ok"},
    {"op 1 X01 2", "error usage*"},
    {"peek 1 F8000 4", "ok 00010203"},
    {"peek 1 F8000", "ok 0001020304050607"},
    {"peek 1 100000", "error the address*"},
    {"poke 1 100 0A0B", "ok"},
    {"poke 1 100 0A0", "error bytes*"},
    {"reset *", "ok"},
    {"stats 1", "ok polls=0 frames=0 badchecks=0 malformed=0 overlong=0 acks=0 naks=0 writes=0 workwrites=0 released=no"},
    {"stats 1 clear", "ok"},
    {"log 1", "ok"},
    {"linetime on", "ok"},
    {"linetime maybe", "error usage*"},
    {"baud 19200", "ok"},
    {"baud 12", "error usage*"},
    {"turnaround 3", "ok"},
    {"axis0 2", "ok"},
    {"axis0 off", "ok"},
    {"cable", "ok plugged"},
    {"pull", "ok link=/x"},
    {"line", "error not available"},
    {"frobnicate", "error unknown command frobnicate (try help)"},
};

INSTANTIATE_TEST_SUITE_P(Commands, SimControlReplyTest, ::testing::ValuesIn(replyCases));

TEST_F(SimControlTest, CommandsChangeWhatTheLineDoes)
{
    EXPECT_EQ(Do("fault 2 nak"), "ok");
    EXPECT_EQ(peer.Try(2, "H0").poll, "\x15");
    EXPECT_EQ(Do("faults 2"), "ok nak");
    EXPECT_EQ(Do("fault 2 -nak"), "ok");
    EXPECT_EQ(peer.Command(2, "H0"), "000012A");

    EXPECT_EQ(Do("fault * silent"), "ok");
    EXPECT_EQ(peer.Try(1, "H0").poll, "");
    EXPECT_EQ(peer.Try(2, "H0").poll, "");
    EXPECT_EQ(Do("fault * none"), "ok");

    EXPECT_EQ(Do("poke 1 F8010 DEADBEEF"), "ok");
    EXPECT_EQ(peer.Command(1, "RF8010"), "DEADBEEF");
    EXPECT_EQ(Do("reset 1"), "ok");
    EXPECT_EQ(peer.Command(1, "RF8010"), "10111213");

    EXPECT_EQ(Do("op 1 W01 2"), "ok");
    EXPECT_EQ(peer.Command(1, "W01"), "00000002");
    EXPECT_EQ(Do("op 1 1 query=1"), "ok");
    EXPECT_EQ(peer.Command(1, "W11"), "00000001");

    EXPECT_EQ(Do("monitor 1 SPD -100"), "ok");
    EXPECT_EQ(peer.Command(1, "RF0000").substr(0, 4), "9CFF");

    EXPECT_EQ(Do("fault 1 alarm 2A 4"), "ok");
    EXPECT_EQ(Do("faults 1"), "ok none alarm=2A");
    EXPECT_EQ(peer.Command(1, "RF8600").substr(0, 2), "2A");
    EXPECT_EQ(Do("fault 1 -alarm"), "ok");
    EXPECT_EQ(peer.Command(1, "RF8600").substr(0, 2), "00");

    EXPECT_EQ(Do("axis 4 ABC"), "ok unknown-model");
    EXPECT_EQ(peer.Command(4, "H0"), "0000ABC");
    EXPECT_EQ(Do("axis 4 remove"), "ok");
    EXPECT_EQ(peer.Try(4, "H0").poll, "");

    EXPECT_EQ(Do("log 1 clear"), "ok");
    EXPECT_EQ(Do("stats 1 clear"), "ok");
    peer.Command(1, "H0");
    peer.Command(1, "MF8000");
    peer.Try(1, "H1", "00");
    EXPECT_EQ(Do("log 1"), "ok H0 MF8000");
    EXPECT_EQ(Do("stats 1"), "ok polls=3 frames=2 badchecks=1 malformed=0 overlong=0 acks=2 naks=0 writes=0 "
                             "workwrites=0 released=no");
}

TEST_F(SimControlTest, CableAndQuitGoThroughTheHooks)
{
    EXPECT_EQ(Do("pull"), "ok link=/x");
    EXPECT_EQ(Do("cable"), "ok pulled");
    EXPECT_EQ(Do("pull"), "error the cable is already pulled");
    EXPECT_EQ(Do("plug"), "ok link=/x");
    EXPECT_EQ(Do("quit"), "ok bye");
    EXPECT_TRUE(quitAsked);
}

TEST_F(SimControlTest, ConfiguredLineTimeShowsInStatus)
{
    Do("linetime on");
    Do("baud 57600");
    Do("turnaround 2");
    EXPECT_EQ(Do("status"), "ok cable=plugged baud=57600 linetime=on turnaround=2 axes=1:00012A,2:00012A link=/x");
    EXPECT_TRUE(line.LineTime());
    EXPECT_EQ(line.TurnaroundUs(), 2000);
}

TEST(SimControlNumbers, ParseHexAndNumbers)
{
    uint32_t h = 0;
    EXPECT_TRUE(TSimControl::ParseHex("0x12a", 0xFFFFFF, h));
    EXPECT_EQ(h, 0x12Au);
    EXPECT_FALSE(TSimControl::ParseHex("1000000", 0xFFFFFF, h));
    EXPECT_FALSE(TSimControl::ParseHex("", 0xFF, h));
    EXPECT_FALSE(TSimControl::ParseHex("0x", 0xFF, h));
    int64_t n = 0;
    EXPECT_TRUE(TSimControl::ParseNumber("-0x10", n));
    EXPECT_EQ(n, -16);
    EXPECT_TRUE(TSimControl::ParseNumber("42", n));
    EXPECT_FALSE(TSimControl::ParseNumber("4 2", n));
    EXPECT_FALSE(TSimControl::ParseNumber("-", n));
}
} // namespace
