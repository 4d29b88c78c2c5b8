#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// What the far side of the line saw: the sender's byte stream split into the
// pieces of the amplifier protocol.
struct TPeerEvent {
    enum TKind { Poll, Frame, Eot, Ack, Nak, Enq, Other };
    TKind kind = Other;
    uint8_t address = 0; // Poll: the address byte (0x90 + axis)
    QByteArray text;     // Frame: the bytes between STX and ETX
    QByteArray check;    // Frame: the two check characters as they came
    uint8_t byte = 0;    // Other: the byte
    int index = 0;       // position among all events of the session
    int kindIndex = 0;   // position among the events of the same kind
};

// What the peer sends back for one event.
struct TPeerReply {
    QByteArray bytes;
    int delayMs = 0;     // before the first byte
    int byteGapMs = 0;   // between bytes (0: all at once)
    bool hangUp = false; // close the line after sending: the cable is pulled
};

using TPeerHandler = std::function<TPeerReply(const TPeerEvent &)>;

// A pseudo-terminal pair whose slave side the code under test opens like a
// serial port, while this peer plays the far side (an amplifier) from a
// handler on its own thread.
class TPtyPeer
{
public:
    TPtyPeer();  // raises std::runtime_error when no pair can be made
    ~TPtyPeer(); // stops and closes
    TPtyPeer(const TPtyPeer &) = delete;
    TPtyPeer &operator=(const TPtyPeer &) = delete;

    QString SlavePath() const { return m_slavePath; }
    // The line settings the slave side has now.
    bool SlaveSettings(struct termios &settings) const;
    // The terminal is in exclusive mode (no further opens).
    bool SlaveExclusive() const;

    void Start(TPeerHandler handler);
    void Stop();
    void HangUp(); // closes the line from the test's thread

    std::vector<TPeerEvent> Events() const;
    int Count(TPeerEvent::TKind kind) const;
    QByteArray Received() const;
    // Waits until at least count events of kind have been seen.
    bool WaitFor(TPeerEvent::TKind kind, int count, int timeoutMs) const;

    // STX + text + ETX + the upper-case check, as an amplifier frames it.
    static QByteArray Frame(const QByteArray &text);
    static QByteArray Check(const QByteArray &text);

    // Handlers for common scripts.
    // An amplifier that answers every poll with EOT, every frame with the
    // answer for its text (framed), and EOT with ACK.
    static TPeerHandler Amplifier(std::function<QByteArray(const QByteArray &command)> answer);
    // Replies in order, one per event; silence when they are used up.
    static TPeerHandler Sequence(std::vector<TPeerReply> replies);

private:
    void Run();
    void Feed(uint8_t byte);
    void Emit(TPeerEvent event);
    void SendReply(const TPeerReply &reply);
    void CloseLine();

    int m_master = -1;
    int m_slaveHold = -1; // keeps the line up while nobody else has it open
    QString m_slavePath;
    TPeerHandler m_handler;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};

    // parser state (peer thread)
    enum { Idle, AfterEnq, InFrame, InCheck } m_state = Idle;
    QByteArray m_frameText;
    QByteArray m_frameCheck;

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<TPeerEvent> m_events;
    QByteArray m_received;
    int m_kindCount[7] = {};
};
