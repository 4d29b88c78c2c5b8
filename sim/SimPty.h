#pragma once

#include <string>

// The pseudo-terminal pair that stands in for the serial port, and the
// stable link path the program opens like a device name.
//
// The simulator keeps the slave side open itself, so the master never sees
// a hang-up when the program closes and reopens the port. Closing the pair
// (the cable pulled) hangs the program's side up and removes the link; a
// new pair re-points it.
class TSimPty
{
public:
    TSimPty() = default;
    ~TSimPty();
    TSimPty(const TSimPty &) = delete;
    TSimPty &operator=(const TSimPty &) = delete;

    // Opens a new pair (raw on both sides) and points link at its slave.
    // A path that exists and is not a symbolic link is never replaced.
    bool Open(const std::string &link, std::string *error);
    // Closes both sides and removes the link (only while it still points
    // at this pair's slave).
    void Close();

    bool IsOpen() const { return master >= 0; }
    int MasterFd() const { return master; }
    const std::string &SlaveName() const { return slaveName; }
    const std::string &LinkPath() const { return link; }

    // The settings the program put on its side: "speed=9600 data=8 stop=2".
    // The pseudo-terminal keeps bit rate, data bits and stop bits but drops
    // the parity flag, so parity cannot be told.
    std::string LineSettings() const;
    // The bit rate the program set, 0 when unknown.
    int ProgramBaud() const;

private:
    int master = -1;
    int slave = -1;
    std::string slaveName;
    std::string link;
};
