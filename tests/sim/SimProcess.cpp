#include "SimProcess.h"

#include "sim/SimFrame.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

int Remaining(Clock::time_point end)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return ms > 0 ? int(ms) : 0;
}

void Drain(int fd, std::string &into)
{
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            return;
        into.append(buf, size_t(n));
    }
}
} // namespace

std::string TSimProcess::Program()
{
    return std::string(TUVANTA_BIN_DIR) + "/ampsim";
}

TSimProcess::~TSimProcess()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    for (int fd : {in, out, err})
        if (fd >= 0)
            close(fd);
}

bool TSimProcess::Start(const std::vector<std::string> &args, bool waitReady)
{
    int pin[2], pout[2], perr[2];
    if (pipe(pin) || pipe(pout) || pipe(perr))
        return false;
    pid = fork();
    if (pid == 0) {
        dup2(pin[0], 0);
        dup2(pout[1], 1);
        dup2(perr[1], 2);
        for (int fd : {pin[0], pin[1], pout[0], pout[1], perr[0], perr[1]})
            close(fd);
        std::vector<char *> argv;
        const std::string program = Program();
        argv.push_back(const_cast<char *>(program.c_str()));
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pin[0]);
    close(pout[1]);
    close(perr[1]);
    in = pin[1];
    out = pout[0];
    err = perr[0];
    fcntl(out, F_SETFL, O_NONBLOCK);
    fcntl(err, F_SETFL, O_NONBLOCK);
    if (!waitReady)
        return pid > 0;
    for (;;) {
        const std::string line = ReadLine(10000);
        if (line.empty())
            return false;
        if (line == "ampsim: ready")
            return true;
    }
}

std::string TSimProcess::ReadLine(int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t eol = outBuffer.find('\n');
        if (eol != std::string::npos) {
            std::string line = outBuffer.substr(0, eol);
            outBuffer.erase(0, eol + 1);
            return line;
        }
        pollfd p{out, POLLIN, 0};
        if (poll(&p, 1, Remaining(end)) <= 0)
            return {};
        char buf[4096];
        const ssize_t n = read(out, buf, sizeof buf);
        if (n <= 0)
            return {};
        outBuffer.append(buf, size_t(n));
    }
}

void TSimProcess::WriteStdin(const std::string &text)
{
    [[maybe_unused]] ssize_t n = write(in, text.data(), text.size());
}

void TSimProcess::CloseStdin()
{
    if (in >= 0)
        close(in);
    in = -1;
}

void TSimProcess::Signal(int sig)
{
    if (pid > 0)
        kill(pid, sig);
}

int TSimProcess::Wait(int timeoutMs)
{
    if (pid <= 0)
        return -1;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (Remaining(end) == 0)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string TSimProcess::Errors()
{
    if (err >= 0)
        Drain(err, errBuffer);
    return errBuffer;
}

int TSimProcess::Run(const std::vector<std::string> &args, std::string *outText, std::string *errText)
{
    TSimProcess p;
    if (!p.Start(args, false))
        return -1;
    p.CloseStdin();
    const auto end = Clock::now() + std::chrono::seconds(10);
    std::string o;
    for (;;) {
        pollfd fds[2] = {{p.out, POLLIN, 0}, {p.err, POLLIN, 0}};
        if (poll(fds, 2, Remaining(end)) <= 0)
            break;
        const size_t before = o.size() + p.errBuffer.size();
        Drain(p.out, o);
        Drain(p.err, p.errBuffer);
        if (o.size() + p.errBuffer.size() == before)
            break; // both closed
    }
    const int code = p.Wait(5000);
    if (outText)
        *outText = o;
    if (errText)
        *errText = p.errBuffer;
    return code;
}

TControlClient::~TControlClient()
{
    if (fd >= 0)
        close(fd);
}

bool TControlClient::Connect(const std::string &path, int timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    for (;;) {
        fd = socket(AF_UNIX, SOCK_STREAM, 0);
        if (connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0)
            return true;
        close(fd);
        fd = -1;
        if (Remaining(end) == 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string TControlClient::Ask(const std::string &command, int timeoutMs)
{
    const std::string line = command + "\n";
    if (write(fd, line.data(), line.size()) != ssize_t(line.size()))
        return {};
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t eol = buffer.find('\n');
        if (eol != std::string::npos) {
            std::string reply = buffer.substr(0, eol);
            buffer.erase(0, eol + 1);
            return reply;
        }
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, Remaining(end)) <= 0)
            return {};
        char buf[4096];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            return {};
        buffer.append(buf, size_t(n));
    }
}

TPortPeer::~TPortPeer()
{
    Close();
}

bool TPortPeer::Open(const std::string &path)
{
    Close();
    fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD | PARENB | CSTOPB;
    cfsetspeed(&t, B9600);
    tcsetattr(fd, TCSANOW, &t);
    return true;
}

void TPortPeer::Close()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

bool TPortPeer::Write(const std::string &bytes)
{
    return write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
}

std::string TPortPeer::Read(size_t count, int gapMs)
{
    std::string got;
    while (got.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, gapMs) <= 0 || !(p.revents & POLLIN))
            break;
        char buf[512];
        const ssize_t n = read(fd, buf, std::min(sizeof buf, count - got.size()));
        if (n <= 0)
            break;
        got.append(buf, size_t(n));
    }
    return got;
}

std::string TPortPeer::Command(int axis, const std::string &text)
{
    if (!Write(std::string{char(TSimFrame::ENQ), char(TSimFrame::AddressByte(axis))}))
        return "<fail write>";
    if (Read(1) != std::string(1, char(TSimFrame::EOT)))
        return "<fail poll>";
    Write(TSimFrame::Build(text));
    std::string frame = Read(1);
    if (frame != std::string(1, char(TSimFrame::STX)))
        return "<fail no answer>";
    while (frame.back() != char(TSimFrame::ETX)) {
        const std::string b = Read(1);
        if (b.empty())
            return "<fail cut>";
        frame += b;
    }
    frame += Read(2);
    Write(std::string(1, char(TSimFrame::EOT)));
    if (Read(1) != std::string(1, char(TSimFrame::ACK)))
        return "<fail no ack>";
    const std::string body = frame.substr(1, frame.size() - 4);
    if (frame.substr(frame.size() - 2) != TSimFrame::CheckText(TSimFrame::Check(body)))
        return "<fail check>";
    return body;
}
