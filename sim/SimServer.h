#pragma once

#include "sim/SimControl.h"
#include "sim/SimPty.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class TSimLine;

// The running simulator: the pseudo-terminal, the control socket and
// (optionally) standard input, served by one thread that sleeps in ppoll
// until a byte arrives or the next answer byte falls due.
class TSimServer
{
public:
    struct TConfig {
        std::string link;      // path of the link to the slave side
        std::string control;   // Unix socket path; empty: none
        bool readStdin = false; // take control commands on standard input too
        bool verbose = false;   // one line per command on standard error
    };

    TSimServer(TSimLine &line, TConfig config);
    ~TSimServer();
    TSimServer(const TSimServer &) = delete;
    TSimServer &operator=(const TSimServer &) = delete;

    // Opens the pseudo-terminal, the link and the control socket.
    bool Start(std::string *error);
    // Serves until quit, Stop() or a signal readable on signalFd (a
    // signalfd; -1 for none). Returns 0, or 1 after a fatal error.
    int Run(int signalFd = -1);
    // From any thread: ends Run soon.
    void Stop();

    // Runs one control command now (the config file goes through here).
    std::string Command(const std::string &line);

    bool Pull(std::string *error);
    bool Plug(std::string *error);
    bool Plugged() const { return pty.IsOpen(); }
    const TSimPty &Pty() const { return pty; }
    std::string LinkText() const;

    // Microseconds of the monotonic clock.
    static int64_t Now();

    // Bytes dropped because nobody read the line.
    uint64_t Dropped() const { return dropped; }

private:
    struct TClient {
        int fd;
        std::string buffer;
    };

    void ReadMaster();
    void Flush(int64_t now);
    void AcceptClient();
    bool ServeClient(TClient &client);
    void ServeStdin();
    std::string HandleLines(std::string &buffer);
    void Cleanup();

    TSimLine &line;
    TConfig config;
    TSimPty pty;
    TSimControl control;
    int listenFd = -1;
    int wakeRead = -1, wakeWrite = -1;
    std::vector<TClient> clients;
    std::string stdinBuffer;
    bool stdinOpen = false;
    std::atomic<bool> stopping{false};
    bool quit = false;
    uint64_t dropped = 0;
};
