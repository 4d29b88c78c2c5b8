#pragma once

#include "sim/SimForcedReplies.h"

#include <array>
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
class TSimPlant;

// The automatic tunings of one axis, answered from its plant:
//  - notch-filter tuning (WA0..WA6): excites the machine for a while and
//    puts the plant's resonance, in whole Hz, at C + 4;
//  - vibration-suppression frequency tuning (WD0..WD6): runs about 30 s and
//    puts the anti-resonance there. It stops when the program stops asking
//    for its progress: any other command of the mode, or no progress request
//    for a few seconds, cancels it;
//  - auto-tuning result save (W70, W71, W74): the real-time auto-tuning gains
//    at C + 8 drift towards values derived from the plant and the
//    responsiveness at C + 2; W74 copies the chosen ones into the stored
//    parameters at C + 18. The area it lays out while the mode is open is
//    given back, responsiveness included, when the mode ends.
class TSimTuning
{
public:
    enum class TRun { Idle, Running, Finished, Failed };
    // Stored parameters and monitored gains: KP, KVP, TVI, TCFIL, JRAT.
    using TGains = std::array<uint16_t, 5>;

    TSimTuning(TSimMemory &memory, TSimPlant &plant, TSimMotion &motion, TSimAlarms &alarms,
               std::optional<uint32_t> commonAddress);

    void Install(TSimOperations &operations);
    bool Restore(TSimOperations &operations, const std::string &code);
    void Reset(int64_t now);
    void Tick(int64_t now);

    // How long a tuning of kind 2 (notch) or 5 (frequency) excites the machine.
    void SetDurationMs(int kind, int64_t ms);
    int64_t DurationMs(int kind) const;

    // "tuning N ..." of the control channel, words from the axis on.
    bool Control(const std::vector<std::string> &args, int64_t now, std::string &reply);
    static const char *Usage();
    std::string Describe() const;

    int Kind() const { return kind; }
    bool ServoOn() const { return servo; }
    TRun Run() const { return run; }
    int Cancelled() const { return cancelled; }
    int Saves() const { return saves; }
    const TGains &Stored() const { return stored; }
    // The gains the real-time auto-tuning heads for with the responsiveness.
    TGains Targets(int responsiveness) const;

private:
    uint32_t Handle(const std::string &code, int64_t now);
    uint32_t Save(int role, int64_t now);
    void Enter(int k, int64_t now);
    void Leave(int64_t now);
    void Cancel(int64_t now);
    void ServoOff(int64_t now);
    uint32_t Progress(int64_t now);
    // The tuning's outcome: the result word, or nothing when it failed.
    std::optional<uint16_t> Outcome() const;
    void Drift(int64_t now);
    void WriteSaveArea();
    uint16_t Word(uint32_t offset) const;

    TSimMemory &memory;
    TSimPlant &plant;
    TSimMotion &motion;
    TSimAlarms &alarms;
    std::optional<uint32_t> common;

    int kind = -1; // 2 notch, 4 result save, 5 frequency, -1 outside the mode
    bool servo = false;
    TRun run = TRun::Idle;
    int64_t runStart = 0;
    int64_t lastProgress = 0;
    int64_t notchUs = 3000000;
    int64_t frequencyUs = 30000000;
    int64_t watchdogUs = 5000000;
    int cancelled = 0;
    std::optional<uint16_t> forcedResult;

    // Result save.
    uint8_t mode = 0;
    uint8_t characteristic = 0;
    uint8_t responsiveness = 10; // the setting; C + 2 holds it only while the mode is open
    uint8_t choice = 0;
    TGains stored{30, 40, 200, 200, 50};
    std::array<double, 5> gains{};
    int64_t lastDrift = 0;
    int saves = 0;
    bool hold = false; // the gains stay where they are (tests compare memory)
    std::vector<uint8_t> saved; // the area as it was before the mode laid it out

    TSimForcedReplies forced;
};
