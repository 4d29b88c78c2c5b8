#pragma once

#include "sim/SimForcedReplies.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

class TSimAlarms;
class TSimMemory;
class TSimMotion;
class TSimOperations;

// The test-run mode of one axis for velocity JOG (W80..W85) and pulse-feed
// JOG (W90..W98). A JOG moves only while its commands keep arriving: a
// watchdog of a few command times stops the motor, and any other command of
// the mode (an idle poll, the end) stops it at once. A pulse feed runs to its
// feed amount at the feed speed while W96/W97 keep arriving, and then
// answers 12 once. APMON and PMON in the common area follow the feed; the
// motion model follows both kinds so the monitor shows the run.
class TSimTestRun
{
public:
    enum class TDirection { None, Forward, Reverse };

    TSimTestRun(TSimMemory &memory, TSimMotion &motion, TSimAlarms &alarms, std::optional<uint32_t> commonAddress);

    // Registers the commands and the ticker that runs the watchdog.
    void Install(TSimOperations &operations);
    // Puts one built-in command back after a fixed answer replaced it; false
    // when the code is not one of this mode's.
    bool Restore(TSimOperations &operations, const std::string &code);
    // The common area back to its start values, the mode left.
    void Reset(int64_t now);
    void Tick(int64_t now);

    // "testrun N ..." of the control channel, words from the axis on.
    // Returns the text for "ok"/"error" and whether it succeeded.
    bool Control(const std::vector<std::string> &args, int64_t now, std::string &reply);
    static const char *Usage();

    // State for tests and the status output.
    int Kind() const { return kind; }
    bool ServoOn() const { return servo; }
    TDirection Jog() const { return jog; }
    bool Feeding() const { return feeding; }
    int32_t Apmon() const { return apmon; }
    int32_t Pmon() const { return pmon; }
    int64_t WatchdogUs() const { return watchdogUs; }
    std::string Describe() const;

private:
    uint32_t Handle(const std::string &code, int64_t now);
    uint32_t Idle(int role, int64_t now);
    // The reply that refuses a run (alarm, servo off, overtravel), or 0.
    uint32_t Refusal(TDirection direction, int64_t now);
    uint32_t Velocity(int role, int64_t now);
    uint32_t Pulse(int role, int64_t now);
    void Enter(int k);
    void StopMotion(int64_t now);
    void ServoOff(int64_t now);
    void Advance(int64_t now);
    void WriteMonitors();
    uint16_t Word(uint32_t offset) const;

    TSimMemory &memory;
    TSimMotion &motion;
    TSimAlarms &alarms;
    std::optional<uint32_t> common;

    int kind = -1;       // 0 velocity JOG, 1 pulse feed, -1 outside the mode
    bool servo = false;
    TDirection jog = TDirection::None;
    int64_t lastRunCommand = 0;
    bool feeding = false;
    bool feedDone = false; // finished; the next continue answers 12
    TDirection feedDirection = TDirection::None;
    int64_t feedStart = 0;
    int32_t feedFrom = 0;
    uint32_t feedAmount = 0;
    int64_t feedSpeed = 0; // r/min
    double feedPulsesPerSecond = 0;
    int32_t apmon = 0;
    int32_t pmon = 0;
    bool overtravelForward = false;
    bool overtravelReverse = false;
    int64_t watchdogUs = 150000;
    TSimForcedReplies forced; // replies queued by the control channel
};
