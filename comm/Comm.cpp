#include "comm/Comm.h"

#include "comm/CommWatch.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int WriteTimeoutMs = 1000;

speed_t SpeedCode(int rate)
{
    switch (rate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B0;
    }
}

using Clock = std::chrono::steady_clock;

int MsSince(Clock::time_point start)
{
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

} // namespace

TComm::TComm() = default;

TComm::~TComm()
{
    try {
        Close();
    } catch (...) {
    }
}

QString TComm::PortDeviceName(int port)
{
    if (port < 1)
        return QString();
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QString TComm::DeviceName() const
{
    return m_devicePath.isEmpty() ? PortDeviceName(m_port) : m_devicePath;
}

void TComm::Open()
{
    if (IsOpen())
        return;
    const QString name = DeviceName();
    if (name.isEmpty())
        throw ECommOpenError(ENODEV);
    const int fd = ::open(name.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ECommOpenError(errno);
    // Nobody else may open the line while it is ours.
    if (::ioctl(fd, TIOCEXCL) < 0) {
        const int code = errno;
        ::close(fd);
        throw ECommOpenError(code);
    }
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    try {
        ApplyLineSettings();
        m_watch = std::make_unique<TCommWatch>(*this, m_fd);
        m_watch->Start();
    } catch (const ECommError &e) {
        m_watch.reset();
        ::close(m_fd);
        m_fd = -1;
        const auto *rw = dynamic_cast<const ECommReadWriteError *>(&e);
        const auto *op = dynamic_cast<const ECommOpenError *>(&e);
        throw ECommOpenError(rw ? rw->ErrorCode() : op ? op->ErrorCode() : EIO);
    }
    SetModemLine(TIOCM_DTR, true);
}

void TComm::Close()
{
    if (!IsOpen())
        return;
    // The watcher must be gone before the descriptor is released.
    m_watch.reset();
    SetModemLine(TIOCM_DTR, false);
    ::tcflush(m_fd, TCIOFLUSH);
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

// A pseudo-terminal carries no bits on a wire: it has no parity and no
// character size, and refuses a second request for them.
static bool IsPseudoTerminal(int fd)
{
    char name[128];
    return ::ttyname_r(fd, name, sizeof name) == 0 && std::strncmp(name, "/dev/pts/", 9) == 0;
}

void TComm::MakeTermios(termios &tio, bool pseudoTerminal) const
{
    const tcflag_t keptSize = tio.c_cflag & (CSIZE | PARENB | PARODD);
    ::cfmakeraw(&tio);
    tio.c_cflag |= CREAD | CLOCAL;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
#ifdef CMSPAR
    tio.c_cflag &= ~CMSPAR;
#endif
    static const tcflag_t sizes[] = {0, CS5, CS6, CS7, CS8};
    if (m_byteSize == cbs4)
        throw ECommReadWriteError(EINVAL); // the OS has no 4-bit characters
    tio.c_cflag |= sizes[m_byteSize];
    switch (m_parity) {
    case cpbNone: break;
    case cpbOdd: tio.c_cflag |= PARENB | PARODD; break;
    case cpbEven: tio.c_cflag |= PARENB; break;
#ifdef CMSPAR
    case cpbMark: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case cpbSpace: tio.c_cflag |= PARENB | CMSPAR; break;
#else
    case cpbMark:
    case cpbSpace: throw ECommReadWriteError(EINVAL);
#endif
    }
    if (pseudoTerminal) {
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD);
#ifdef CMSPAR
        tio.c_cflag &= ~CMSPAR;
#endif
        tio.c_cflag |= keptSize;
    }
    if (m_stopBits != csb1)
        tio.c_cflag |= CSTOPB; // 1.5 stop bits exist only with 5 data bits: two it is
    // Parity is checked (a damaged byte reads as 0); RTS and DTR stay under
    // program control unless hardware handshake is asked for. The OS has no
    // DTR/DSR handshake.
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | IGNPAR | PARMRK);
    tio.c_iflag |= INPCK;
    if (m_flow & cfcRtsCts)
        tio.c_cflag |= CRTSCTS;
    if (m_flow & cfcXonXoff)
        tio.c_iflag |= IXON | IXOFF;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = SpeedCode(EffectiveBaudRate());
    if (speed == B0)
        throw ECommReadWriteError(EINVAL);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
}

void TComm::ApplyLineSettings()
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) < 0)
        throw ECommReadWriteError(errno);
    MakeTermios(tio, IsPseudoTerminal(m_fd));
    if (::tcsetattr(m_fd, TCSANOW, &tio) < 0)
        throw ECommReadWriteError(errno);
}

template <typename T> void TComm::SetAndApply(T &field, T value)
{
    const T old = field;
    field = value;
    if (!IsOpen())
        return;
    try {
        ApplyLineSettings();
    } catch (...) {
        field = old;
        throw;
    }
}

void TComm::SetBaudRate(int32_t rate) { SetAndApply(m_baudRate, rate); }
void TComm::SetBaudRateUserDefined(int32_t rate) { SetAndApply(m_baudRateUserDefined, rate); }
void TComm::SetByteSize(TCommByteSize size) { SetAndApply(m_byteSize, size); }
void TComm::SetParityBits(TCommParityBits parity) { SetAndApply(m_parity, parity); }
void TComm::SetStopBits(TCommStopBits stopBits) { SetAndApply(m_stopBits, stopBits); }
void TComm::SetFlowControls(TCommFlowControls flow) { SetAndApply(m_flow, flow); }

void TComm::SetEventMask(TCommEventMask mask)
{
    m_eventMask = mask;
    if (m_watch)
        m_watch->Nudge();
}

void TComm::WriteBuffer(const void *bytes, int count)
{
    if (!IsOpen())
        throw ECommError(QStringLiteral("通信が開始されていない。"));
    if (count > m_outQueueSize)
        throw ECommError(QStringLiteral("送信データ長が長すぎる。"));
    if (count <= 0)
        return;
    const auto start = Clock::now();
    // Wait for room in the transmit queue, but not for ever.
    for (;;) {
        int queued = 0;
        if (::ioctl(m_fd, TIOCOUTQ, &queued) < 0 || m_outQueueSize - queued >= count)
            break;
        if (MsSince(start) >= WriteTimeoutMs)
            throw ECommReadWriteError(ETIMEDOUT);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto *p = static_cast<const uint8_t *>(bytes);
    int left = count;
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, size_t(left));
        if (n > 0) {
            p += n;
            left -= int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            throw ECommReadWriteError(errno);
        const int remaining = WriteTimeoutMs - MsSince(start);
        if (remaining <= 0)
            throw ECommReadWriteError(ETIMEDOUT);
        pollfd pfd{m_fd, POLLOUT, 0};
        ::poll(&pfd, 1, remaining);
    }
    if (m_watch)
        m_watch->Nudge(true);
}

void TComm::WriteText(const QByteArray &text)
{
    WriteBuffer(text.constData(), int(text.size()));
}

int TComm::ReadBuffer(void *buffer, int count)
{
    if (!IsOpen())
        throw ECommError(QStringLiteral("通信が開始されていない。"));
    int got = 0;
    auto *p = static_cast<uint8_t *>(buffer);
    while (got < count) {
        const ssize_t n = ::read(m_fd, p + got, size_t(count - got));
        if (n > 0) {
            got += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // nothing more waiting, or the far side hung up
    }
    return got;
}

int TComm::InQueueCount() const
{
    int waiting = 0;
    if (!IsOpen() || ::ioctl(m_fd, FIONREAD, &waiting) < 0)
        return 0;
    return waiting;
}

void TComm::SetModemLine(int line, bool on)
{
    if (!IsOpen())
        return;
    // Devices without modem lines (pseudo-terminals) refuse this: nothing to drive.
    ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

void TComm::SetDtrState(bool on) { SetModemLine(TIOCM_DTR, on); }
void TComm::SetRtsState(bool on) { SetModemLine(TIOCM_RTS, on); }

bool TComm::HungUp() const
{
    pollfd pfd{m_fd, 0, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

bool TComm::ModemInput(int line) const
{
    if (!IsOpen())
        return false;
    int status = 0;
    if (::ioctl(m_fd, TIOCMGET, &status) == 0)
        return (status & line) != 0;
    // No modem lines (a pseudo-terminal): the "cable" is there until the far
    // side hangs up.
    if (errno == ENOTTY || errno == EINVAL)
        return line != TIOCM_RNG && !HungUp();
    return false;
}

bool TComm::CtsState() const { return ModemInput(TIOCM_CTS); }
bool TComm::DsrState() const { return ModemInput(TIOCM_DSR); }

void TComm::SetOnCommReceive(TCommCountEvent handler)
{
    std::lock_guard<std::mutex> guard(m_handlerLock);
    m_onReceive = std::move(handler);
}

void TComm::SetOnCommTransmit(TCommCountEvent handler)
{
    std::lock_guard<std::mutex> guard(m_handlerLock);
    m_onTransmit = std::move(handler);
}

void TComm::SetOnCommEvent(TCommLineEvent handler)
{
    std::lock_guard<std::mutex> guard(m_handlerLock);
    m_onEvent = std::move(handler);
}

// A failing callback must not end the watcher: the failure is dropped and
// the loop goes on.
void TComm::FireReceive(uint16_t count)
{
    TCommCountEvent handler;
    {
        std::lock_guard<std::mutex> guard(m_handlerLock);
        handler = m_onReceive;
    }
    if (handler) {
        try {
            handler(this, count);
            return;
        } catch (...) {
        }
    }
    // Bytes nobody took are dropped, or the watcher would wake for ever.
    uint8_t sink[256];
    while (ReadBuffer(sink, int(sizeof sink)) > 0) {
    }
}

void TComm::FireTransmit(uint16_t count)
{
    TCommCountEvent handler;
    {
        std::lock_guard<std::mutex> guard(m_handlerLock);
        handler = m_onTransmit;
    }
    if (handler) {
        try {
            handler(this, count);
        } catch (...) {
        }
    }
}

void TComm::FireEvent(TCommEventMask events)
{
    events &= evRxflag | evCts | evDsr | evRlsd | evBreak | evErr | evRing;
    TCommLineEvent handler;
    {
        std::lock_guard<std::mutex> guard(m_handlerLock);
        handler = m_onEvent;
    }
    if (handler && events) {
        try {
            handler(this, events);
        } catch (...) {
        }
    }
}
