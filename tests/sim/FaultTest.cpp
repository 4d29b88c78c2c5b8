#include "RawPeer.h"
#include "TestLayout.h"

#include "sim/SimFrame.h"
#include "sim/SimLine.h"

#include <gtest/gtest.h>

namespace {
const std::string EOT(1, char(TSimFrame::EOT));
const std::string ACK(1, char(TSimFrame::ACK));
const std::string NAK(1, char(TSimFrame::NAK));
const std::string ENQ(1, char(TSimFrame::ENQ));

class SimFaultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        line.SetLayoutSource([](uint32_t) { return TestLayout(); });
        line.AddAxis(1, 0x12A, peer.now);
        line.AddAxis(2, 0x12A, peer.now);
    }
    void Fault(const std::vector<std::string> &words)
    {
        std::string error;
        ASSERT_TRUE(line.Axis(1)->Faults().Set(words, line.CharTimeoutMs(), &error)) << error;
    }
    TSimLine line;
    TRawPeer peer{line};
};

// What one try of the program sees under each fault.
struct TFaultCase {
    std::vector<std::string> fault;
    const char *command;
    const char *poll;  // answer to the polling
    const char *text;  // answer text ("<bad>": the check is wrong), nullptr: no frame
    bool ack;
};

class SimFaultCaseTest : public SimFaultTest, public ::testing::WithParamInterface<TFaultCase>
{
};

const TFaultCase faultCases[] = {
    {{"silent"}, "H0", "", nullptr, false},
    {{"nak"}, "H0", "\x15", nullptr, false},
    {{"latepoll"}, "H0", "", nullptr, false}, // EOT after the character time-out
    {{"late"}, "H0", "\x04", nullptr, false}, // frame after the character time-out
    {{"badcheck"}, "H0", "\x04", "<bad>", true},
    {{"empty"}, "H0", "\x04", "", true},
    {{"noack"}, "H0", "\x04", "000012A", false},
    {{"h0form"}, "H0", "\x04", "100012A", true},
    {{"h0form", "short"}, "H0", "\x04", "000012", true},
    {{"h0form", "long"}, "H0", "\x04", "000012A0", true},
    {{"h0form", "nonhex"}, "H0", "\x04", "0G0012A", true},
    {{"h0form"}, "H1", "\x04", "0", true},              // only H0 is spoiled
    {{"badecho"}, "PF80001234", "\x04", "F80001235", true},
    {{"badecho"}, "QF80001234567F", "\x04", "F80001234567E", true},
    {{"badecho"}, "OF800009", "\x04", "F800008", true},
    {{"badecho"}, "RF8000", "\x04", "00010203", true},  // only writes are spoiled
    {{"long", "12"}, "W01", "\x04", "000000000000", true},
};

TEST_P(SimFaultCaseTest, SpoilsTheTryAsNamed)
{
    const TFaultCase &c = GetParam();
    Fault(c.fault);
    const TRawPeer::TTry t = peer.Try(1, c.command);
    EXPECT_EQ(t.poll, c.poll);
    if (c.text) {
        EXPECT_EQ(TRawPeer::TextOf(t.frame), c.text);
    } else {
        EXPECT_EQ(t.frame, "");
    }
    EXPECT_EQ(t.ack, c.ack ? ACK : "");
    // The other axis on the line is not affected.
    EXPECT_EQ(peer.Command(2, "H0"), "000012A");
}

INSTANTIATE_TEST_SUITE_P(Faults, SimFaultCaseTest, ::testing::ValuesIn(faultCases));

TEST_F(SimFaultTest, LateAnswersComeAfterTheTimeOutAndANewPollingDropsThem)
{
    Fault({"late", "500"});
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame("H0"));
    EXPECT_EQ(peer.Receive(300'000), "");
    EXPECT_EQ(TRawPeer::TextOf(peer.Receive(300'000)), "000012A");

    // The program gave up and polls again: the pending late answer is gone.
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame("H0"));
    EXPECT_EQ(peer.Receive(300'000), "");
    peer.Send(ENQ + char(0x92));
    EXPECT_EQ(peer.Receive(1'000'000), EOT); // axis 2 only; axis 1's late frame never comes
}

TEST_F(SimFaultTest, LatePollDefaultsToTwiceTheCharacterTimeOut)
{
    line.SetBaud(38400);
    Fault({"latepoll"});
    EXPECT_EQ(line.Axis(1)->Faults().latePollMs, 150);
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(75'000), "");
    EXPECT_EQ(peer.Receive(100'000), EOT);
}

TEST_F(SimFaultTest, LowerCaseCheckCharacters)
{
    // H0 of code 0x108 answers "0000108" with the check 3A: a letter digit,
    // so lower case shows (answers whose check is all digits pass as they are).
    line.AddAxis(1, 0x108, peer.now);
    Fault({"lowercase"});
    const TRawPeer::TTry t = peer.Try(1, "H0");
    EXPECT_EQ(t.frame, std::string("\x02" "0000108\x03" "3a"));
    EXPECT_EQ(t.ack, ACK);
}

TEST_F(SimFaultTest, LongAnswerOf254TextBytes)
{
    Fault({"long"});
    const TRawPeer::TTry t = peer.Try(1, "MF8000");
    ASSERT_EQ(t.frame.size(), 254u + 4);
    EXPECT_EQ(t.frame.substr(1, 16), "0001020304050607");
    EXPECT_EQ(TRawPeer::TextOf(t.frame).size(), 254u);
}

struct TFailFirstCase {
    std::vector<std::string> fault;
    int spoiled; // tries that fail
};

class SimFailFirstTest : public SimFaultTest, public ::testing::WithParamInterface<TFailFirstCase>
{
};

TEST_P(SimFailFirstTest, OnlyTheFirstTriesFail)
{
    Fault(GetParam().fault);
    for (int i = 0; i < GetParam().spoiled; ++i)
        EXPECT_NE(peer.Command(1, "H0"), "000012A") << "try " << i;
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");
    EXPECT_EQ(line.Axis(1)->Faults().failFirst, 0);
}

INSTANTIATE_TEST_SUITE_P(FailFirst, SimFailFirstTest,
                         ::testing::Values(TFailFirstCase{{"failfirst", "4"}, 4},
                                           TFailFirstCase{{"failfirst", "2", "badcheck"}, 2},
                                           TFailFirstCase{{"failfirst", "1", "noack"}, 1},
                                           TFailFirstCase{{"failfirst", "0"}, 0}));

TEST_F(SimFaultTest, SilentAfterAnswersSomePollingsThenStopsForGood)
{
    Fault({"silentafter", "2"});
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");
    EXPECT_NE(peer.Command(1, "H0"), "000012A");
    EXPECT_NE(peer.Command(1, "H0"), "000012A");
    EXPECT_EQ(line.Axis(1)->Faults().Describe(), "silent");
}

TEST_F(SimFaultTest, SpoiledAnswersStillTakeEffect)
{
    Fault({"badcheck"});
    peer.Try(1, "PF8000BEEF");
    EXPECT_EQ(line.Axis(1)->Memory().Value(0xF8000, 2), 0xBEEFu);
}

TEST_F(SimFaultTest, FaultsCombineAndClearOneByOne)
{
    Fault({"noack"});
    Fault({"badecho"});
    EXPECT_EQ(line.Axis(1)->Faults().Describe(), "noack badecho");
    const TRawPeer::TTry t = peer.Try(1, "OF800009");
    EXPECT_EQ(TRawPeer::TextOf(t.frame), "F800008");
    EXPECT_EQ(t.ack, "");
    EXPECT_TRUE(line.Axis(1)->Faults().Clear("noack"));
    EXPECT_EQ(line.Axis(1)->Faults().Describe(), "badecho");
    EXPECT_FALSE(line.Axis(1)->Faults().Clear("nonsense"));
}

struct TParseCase {
    std::vector<std::string> words;
    bool ok;
    const char *described;
};

class SimFaultParseTest : public ::testing::TestWithParam<TParseCase>
{
};

TEST_P(SimFaultParseTest, ReadsTheControlWords)
{
    TSimFaults f;
    std::string error;
    EXPECT_EQ(f.Set(GetParam().words, 300, &error), GetParam().ok) << error;
    EXPECT_EQ(f.Describe(), GetParam().described);
    if (!GetParam().ok) {
        EXPECT_FALSE(error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Parse, SimFaultParseTest,
    ::testing::Values(TParseCase{{"late"}, true, "late=600"}, TParseCase{{"late", "40"}, true, "late=40"},
                      TParseCase{{"late", "0"}, false, "none"}, TParseCase{{"late", "x"}, false, "none"},
                      TParseCase{{"silent", "1"}, false, "none"}, TParseCase{{"long"}, true, "long=254"},
                      TParseCase{{"h0form", "odd"}, false, "none"}, TParseCase{{"failfirst"}, false, "none"},
                      TParseCase{{"failfirst", "3", "nak"}, false, "none"},
                      TParseCase{{"failfirst", "3", "noack"}, true, "failfirst=3/noack"},
                      TParseCase{{"bogus"}, false, "none"}, TParseCase{{}, false, "none"}));
} // namespace
