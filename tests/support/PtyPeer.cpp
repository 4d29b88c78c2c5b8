#include "PtyPeer.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr uint8_t STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, NAK = 0x15;
constexpr int QuietMs = 10; // a lone ENQ is a keep-alive once nothing follows

TPeerEvent Event(TPeerEvent::TKind kind)
{
    TPeerEvent e;
    e.kind = kind;
    return e;
}

void SleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

TPtyPeer::TPtyPeer()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) < 0 || ::unlockpt(m_master) < 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal name");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    // Raw from the start, so nothing the peer sends is echoed or translated
    // before the code under test has set the line up.
    termios tio{};
    if (m_slaveHold >= 0 && ::tcgetattr(m_slaveHold, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slaveHold, TCSANOW, &tio);
    }
}

TPtyPeer::~TPtyPeer()
{
    Stop();
    CloseLine();
}

void TPtyPeer::CloseLine()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    m_master = m_slaveHold = -1;
}

void TPtyPeer::Start(TPeerHandler handler)
{
    Stop();
    m_handler = std::move(handler);
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
}

void TPtyPeer::Stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void TPtyPeer::HangUp()
{
    Stop();
    CloseLine();
}

void TPtyPeer::Run()
{
    auto lastByte = std::chrono::steady_clock::now();
    while (!m_stop && m_master >= 0) {
        pollfd pfd{m_master, POLLIN, 0};
        const int n = ::poll(&pfd, 1, QuietMs);
        if (n > 0 && (pfd.revents & POLLIN)) {
            uint8_t buf[512];
            const ssize_t got = ::read(m_master, buf, sizeof buf);
            if (got > 0) {
                {
                    std::lock_guard<std::mutex> guard(m_lock);
                    m_received.append(reinterpret_cast<const char *>(buf), got);
                }
                for (ssize_t i = 0; i < got && m_master >= 0; ++i)
                    Feed(buf[i]);
                lastByte = std::chrono::steady_clock::now();
                continue;
            }
        }
        if (n > 0 && !(pfd.revents & POLLIN))
            SleepMs(2); // the other side is closed for the moment
        if (m_state == AfterEnq
            && std::chrono::steady_clock::now() - lastByte >= std::chrono::milliseconds(QuietMs)) {
            m_state = Idle;
            Emit(Event(TPeerEvent::Enq));
        }
    }
}

void TPtyPeer::Feed(uint8_t byte)
{
    switch (m_state) {
    case AfterEnq:
        m_state = Idle;
        if (byte >= 0x90 && byte <= 0x9F) {
            TPeerEvent e = Event(TPeerEvent::Poll);
            e.address = byte;
            Emit(e);
            return;
        }
        Emit(Event(TPeerEvent::Enq));
        break; // the byte starts something new
    case InFrame:
        if (byte == ETX) {
            m_state = InCheck;
            m_frameCheck.clear();
        } else {
            m_frameText.append(char(byte));
        }
        return;
    case InCheck:
        m_frameCheck.append(char(byte));
        if (m_frameCheck.size() == 2) {
            m_state = Idle;
            TPeerEvent e = Event(TPeerEvent::Frame);
            e.text = m_frameText;
            e.check = m_frameCheck;
            Emit(e);
        }
        return;
    case Idle: break;
    }
    switch (byte) {
    case ENQ: m_state = AfterEnq; break;
    case STX:
        m_state = InFrame;
        m_frameText.clear();
        break;
    case EOT: Emit(Event(TPeerEvent::Eot)); break;
    case ACK: Emit(Event(TPeerEvent::Ack)); break;
    case NAK: Emit(Event(TPeerEvent::Nak)); break;
    default: {
        TPeerEvent e = Event(TPeerEvent::Other);
        e.byte = byte;
        Emit(e);
    }
    }
}

void TPtyPeer::Emit(TPeerEvent event)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        event.index = int(m_events.size());
        event.kindIndex = m_kindCount[event.kind]++;
        m_events.push_back(event);
    }
    m_changed.notify_all();
    if (m_handler)
        SendReply(m_handler(event));
}

void TPtyPeer::SendReply(const TPeerReply &reply)
{
    SleepMs(reply.delayMs);
    if (reply.byteGapMs > 0) {
        for (int i = 0; i < reply.bytes.size() && !m_stop; ++i) {
            if (i > 0)
                SleepMs(reply.byteGapMs);
            [[maybe_unused]] ssize_t n = ::write(m_master, reply.bytes.constData() + i, 1);
        }
    } else if (!reply.bytes.isEmpty()) {
        [[maybe_unused]] ssize_t n = ::write(m_master, reply.bytes.constData(), size_t(reply.bytes.size()));
    }
    if (reply.hangUp) {
        SleepMs(20); // let the bytes reach the other side first
        CloseLine();
    }
}

bool TPtyPeer::SlaveSettings(struct termios &settings) const
{
    // On the master side the terminal requests reach the slave's settings.
    return m_master >= 0 && ::tcgetattr(m_master, &settings) == 0;
}

bool TPtyPeer::SlaveExclusive() const
{
    int exclusive = 0;
    return m_slaveHold >= 0 && ::ioctl(m_slaveHold, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

std::vector<TPeerEvent> TPtyPeer::Events() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_events;
}

int TPtyPeer::Count(TPeerEvent::TKind kind) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_kindCount[kind];
}

QByteArray TPtyPeer::Received() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

bool TPtyPeer::WaitFor(TPeerEvent::TKind kind, int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_kindCount[kind] >= count; });
}

QByteArray TPtyPeer::Check(const QByteArray &text)
{
    uint8_t x = 0;
    for (char c : text)
        x ^= uint8_t(c);
    x ^= ETX;
    static const char digits[] = "0123456789ABCDEF";
    const char check[] = {digits[x >> 4], digits[x & 15]};
    return QByteArray(check, 2);
}

QByteArray TPtyPeer::Frame(const QByteArray &text)
{
    return char(STX) + text + char(ETX) + Check(text);
}

TPeerHandler TPtyPeer::Amplifier(std::function<QByteArray(const QByteArray &command)> answer)
{
    return [answer](const TPeerEvent &e) -> TPeerReply {
        switch (e.kind) {
        case TPeerEvent::Poll: return {QByteArray(1, char(EOT))};
        case TPeerEvent::Frame: return {Frame(answer(e.text))};
        case TPeerEvent::Eot: return {QByteArray(1, char(ACK))};
        default: return {};
        }
    };
}

TPeerHandler TPtyPeer::Sequence(std::vector<TPeerReply> replies)
{
    return [replies](const TPeerEvent &e) -> TPeerReply {
        return e.index < int(replies.size()) ? replies[size_t(e.index)] : TPeerReply{};
    };
}
