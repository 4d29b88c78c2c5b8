#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

class TComm;

// The serial watcher thread: waits with poll() for received bytes and the
// other line events the component's event mask asks for, and calls the
// component's callbacks on this thread. Stop() wakes the wait and joins, so
// the component may release the descriptor afterwards.
class TCommWatch
{
public:
    TCommWatch(TComm &comm, int fd);
    ~TCommWatch(); // stops
    TCommWatch(const TCommWatch &) = delete;
    TCommWatch &operator=(const TCommWatch &) = delete;

    void Start(); // raises ECommOpenError when the wake-up channel cannot be made
    void Stop();
    // Re-reads the event mask, or starts watching for the end of a write.
    void Nudge(bool wroteBytes = false);

private:
    void Run();
    void Wake();
    uint16_t ModemLines() const;

    TComm &m_comm;
    int m_fd;
    int m_wakeFd = -1;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_txPending{false};
    uint16_t m_modemAtStart = 0;
};
