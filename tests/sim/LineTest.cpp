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

class SimLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        line.SetLayoutSource([](uint32_t) { return TestLayout(); });
        line.AddAxis(1, 0x12A, peer.now);
        line.AddAxis(2, 0xABCDEF, peer.now);
        line.AddAxis(15, 0x000001, peer.now);
    }
    TSimLine line;
    TRawPeer peer{line};
};

struct TCommandCase {
    const char *command;
    const char *answer;
};

class SimCommandTest : public SimLineTest, public ::testing::WithParamInterface<TCommandCase>
{
};

// Reads and identification; the parameter area holds 0x00, 0x01, ... from 0xF8000.
const TCommandCase commandCases[] = {
    {"H0", "000012A"},
    {"H1", "0"},
    {"R00000", "00000000"},
    {"RF8000", "00010203"},
    {"RF8003", "03040506"},             // odd address
    {"MF8001", "0102030405060708"},     // odd address, eight bytes
    {"MF801C", "1C1D1E1F00000000"},     // past the area: zero memory
    {"MFFFFC", "0000000000000000"},     // wraps to 00000
    {"RF8700", "54455354"},             // "TEST"
    {"W01", "00000000"},                // operation trace usable
    {"W11", "00000000"},                // V-REF offset usable
    {"W81", "00000002"},                // not usable (no handler yet)
    {"WA1", "00000002"},
    {"L00", "04000000"},                // no trace data
};

TEST_P(SimCommandTest, AnswersAsTheCommandTableSays)
{
    EXPECT_EQ(peer.Command(1, GetParam().command), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Commands, SimCommandTest, ::testing::ValuesIn(commandCases));

struct TWriteCase {
    const char *command;
    uint32_t address;
    std::vector<uint8_t> bytes; // memory from address on, afterwards
    bool work;
};

class SimWriteTest : public SimLineTest, public ::testing::WithParamInterface<TWriteCase>
{
};

// Data digits come most significant first; memory keeps the least
// significant byte at the lowest address.
const TWriteCase writeCases[] = {
    {"OF800AAB", 0xF800A, {0xAB, 0x0B}, false},
    {"OF800BAB", 0xF800A, {0x0A, 0xAB}, false},
    {"PF80101234", 0xF8010, {0x34, 0x12, 0x12}, false},
    {"PF80111234", 0xF8010, {0x10, 0x34, 0x12, 0x13}, false}, // odd address too
    {"QF801012345678", 0xF8010, {0x78, 0x56, 0x34, 0x12, 0x14}, false},
    {"Y00100FFFE", 0x00100, {0xFE, 0xFF}, true},
    {"Z00100FFFFFF80", 0x00100, {0x80, 0xFF, 0xFF, 0xFF}, true},
    {"PFFFFFABCD", 0xFFFFF, {0xCD}, false}, // the high byte wraps to 00000
};

TEST_P(SimWriteTest, EchoesAndStoresLeastSignificantByteFirst)
{
    const TWriteCase &c = GetParam();
    const std::string command = c.command;
    EXPECT_EQ(peer.Command(1, command), command.substr(1));
    EXPECT_EQ(line.Axis(1)->Memory().Read(c.address, int(c.bytes.size())), c.bytes);
    const TSimAxisStats &s = line.Axis(1)->Stats();
    EXPECT_EQ(s.workWrites, c.work ? 1u : 0u);
    EXPECT_EQ(s.persistentWrites, c.work ? 0u : 1u);
    // A retried write leaves the same memory.
    EXPECT_EQ(peer.Command(1, command), command.substr(1));
    EXPECT_EQ(line.Axis(1)->Memory().Read(c.address, int(c.bytes.size())), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Writes, SimWriteTest, ::testing::ValuesIn(writeCases));

TEST_F(SimLineTest, WrappedWriteReachesAddressZero)
{
    EXPECT_EQ(peer.Command(1, "PFFFFFABCD"), "FFFFFABCD");
    EXPECT_EQ(line.Axis(1)->Memory().Byte(0), 0xAB);
}

class SimMalformedTest : public SimLineTest, public ::testing::WithParamInterface<const char *>
{
};

// A frame with a correct check but no valid command is answered with
// nothing, like a bad frame: the program sends upper-case hexadecimal and
// exact lengths, and a mistake there must not look like success.
const char *malformed[] = {"h0", "H2", "H00", "R1234", "R123456", "Rf8000", "M0000G", "OF80001", "OF8000123",
                           "PF800012", "QF8000123456", "W1", "W011", "w01", "WG1", "L0", "X", "", "M F800"};

TEST_P(SimMalformedTest, GetsNoAnswer)
{
    const TRawPeer::TTry t = peer.Try(1, GetParam());
    EXPECT_EQ(t.poll, EOT);
    EXPECT_EQ(t.frame, "");
    EXPECT_EQ(line.Axis(1)->Stats().malformed, 1u);
    EXPECT_EQ(peer.Command(1, "H0"), "000012A"); // the next transaction is unharmed
}

INSTANTIATE_TEST_SUITE_P(Malformed, SimMalformedTest, ::testing::ValuesIn(malformed));

TEST_F(SimLineTest, BadChecksFromTheProgramGetNoAnswer)
{
    // "H0" has the check 7B: a lower-case "7b" and a wrong "7C" are refused.
    for (const char *check : {"7b", "7C", "B7"}) {
        const TRawPeer::TTry t = peer.Try(1, "H0", check);
        EXPECT_EQ(t.poll, EOT) << check;
        EXPECT_EQ(t.frame, "") << check;
    }
    EXPECT_EQ(line.Axis(1)->Stats().badChecks, 3u);
    EXPECT_EQ(line.Axis(1)->Log().size(), 0u);
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");
}

TEST_F(SimLineTest, OnlyTheAddressedAxisAnswers)
{
    EXPECT_EQ(peer.Command(2, "H0"), "0ABCDEF");
    EXPECT_EQ(peer.Command(15, "H0"), "0000001");
    EXPECT_EQ(peer.Try(3, "H0").poll, ""); // nobody there
    EXPECT_EQ(line.Axis(1)->Stats().polls, 0u);
    EXPECT_EQ(line.Axis(2)->Stats().polls, 1u);
}

TEST_F(SimLineTest, LineResetAndKeepAliveAreSilent)
{
    for (int i = 0; i < 5; ++i) {
        peer.Send(ENQ + char(0x90));
        EXPECT_EQ(peer.Receive(300'000), "");
    }
    peer.Send(ENQ);
    EXPECT_EQ(peer.Receive(), "");
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");
}

TEST_F(SimLineTest, Axis0AnswersTheResetAddressOnlyWhenAsked)
{
    line.SetAxis0(2);
    peer.Send(ENQ + char(0x90));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame("H0"));
    EXPECT_EQ(peer.TextOf(peer.Receive()), "0ABCDEF");
    peer.Send(EOT);
    EXPECT_EQ(peer.Receive(), ACK);
    line.SetAxis0(0);
    peer.Send(ENQ + char(0x90));
    EXPECT_EQ(peer.Receive(), "");
}

TEST_F(SimLineTest, EnqRestartsTheByteStateAnywhere)
{
    // A polling interrupted inside its frame, and one interrupted between
    // answer and EOT: each time the new polling is served from the start.
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send("\x02MF80");
    EXPECT_EQ(peer.Command(1, "H0"), "000012A");

    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame("RF8000"));
    EXPECT_EQ(peer.TextOf(peer.Receive()), "00010203");
    EXPECT_EQ(peer.Command(1, "RF8004"), "04050607");
    EXPECT_EQ(line.Axis(1)->Stats().acks, 2u);
}

TEST_F(SimLineTest, BytesBeforeTheFrameAndAfterTheAnswerAreIgnored)
{
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send("\x15zz" + peer.Frame("H0"));
    EXPECT_EQ(peer.TextOf(peer.Receive()), "000012A");
    peer.Send("x");
    EXPECT_EQ(peer.Receive(), "");
    peer.Send(EOT);
    EXPECT_EQ(peer.Receive(), ACK);
    peer.Send(EOT); // a second EOT gets nothing
    EXPECT_EQ(peer.Receive(), "");
}

TEST_F(SimLineTest, NakForTheAnswerEndsTheTransactionWithoutAck)
{
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame("H0"));
    EXPECT_NE(peer.Receive(), "");
    peer.Send(NAK);
    EXPECT_EQ(peer.Receive(), "");
    peer.Send(EOT);
    EXPECT_EQ(peer.Receive(), "");
    EXPECT_EQ(line.Axis(1)->Stats().naks, 1u);
}

TEST_F(SimLineTest, OverlongFrameIsDropped)
{
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame(std::string(254, 'M')));
    EXPECT_EQ(peer.Receive(), "");
    EXPECT_EQ(line.Axis(1)->Stats().overlong, 1u);
    // 253 text bytes are taken in (and then found not to be a command).
    peer.Send(ENQ + char(0x91));
    EXPECT_EQ(peer.Receive(), EOT);
    peer.Send(peer.Frame(std::string(253, 'M')));
    EXPECT_EQ(peer.Receive(), "");
    EXPECT_EQ(line.Axis(1)->Stats().malformed, 1u);
}

TEST_F(SimLineTest, WithoutLineTimeAnswersAreImmediate)
{
    const int64_t start = peer.now;
    EXPECT_EQ(peer.Command(1, "MF8000"), "0001020304050607");
    EXPECT_EQ(peer.now, start);
}

TEST_F(SimLineTest, LineTimeTakesTwelveBitTimesPerCharacterPlusTurnarounds)
{
    struct TCase {
        int baud;
        int64_t turnaroundUs;
    };
    for (const TCase c : {TCase{9600, 1000}, TCase{57600, 0}, TCase{1200, 5000}}) {
        line.SetLineTime(true);
        line.SetBaud(c.baud);
        line.SetTurnaroundUs(c.turnaroundUs);
        const int64_t start = peer.now;
        EXPECT_EQ(peer.Command(1, "MF8000"), "0001020304050607");
        // ENQ addr | EOT | STX M 5 digits ETX 2 | STX 16 digits ETX 2 | EOT | ACK
        const int64_t chars = 2 + 1 + 10 + 20 + 1 + 1;
        EXPECT_EQ(peer.now - start, chars * line.CharTimeUs() + 3 * c.turnaroundUs) << c.baud;
    }
    EXPECT_EQ(line.CharTimeUs(), 12 * 1000000 / 1200);
}

TEST_F(SimLineTest, CharacterTimeOutFollowsTheBitRate)
{
    EXPECT_EQ(TSimLine::CharTimeoutMs(57600), 75);
    EXPECT_EQ(TSimLine::CharTimeoutMs(38400), 75);
    EXPECT_EQ(TSimLine::CharTimeoutMs(19200), 300);
    EXPECT_EQ(TSimLine::CharTimeoutMs(9600), 300);
    EXPECT_EQ(TSimLine::CharTimeoutMs(4800), 1000);
}

TEST_F(SimLineTest, ReplacingAnAxisStartsItAfresh)
{
    EXPECT_EQ(peer.Command(1, "OF8000FF"), "F8000FF");
    line.AddAxis(1, 0x222, peer.now);
    EXPECT_EQ(peer.Command(1, "H0"), "0000222");
    EXPECT_EQ(peer.Command(1, "RF8000"), "00010203");
    EXPECT_TRUE(line.RemoveAxis(1));
    EXPECT_EQ(peer.Try(1, "H0").poll, "");
}
} // namespace
