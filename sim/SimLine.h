#pragma once

#include "sim/SimAxis.h"
#include "sim/SimLayout.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The far side of the serial line: up to fifteen axes hearing every byte
// the program sends, and the line's timing. Time is in microseconds of the
// caller's clock, so tests can run it on a clock of their own.
//
// Feed the bytes as they are read and take the bytes that are due for the
// line:
//     line.Feed(buf, n, now);
//     write(fd, line.TakeOutput(now));
//     sleep until line.NextDue();
//
// With line-time emulation each character takes 12 bit times (8E2) in both
// directions, and every answer starts a turnaround after the byte it
// answers. A received byte is handed to the axes at once, stamped with the
// time it is complete on the line, so the answers are due at the line's
// own times however late the reading thread got to run. Without line time
// answers are due at once.
class TSimLine
{
public:
    using TLayoutSource = std::function<TSimLayout(uint32_t code)>;
    using TAxisHook = std::function<void(TSimAxis &axis, int64_t now)>;

    static constexpr int64_t Never = std::numeric_limits<int64_t>::max();
    static constexpr int BitsPerChar = 12;

    TSimLine() = default;

    // Where new axes get their memory layout (default: an empty layout).
    void SetLayoutSource(TLayoutSource source) { layoutSource = std::move(source); }
    // Given to every axis that AddAxis creates.
    void SetCommandHook(TSimAxis::TCommandHook hook) { commandHook = std::move(hook); }
    // Runs on every axis that AddAxis creates (defaults the program chose).
    void SetAxisHook(TAxisHook hook) { axisHook = std::move(hook); }

    // Creates (or replaces) axis n, 1..15, reporting code.
    TSimAxis &AddAxis(int n, uint32_t code, int64_t now);
    bool RemoveAxis(int n);
    TSimAxis *Axis(int n);
    std::vector<int> AxisNumbers() const;

    // The axis that also answers the address byte 0x90, 0 for none.
    void SetAxis0(int n);
    int Axis0() const { return axis0; }

    void SetBaud(int baud) { this->baud = baud > 0 ? baud : 9600; }
    int Baud() const { return baud; }
    void SetLineTime(bool on) { lineTime = on; }
    bool LineTime() const { return lineTime; }
    void SetTurnaroundUs(int64_t us) { turnaroundUs = us < 0 ? 0 : us; }
    int64_t TurnaroundUs() const { return turnaroundUs; }
    // One character on the line: 12 bit times.
    int64_t CharTimeUs() const { return int64_t(BitsPerChar) * 1000000 / baud; }
    // The program's character time-out at this bit rate.
    int CharTimeoutMs() const { return CharTimeoutMs(baud); }
    static int CharTimeoutMs(int baud) { return baud >= 38400 ? 75 : baud >= 9600 ? 300 : 1000; }

    void Feed(const uint8_t *data, size_t count, int64_t now);
    void Feed(std::string_view bytes, int64_t now) { Feed(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), now); }
    // The earliest time an answer byte falls due.
    int64_t NextDue() const;
    // The answer bytes due by now, removed from the queue, in line order.
    std::string TakeOutput(int64_t now);
    bool OutputPending() const { return !output.empty(); }
    // When the last byte fed in is complete on the line.
    int64_t InputDoneAt() const { return inputFreeAt; }
    // The cable is gone: nothing in flight survives.
    void DropAll();

    // Brings the time-dependent values of every axis up to now.
    void Refresh(int64_t now);

private:
    struct TOut {
        int64_t due;
        uint8_t byte;
        int axis;
    };

    void Deliver(uint8_t byte, int64_t at);
    void Schedule(int axis, const std::string &bytes, int64_t start);
    // Drops the axis's answer bytes due after `after`.
    void Cancel(int axis, int64_t after = std::numeric_limits<int64_t>::min());

    std::map<int, std::unique_ptr<TSimAxis>> axes;
    TLayoutSource layoutSource;
    TAxisHook axisHook;
    TSimAxis::TCommandHook commandHook;
    int axis0 = 0;
    int baud = 9600;
    bool lineTime = false;
    int64_t turnaroundUs = 1000;

    int64_t inputFreeAt = 0;  // when the last received character is complete
    std::deque<TOut> output;
    int64_t outputFreeAt = 0; // when the last queued character is on the line
};
