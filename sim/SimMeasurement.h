#pragma once

#include "sim/SimForcedReplies.h"
#include "sim/SimTraceLayout.h"

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

class TSimAlarms;
class TSimMemory;
class TSimOperations;
class TSimPlant;

// The system-analysis test run of one axis (WB0, WB1, WB3, WB4, WB6). After
// WB4 the next WB6 takes the torque amplitude (common word 0) and the
// frequency code (word 3) and runs the measurement: a maximum-length
// pseudo-random sequence of +-amplitude is added as a torque disturbance
// to a proportional velocity loop around the axis's plant, sampled at the
// recorder's base period times 2^(code-1). The loop's torque command is
// recorded (4096 = 100 %, 16-bit, with a little noise) in recorder mode 3
// together with the torque-limit bit, and WB6 answers 11 for as long as the
// recording takes, then 12. The monitors lie in the common area at +8,
// +16 and +24.
class TSimMeasurement
{
public:
    TSimMeasurement(TSimMemory &memory, TSimAlarms &alarms, TSimPlant &plant, std::optional<uint32_t> commonAddress,
                    const TSimTraceLayout &recorder);

    void Install(TSimOperations &operations);
    bool Restore(TSimOperations &operations, const std::string &code);
    void Reset();

    // "sysan N ..." of the control channel (words after the axis).
    bool Control(const std::vector<std::string> &args, int64_t now, std::string &reply);
    static const char *Usage();

    // The excitation: 1023 values of +1 or -1, the first ten -1.
    static std::vector<int> Sequence();

    // What one measurement recorded, in time order (sample 0 first).
    struct TRecording {
        std::array<int16_t, 1024> analog{};
        std::array<uint8_t, 1024> bit{};
    };
    TRecording Record(int torquePercent, int frequencyCode);

    bool InMode() const { return inMode; }
    bool ServoOn() const { return servo; }
    std::string Describe() const;

    // Settings and fixtures, also set by the control channel.
    int ringStart = 300;
    int triggerNo = 1;
    double velocityGain = 0.0314; // % torque per r/min: a 10 Hz loop on the default plant
    double torqueLimit = 300;     // % of rated
    double noiseLsb = 1.0;
    int64_t durationOverrideUs = -1; // < 0: as long as the recording takes
    struct TSettings {
        uint16_t torque = 50, endOption = 0, frequency = 1;
    } settings;

private:
    uint32_t Handle(const std::string &code, int64_t now);
    uint32_t Progress(int64_t now);
    void Store(const TRecording &recording);
    void WriteMonitors();

    TSimMemory &memory;
    TSimAlarms &alarms;
    TSimPlant &plant;
    std::optional<uint32_t> common;
    TSimTraceLayout recorder;
    std::mt19937 random{12345};

    bool inMode = false;
    bool servo = false;
    enum class TRun { Idle, Started, Measuring, Done } run = TRun::Idle;
    int64_t finishAt = 0;
    TSimForcedReplies forced;
};
