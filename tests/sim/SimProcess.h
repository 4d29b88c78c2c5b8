#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The real ampsim program, started for a test and killed when the test ends.
class TSimProcess
{
public:
    TSimProcess() = default;
    ~TSimProcess();
    TSimProcess(const TSimProcess &) = delete;
    TSimProcess &operator=(const TSimProcess &) = delete;

    static std::string Program();

    // Starts build/bin/ampsim with args; with waitReady it waits until the
    // program prints "ampsim: ready" (false when it ends or takes too long).
    bool Start(const std::vector<std::string> &args, bool waitReady = true);
    // One line of standard output (without newline), empty after timeoutMs.
    std::string ReadLine(int timeoutMs = 5000);
    // Writes to the program's standard input.
    void WriteStdin(const std::string &text);
    void CloseStdin();
    // Sends a signal; Wait gives the exit code, -1 on a time-out or a death
    // by signal.
    void Signal(int sig);
    int Wait(int timeoutMs = 5000);
    // Everything the program wrote to standard error so far.
    std::string Errors();

    // Runs the program to its end; the exit code, standard output and error.
    static int Run(const std::vector<std::string> &args, std::string *out, std::string *err);

private:
    pid_t pid = -1;
    int in = -1, out = -1, err = -1;
    std::string outBuffer;
    std::string errBuffer;
};

// A client of the control socket.
class TControlClient
{
public:
    ~TControlClient();
    bool Connect(const std::string &path, int timeoutMs = 5000);
    // Sends one command line and returns the reply line ("" on a time-out).
    std::string Ask(const std::string &command, int timeoutMs = 5000);

private:
    int fd = -1;
    std::string buffer;
};

// The program's end of the line: the link opened like a serial device.
class TPortPeer
{
public:
    ~TPortPeer();
    bool Open(const std::string &path);
    void Close();
    int Fd() const { return fd; }
    bool Write(const std::string &bytes);
    // Collects bytes until count arrived or no byte came for gapMs.
    std::string Read(size_t count, int gapMs = 500);
    // One clean transaction: the answer text, or "<fail ...>".
    std::string Command(int axis, const std::string &text);

private:
    int fd = -1;
};
