#pragma once

#include "sim/SimAdjustment.h"
#include "sim/SimAlarms.h"
#include "sim/SimFaults.h"
#include "sim/SimLayout.h"
#include "sim/SimMeasurement.h"
#include "sim/SimMemory.h"
#include "sim/SimMotion.h"
#include "sim/SimPlant.h"
#include "sim/SimOperations.h"
#include "sim/SimTestRun.h"
#include "sim/SimTrace.h"
#include "sim/SimTuning.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What one axis has seen and done since it was created (or the counters
// were cleared).
struct TSimAxisStats {
    uint64_t polls = 0;            // pollings addressed to the axis
    uint64_t frames = 0;           // frames with a correct check
    uint64_t badChecks = 0;        // frames with a wrong check (no answer)
    uint64_t malformed = 0;        // correct check but no valid command (no answer)
    uint64_t overlong = 0;         // frames longer than 253 text bytes (no answer)
    uint64_t acks = 0;             // ACKs sent after the program's EOT
    uint64_t naks = 0;             // NAKs the program sent back for an answer
    uint64_t persistentWrites = 0; // O, P, Q
    uint64_t workWrites = 0;       // Y, Z
};

// One amplifier on the line: its own byte state machine (it hears every
// byte of the shared line and answers only its address byte), its memory,
// faults, operation commands, alarms and motor.
class TSimAxis
{
public:
    struct TReply {
        std::string bytes;
        int64_t delayUs = 0;
    };

    static constexpr int MaxText = 253; // longest text the amplifier takes in
    static constexpr size_t LogSize = 256;

    // number 1..15; code the 24-bit model code that H0 reports.
    TSimAxis(int number, uint32_t code, TSimLayout layout, int64_t now);
    TSimAxis(const TSimAxis &) = delete;
    TSimAxis &operator=(const TSimAxis &) = delete;

    int Number() const { return number; }
    uint32_t Code() const { return code; }
    const TSimLayout &Layout() const { return layout; }

    // Called with every command that passed its check and the answer text
    // (empty when the command was not valid), for the verbose output.
    using TCommandHook = std::function<void(int axis, const std::string &command, const std::string &answer)>;
    void SetCommandHook(TCommandHook hook) { commandHook = std::move(hook); }

    // Also answer the address byte 0x90 (a single amplifier reached as axis 0).
    void SetAnswersAxis0(bool on) { answersAxis0 = on; }
    bool AnswersAxis0() const { return answersAxis0; }

    // One byte from the line, complete at now. Appends what to send to
    // replies; sets cancelPending when a new polling begins, so that answers
    // still waiting to go out are dropped.
    void Receive(uint8_t byte, int64_t now, std::vector<TReply> &replies, bool &cancelPending);

    // The answer text of a command, or nothing for a text that is not a
    // valid command (strict: upper-case hexadecimal, exact lengths).
    std::optional<std::string> Execute(const std::string &text, int64_t now);

    // Brings the values that change with time up to now.
    void Refresh(int64_t now);
    // Memory back to the layout's initial content; alarms, operations and
    // pinned values go with it.
    void ResetMemory(int64_t now);

    TSimMemory &Memory() { return memory; }
    TSimFaults &Faults() { return faults; }
    TSimOperations &Operations() { return operations; }
    TSimAlarms &Alarms() { return alarms; }
    TSimMotion &Motion() { return motion; }
    TSimTrace &Trace() { return trace; }
    // The machine behind the motor (tunings, system analysis).
    TSimPlant &Plant() { return plant; }
    // digit 1..6
    TSimAdjustment &Adjustment(int digit) { return *adjustments[size_t(digit - 1)]; }
    TSimTestRun &TestRun() { return *testRun; }
    TSimMeasurement &Measurement() { return *measurement; }
    TSimTuning &Tuning() { return *tuning; }

    // Puts back the built-in handler of an operation code (after a test
    // replaced it with a fixed answer); codes without one become unhandled.
    void RestoreOperation(const std::string &code);

    // A monitor value held fixed instead of following the motion model.
    void Pin(uint32_t address, int length, uint32_t raw);
    bool Unpin(uint32_t address);
    // The monitor item with this symbol (letter case ignored), or nullptr.
    const TSimMonitorItem *FindMonitorItem(const std::string &symbol) const;
    const TSimMonitorItem *MonitorItemAt(uint32_t address) const;

    const TSimAxisStats &Stats() const { return stats; }
    void ClearStats() { stats = {}; }
    // Last commands received with a correct check, oldest first.
    const std::deque<std::string> &Log() const { return log; }
    void ClearLog() { log.clear(); }
    bool Released() const { return released; }

private:
    enum class TState { Idle, Addressed, Selected, Text, Check, AwaitEot };

    void InstallOperations();
    std::string Answer(const std::string &command, std::string text) const;
    void RefreshMonitor(int64_t now);

    int number;
    uint32_t code;
    TSimLayout layout;
    bool answersAxis0 = false;
    TCommandHook commandHook;

    TSimMemory memory;
    TSimFaults faults;
    TSimOperations operations;
    TSimAlarms alarms;
    TSimMotion motion;
    TSimTrace trace{memory, motion};
    TSimPlant plant;
    std::array<std::unique_ptr<TSimAdjustment>, 6> adjustments;
    std::unique_ptr<TSimTestRun> testRun;
    std::unique_ptr<TSimMeasurement> measurement;
    std::unique_ptr<TSimTuning> tuning;

    struct TPin {
        int length;
        uint32_t raw;
    };
    std::map<uint32_t, TPin> pins;

    TState state = TState::Idle;
    std::string text;
    std::string checkChars;
    std::optional<TSimFaults::TFailKind> spoiled; // this transaction fails by failfirst
    bool released = false;

    TSimAxisStats stats;
    std::deque<std::string> log;
};
