#include "sim/SimServer.h"

#include "sim/SimLine.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
constexpr size_t MaxCommandLine = 8192;

void SetNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
}

bool WriteAll(int fd, const std::string &text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 1000) <= 0)
                return false;
        } else {
            return false;
        }
    }
    return true;
}
} // namespace

TSimServer::TSimServer(TSimLine &l, TConfig c)
    : line(l), config(std::move(c)),
      control(l, TSimControl::THooks{
                     [this](std::string *e) { return Pull(e); },
                     [this](std::string *e) { return Plug(e); },
                     [this]() { return Plugged(); },
                     [this]() { quit = true; },
                     [this]() { return LinkText(); },
                     [this]() { return pty.LineSettings(); },
                 })
{
    int fds[2];
    if (pipe(fds) == 0) {
        wakeRead = fds[0];
        wakeWrite = fds[1];
        SetNonBlocking(wakeRead);
        SetNonBlocking(wakeWrite);
    }
}

TSimServer::~TSimServer()
{
    Cleanup();
    if (wakeRead >= 0)
        close(wakeRead);
    if (wakeWrite >= 0)
        close(wakeWrite);
}

int64_t TSimServer::Now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string TSimServer::LinkText() const
{
    if (!pty.IsOpen())
        return "link=" + config.link + " (pulled)";
    return "link=" + config.link + " slave=" + pty.SlaveName();
}

bool TSimServer::Start(std::string *error)
{
    if (!pty.Open(config.link, error))
        return false;
    if (config.control.empty())
        return true;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (config.control.size() >= sizeof addr.sun_path) {
        if (error)
            *error = "control socket path too long: " + config.control;
        return false;
    }
    std::strcpy(addr.sun_path, config.control.c_str());
    // Only a stale socket is removed; any other file stays.
    struct stat st{};
    if (lstat(config.control.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            if (error)
                *error = config.control + " exists and is not a socket; not replaced";
            return false;
        }
        unlink(config.control.c_str());
    }
    listenFd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (listenFd < 0 || bind(listenFd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        listen(listenFd, 8) != 0) {
        if (error)
            *error = "control socket " + config.control + ": " + std::strerror(errno);
        if (listenFd >= 0)
            close(listenFd);
        listenFd = -1;
        return false;
    }
    SetNonBlocking(listenFd);
    return true;
}

bool TSimServer::Pull(std::string *error)
{
    if (!pty.IsOpen()) {
        if (error)
            *error = "the cable is already pulled";
        return false;
    }
    pty.Close();
    line.DropAll();
    return true;
}

bool TSimServer::Plug(std::string *error)
{
    if (pty.IsOpen()) {
        if (error)
            *error = "the cable is already plugged";
        return false;
    }
    line.DropAll();
    return pty.Open(config.link, error);
}

std::string TSimServer::Command(const std::string &text)
{
    return control.Execute(text, Now());
}

void TSimServer::Stop()
{
    stopping = true;
    if (wakeWrite >= 0) {
        const char c = 1;
        [[maybe_unused]] ssize_t n = write(wakeWrite, &c, 1);
    }
}

void TSimServer::ReadMaster()
{
    uint8_t buf[4096];
    for (;;) {
        const ssize_t n = read(pty.MasterFd(), buf, sizeof buf);
        if (n > 0) {
            line.Feed(buf, size_t(n), Now());
            continue;
        }
        return; // EAGAIN, or nothing more
    }
}

void TSimServer::Flush(int64_t now)
{
    const std::string out = line.TakeOutput(now);
    if (out.empty())
        return;
    if (!pty.IsOpen()) {
        dropped += out.size();
        return;
    }
    const ssize_t n = write(pty.MasterFd(), out.data(), out.size());
    if (n < 0)
        dropped += out.size();
    else if (size_t(n) < out.size())
        dropped += out.size() - size_t(n);
}

void TSimServer::AcceptClient()
{
    for (;;) {
        const int fd = accept(listenFd, nullptr, nullptr);
        if (fd < 0)
            return;
        SetNonBlocking(fd);
        clients.push_back({fd, {}});
    }
}

std::string TSimServer::HandleLines(std::string &buffer)
{
    std::string replies;
    size_t eol;
    while ((eol = buffer.find('\n')) != std::string::npos) {
        std::string text = buffer.substr(0, eol);
        buffer.erase(0, eol + 1);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const std::string reply = Command(text);
        if (config.verbose && !reply.empty())
            std::fprintf(stderr, "ampsim: control %s -> %s\n", text.c_str(), reply.c_str());
        // Blank and comment lines get a reply too, so a client that counts
        // lines never waits for one.
        replies += (reply.empty() ? std::string("ok") : reply) + "\n";
    }
    if (buffer.size() > MaxCommandLine) {
        buffer.clear();
        replies += "error command line too long\n";
    }
    return replies;
}

bool TSimServer::ServeClient(TClient &client)
{
    char buf[4096];
    for (;;) {
        const ssize_t n = read(client.fd, buf, sizeof buf);
        if (n > 0) {
            client.buffer.append(buf, size_t(n));
            const std::string replies = HandleLines(client.buffer);
            if (!replies.empty() && !WriteAll(client.fd, replies))
                return false;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return true;
        return false; // closed or failed
    }
}

void TSimServer::ServeStdin()
{
    char buf[4096];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        stdinOpen = false;
        return;
    }
    stdinBuffer.append(buf, size_t(n));
    const std::string replies = HandleLines(stdinBuffer);
    if (!replies.empty()) {
        std::fputs(replies.c_str(), stdout);
        std::fflush(stdout);
    }
}

int TSimServer::Run(int signalFd)
{
    // Answer bytes are paced by sleeping to their due times; the default
    // 50 us of timer slack would add up over an answer's characters.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    stdinOpen = config.readStdin;
    quit = false;
    while (!quit && !stopping) {
        Flush(Now());

        std::vector<pollfd> fds;
        auto add = [&](int fd) {
            fds.push_back({fd, POLLIN, 0});
            return fds.size() - 1;
        };
        const size_t wakeIdx = add(wakeRead);
        const size_t sigIdx = signalFd >= 0 ? add(signalFd) : size_t(-1);
        const size_t masterIdx = pty.IsOpen() ? add(pty.MasterFd()) : size_t(-1);
        const size_t listenIdx = listenFd >= 0 ? add(listenFd) : size_t(-1);
        const size_t stdinIdx = stdinOpen ? add(STDIN_FILENO) : size_t(-1);
        const size_t firstClient = fds.size();
        for (const TClient &c : clients)
            add(c.fd);

        const int64_t due = line.NextDue();
        timespec timeout{};
        timespec *wait = nullptr;
        if (due != TSimLine::Never) {
            const int64_t us = std::max<int64_t>(0, due - Now());
            timeout.tv_sec = time_t(us / 1000000);
            timeout.tv_nsec = long(us % 1000000) * 1000;
            wait = &timeout;
        }
        const int r = ppoll(fds.data(), nfds_t(fds.size()), wait, nullptr);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "ampsim: ppoll: %s\n", std::strerror(errno));
            Cleanup();
            return 1;
        }
        if (r == 0)
            continue;
        if (fds[wakeIdx].revents) {
            char buf[64];
            while (read(wakeRead, buf, sizeof buf) > 0) {
            }
        }
        if (sigIdx != size_t(-1) && fds[sigIdx].revents) {
            signalfd_siginfo info{};
            [[maybe_unused]] ssize_t n = read(signalFd, &info, sizeof info);
            quit = true;
        }
        if (masterIdx != size_t(-1) && (fds[masterIdx].revents & POLLIN) && pty.IsOpen())
            ReadMaster();
        // Clients first: their fds are indexed as they were polled.
        std::vector<TClient> kept;
        for (size_t i = 0; i < clients.size(); ++i) {
            const short ev = fds[firstClient + i].revents;
            if (ev && !ServeClient(clients[i])) {
                close(clients[i].fd);
                continue;
            }
            kept.push_back(std::move(clients[i]));
        }
        clients = std::move(kept);
        if (listenIdx != size_t(-1) && fds[listenIdx].revents)
            AcceptClient();
        if (stdinIdx != size_t(-1) && fds[stdinIdx].revents)
            ServeStdin();
    }
    Cleanup();
    return 0;
}

void TSimServer::Cleanup()
{
    for (TClient &c : clients)
        close(c.fd);
    clients.clear();
    if (listenFd >= 0) {
        close(listenFd);
        listenFd = -1;
        unlink(config.control.c_str());
    }
    pty.Close();
}
