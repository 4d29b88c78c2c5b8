#include "comm/TranAmp.h"
#include "support/PtyPeer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int FastBaud = 57600;

// Answers every command with a text chosen by the test and records the
// command texts it got.
struct CommandsOnPty : ::testing::Test {
    TPtyPeer peer;
    TTranAmp amp;
    QByteArray reply;

    void SetUp() override
    {
        amp.SetDevicePath(peer.SlavePath());
        amp.OpenPort(FastBaud, 1);
        ASSERT_TRUE(amp.PortOpen());
    }
    void Answer(const QByteArray &text)
    {
        peer.Stop();
        reply = text;
        const QByteArray r = text;
        peer.Start(TPtyPeer::Amplifier([r](const QByteArray &) { return r; }));
    }
    QByteArray LastCommand()
    {
        peer.Stop();
        QByteArray last;
        for (const TPeerEvent &e : peer.Events())
            if (e.kind == TPeerEvent::Frame)
                last = e.text;
        return last;
    }
    uint8_t LastPoll()
    {
        peer.Stop();
        uint8_t last = 0;
        for (const TPeerEvent &e : peer.Events())
            if (e.kind == TPeerEvent::Poll)
                last = e.address;
        return last;
    }
};

struct AnswerCase {
    QByteArray answer;
    TTranResult result;
    uint32_t value; // what the operation delivers on success (or, for W, always)
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << '"' << c.answer.toStdString() << '"';
}

} // namespace

// ---------------------------------------------------------------- H0, H1

class H0Answers : public CommandsOnPty, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(H0Answers, Identify)
{
    Answer(GetParam().answer);
    int32_t code = -7;
    EXPECT_EQ(amp.CmdH0(5, code), GetParam().result);
    EXPECT_EQ(code, GetParam().result == trOk ? int32_t(GetParam().value) : -7);
    EXPECT_EQ(LastCommand(), QByteArray("H0"));
}

INSTANTIATE_TEST_SUITE_P(Forms, H0Answers,
                         ::testing::Values(AnswerCase{"0123ABC", trOk, 0x123ABC},
                                           AnswerCase{"0abcdef", trOk, 0xABCDEF}, // parsed case-insensitively
                                           AnswerCase{"0000000", trOk, 0},
                                           AnswerCase{"1123ABC", trCommError, 0},  // seven, not starting with 0
                                           AnswerCase{"0123AB", trCommError, 0},   // too short
                                           AnswerCase{"0123ABCD", trCommError, 0}, // too long
                                           AnswerCase{"0123G45", trCommError, 0},  // not hex
                                           AnswerCase{"0", trCommError, 0}));

TEST_F(CommandsOnPty, H1WantsAnAnswerStartingWithZero)
{
    Answer("0");
    EXPECT_EQ(amp.CmdH1(2), trOk);
    Answer("0123");
    EXPECT_EQ(amp.CmdH1(2), trOk);
    Answer("1");
    EXPECT_EQ(amp.CmdH1(2), trCommError);
    EXPECT_EQ(LastCommand(), QByteArray("H1"));
}

// ---------------------------------------------------------------- reads

class RAnswers : public CommandsOnPty, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(RAnswers, FourBytesInAddressOrder)
{
    Answer(GetParam().answer);
    std::array<uint8_t, 4> bytes{9, 9, 9, 9};
    EXPECT_EQ(amp.CmdR(3, 0xF84A4, bytes), GetParam().result);
    if (GetParam().result == trOk) {
        const uint32_t v = GetParam().value;
        EXPECT_EQ(bytes, (std::array<uint8_t, 4>{uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}));
    } else {
        EXPECT_EQ(bytes, (std::array<uint8_t, 4>{9, 9, 9, 9}));
    }
    EXPECT_EQ(LastCommand(), QByteArray("RF84A4"));
}

INSTANTIATE_TEST_SUITE_P(Forms, RAnswers,
                         ::testing::Values(AnswerCase{"11223344", trOk, 0x11223344},
                                           AnswerCase{"aabbccdd", trOk, 0xAABBCCDD},
                                           AnswerCase{"11223344FFFF", trOk, 0x11223344}, // extra ignored
                                           AnswerCase{"1122334", trCommError, 0},
                                           AnswerCase{"11 23344", trCommError, 0}));

TEST_F(CommandsOnPty, MReadsEightBytesAndIgnoresTheRest)
{
    Answer("0102030405060708FF");
    std::array<uint8_t, 8> bytes{};
    ASSERT_EQ(amp.CmdM(3, 0x00100, bytes), trOk);
    EXPECT_EQ(bytes, (std::array<uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(LastCommand(), QByteArray("M00100"));
    Answer("010203040506070");
    EXPECT_EQ(amp.CmdM(3, 0x00100, bytes), trCommError);
    Answer("01020304050607xx");
    EXPECT_EQ(amp.CmdM(3, 0x00100, bytes), trCommError);
}

TEST_F(CommandsOnPty, AnAddressBeyondTwentyBitsIsNeverSent)
{
    Answer("11223344");
    std::array<uint8_t, 4> four{};
    std::array<uint8_t, 8> eight{};
    EXPECT_EQ(amp.CmdR(1, 0x100000, four), trCommError);
    EXPECT_EQ(amp.CmdM(1, 0x1F84A4, eight), trCommError);
    EXPECT_EQ(amp.CmdP(1, 0x100000, 1, 2), trCommError);
    peer.Stop();
    EXPECT_EQ(peer.Count(TPeerEvent::Poll), 0);
}

// ---------------------------------------------------------------- writes

struct WriteCase {
    const char *name;
    std::function<TTranResult(TTranAmp &)> call;
    QByteArray command;
};

class Writes : public CommandsOnPty, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(Writes, CommandTextAndEcho)
{
    const QByteArray command = GetParam().command;
    const QByteArray echo = command.mid(1);
    Answer(echo);
    EXPECT_EQ(GetParam().call(amp), trOk);
    EXPECT_EQ(LastCommand(), command);

    Answer(echo.toLower()); // the echo is compared by value
    EXPECT_EQ(GetParam().call(amp), trOk);

    QByteArray otherAddress = echo;
    otherAddress[4] = otherAddress[4] == '0' ? '1' : '0';
    Answer(otherAddress);
    EXPECT_EQ(GetParam().call(amp), trCommError) << "address differs";

    QByteArray otherData = echo;
    otherData[otherData.size() - 1] = otherData.back() == '0' ? '1' : '0';
    Answer(otherData);
    EXPECT_EQ(GetParam().call(amp), trCommError) << "data differs";

    Answer(echo.left(echo.size() - 1));
    EXPECT_EQ(GetParam().call(amp), trCommError) << "echo too short";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, Writes,
    ::testing::Values(WriteCase{"O", [](TTranAmp &a) { return a.CmdO(1, 0xF84A4, 0x1F); }, "OF84A41F"},
                      WriteCase{"P", [](TTranAmp &a) { return a.CmdP(1, 0x01234, 0x12, 0x34); }, "P012341234"},
                      WriteCase{"Q", [](TTranAmp &a) { return a.CmdQ(1, 0x00ABC, 0xDE, 0xAD, 0xBE, 0xEF); },
                                "Q00ABCDEADBEEF"},
                      WriteCase{"Y", [](TTranAmp &a) { return a.CmdY(1, 0xFFFFF, 0x00, 0x01); }, "YFFFFF0001"},
                      WriteCase{"Z", [](TTranAmp &a) { return a.CmdZ(1, 0x00000, 0x80, 0, 0, 0x7F); },
                                "Z000008000007F"}),
    [](const ::testing::TestParamInfo<WriteCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- W and L

class WAnswers : public CommandsOnPty, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(WAnswers, V8)
{
    Answer(GetParam().answer);
    uint32_t value = 99;
    EXPECT_EQ(amp.CmdW(4, 0x33, value), GetParam().result);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(LastCommand(), QByteArray("W33"));
}

INSTANTIATE_TEST_SUITE_P(Forms, WAnswers,
                         ::testing::Values(AnswerCase{"00000005", trOk, 5},
                                           AnswerCase{"FFFFFFFF", trOk, 0xFFFFFFFF},
                                           AnswerCase{"0000000a", trOk, 10},
                                           // the value comes with the failure
                                           AnswerCase{"0005", trCommError, 5},
                                           AnswerCase{"000000051", trCommError, 5},
                                           AnswerCase{"0000000G", trCommError, 0}));

TEST_F(CommandsOnPty, WCodesAreTwoUpperCaseDigits)
{
    Answer("00000000");
    uint32_t v;
    EXPECT_EQ(amp.CmdW(1, 0x01, v), trOk);
    EXPECT_EQ(LastCommand(), QByteArray("W01"));
    Answer("00000000");
    EXPECT_EQ(amp.CmdW(1, 0xA4, v), trOk);
    EXPECT_EQ(LastCommand(), QByteArray("WA4"));
}

TEST_F(CommandsOnPty, LSplitsStatusAndCount)
{
    Answer("01000123");
    uint8_t s = 0;
    uint32_t n = 0;
    ASSERT_EQ(amp.CmdL(6, 0x00, s, n), trOk);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(n, 0x123u);
    EXPECT_EQ(LastCommand(), QByteArray("L00"));
    Answer("05ffffff");
    ASSERT_EQ(amp.CmdL(6, 0x04, s, n), trOk);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(n, 0xFFFFFFu);
    Answer("0100012");
    EXPECT_EQ(amp.CmdL(6, 0x01, s, n), trCommError);
    Answer("010001234");
    EXPECT_EQ(amp.CmdL(6, 0x03, s, n), trCommError);
}

// ---------------------------------------------------------------- axes

class AxisAddress : public CommandsOnPty, public ::testing::WithParamInterface<int> {};

TEST_P(AxisAddress, PollsNinetyPlusAxis)
{
    Answer("0");
    EXPECT_EQ(amp.CmdH1(GetParam()), trOk);
    EXPECT_EQ(LastPoll(), uint8_t(0x90 + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Axes, AxisAddress, ::testing::Values(0, 1, 10, 15));

TEST_F(CommandsOnPty, AnAxisOutsideZeroToFifteenIsNotPolled)
{
    Answer("0");
    EXPECT_EQ(amp.CmdH1(16), trCommError);
    EXPECT_EQ(amp.CmdH1(-1), trCommError);
    peer.Stop();
    EXPECT_EQ(peer.Count(TPeerEvent::Poll), 0);
}
