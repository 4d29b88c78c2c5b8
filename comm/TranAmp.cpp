#include "comm/TranAmp.h"

#include "app/Busy.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr uint32_t MaxAddress = 0xFFFFF;
constexpr int OpenTries = 5;
constexpr uint32_t OpenRetryPauseMs = 100;
constexpr uint32_t ResetPauseMs = 300;
constexpr uint8_t ResetAddressByte = 0x90;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// len hex digits of text from position from, case-insensitive.
bool HexField(const QByteArray &text, int from, int len, uint32_t &value)
{
    if (from < 0 || len <= 0 || len > 8 || from + len > text.size())
        return false;
    uint32_t v = 0;
    for (int i = from; i < from + len; ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0)
            return false;
        v = v << 4 | uint32_t(d);
    }
    value = v;
    return true;
}

bool AllHex(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return HexDigit(c) >= 0; });
}

QByteArray Hex(uint32_t value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

constexpr uint32_t DirectWaitMs = 2;

} // namespace

TTranAmp::TTranAmp(QObject *parent) : QObject(parent)
{
    // The amplifier line: 8 data bits, even parity, 2 stop bits, no
    // handshake; the chosen rate goes into BaudRateUserDefined at each open.
    comAmp.SetBaudRate(-1);
    comAmp.SetByteSize(cbs8);
    comAmp.SetParityBits(cpbEven);
    comAmp.SetStopBits(csb2);
    comAmp.SetFlowControls(0);
    comAmp.SetOnCommReceive([this](TComm *sender, uint16_t count) { OnCommReceive(sender, count); });

    tmrContinue.setInterval(KeepAliveMs);
    tmrContinue.setSingleShot(false);
    connect(&tmrContinue, &QTimer::timeout, this, &TTranAmp::OnKeepAlive);
    // The watcher thread rings this when bytes have arrived; a waiting
    // transaction wakes up in the event loop. Nothing but the descriptor
    // crosses the threads.
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd >= 0) {
        m_wakeNotifier = new QSocketNotifier(m_wakeFd, QSocketNotifier::Read, this);
        connect(m_wakeNotifier, &QSocketNotifier::activated, this, &TTranAmp::OnWake);
    }
    // The deadline of a wait only has to wake the event loop.
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
}

TTranAmp::~TTranAmp()
{
    TTranAmp::ClosePort(); // the watcher is gone after this
    delete m_wakeNotifier;
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

// ---------------------------------------------------------------- port

void TTranAmp::SetDevicePath(const QString &path)
{
    comAmp.SetDevicePath(path);
}

QString TTranAmp::DevicePath() const
{
    return comAmp.DevicePath();
}

QString TTranAmp::DeviceName() const
{
    return comAmp.DeviceName();
}

void TTranAmp::OpenPort(int baudRate, uint8_t portNumber)
{
    m_portOpen = false;
    try {
        comAmp.SetBaudRateUserDefined(baudRate);
    } catch (const ECommError &) {
        // An open port refused the rate; the open below keeps what it has.
    }
    comAmp.SetPort(portNumber);
    for (int i = 0; i < OpenTries; ++i) {
        try {
            comAmp.Open();
            m_portOpen = true;
            m_lastOpenError.clear();
            m_lastOpenErrorCode = 0;
            return;
        } catch (const ECommError &e) {
            m_lastOpenError = e.Message();
            const auto *open = dynamic_cast<const ECommOpenError *>(&e);
            m_lastOpenErrorCode = open ? open->ErrorCode() : -1;
        }
        Pause(OpenRetryPauseMs);
    }
}

void TTranAmp::ClosePort()
{
    tmrContinue.stop();
    try {
        comAmp.Close();
    } catch (...) {
    }
    m_portOpen = false;
}

void TTranAmp::SetRts(bool on)
{
    try {
        comAmp.SetRtsState(on);
    } catch (...) {
    }
}

bool TTranAmp::CtsOn() const
{
    return comAmp.CtsState();
}

void TTranAmp::ResetLine()
{
    if (m_inTransaction) {
        ++m_stats.nestedRefused;
        std::fprintf(stderr, "tuvanta: line reset refused: a transaction is still waiting\n");
        return;
    }
    m_inTransaction = true;
    TBusy::TTransaction busy;
    tmrContinue.stop();
    for (int i = 0; i < Tries; ++i) {
        m_ring.Clear();
        SendPoll(ResetAddressByte);
        Pause(ResetPauseMs);
    }
    m_inTransaction = false;
    tmrContinue.start();
}

// ---------------------------------------------------------------- waits

uint32_t TTranAmp::TickCount() const
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TTranAmp::LetEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Sleeps in the event loop until any event arrives: a byte (the watcher
// posts a wake-up), the deadline timer, a user action or another timer.
void TTranAmp::BlockUntilWoken(uint32_t ms)
{
    if (ms == 0)
        return;
    // An answer's next byte is usually a character time away: wait for the
    // watcher's ring directly for that long, which wakes sooner than a pass
    // through the event loop. A couple of milliseconds without events is
    // nothing a window notices.
    if (m_wakeFd >= 0) {
        pollfd pfd{m_wakeFd, POLLIN, 0};
        if (::poll(&pfd, 1, int(std::min<uint32_t>(ms, DirectWaitMs))) > 0) {
            OnWake();
            return;
        }
        if (ms <= DirectWaitMs)
            return;
        ms -= DirectWaitMs;
    }
    m_deadline.start(int(std::min<uint32_t>(ms, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    m_deadline.stop();
}

void TTranAmp::Pause(uint32_t ms)
{
    const uint32_t start = TickCount();
    for (;;) {
        LetEventsRun();
        const uint32_t elapsed = TickCount() - start;
        if (elapsed >= ms)
            return;
        BlockUntilWoken(ms - elapsed);
    }
}

bool TTranAmp::ReceiveByte(uint32_t t, uint8_t &byte)
{
    const uint32_t start = TickCount();
    for (;;) {
        LetEventsRun();
        const uint32_t elapsed = TickCount() - start;
        if (m_ring.Take(byte))
            return true;
        if (elapsed >= t)
            return false;
        BlockUntilWoken(t - elapsed);
    }
}

bool TTranAmp::WaitFor(uint32_t t, uint8_t value)
{
    const uint32_t start = TickCount();
    for (;;) {
        LetEventsRun();
        const uint32_t elapsed = TickCount() - start;
        uint8_t byte;
        while (m_ring.Take(byte)) {
            if (byte == value)
                return true;
        }
        if (elapsed >= t)
            return false;
        BlockUntilWoken(t - elapsed);
    }
}

bool TTranAmp::ReceiveChars(uint32_t t, int n, QByteArray &text)
{
    const uint32_t start = TickCount();
    for (;;) {
        LetEventsRun();
        const uint32_t elapsed = TickCount() - start;
        uint8_t byte;
        while (text.size() < n && m_ring.Take(byte))
            text.append(char(byte));
        if (text.size() >= n)
            return true;
        if (elapsed >= t)
            return false;
        BlockUntilWoken(t - elapsed);
    }
}

// Watcher thread: bytes go into the ring, and a waiting transaction is woken.
void TTranAmp::OnCommReceive(TComm *sender, uint16_t count)
{
    uint8_t buffer[512];
    int left = count;
    bool any = false;
    while (left > 0) {
        const int n = sender->ReadBuffer(buffer, std::min<int>(left, int(sizeof buffer)));
        if (n <= 0)
            break;
        m_ring.Put(buffer, n);
        left -= n;
        any = true;
    }
    if (any && m_wakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
}

void TTranAmp::OnWake()
{
    uint64_t rings;
    [[maybe_unused]] ssize_t n = ::read(m_wakeFd, &rings, sizeof rings);
}

void TTranAmp::OnKeepAlive()
{
    tmrContinue.stop();
    try {
        if (comAmp.CtsState()) {
            const uint8_t enq = ENQ;
            comAmp.WriteBuffer(&enq, 1);
            tmrContinue.start();
        }
    } catch (...) {
        // the timer stays off until the next transaction
    }
}

// ---------------------------------------------------------------- frames

int TTranAmp::CharTimeoutFor(int baudRate)
{
    if (baudRate >= 38400)
        return 75;
    if (baudRate >= 9600)
        return 300;
    return 1000;
}

int TTranAmp::CharTimeout() const
{
    return CharTimeoutFor(comAmp.EffectiveBaudRate());
}

QByteArray TTranAmp::CheckChars(const QByteArray &text)
{
    uint8_t x = ETX;
    for (char c : text)
        x ^= uint8_t(c);
    return Hex(x, 2);
}

QByteArray TTranAmp::Frame(const QByteArray &text)
{
    QByteArray frame;
    frame.reserve(text.size() + 4);
    frame.append(char(STX)).append(text).append(char(ETX)).append(CheckChars(text));
    return frame;
}

void TTranAmp::Send(const QByteArray &bytes)
{
    try {
        comAmp.WriteText(bytes);
    } catch (const ECommError &) {
        // the following wait runs into its time-out
    }
}

void TTranAmp::SendPoll(uint8_t addressByte)
{
    const char poll[] = {char(ENQ), char(addressByte)};
    Send(QByteArray(poll, 2));
}

void TTranAmp::Send(uint8_t byte)
{
    Send(QByteArray(1, char(byte)));
}

// ---------------------------------------------------------------- transaction

TTranResult TTranAmp::Transact(uint8_t addressByte, const QByteArray &command, QByteArray &answer)
{
    // Every wait below lets events run; a caller reached from one of them
    // must not start a second exchange on the same line.
    if (m_inTransaction) {
        ++m_stats.nestedRefused;
        std::fprintf(stderr, "tuvanta: transaction %s on address 0x%02X refused: another one is still waiting\n",
                     command.left(6).constData(), unsigned(addressByte));
        return trCommError;
    }
    m_inTransaction = true;
    TBusy::TTransaction busy;
    TAxisLineStats &stats = m_stats.axes[addressByte & 0x0F];
    ++stats.transactions;
    tmrContinue.stop();
    const uint32_t t = uint32_t(CharTimeout());
    const QByteArray frame = Frame(command);
    TTranResult result = trCommError;
    bool answered = false;

    for (int attempt = 0; attempt < Tries; ++attempt) {
        m_ring.Clear();
        answered = false;
        ++stats.tries;
        SendPoll(addressByte);

        uint8_t byte;
        if (!ReceiveByte(t, byte)) {
            ++stats.timeouts;
            continue;
        }
        if (byte == NAK) {
            ++stats.naks;
            // Another amplifier answers to this number as well: retrying
            // would not help.
            answered = true;
            result = trNak;
            break;
        }
        if (byte != EOT)
            continue;
        answered = true;

        m_ring.Clear();
        Send(frame);
        if (!WaitFor(t, STX)) {
            ++stats.timeouts;
            continue;
        }

        QByteArray collected(1, char(STX));
        bool complete = false;
        for (;;) {
            if (!ReceiveByte(t, byte) || collected.size() >= MaxFrame)
                break;
            collected.append(char(byte));
            if (byte == ETX) {
                complete = true;
                break;
            }
        }
        if (!complete) {
            ++stats.timeouts;
            Send(NAK);
            continue;
        }
        QByteArray check;
        if (!ReceiveChars(t, 2, check)) {
            ++stats.timeouts;
            Send(NAK);
            continue;
        }
        const QByteArray text = collected.mid(1, collected.size() - 2);
        if (text.isEmpty() || check != CheckChars(text)) {
            ++stats.checkErrors;
            Send(NAK);
            continue;
        }

        answer = text;
        m_ring.Clear();
        Send(EOT);
        if (WaitFor(t, ACK)) {
            result = trOk;
            break;
        }
        ++stats.timeouts;
    }
    if (!answered)
        result = trTimeout;
    if (result != trOk)
        ++stats.failed;
    m_inTransaction = false;
    tmrContinue.start();
    return result;
}

// ---------------------------------------------------------------- commands

TTranResult TTranAmp::Command(int axis, const QByteArray &command, QByteArray &answer)
{
    if (axis < 0 || axis > 15)
        return trCommError;
    return Transact(uint8_t(0x90 + axis), command, answer);
}

TTranResult TTranAmp::CmdH0(int axis, int32_t &ampCode)
{
    QByteArray answer;
    const TTranResult r = Command(axis, "H0", answer);
    if (r != trOk)
        return r;
    uint32_t code;
    if (answer.size() != 7 || answer[0] != '0' || !HexField(answer, 1, 6, code))
        return trCommError;
    ampCode = int32_t(code);
    return trOk;
}

TTranResult TTranAmp::CmdH1(int axis)
{
    QByteArray answer;
    const TTranResult r = Command(axis, "H1", answer);
    if (r != trOk)
        return r;
    return answer.startsWith('0') ? trOk : trCommError;
}

// R and M differ only in their letter and how many bytes the answer holds.
template <size_t N>
TTranResult TTranAmp::ReadMemory(int axis, char letter, uint32_t address, std::array<uint8_t, N> &bytes)
{
    if (address > MaxAddress)
        return trCommError;
    QByteArray answer;
    const TTranResult r = Command(axis, QByteArray(1, letter) + Hex(address, 5), answer);
    if (r != trOk)
        return r;
    std::array<uint8_t, N> got;
    for (size_t i = 0; i < N; ++i) {
        uint32_t v;
        if (!HexField(answer, int(2 * i), 2, v))
            return trCommError;
        got[i] = uint8_t(v);
    }
    bytes = got;
    return trOk;
}

TTranResult TTranAmp::CmdR(int axis, uint32_t address, std::array<uint8_t, 4> &bytes)
{
    return ReadMemory(axis, 'R', address, bytes);
}

TTranResult TTranAmp::CmdM(int axis, uint32_t address, std::array<uint8_t, 8> &bytes)
{
    return ReadMemory(axis, 'M', address, bytes);
}

// A write is acknowledged by its echo: address and bytes as sent.
TTranResult TTranAmp::Write(int axis, char letter, uint32_t address, const uint8_t *bytes, int count)
{
    // An address that does not fit five digits would shift every field of
    // the frame: never send it.
    if (address > MaxAddress)
        return trCommError;
    QByteArray command(1, letter);
    command += Hex(address, 5);
    for (int i = 0; i < count; ++i)
        command += Hex(bytes[i], 2);
    QByteArray answer;
    const TTranResult r = Command(axis, command, answer);
    if (r != trOk)
        return r;
    uint32_t echoed;
    if (!HexField(answer, 0, 5, echoed) || echoed != address)
        return trCommError;
    for (int i = 0; i < count; ++i) {
        if (!HexField(answer, 5 + 2 * i, 2, echoed) || echoed != bytes[i])
            return trCommError;
    }
    return trOk;
}

TTranResult TTranAmp::CmdO(int axis, uint32_t address, uint8_t b0)
{
    const uint8_t b[] = {b0};
    return Write(axis, 'O', address, b, 1);
}

TTranResult TTranAmp::CmdP(int axis, uint32_t address, uint8_t b0, uint8_t b1)
{
    const uint8_t b[] = {b0, b1};
    return Write(axis, 'P', address, b, 2);
}

TTranResult TTranAmp::CmdQ(int axis, uint32_t address, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    const uint8_t b[] = {b0, b1, b2, b3};
    return Write(axis, 'Q', address, b, 4);
}

TTranResult TTranAmp::CmdY(int axis, uint32_t address, uint8_t b0, uint8_t b1)
{
    const uint8_t b[] = {b0, b1};
    return Write(axis, 'Y', address, b, 2);
}

TTranResult TTranAmp::CmdZ(int axis, uint32_t address, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    const uint8_t b[] = {b0, b1, b2, b3};
    return Write(axis, 'Z', address, b, 4);
}

TTranResult TTranAmp::CmdW(int axis, uint8_t code, uint32_t &value)
{
    QByteArray answer;
    const TTranResult r = Command(axis, "W" + Hex(code, 2), answer);
    if (r != trOk)
        return r;
    // The leading digits are delivered whatever the length, so that callers
    // may look at them; only exactly eight digits count as success.
    int digits = 0;
    while (digits < 8 && digits < answer.size() && HexDigit(answer[digits]) >= 0)
        ++digits;
    uint32_t v = 0;
    if (digits > 0)
        HexField(answer, 0, digits, v);
    value = v;
    return answer.size() == 8 && AllHex(answer) ? trOk : trCommError;
}

TTranResult TTranAmp::CmdL(int axis, uint8_t code, uint8_t &s, uint32_t &n)
{
    QByteArray answer;
    const TTranResult r = Command(axis, "L" + Hex(code, 2), answer);
    if (r != trOk)
        return r;
    uint32_t sv, nv;
    if (answer.size() != 8 || !HexField(answer, 0, 2, sv) || !HexField(answer, 2, 6, nv))
        return trCommError;
    s = uint8_t(sv);
    n = nv;
    return trOk;
}
