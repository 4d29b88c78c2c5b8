#include "comm/Comm.h"
#include "comm/ReceiveRing.h"
#include "support/PtyPeer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

template <typename Pred> bool Eventually(Pred pred, std::chrono::milliseconds limit = 2000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (pred())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return pred();
}

// Opens the component on the slave side of a fresh pseudo-terminal with the
// amplifier's line settings.
struct CommOnPty : ::testing::Test {
    TPtyPeer peer;
    TComm comm;
    void SetUp() override
    {
        comm.SetDevicePath(peer.SlavePath());
        comm.SetBaudRate(-1);
        comm.SetBaudRateUserDefined(38400);
        comm.SetParityBits(cpbEven);
        comm.SetStopBits(csb2);
        comm.SetFlowControls(0);
    }
};

} // namespace

struct PortNameCase {
    int port;
    const char *device;
};

class PortRule : public ::testing::TestWithParam<PortNameCase> {};

TEST_P(PortRule, MapsPortNumberToTtyS)
{
    TComm comm;
    comm.SetPort(uint8_t(GetParam().port));
    EXPECT_EQ(comm.DeviceName(), QString::fromLatin1(GetParam().device));
}

INSTANTIATE_TEST_SUITE_P(Ports, PortRule,
                         ::testing::Values(PortNameCase{1, "/dev/ttyS0"}, PortNameCase{2, "/dev/ttyS1"},
                                           PortNameCase{9, "/dev/ttyS8"}, PortNameCase{10, "/dev/ttyS9"},
                                           PortNameCase{255, "/dev/ttyS254"}, PortNameCase{0, ""}));

TEST(Comm, DevicePathOverridesThePortRule)
{
    TComm comm;
    comm.SetPort(3);
    comm.SetDevicePath(QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(comm.DeviceName(), QStringLiteral("/dev/ttyUSB0"));
    comm.SetDevicePath(QString());
    EXPECT_EQ(comm.DeviceName(), QStringLiteral("/dev/ttyS2"));
}

TEST(Comm, MissingDeviceRaisesOpenErrorWithItsCode)
{
    TComm comm;
    comm.SetDevicePath(QStringLiteral("/nonexistent/tty"));
    try {
        comm.Open();
        FAIL() << "opened a missing device";
    } catch (const ECommOpenError &e) {
        EXPECT_EQ(e.ErrorCode(), ENOENT);
        EXPECT_EQ(e.Message(), QStringLiteral("オープンエラー ErrorCode = %1").arg(ENOENT));
    }
    EXPECT_FALSE(comm.IsOpen());
}

TEST(Comm, ADeviceThatIsNoTerminalIsRefused)
{
    TComm comm;
    comm.SetDevicePath(QStringLiteral("/dev/null"));
    EXPECT_THROW(comm.Open(), ECommOpenError);
    EXPECT_FALSE(comm.IsOpen());
}

TEST(Comm, ReadAndWriteWhileClosedRaise)
{
    TComm comm;
    char b[4] = {};
    const QString text = QStringLiteral("通信が開始されていない。");
    try {
        comm.WriteBuffer(b, 1);
        FAIL();
    } catch (const ECommError &e) {
        EXPECT_EQ(e.Message(), text);
    }
    try {
        comm.ReadBuffer(b, 1);
        FAIL();
    } catch (const ECommError &e) {
        EXPECT_EQ(e.Message(), text);
    }
    EXPECT_FALSE(comm.CtsState());
    EXPECT_FALSE(comm.DsrState());
    // A closed port has no lines to drive: nothing is raised, nothing opens.
    EXPECT_NO_THROW(comm.SetRtsState(true));
    EXPECT_NO_THROW(comm.SetDtrState(true));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(comm.CtsState());
    comm.Close();
}

TEST_F(CommOnPty, OpenTwiceAndCloseTwiceDoNothing)
{
    comm.Open();
    comm.Open();
    EXPECT_TRUE(comm.IsOpen());
    comm.Close();
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
    comm.Open(); // and again after a close
    EXPECT_TRUE(comm.IsOpen());
}

TEST_F(CommOnPty, AppliesRawEightEvenTwoWithoutHandshake)
{
    comm.Open();
    termios tio{};
    ASSERT_TRUE(peer.SlaveSettings(tio));
    // (a pseudo-terminal has no parity or character size: LineSettings covers those)
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_TRUE(tio.c_cflag & CREAD);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_TRUE(tio.c_iflag & INPCK);
    EXPECT_FALSE(tio.c_iflag & (ICRNL | INLCR | ISTRIP));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B38400));
}

TEST_F(CommOnPty, PropertiesReachAnOpenLineAtOnce)
{
    comm.Open();
    termios tio{};
    comm.SetBaudRateUserDefined(9600);
    ASSERT_TRUE(peer.SlaveSettings(tio));
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B9600));

    comm.SetBaudRate(19200); // the fixed rate replaces the user-defined one
    ASSERT_TRUE(peer.SlaveSettings(tio));
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B19200));
    comm.SetBaudRate(-1);
    ASSERT_TRUE(peer.SlaveSettings(tio));
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B9600));

    comm.SetParityBits(cpbOdd);
    comm.SetStopBits(csb1);
    comm.SetByteSize(cbs7);
    comm.SetFlowControls(cfcRtsCts | cfcXonXoff);
    ASSERT_TRUE(peer.SlaveSettings(tio));
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE((tio.c_iflag & IXON) && (tio.c_iflag & IXOFF));
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
}

struct LineCase {
    TCommByteSize size;
    TCommParityBits parity;
    TCommStopBits stop;
    TCommFlowControls flow;
    tcflag_t csize;
    tcflag_t parityFlags; // of PARENB | PARODD | CMSPAR
    bool cstopb, crtscts, xonxoff;
};

class LineSettings : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineSettings, TermiosFlags)
{
    const LineCase &c = GetParam();
    TComm comm;
    comm.SetByteSize(c.size);
    comm.SetParityBits(c.parity);
    comm.SetStopBits(c.stop);
    comm.SetFlowControls(c.flow);
    termios tio{};
    tio.c_lflag = ECHO | ICANON | ISIG;
    tio.c_iflag = ICRNL | IXON;
    tio.c_oflag = OPOST;
    comm.MakeTermios(tio);
    EXPECT_EQ(tio.c_cflag & CSIZE, c.csize);
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
    EXPECT_EQ(bool(tio.c_cflag & CSTOPB), c.cstopb);
    EXPECT_EQ(bool(tio.c_cflag & CRTSCTS), c.crtscts);
    EXPECT_EQ(bool(tio.c_iflag & IXON) && bool(tio.c_iflag & IXOFF), c.xonxoff);
    EXPECT_TRUE(tio.c_iflag & INPCK);
    EXPECT_FALSE(tio.c_lflag & (ECHO | ICANON | ISIG));
    EXPECT_FALSE(tio.c_iflag & ICRNL);
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B9600));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineSettings,
    ::testing::Values(
        // the amplifier line: 8 data bits, even parity, 2 stop bits, no handshake
        LineCase{cbs8, cpbEven, csb2, 0, CS8, PARENB, true, false, false},
        LineCase{cbs8, cpbNone, csb1, cfcRtsCts, CS8, 0, false, true, false},
        LineCase{cbs7, cpbOdd, csb1, cfcXonXoff, CS7, PARENB | PARODD, false, false, true},
        LineCase{cbs5, cpbMark, csb15, 0, CS5, PARENB | PARODD | CMSPAR, true, false, false},
        LineCase{cbs6, cpbSpace, csb2, cfcDtrDsr, CS6, PARENB | CMSPAR, true, false, false}));

TEST_F(CommOnPty, ARefusedValueLeavesThePropertyAsItWas)
{
    comm.Open();
    EXPECT_THROW(comm.SetBaudRateUserDefined(12345), ECommReadWriteError);
    EXPECT_EQ(comm.BaudRateUserDefined(), 38400);
    EXPECT_THROW(comm.SetByteSize(cbs4), ECommReadWriteError);
    EXPECT_EQ(comm.ByteSize(), cbs8);
    termios tio{};
    ASSERT_TRUE(peer.SlaveSettings(tio));
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B38400));
}

TEST_F(CommOnPty, AnUnsupportedRateFailsTheOpen)
{
    comm.SetBaudRateUserDefined(12345);
    EXPECT_THROW(comm.Open(), ECommOpenError);
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(CommOnPty, WriteUpToTheTransmitQueueSize)
{
    peer.Start({});
    comm.SetOutQueueSize(64);
    comm.Open();
    QByteArray bytes(64, 'x');
    EXPECT_NO_THROW(comm.WriteText(bytes));
    try {
        comm.WriteText(bytes + 'y');
        FAIL() << "an over-long write was accepted";
    } catch (const ECommError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("送信データ長が長すぎる。"));
    }
    EXPECT_TRUE(Eventually([&] { return peer.Received().size() == 64; }));
}

TEST_F(CommOnPty, TheLineIsExclusiveWhileOpen)
{
    EXPECT_FALSE(peer.SlaveExclusive());
    comm.Open();
    EXPECT_TRUE(peer.SlaveExclusive());
    comm.Close();
    EXPECT_FALSE(peer.SlaveExclusive());
}

TEST_F(CommOnPty, ASecondOpenIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may open an exclusive terminal anyway";
    comm.Open();
    TComm second;
    second.SetDevicePath(peer.SlavePath());
    try {
        second.Open();
        FAIL() << "a second open succeeded";
    } catch (const ECommOpenError &e) {
        EXPECT_EQ(e.ErrorCode(), EBUSY);
    }
}

TEST_F(CommOnPty, ReceiveCallbackGetsEveryByteInOrderOnTheWatcherThread)
{
    std::mutex lock;
    QByteArray got;
    std::atomic<bool> onOtherThread{true};
    const auto mainThread = std::this_thread::get_id();
    comm.SetOnCommReceive([&](TComm *sender, uint16_t count) {
        EXPECT_EQ(sender, &comm);
        EXPECT_GT(count, 0);
        if (std::this_thread::get_id() == mainThread)
            onOtherThread = false;
        char buf[4096];
        const int n = sender->ReadBuffer(buf, std::min<int>(count, sizeof buf));
        std::lock_guard<std::mutex> guard(lock);
        got.append(buf, n);
    });
    comm.Open();
    QByteArray expected;
    for (int i = 0; i < 3000; ++i)
        expected.append(char(i * 7));
    // The peer sends the whole block in answer to one byte.
    peer.Start([&](const TPeerEvent &) { return TPeerReply{expected}; });
    comm.WriteText(QByteArray(1, 'q'));
    EXPECT_TRUE(Eventually([&] {
        std::lock_guard<std::mutex> guard(lock);
        return got.size() >= expected.size();
    }));
    std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(onOtherThread);
}

TEST_F(CommOnPty, AFailingCallbackDoesNotEndTheWatcher)
{
    std::atomic<int> calls{0};
    comm.SetOnCommReceive([&](TComm *, uint16_t) {
        ++calls;
        throw std::runtime_error("callback failed");
    });
    comm.Open();
    peer.Start([](const TPeerEvent &) { return TPeerReply{"ab"}; });
    comm.WriteText("x");
    ASSERT_TRUE(Eventually([&] { return calls.load() >= 1; }));
    const int before = calls;
    comm.WriteText("y");
    EXPECT_TRUE(Eventually([&] { return calls.load() > before; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_LT(calls.load(), before + 5) << "unread bytes kept the watcher busy";
}

TEST_F(CommOnPty, NoCallbackAfterClose)
{
    std::atomic<bool> closed{false};
    std::atomic<bool> lateCall{false};
    std::atomic<int> calls{0};
    comm.SetOnCommReceive([&](TComm *sender, uint16_t count) {
        if (closed)
            lateCall = true;
        char buf[512];
        sender->ReadBuffer(buf, std::min<int>(count, sizeof buf));
        ++calls;
    });
    comm.Open();
    // A peer that keeps talking while the line is closed under it.
    peer.Start([](const TPeerEvent &) { return TPeerReply{QByteArray(200, 'z'), 0, 0}; });
    for (int i = 0; i < 20; ++i)
        comm.WriteText("a");
    ASSERT_TRUE(Eventually([&] { return calls.load() > 0; }));
    comm.Close();
    closed = true;
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(lateCall);
}

TEST_F(CommOnPty, PseudoTerminalReadsCtsOnUntilTheFarSideHangsUp)
{
    std::atomic<int> ctsEvents{0};
    comm.SetEventMask(evCts);
    comm.SetOnCommEvent([&](TComm *, TCommEventMask events) {
        if (events & evCts)
            ++ctsEvents;
    });
    comm.Open();
    // No modem lines on a pseudo-terminal: driving them raises nothing,
    // fires no event and leaves the port open with CTS read as on.
    EXPECT_NO_THROW(comm.SetRtsState(true));
    EXPECT_NO_THROW(comm.SetDtrState(false));
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(ctsEvents.load(), 0);
    EXPECT_TRUE(comm.CtsState());
    EXPECT_TRUE(comm.DsrState());
    peer.HangUp();
    EXPECT_TRUE(Eventually([&] { return !comm.CtsState(); }));
    EXPECT_FALSE(comm.DsrState());
    EXPECT_TRUE(Eventually([&] { return ctsEvents.load() == 1; }));
    // A write to a hung-up line fails as an I/O error.
    EXPECT_THROW(comm.WriteText("x"), ECommReadWriteError);
    comm.Close();
    EXPECT_FALSE(comm.CtsState());
}

TEST_F(CommOnPty, TransmitCallbackWhenTheQueueRunsEmpty)
{
    std::atomic<int> empties{0};
    comm.SetEventMask(evTxempty);
    comm.SetOnCommTransmit([&](TComm *, uint16_t count) {
        EXPECT_EQ(count, 0);
        ++empties;
    });
    peer.Start({});
    comm.Open();
    comm.WriteText("hello");
    EXPECT_TRUE(Eventually([&] { return empties.load() == 1; }));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(empties.load(), 1) << "reported once per write, not for ever";
}

// ---------------------------------------------------------------- ring

TEST(ReceiveRing, KeepsOrderAcrossTheWrapAndDropsWhatDoesNotFit)
{
    TReceiveRing ring;
    uint8_t bytes[3000];
    for (int i = 0; i < 3000; ++i)
        bytes[i] = uint8_t(i);
    EXPECT_EQ(ring.Put(bytes, 3000), 3000);
    uint8_t b;
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(ring.Take(b));
    // 1000 held; 3000 more fit only up to 4096.
    EXPECT_EQ(ring.Put(bytes, 3000), 3000);
    EXPECT_EQ(ring.Put(bytes, 200), 96);
    EXPECT_EQ(ring.Count(), 4096);
    for (int i = 2000; i < 3000; ++i) {
        ASSERT_TRUE(ring.Take(b));
        ASSERT_EQ(b, uint8_t(i));
    }
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(ring.Take(b));
        ASSERT_EQ(b, uint8_t(i));
    }
    for (int i = 0; i < 96; ++i) {
        ASSERT_TRUE(ring.Take(b));
        ASSERT_EQ(b, uint8_t(i));
    }
    EXPECT_FALSE(ring.Take(b));
    ring.Put(bytes, 10);
    ring.Clear();
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_FALSE(ring.Take(b));
}

TEST(ReceiveRing, OneProducerOneConsumerLoseNothingWhileThereIsRoom)
{
    TReceiveRing ring;
    constexpr int Total = 50000;
    std::thread producer([&] {
        int sent = 0;
        while (sent < Total) {
            uint8_t chunk[64];
            const int n = std::min(64, Total - sent);
            for (int i = 0; i < n; ++i)
                chunk[i] = uint8_t(sent + i);
            const int stored = ring.Put(chunk, n);
            sent += stored;
            if (stored < n)
                std::this_thread::yield();
        }
    });
    int taken = 0;
    bool inOrder = true;
    while (taken < Total) {
        uint8_t b;
        if (ring.Take(b)) {
            inOrder = inOrder && b == uint8_t(taken);
            ++taken;
        }
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(ring.Count(), 0);
}
