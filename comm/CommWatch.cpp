#include "comm/CommWatch.h"

#include "comm/Comm.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr TCommEventMask ModemEvents = evCts | evDsr | evRlsd | evRing;
constexpr int ModemSampleMs = 50; // the OS offers no poll() event for modem lines
constexpr int TxSampleMs = 2;

} // namespace

TCommWatch::TCommWatch(TComm &comm, int fd) : m_comm(comm), m_fd(fd) {}

TCommWatch::~TCommWatch()
{
    Stop();
}

TCommEventMask TCommWatch::ModemLines() const
{
    TCommEventMask now = 0;
    if (m_comm.ModemInput(TIOCM_CTS))
        now |= evCts;
    if (m_comm.ModemInput(TIOCM_DSR))
        now |= evDsr;
    if (m_comm.ModemInput(TIOCM_CAR))
        now |= evRlsd;
    if (m_comm.ModemInput(TIOCM_RNG))
        now |= evRing;
    return now;
}

void TCommWatch::Start()
{
    // Changes are reported against the lines as they were at the open.
    m_modemAtStart = ModemLines();
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0)
        throw ECommOpenError(errno);
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
}

void TCommWatch::Stop()
{
    if (m_thread.joinable()) {
        m_stop = true;
        Wake();
        m_thread.join();
    }
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
        m_wakeFd = -1;
    }
}

void TCommWatch::Nudge(bool wroteBytes)
{
    if (wroteBytes) {
        if (!(m_comm.EventMask() & evTxempty))
            return;
        m_txPending = true;
    }
    Wake();
}

void TCommWatch::Wake()
{
    if (m_wakeFd < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

void TCommWatch::Run()
{
    bool hungUp = false;
    TCommEventMask lastModem = m_modemAtStart;
    while (!m_stop) {
        const TCommEventMask mask = m_comm.EventMask() | evRxchar;
        const bool watchModem = (mask & ModemEvents) != 0;
        const bool watchTx = (mask & evTxempty) && m_txPending;
        int timeout = -1;
        if (watchModem)
            timeout = ModemSampleMs;
        if (watchTx)
            timeout = TxSampleMs;

        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_fd, short(hungUp ? 0 : POLLIN), 0}};
        // After a hang-up the descriptor reports POLLHUP for ever: stop
        // watching it instead of spinning.
        const int n = ::poll(fds, hungUp ? 1 : 2, timeout);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::usleep(10000);
            continue;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t drained;
            [[maybe_unused]] ssize_t r = ::read(m_wakeFd, &drained, sizeof drained);
        }
        if (m_stop)
            break;

        bool handled = false;
        if (!hungUp && fds[1].revents) {
            int waiting = 0;
            if (::ioctl(m_fd, FIONREAD, &waiting) < 0) {
                hungUp = true; // a hung-up terminal refuses every request
            } else if (waiting > 0) {
                m_comm.FireReceive(uint16_t(std::min(waiting, 0xFFFF)));
                handled = true;
            } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                hungUp = true;
            } else {
                ::usleep(1000); // readable without bytes: do not spin
            }
        }
        if (!handled && watchTx) {
            int queued = 0;
            if (::ioctl(m_fd, TIOCOUTQ, &queued) < 0 || queued == 0) {
                m_txPending = false;
                m_comm.FireTransmit(uint16_t(std::max(queued, 0)));
            }
        }
        if (watchModem) {
            const TCommEventMask now = ModemLines();
            const TCommEventMask changed = TCommEventMask((now ^ lastModem) & mask);
            lastModem = now;
            if (changed)
                m_comm.FireEvent(changed);
        }
    }
}
