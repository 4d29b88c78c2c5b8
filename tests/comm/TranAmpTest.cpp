#include "comm/TranAmp.h"
#include "support/PtyPeer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sys/resource.h>

namespace {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ACK = 0x06, NAK = 0x15;
const QByteArray Eot(1, EOT), Ack(1, ACK), Nak(1, NAK);

// The quickest line: t is 75 ms, a silent axis costs 375 ms.
constexpr int FastBaud = 57600;

struct EngineOnPty : ::testing::Test {
    TPtyPeer peer;
    TTranAmp amp;

    void Open(int baud = FastBaud)
    {
        amp.SetDevicePath(peer.SlavePath());
        amp.OpenPort(baud, 1);
        ASSERT_TRUE(amp.PortOpen()) << amp.LastOpenError().toStdString();
    }
    void SetUp() override { Open(); }

    std::vector<QByteArray> Frames() const
    {
        std::vector<QByteArray> texts;
        for (const TPeerEvent &e : peer.Events())
            if (e.kind == TPeerEvent::Frame)
                texts.push_back(e.text);
        return texts;
    }
    std::vector<uint8_t> PollAddresses() const
    {
        std::vector<uint8_t> a;
        for (const TPeerEvent &e : peer.Events())
            if (e.kind == TPeerEvent::Poll)
                a.push_back(e.address);
        return a;
    }
};

// Lets the event loop run for ms.
void Spin(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
}

// An amplifier that answers every frame with one fixed reply (already framed
// or not) and otherwise behaves.
TPeerHandler Answering(std::function<TPeerReply(const TPeerEvent &frame)> onFrame)
{
    return [onFrame](const TPeerEvent &e) -> TPeerReply {
        switch (e.kind) {
        case TPeerEvent::Poll: return {Eot};
        case TPeerEvent::Frame: return onFrame(e);
        case TPeerEvent::Eot: return {Ack};
        default: return {};
        }
    };
}

TPeerHandler AnswerText(const QByteArray &text)
{
    return Answering([text](const TPeerEvent &) { return TPeerReply{TPtyPeer::Frame(text)}; });
}

QByteArray LowerCaseCheckFrame(const QByteArray &text)
{
    return STX + text + ETX + TPtyPeer::Check(text).toLower();
}

// A text whose check characters contain a letter, so that case matters.
QByteArray TextWithLetterCheck()
{
    for (char c = 'A'; c <= 'Z'; ++c) {
        const QByteArray text = QByteArray("0123AB") + c;
        const QByteArray check = TPtyPeer::Check(text);
        if (check.toLower() != check)
            return text;
    }
    return {};
}

} // namespace

// ---------------------------------------------------------------- frames

TEST(TranAmpFrame, CheckIsTheXorAfterStxUpToEtxInUpperCase)
{
    EXPECT_EQ(TTranAmp::Frame("H0"), QByteArray("\x02H0\x03" "7B"));
    EXPECT_EQ(TTranAmp::CheckChars("W01"), QByteArray("55"));
    EXPECT_EQ(TTranAmp::CheckChars(""), QByteArray("03"));
    const QByteArray text = TextWithLetterCheck();
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(TTranAmp::CheckChars(text), TPtyPeer::Check(text));
}

struct RateCase {
    int baud;
    int t;
};

class CharTimeout : public ::testing::TestWithParam<RateCase> {};

TEST_P(CharTimeout, ByBitRate)
{
    EXPECT_EQ(TTranAmp::CharTimeoutFor(GetParam().baud), GetParam().t);
    TPtyPeer peer;
    TTranAmp amp;
    amp.SetDevicePath(peer.SlavePath());
    amp.OpenPort(GetParam().baud, 1);
    EXPECT_EQ(amp.Comm().BaudRate(), -1);
    EXPECT_EQ(amp.Comm().BaudRateUserDefined(), GetParam().baud);
    EXPECT_EQ(amp.CharTimeout(), GetParam().t);
}

INSTANTIATE_TEST_SUITE_P(Rates, CharTimeout,
                         ::testing::Values(RateCase{1200, 1000}, RateCase{2400, 1000}, RateCase{4800, 1000},
                                           RateCase{9599, 1000}, RateCase{9600, 300}, RateCase{19200, 300},
                                           RateCase{38399, 300}, RateCase{38400, 75}, RateCase{57600, 75}));

// One try that runs into t (the frame is never answered), then a NAK at the
// next poll: the transaction lasts about t.
class CharTimeoutOnTheLine : public ::testing::TestWithParam<RateCase> {};

TEST_P(CharTimeoutOnTheLine, OneSilentTryLastsT)
{
    TPtyPeer peer;
    TTranAmp amp;
    amp.SetDevicePath(peer.SlavePath());
    amp.OpenPort(GetParam().baud, 1);
    ASSERT_TRUE(amp.PortOpen());
    peer.Start([](const TPeerEvent &e) -> TPeerReply {
        if (e.kind == TPeerEvent::Poll)
            return {e.kindIndex == 0 ? Eot : Nak};
        return {};
    });
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    EXPECT_EQ(amp.Transact(0x91, "H0", answer), trNak);
    const int t = GetParam().t;
    EXPECT_GE(clock.elapsed(), t - 5);
    EXPECT_LT(clock.elapsed(), 2 * t + 200);
}

INSTANTIATE_TEST_SUITE_P(Rates, CharTimeoutOnTheLine,
                         ::testing::Values(RateCase{1200, 1000}, RateCase{9600, 300}, RateCase{57600, 75}));

// ---------------------------------------------------------------- transactions

struct TransactCase {
    const char *name;
    std::function<TPeerHandler()> peer;
    TTranResult result;
    QByteArray answer; // "old" when the answer must stay untouched
    int polls;         // polls the peer saw (-1: any)
    int naks;          // NAKs the engine sent (-1: any)
};

void PrintTo(const TransactCase &c, std::ostream *os)
{
    *os << c.name;
}

class Transact : public EngineOnPty, public ::testing::WithParamInterface<TransactCase> {};

TEST_P(Transact, Outcome)
{
    const TransactCase &c = GetParam();
    peer.Start(c.peer());
    QByteArray answer = "old";
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(amp.Transact(0x93, "H0", answer), c.result);
    // Never past five tries of the longest possible try.
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(answer, c.answer);
    // The engine may return before the peer's thread has read its last byte.
    if (c.naks > 0)
        peer.WaitFor(TPeerEvent::Nak, c.naks, 1000);
    peer.Stop();
    if (c.polls >= 0) {
        EXPECT_EQ(peer.Count(TPeerEvent::Poll), c.polls);
    }
    if (c.naks >= 0) {
        EXPECT_EQ(peer.Count(TPeerEvent::Nak), c.naks);
    }
    for (uint8_t a : PollAddresses())
        EXPECT_EQ(a, 0x93);
    for (const QByteArray &f : Frames())
        EXPECT_EQ(f, QByteArray("H0"));
}

const QByteArray Text253(253, 'A');
const QByteArray Text254(254, 'A');

INSTANTIATE_TEST_SUITE_P(
    Cases, Transact,
    ::testing::Values(
        TransactCase{"Answered", [] { return AnswerText("0123ABC"); }, trOk, "0123ABC", 1, 0},
        TransactCase{"NakAtPollingStopsAtOnce", [] { return TPtyPeer::Sequence({{Nak}}); }, trNak, "old", 1, 0},
        TransactCase{"NakAtTheThirdPoll",
                     [] {
                         return TPeerHandler([](const TPeerEvent &e) -> TPeerReply {
                             return {e.kind == TPeerEvent::Poll && e.kindIndex == 2 ? Nak : QByteArray()};
                         });
                     },
                     trNak, "old", 3, 0},
        TransactCase{"SilentAxis", [] { return TPeerHandler(); }, trTimeout, "old", 5, 0},
        TransactCase{"GarbageAtPolling",
                     [] {
                         return TPeerHandler([](const TPeerEvent &e) -> TPeerReply {
                             return {e.kind == TPeerEvent::Poll ? QByteArray("X") : QByteArray()};
                         });
                     },
                     trTimeout, "old", 5, 0},
        TransactCase{"NoStxAfterTheFrame", [] { return Answering([](const TPeerEvent &) { return TPeerReply{}; }); },
                     trCommError, "old", 5, 0},
        TransactCase{"NoiseBeforeStxIsDropped",
                     [] {
                         return Answering([](const TPeerEvent &) {
                             return TPeerReply{"\x7f\x01zz" + TPtyPeer::Frame("0000001")};
                         });
                     },
                     trOk, "0000001", 1, 0},
        TransactCase{"LongestAnswer253", [] { return AnswerText(Text253); }, trOk, Text253, 1, 0},
        TransactCase{"Answer254IsRefused", [] { return AnswerText(Text254); }, trCommError, "old", 5, 5},
        TransactCase{"EmptyAnswerIsRefused", [] { return AnswerText(""); }, trCommError, "old", 5, 5},
        TransactCase{"LowerCaseCheckIsRefused",
                     [] {
                         return Answering([](const TPeerEvent &) {
                             return TPeerReply{LowerCaseCheckFrame(TextWithLetterCheck())};
                         });
                     },
                     trCommError, "old", 5, 5},
        TransactCase{"WrongCheckIsRefused",
                     [] { return Answering([](const TPeerEvent &) { return TPeerReply{"\x02" "0123ABC\x03" "00"}; }); },
                     trCommError, "old", 5, 5},
        TransactCase{"MissingCheckCharacters",
                     [] { return Answering([](const TPeerEvent &) { return TPeerReply{"\x02" "0123ABC\x03" "4"}; }); },
                     trCommError, "old", 5, 5},
        TransactCase{"AnswerBreaksOff",
                     [] { return Answering([](const TPeerEvent &) { return TPeerReply{"\x02" "012"}; }); },
                     trCommError, "old", 5, 5},
        TransactCase{"SlowAnswerWithinTPerByte",
                     [] {
                         return Answering([](const TPeerEvent &) { return TPeerReply{TPtyPeer::Frame("0123ABC"), 25, 25}; });
                     },
                     trOk, "0123ABC", 1, 0},
        TransactCase{"BadCheckThenGoodAnswer",
                     [] {
                         return Answering([](const TPeerEvent &f) {
                             return TPeerReply{f.kindIndex == 0 ? QByteArray("\x02" "0123ABC\x03" "00")
                                                                : TPtyPeer::Frame("0123ABC")};
                         });
                     },
                     trOk, "0123ABC", 2, 1},
        // The answer passed its check, so it is kept, but the exchange failed.
        TransactCase{"NoAckAfterEot",
                     [] {
                         return TPeerHandler([](const TPeerEvent &e) -> TPeerReply {
                             if (e.kind == TPeerEvent::Poll)
                                 return {Eot};
                             if (e.kind == TPeerEvent::Frame)
                                 return {TPtyPeer::Frame("0123ABC")};
                             return {};
                         });
                     },
                     trCommError, "0123ABC", 5, 0},
        TransactCase{"AnsweredOnceThenSilent",
                     [] {
                         return TPeerHandler([](const TPeerEvent &e) -> TPeerReply {
                             return {e.kind == TPeerEvent::Poll && e.kindIndex == 0 ? Eot : QByteArray()};
                         });
                     },
                     trTimeout, "old", 5, 0},
        TransactCase{"HangUpMidAnswer",
                     [] {
                         return Answering([](const TPeerEvent &) {
                             TPeerReply r{"\x02" "01"};
                             r.hangUp = true;
                             return r;
                         });
                     },
                     trTimeout, "old", 1, -1}),
    [](const ::testing::TestParamInfo<TransactCase> &info) { return std::string(info.param.name); });

TEST_F(EngineOnPty, HostileBytesEndInAResultCode)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 12; ++round) {
        const unsigned seed = random();
        peer.Stop();
        peer.Start([seed](const TPeerEvent &e) -> TPeerReply {
            std::mt19937 r(seed + unsigned(e.index));
            QByteArray noise;
            const int n = int(r() % 40);
            for (int i = 0; i < n; ++i)
                noise.append(char(r() % 8 == 0 ? (r() % 2 ? STX : ETX) : r()));
            return {noise};
        });
        QByteArray answer;
        QElapsedTimer clock;
        clock.start();
        const TTranResult result = amp.Transact(0x91, "M12345", answer);
        // Noise is never an answer: one of the failure codes, in bounded time.
        EXPECT_TRUE(result == trCommError || result == trNak || result == trTimeout) << int(result);
        EXPECT_LT(clock.elapsed(), 5000);
    }
}

// The keep-alive ENQ never falls inside an exchange: it stops when the
// transaction starts and runs again once it is over.
TEST_F(EngineOnPty, KeepAliveIsOffDuringATransaction)
{
    // Each wait of the exchange lasts longer than the keep-alive interval,
    // yet stays well inside the character time-out even on a busy machine.
    amp.SetKeepAliveInterval(2);
    peer.Start([](const TPeerEvent &e) -> TPeerReply {
        switch (e.kind) {
        case TPeerEvent::Poll: return {QByteArray(1, EOT), 15};
        case TPeerEvent::Frame: return {TPtyPeer::Frame("OK"), 20};
        case TPeerEvent::Eot: return {QByteArray(1, ACK), 15};
        default: return {};
        }
    });
    QByteArray answer;
    ASSERT_EQ(amp.Transact(0x91, "H0", answer), trOk);
    EXPECT_TRUE(amp.KeepAliveActive());
    // The keep-alive timer needs the event loop.
    for (int i = 0; i < 100 && peer.Count(TPeerEvent::Enq) == 0; ++i)
        Spin(20);
    ASSERT_GT(peer.Count(TPeerEvent::Enq), 0) << "the keep-alive runs again afterwards";
    peer.Stop();
    int poll = -1, eot = -1;
    for (const TPeerEvent &e : peer.Events()) {
        if (e.kind == TPeerEvent::Poll && poll < 0)
            poll = e.index;
        if (e.kind == TPeerEvent::Eot)
            eot = e.index;
    }
    ASSERT_GE(poll, 0);
    ASSERT_GT(eot, poll);
    for (const TPeerEvent &e : peer.Events()) {
        if (e.kind == TPeerEvent::Enq) {
            EXPECT_TRUE(e.index < poll || e.index > eot) << "keep-alive inside the exchange at " << e.index;
        }
    }
}

// The wait for STX has one budget for the whole wait, not one per byte: a
// slow drip of other bytes cannot keep a try alive past its time.
TEST_F(EngineOnPty, WaitingForTheAnswerHasOneBudgetNotOnePerByte)
{
    peer.Start([](const TPeerEvent &e) -> TPeerReply {
        switch (e.kind) {
        case TPeerEvent::Poll: return {QByteArray(1, EOT)};
        case TPeerEvent::Frame: {
            // Eight bytes 15 ms apart, each well inside the character
            // time-out, then the answer: 120 ms after the frame.
            TPeerReply r{QByteArray(8, 'x') + TPtyPeer::Frame("LATE"), 0, 15};
            return r;
        }
        case TPeerEvent::Eot: return {QByteArray(1, ACK)};
        default: return {};
        }
    });
    QByteArray answer = "old";
    EXPECT_NE(amp.Transact(0x91, "H0", answer), trOk);
    EXPECT_EQ(answer, "old");
}

// Bytes left over from an earlier step are dropped before the frame goes out
// and before the closing EOT: a stale answer or a stale ACK never counts.
TEST_F(EngineOnPty, TheRingIsClearedBeforeTheFrameAndBeforeTheClosingEot)
{
    peer.Start([](const TPeerEvent &e) -> TPeerReply {
        switch (e.kind) {
        case TPeerEvent::Poll: return {QByteArray(1, EOT) + TPtyPeer::Frame("STALE")};
        case TPeerEvent::Frame: return {TPtyPeer::Frame("REAL"), 20};
        case TPeerEvent::Eot: return {QByteArray(1, ACK)};
        default: return {};
        }
    });
    QByteArray answer;
    EXPECT_EQ(amp.Transact(0x91, "H0", answer), trOk);
    EXPECT_EQ(answer, "REAL");
    peer.Stop();

    // An ACK that came with the answer is not the ACK to the closing EOT.
    peer.Start([](const TPeerEvent &e) -> TPeerReply {
        switch (e.kind) {
        case TPeerEvent::Poll: return {QByteArray(1, EOT)};
        case TPeerEvent::Frame: return {TPtyPeer::Frame("REAL") + QByteArray(1, ACK)};
        default: return {}; // the EOT goes unanswered
        }
    });
    EXPECT_NE(amp.Transact(0x91, "H0", answer), trOk);
}

TEST_F(EngineOnPty, AClosedPortTimesOut)
{
    amp.ClosePort();
    EXPECT_FALSE(amp.PortOpen());
    QByteArray answer = "old";
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(amp.Transact(0x91, "H0", answer), trTimeout);
    EXPECT_GE(clock.elapsed(), 5 * 75 - 10);
    EXPECT_EQ(answer, QByteArray("old"));
}

TEST_F(EngineOnPty, SendsExactlyThePollingAndTheFrame)
{
    peer.Start(AnswerText("0123ABC"));
    QByteArray answer;
    ASSERT_EQ(amp.Transact(0x93, "H0", answer), trOk);
    peer.Stop();
    EXPECT_EQ(peer.Received(), QByteArray("\x05\x93\x02H0\x03" "7B\x04"));
}

// ---------------------------------------------------------------- waits

TEST_F(EngineOnPty, WaitsLetTimersRunWithoutSpinning)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    EXPECT_EQ(amp.Transact(0x91, "H0", answer), trTimeout); // nobody answers
    const double wallMs = double(clock.elapsed());
    getrusage(RUSAGE_THREAD, &after);
    auto ms = [](const rusage &u) {
        return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
    };
    EXPECT_GE(ticks, 5) << "timers did not run during the waits";
    // A busy wait would take about the whole wall time.
    EXPECT_LT(ms(after) - ms(before), 0.5 * wallMs);
}

// A clock that wraps 100 ms into the transaction.
class WrappingClockAmp : public TTranAmp
{
public:
    mutable int64_t offset = -1;

protected:
    uint32_t TickCount() const override
    {
        const uint32_t real = TTranAmp::TickCount();
        if (offset < 0)
            offset = int64_t(0x100000000LL - real - 100);
        return uint32_t(real + uint32_t(offset));
    }
};

TEST(TranAmpClock, AWrapNeitherEndsNorProlongsAWait)
{
    TPtyPeer peer;
    WrappingClockAmp amp;
    amp.SetDevicePath(peer.SlavePath());
    amp.OpenPort(FastBaud, 1);
    ASSERT_TRUE(amp.PortOpen());
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    EXPECT_EQ(amp.Transact(0x91, "H0", answer), trTimeout);
    EXPECT_GE(clock.elapsed(), 5 * 75 - 10);
    EXPECT_LT(clock.elapsed(), 2000);
}

// ---------------------------------------------------------------- port

TEST(TranAmpPort, OpenFailsAfterFiveTriesWithoutRaising)
{
    TTranAmp amp;
    amp.SetDevicePath(QStringLiteral("/nonexistent/ttyX"));
    QElapsedTimer clock;
    clock.start();
    amp.OpenPort(9600, 1);
    EXPECT_FALSE(amp.PortOpen());
    EXPECT_GE(clock.elapsed(), 5 * 100 - 10);
    EXPECT_EQ(amp.LastOpenErrorCode(), ENOENT);
    EXPECT_FALSE(amp.CtsOn());
    amp.ClosePort(); // harmless
}

TEST_F(EngineOnPty, OpenCloseAndModemLines)
{
    EXPECT_EQ(amp.Comm().DeviceName(), peer.SlavePath());
    EXPECT_TRUE(amp.CtsOn());
    // Raising RTS on a line without modem lines leaves it open and usable.
    EXPECT_NO_THROW(amp.SetRts(true));
    EXPECT_TRUE(amp.PortOpen());
    EXPECT_TRUE(amp.CtsOn());
    amp.OpenPort(FastBaud, 1); // again: still open
    EXPECT_TRUE(amp.PortOpen());
    amp.ClosePort();
    EXPECT_FALSE(amp.PortOpen());
    EXPECT_FALSE(amp.CtsOn());
    amp.ClosePort();
    Open();
    EXPECT_TRUE(amp.CtsOn());
    peer.HangUp();
    Spin(50);
    EXPECT_FALSE(amp.CtsOn());
}

TEST_F(EngineOnPty, ResetLineSendsFivePollsOfAddress90)
{
    peer.Start({});
    QElapsedTimer clock;
    clock.start();
    amp.ResetLine();
    EXPECT_GE(clock.elapsed(), 5 * 300 - 10);
    EXPECT_TRUE(amp.KeepAliveActive());
    ASSERT_TRUE(peer.WaitFor(TPeerEvent::Poll, 5, 1000));
    peer.Stop();
    EXPECT_EQ(PollAddresses(), std::vector<uint8_t>(5, 0x90));
    EXPECT_TRUE(Frames().empty());
}

// ---------------------------------------------------------------- keep-alive

TEST_F(EngineOnPty, KeepAliveRunsAfterATransactionWhileCtsIsOn)
{
    amp.SetKeepAliveInterval(40);
    EXPECT_FALSE(amp.KeepAliveActive()) << "the open alone starts nothing";
    peer.Start(AnswerText("0"));
    QByteArray answer;
    ASSERT_EQ(amp.Transact(0x91, "H1", answer), trOk);
    EXPECT_TRUE(amp.KeepAliveActive());
    Spin(250);
    EXPECT_GE(peer.Count(TPeerEvent::Enq), 2);
    amp.ClosePort();
    EXPECT_FALSE(amp.KeepAliveActive());
}

TEST_F(EngineOnPty, KeepAliveStopsWhenTheFarSideHangsUpAndStaysOff)
{
    amp.SetKeepAliveInterval(40);
    peer.Start(AnswerText("0"));
    QByteArray answer;
    ASSERT_EQ(amp.Transact(0x91, "H1", answer), trOk);
    ASSERT_TRUE(amp.KeepAliveActive());
    peer.HangUp();
    Spin(150);
    EXPECT_FALSE(amp.CtsOn());
    EXPECT_FALSE(amp.KeepAliveActive());
    Spin(150);
    EXPECT_FALSE(amp.KeepAliveActive()) << "started again without a transaction";
    // The next transaction (on the dead line) enables it again.
    EXPECT_EQ(amp.Transact(0x91, "H1", answer), trTimeout);
    EXPECT_TRUE(amp.KeepAliveActive());
}

namespace {

// ---------------------------------------------------------------- line statistics

struct StatsCase {
    const char *name;
    std::function<TPeerHandler()> peer;
    TAxisLineStats expected; // transactions, failed, tries, naks, timeouts, checkErrors
};

void PrintTo(const StatsCase &c, std::ostream *os)
{
    *os << c.name;
}

class LineStats : public EngineOnPty, public ::testing::WithParamInterface<StatsCase> {};

TEST_P(LineStats, CountsEachTryByWhatWentWrong)
{
    const StatsCase &c = GetParam();
    peer.Start(c.peer());
    QByteArray answer;
    amp.Transact(0x93, "H0", answer);
    peer.Stop();
    const TAxisLineStats &s = amp.Stats().axes[3];
    EXPECT_EQ(s.transactions, c.expected.transactions);
    EXPECT_EQ(s.failed, c.expected.failed);
    EXPECT_EQ(s.tries, c.expected.tries);
    EXPECT_EQ(s.naks, c.expected.naks);
    EXPECT_EQ(s.timeouts, c.expected.timeouts);
    EXPECT_EQ(s.checkErrors, c.expected.checkErrors);
    // Other axes untouched, the total is the one axis, and a reset clears all.
    EXPECT_FALSE(amp.Stats().axes[2].Any());
    EXPECT_EQ(amp.Stats().Total().tries, c.expected.tries);
    amp.ResetStats();
    EXPECT_FALSE(amp.Stats().Total().Any());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineStats,
    ::testing::Values(
        StatsCase{"Answered", [] { return AnswerText("0123ABC"); }, {1, 0, 1, 0, 0, 0}},
        StatsCase{"Nak", [] { return TPtyPeer::Sequence({{Nak}}); }, {1, 1, 1, 1, 0, 0}},
        StatsCase{"Silent", [] { return TPeerHandler(); }, {1, 1, 5, 0, 5, 0}},
        StatsCase{"WrongCheck",
                  [] { return Answering([](const TPeerEvent &) { return TPeerReply{"\x02" "0123ABC\x03" "00"}; }); },
                  {1, 1, 5, 0, 0, 5}},
        StatsCase{"BadCheckThenGood",
                  [] {
                      return Answering([](const TPeerEvent &f) {
                          return TPeerReply{f.kindIndex == 0 ? QByteArray("\x02" "0123ABC\x03" "00")
                                                             : TPtyPeer::Frame("0123ABC")};
                      });
                  },
                  {1, 0, 2, 0, 0, 1}},
        StatsCase{"NoAckAfterEot",
                  [] {
                      return TPeerHandler([](const TPeerEvent &e) -> TPeerReply {
                          if (e.kind == TPeerEvent::Poll)
                              return {Eot};
                          if (e.kind == TPeerEvent::Frame)
                              return {TPtyPeer::Frame("0123ABC")};
                          return {};
                      });
                  },
                  {1, 1, 5, 0, 5, 0}}),
    [](const ::testing::TestParamInfo<StatsCase> &info) { return std::string(info.param.name); });

} // namespace
