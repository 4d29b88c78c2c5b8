#pragma once

#include "comm/Comm.h"
#include "comm/LineStats.h"
#include "comm/ReceiveRing.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>

// Result of a transaction and of every command operation.
enum TTranResult : uint8_t {
    trOk = 0,        // answer with correct check characters, acknowledged
    trCommError = 1, // went wrong after the polling was answered, or bad answer content
    trNak = 2,       // the amplifier answered the polling with NAK
    trTimeout = 3,   // the last try got no usable answer to its polling
};

// The amplifier protocol engine: owns the serial port, keeps received bytes
// in a ring that the serial watcher thread fills, and performs one framed
// request/answer exchange at a time with one amplifier. Shows no messages.
//
// Every wait lets the application process its pending events (timers and
// input run in the middle of a transaction) but blocks in the event loop
// until a byte arrives or the deadline passes; nothing spins.
//
// Axis arguments are 0 to 15; the address byte of axis n is 0x90 + n (axis 0,
// address byte 0x90, is for the direct-mode windows). All calls on the thread
// that created the engine (the user-interface thread).
class QSocketNotifier;

class TTranAmp : public QObject
{
    Q_OBJECT
public:
    static constexpr uint8_t STX = 0x02;
    static constexpr uint8_t ETX = 0x03;
    static constexpr uint8_t EOT = 0x04;
    static constexpr uint8_t ENQ = 0x05;
    static constexpr uint8_t ACK = 0x06;
    static constexpr uint8_t NAK = 0x15;
    static constexpr int Tries = 5;
    static constexpr int MaxFrame = 255; // STX, at most 253 text bytes, ETX
    static constexpr int KeepAliveMs = 10000;

    explicit TTranAmp(QObject *parent = nullptr);
    ~TTranAmp() override; // closes the port
    // (The port and protocol operations are virtual so that tests of the
    // callers can stand in an engine of their own.)

    // --- Port (the main window, the command-line program) ---

    // Device to open instead of the port rule (/dev/ttyS(n-1)); empty: the
    // rule. Takes effect at the next OpenPort.
    void SetDevicePath(const QString &path);
    QString DevicePath() const;
    // The device the next (or last) open tries: DevicePath, or the port's.
    QString DeviceName() const;
    // Sets the rate and port, then tries to open up to five times with
    // 100 ms between tries. Raises nothing: look at PortOpen.
    virtual void OpenPort(int baudRate, uint8_t portNumber);
    virtual void ClosePort(); // swallows every error
    virtual bool PortOpen() const { return m_portOpen; }
    // Text of the last failed open try ("" after a successful open).
    QString LastOpenError() const { return m_lastOpenError; }
    int LastOpenErrorCode() const { return m_lastOpenErrorCode; } // errno, 0 after success
    virtual void SetRts(bool on);
    virtual bool CtsOn() const; // the amplifier cable is connected
    // Line reset: five times ENQ and 0x90 with 300 ms pauses; no answers read.
    virtual void ResetLine();

    // --- Protocol ---

    // One transaction with the address byte. answer is written only when an
    // answer passed its check characters; it keeps its old value otherwise.
    virtual TTranResult Transact(uint8_t addressByte, const QByteArray &command, QByteArray &answer);

    // One operation per command code. Each polls address byte 0x90 + axis,
    // checks and converts the answer; a failed check gives trCommError.
    // Addresses are 20-bit; bytes of R and M answers are in address order;
    // the bytes of P, Q, Y, Z are the value's most significant first.
    virtual TTranResult CmdH0(int axis, int32_t &ampCode); // identify: 24-bit amplifier code
    virtual TTranResult CmdH1(int axis);                   // release
    virtual TTranResult CmdR(int axis, uint32_t address, std::array<uint8_t, 4> &bytes);
    virtual TTranResult CmdM(int axis, uint32_t address, std::array<uint8_t, 8> &bytes);
    virtual TTranResult CmdO(int axis, uint32_t address, uint8_t b0);
    virtual TTranResult CmdP(int axis, uint32_t address, uint8_t b0, uint8_t b1);
    virtual TTranResult CmdQ(int axis, uint32_t address, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
    virtual TTranResult CmdY(int axis, uint32_t address, uint8_t b0, uint8_t b1);
    virtual TTranResult CmdZ(int axis, uint32_t address, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
    // Operation command "W" + two hex digits of code (0x01 for W01, 0xA4 for
    // WA4, ...); answer V8. value is delivered (leading hex digits, at most
    // eight) even when the answer is not exactly eight hex digits, but the
    // result is then trCommError.
    virtual TTranResult CmdW(int axis, uint8_t code, uint32_t &value);
    // Trace command "L" + two hex digits of code (0x00 for L00 ... 0x04 for
    // L04); the answer's eight hex digits split into S (8 bits) and N (24 bits).
    virtual TTranResult CmdL(int axis, uint8_t code, uint8_t &s, uint32_t &n);

    // --- Helpers ---

    // Character time-out t in ms for a bit rate: 75 at 38400 and above, 300
    // from 9600, 1000 below.
    static int CharTimeoutFor(int baudRate);
    int CharTimeout() const; // for the port's effective rate
    // The two upper-case check characters of STX + text + ETX.
    static QByteArray CheckChars(const QByteArray &text);
    // STX + text + ETX + check characters.
    static QByteArray Frame(const QByteArray &text);

    // The keep-alive timer (tmrContinue): interval changeable for tests.
    void SetKeepAliveInterval(int ms) { tmrContinue.setInterval(ms); }
    bool KeepAliveActive() const { return tmrContinue.isActive(); }

    TComm &Comm() { return comAmp; }

    // A transaction (or line reset) is waiting: a further one started now is
    // refused with trCommError and a line on the error output.
    bool InTransaction() const { return m_inTransaction; }

    // Counts per address byte, for the line-statistics window and
    // tuvanta-cli --stats.
    const TLineStats &Stats() const { return m_stats; }
    void ResetStats() { m_stats = TLineStats(); }

protected:
    // Millisecond clock; differences are taken modulo 2^32.
    virtual uint32_t TickCount() const;

private:
    void Send(const QByteArray &bytes); // swallows port errors
    void Send(uint8_t byte);
    void SendPoll(uint8_t addressByte); // ENQ and the address byte
    void LetEventsRun();
    void BlockUntilWoken(uint32_t ms);
    void Pause(uint32_t ms);
    bool ReceiveByte(uint32_t t, uint8_t &byte);
    bool WaitFor(uint32_t t, uint8_t value);
    bool ReceiveChars(uint32_t t, int n, QByteArray &text);
    TTranResult Command(int axis, const QByteArray &command, QByteArray &answer);
    TTranResult Write(int axis, char letter, uint32_t address, const uint8_t *bytes, int count);
    template <size_t N>
    TTranResult ReadMemory(int axis, char letter, uint32_t address, std::array<uint8_t, N> &bytes);
    void OnCommReceive(TComm *sender, uint16_t count); // watcher thread
    void OnWake();
    void OnKeepAlive();

    TComm comAmp;
    TReceiveRing m_ring;
    QTimer tmrContinue;
    QTimer m_deadline;
    int m_wakeFd = -1; // the watcher thread's doorbell for the waits
    QSocketNotifier *m_wakeNotifier = nullptr;
    bool m_portOpen = false;
    bool m_inTransaction = false;
    TLineStats m_stats;
    QString m_lastOpenError;
    int m_lastOpenErrorCode = 0;
};
