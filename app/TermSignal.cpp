#include "app/TermSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only write to a descriptor; the notifier reads it on the
// owning thread.
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_pending = 0;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int sig)
{
    if (g_pending) {
        // Asked twice: the first request did not end the program.
        ::signal(sig, SIG_DFL);
        ::raise(sig);
        return;
    }
    g_pending = 1;
    const char byte = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
}

} // namespace

TTermSignal::TTermSignal(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), onSignal(std::move(onSignal))
{
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    ::fcntl(g_pipe[0], F_SETFL, O_NONBLOCK);
    g_pending = 0;
    notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TTermSignal::Arrived);
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
}

TTermSignal::~TTermSignal()
{
    if (!notifier)
        return;
    for (int sig : kSignals)
        ::signal(sig, SIG_DFL);
    delete notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TTermSignal::Arrived()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(g_pipe[1], &byte, 1);
    if (onSignal)
        onSignal();
}
