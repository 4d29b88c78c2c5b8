#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TSimOperations;

// One function of the adjustment family Wn0..Wn3 (n = 1 V-REF offset,
// 2 T-COMP offset, 3 alarm reset, 4 absolute-encoder clear, 5 alarm trace
// clear, 6 fixed excitation): query, start, progress and end.
//
// A run is started once: a repeated start (a retried transaction) while it
// runs or has finished answers "started" again without restarting, until
// the end command leaves the function.
class TSimAdjustment
{
public:
    enum class TState { Idle, Running, Finished };

    struct TConfig {
        uint32_t query = 0;          // Wn1: 0 usable, 1 not ready, 2 not usable
        uint32_t start = 0;          // Wn2: 0 started, 1 not ready
        uint32_t result = 5;         // Wn3 once the run time is over: 5 ok, 6 failed, or anything
        uint32_t end = 0;            // Wn0
        int64_t durationUs = 300000; // Wn3 answers 4 (running) this long
    };

    // onSuccess runs once when a run finishes with result 5.
    TSimAdjustment(int digit, std::function<void(int64_t now)> onSuccess);

    // Registers Wn0..Wn3; withTicker also lets runs finish with time.
    void Install(TSimOperations &operations, bool withTicker = true);

    uint32_t Query(int64_t now);
    uint32_t Start(int64_t now);
    uint32_t Progress(int64_t now);
    uint32_t End(int64_t now);
    void Tick(int64_t now);

    int Digit() const { return digit; }
    TState State() const { return state; }
    int Runs() const { return runs; } // starts that began a run

    // Asked when a run ends with result 5: true turns it into 6 (failed) and
    // skips the effect, as an alarm reset does while the alarm's cause stays.
    std::function<bool()> refuse;

    TConfig config;

    // "vref", "tcomp", "alarm-reset", "abs-clear", "trace-clear", "excitation"
    static const char *Name(int digit);
    // 1..6 from a digit or a name, 0 when neither.
    static int DigitOf(const std::string &text);

private:
    int digit;
    std::function<void(int64_t)> onSuccess;
    TState state = TState::Idle;
    int64_t startedAt = 0;
    int runs = 0;
    uint32_t result = 5; // what Wn3 answers once finished
};
