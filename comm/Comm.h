#pragma once

#include "comm/CommErrors.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class TCommWatch;
struct termios;

enum TCommByteSize : uint8_t { cbs4, cbs5, cbs6, cbs7, cbs8 };
enum TCommParityBits : uint8_t { cpbNone, cpbOdd, cpbEven, cpbMark, cpbSpace };
enum TCommStopBits : uint8_t { csb1, csb15, csb2 };

enum TCommFlowControl : uint8_t { cfcDtrDsr = 1u << 0, cfcRtsCts = 1u << 1, cfcXonXoff = 1u << 2 };
using TCommFlowControls = uint8_t; // set of TCommFlowControl

// Line events; element n is bit 2^n of the event mask.
enum TCommEvents : uint16_t {
    evRxchar = 1u << 0,
    evRxflag = 1u << 1,
    evTxempty = 1u << 2,
    evCts = 1u << 3,
    evDsr = 1u << 4,
    evRlsd = 1u << 5,
    evBreak = 1u << 6,
    evErr = 1u << 7,
    evRing = 1u << 8,
    evPerr = 1u << 9,
};
using TCommEventMask = uint16_t; // set of TCommEvents

class TComm;
using TCommCountEvent = std::function<void(TComm *sender, uint16_t count)>;
using TCommLineEvent = std::function<void(TComm *sender, TCommEventMask events)>;

// One serial device (POSIX termios). Holds the line settings as properties,
// opens the device exclusively in raw mode, writes and reads bytes without
// blocking the caller for long, drives DTR/RTS and reads CTS/DSR, and runs a
// watcher thread that reports received bytes through OnCommReceive.
//
// Device name: DevicePath when it is set, otherwise port n is /dev/ttyS(n-1)
// (port 1 is /dev/ttyS0). A device without modem lines (a pseudo-terminal)
// reads CTS and DSR as on until the far side hangs up.
//
// Everything except the callbacks runs on the thread that owns the component;
// the callbacks run on the watcher thread.
class TComm
{
public:
    TComm();
    ~TComm(); // closes an open port
    TComm(const TComm &) = delete;
    TComm &operator=(const TComm &) = delete;

    // Device name by the port rule, or DevicePath when that is set.
    static QString PortDeviceName(int port);
    QString DeviceName() const;

    void Open();  // does nothing when open; raises ECommOpenError
    void Close(); // does nothing when closed; stops the watcher first
    bool IsOpen() const { return m_fd >= 0; }

    // Sends count bytes; returns when the driver has taken them.
    void WriteBuffer(const void *bytes, int count);
    void WriteText(const QByteArray &text);
    // Reads up to count bytes that are waiting; returns how many were read.
    int ReadBuffer(void *buffer, int count);
    // Bytes waiting in the driver's receive queue.
    int InQueueCount() const;

    // Properties. Setters store the value and push it to the device at once
    // when open; a value the device refuses raises ECommReadWriteError and
    // leaves the property as it was.
    QString DevicePath() const { return m_devicePath; }
    void SetDevicePath(const QString &path) { m_devicePath = path; } // applies at the next Open
    uint8_t Port() const { return m_port; }
    void SetPort(uint8_t port) { m_port = port; } // applies at the next Open
    int32_t BaudRate() const { return m_baudRate; }
    void SetBaudRate(int32_t rate);
    int32_t BaudRateUserDefined() const { return m_baudRateUserDefined; }
    void SetBaudRateUserDefined(int32_t rate);
    int32_t EffectiveBaudRate() const { return m_baudRate == -1 ? m_baudRateUserDefined : m_baudRate; }
    TCommByteSize ByteSize() const { return m_byteSize; }
    void SetByteSize(TCommByteSize size);
    TCommParityBits ParityBits() const { return m_parity; }
    void SetParityBits(TCommParityBits parity);
    TCommStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TCommStopBits stopBits);
    TCommFlowControls FlowControls() const { return m_flow; }
    void SetFlowControls(TCommFlowControls flow);
    uint16_t InQueueSize() const { return m_inQueueSize; }
    void SetInQueueSize(uint16_t size) { m_inQueueSize = size; }
    uint16_t OutQueueSize() const { return m_outQueueSize; }
    void SetOutQueueSize(uint16_t size) { m_outQueueSize = size; }
    int32_t ReceiveNotifySize() const { return m_receiveNotifySize; }
    void SetReceiveNotifySize(int32_t size) { m_receiveNotifySize = size; }
    int32_t SendNotifySize() const { return m_sendNotifySize; }
    void SetSendNotifySize(int32_t size) { m_sendNotifySize = size; }
    TCommEventMask EventMask() const { return m_eventMask.load(); }
    void SetEventMask(TCommEventMask mask);

    // The settings the component gives the device, on top of base (which
    // the device had). Raises ECommReadWriteError for values the OS cannot
    // express. A pseudo-terminal keeps its own parity and character size.
    void MakeTermios(struct termios &tio, bool pseudoTerminal = false) const;

    bool CtsState() const; // off while closed
    bool DsrState() const; // off while closed
    void SetDtrState(bool on);
    void SetRtsState(bool on);

    // Callbacks, called on the watcher thread while the port is open.
    void SetOnCommReceive(TCommCountEvent handler);
    void SetOnCommTransmit(TCommCountEvent handler);
    void SetOnCommEvent(TCommLineEvent handler);

private:
    friend class TCommWatch;

    void ApplyLineSettings(); // raises ECommReadWriteError
    template <typename T> void SetAndApply(T &field, T value);
    void SetModemLine(int line, bool on);
    bool ModemInput(int line) const;
    bool HungUp() const;
    void FireReceive(uint16_t count);
    void FireTransmit(uint16_t count);
    void FireEvent(TCommEventMask events);

    QString m_devicePath;
    uint8_t m_port = 1;
    int32_t m_baudRate = 9600;
    int32_t m_baudRateUserDefined = 9600;
    TCommByteSize m_byteSize = cbs8;
    TCommParityBits m_parity = cpbNone;
    TCommStopBits m_stopBits = csb1;
    TCommFlowControls m_flow = cfcRtsCts;
    uint16_t m_inQueueSize = 4096;
    uint16_t m_outQueueSize = 4096;
    int32_t m_receiveNotifySize = 3072;
    int32_t m_sendNotifySize = 1024;
    std::atomic<TCommEventMask> m_eventMask{0};

    int m_fd = -1;
    std::unique_ptr<TCommWatch> m_watch;

    mutable std::mutex m_handlerLock;
    TCommCountEvent m_onReceive;
    TCommCountEvent m_onTransmit;
    TCommLineEvent m_onEvent;
};
