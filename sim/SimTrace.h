#pragma once

#include "sim/SimTraceLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TSimLine;
class TSimMemory;
class TSimMotion;
class TSimOperations;

// The amplifier's eight-channel operation-trace recorder: L01 reads the
// settings area and arms it, samples are taken at the set period from the
// motion model (or from a signal fed in for tests), the trigger fires on an
// edge of the chosen channel past its level (or at once without a trigger
// channel) once the pre-trigger part is full, and the finished recording
// lies packed in the analog and digital areas with its ring start and
// trigger number. Mode 0 streams one record at a time instead.
class TSimTrace
{
public:
    // A known signal on a channel, by the sample number since the start.
    struct TFeed {
        enum TKind { Off, Ramp, Square, Const } kind = Off;
        int64_t a = 0, b = 0; // Ramp: a + b*k; Square: half period b samples; Const: a
    };
    // L00 states.
    enum TState : uint8_t { Waiting = 0, Recording = 1, Finished = 2, Stopped = 3, Empty = 4, StoppedEmpty = 5 };

    TSimTrace(TSimMemory &memory, TSimMotion &motion);

    void SetLayout(const TSimTraceLayout &layout) { this->layout = layout; }
    // Registers L00, L01, L03, L04 and the ticker.
    void Install(TSimOperations &operations);
    // Puts back the handler of one of the codes; false for other codes.
    bool Restore(TSimOperations &operations, const std::string &code);

    void Feed(int channel, TFeed feed) { feeds[size_t(channel)] = feed; }
    // The monitor counter jumps ahead by count at the next record.
    void Skip(int count) { skip += count; }
    TState State() const { return state; }
    int Mode() const { return mode; }

    void Tick(int64_t now);
    uint32_t Start(int64_t now);
    uint32_t Status(int64_t now);
    uint32_t Stop(int64_t now);
    uint32_t Clear(int64_t now);

    // "trace N ..." on the control channel.
    static std::string Control(TSimLine &line, const std::vector<std::string> &words, int64_t now);
    static const char *Help();

private:
    int64_t Raw(int channel, uint64_t k, int64_t t);
    bool Bit(int channel, uint64_t k, int64_t t);
    void TakeSample(uint64_t k, int64_t t);
    void Store(int slot, const std::array<int64_t, 8> &values);
    void Finish(TState how);
    void Monitor(int64_t now);
    uint32_t Reply() const;
    int64_t PeriodUs() const;

    TSimMemory &memory;
    TSimMotion &motion;
    TSimTraceLayout layout;
    std::array<TFeed, 8> feeds{};

    TState state = Empty;
    // Settings taken at the start.
    int mode = 1, edge = 0, triggerChannel = -1, position = 0, sampling = 1;
    uint32_t level = 0;
    std::array<int, 8> codes{};

    int64_t startTime = 0;
    uint64_t taken = 0;  // samples taken since the start
    int ringSize = 256;     // ring size of the mode
    int pos = 0;         // next slot
    uint64_t written = 0;
    int pre = 0;         // samples before the trigger
    int remaining = 0;   // samples still to record after the trigger
    int triggerSlot = -1;
    bool havePrevious = false;
    int64_t previous = 0;
    int skip = 0;
    uint64_t monitorShift = 0;
};
