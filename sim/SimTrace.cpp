#include "sim/SimTrace.h"

#include "sim/SimAxis.h"
#include "sim/SimControl.h"
#include "sim/SimLine.h"
#include "sim/SimMemory.h"
#include "sim/SimOperations.h"

#include <algorithm>
#include <cmath>

namespace {
int SlotsOf(int mode)
{
    switch (mode) {
    case 1: return 256;
    case 2: return 512;
    case 3: return 1024;
    default: return 1;
    }
}

int64_t Widen(uint32_t raw, int length, bool isSigned)
{
    const int bits = 8 * length;
    const uint64_t mask = bits >= 32 ? 0xFFFFFFFFull : (1ull << bits) - 1;
    const uint64_t v = raw & mask;
    if (isSigned && (v >> (bits - 1)) & 1)
        return int64_t(v) - int64_t(mask) - 1;
    return int64_t(v);
}
} // namespace

TSimTrace::TSimTrace(TSimMemory &m, TSimMotion &mo) : memory(m), motion(mo) {}

void TSimTrace::Install(TSimOperations &operations)
{
    for (const char *code : {"L00", "L01", "L03", "L04"})
        Restore(operations, code);
    operations.AddTicker([this](int64_t now) { Tick(now); });
}

bool TSimTrace::Restore(TSimOperations &operations, const std::string &code)
{
    if (code == "L00")
        operations.Register(code, [this](int64_t now) { return Status(now); });
    else if (code == "L01")
        operations.Register(code, [this](int64_t now) { return Start(now); });
    else if (code == "L03")
        operations.Register(code, [this](int64_t now) { return Stop(now); });
    else if (code == "L04")
        operations.Register(code, [this](int64_t now) { return Clear(now); });
    else
        return false;
    return true;
}

int64_t TSimTrace::PeriodUs() const
{
    return std::max<int64_t>(1, std::llround(layout.samplingBaseMs * 1000.0 * std::max(1, sampling)));
}

uint32_t TSimTrace::Reply() const
{
    uint32_t count = 0;
    if (state == Recording)
        count = uint32_t(remaining);
    return uint32_t(state) << 24 | (count & 0xFFFFFF);
}

uint32_t TSimTrace::Start(int64_t now)
{
    if (!layout.present)
        return TSimOperations::NotUsableL;
    const uint32_t s = layout.settingAddress;
    mode = memory.Byte(s);
    edge = memory.Byte(s + 1);
    triggerChannel = memory.Byte(s + 2) == 0xFF ? -1 : memory.Byte(s + 2);
    position = int(memory.Value(s + 4, 2));
    sampling = int(memory.Value(s + 6, 2));
    level = memory.Value(s + 8, 4);
    for (int c = 0; c < 8; ++c)
        codes[size_t(c)] = memory.Byte(s + 16 + uint32_t(c));
    startTime = now;
    taken = 0;
    written = 0;
    pos = 0;
    ringSize = SlotsOf(mode);
    pre = std::min(ringSize - 1, ringSize * std::clamp(position, 0, 100) / 100);
    remaining = 0;
    triggerSlot = -1;
    havePrevious = false;
    skip = 0;
    monitorShift = 0;
    state = Waiting;
    if (mode == 0)
        Monitor(now);
    return Reply();
}

uint32_t TSimTrace::Status(int64_t now)
{
    Tick(now);
    return Reply();
}

uint32_t TSimTrace::Stop(int64_t now)
{
    Tick(now);
    if (state == Waiting || state == Recording)
        Finish(written == 0 ? StoppedEmpty : Stopped);
    return Reply();
}

uint32_t TSimTrace::Clear(int64_t)
{
    state = Empty;
    if (layout.present) {
        memory.Write(layout.analogAddress, std::vector<uint8_t>(2048, 0));
        memory.Write(layout.digitalAddress, std::vector<uint8_t>(128, 0));
    }
    return Reply();
}

int64_t TSimTrace::Raw(int channel, uint64_t k, int64_t t)
{
    const TFeed &f = feeds[size_t(channel)];
    switch (f.kind) {
    case TFeed::Ramp: return f.a + f.b * int64_t(k);
    case TFeed::Square: return f.b > 0 ? int64_t((k / uint64_t(f.b)) % 2) : 0;
    case TFeed::Const: return f.a;
    case TFeed::Off: break;
    }
    motion.Update(t);
    if (channel >= 4)
        return (int64_t(motion.Value(TSimQuantity::Inputs)) >> (codes[size_t(channel)] % 16)) & 1;
    auto it = layout.analog.find(codes[size_t(channel)]);
    if (it == layout.analog.end() || it->second.quantity == TSimQuantity::None)
        return 0;
    return std::llround(motion.Value(it->second.quantity));
}

bool TSimTrace::Bit(int channel, uint64_t k, int64_t t)
{
    return Raw(channel, k, t) & 1;
}

void TSimTrace::Store(int slot, const std::array<int64_t, 8> &v)
{
    auto length = [&](int c) {
        auto it = layout.analog.find(codes[size_t(c)]);
        return it == layout.analog.end() ? 2 : it->second.length;
    };
    auto word = [&](int index, uint16_t value) { memory.SetValue(layout.analogAddress + uint32_t(2 * index), value, 2); };
    auto bit = [&](int bitIndex, bool on) {
        const uint32_t a = layout.digitalAddress + uint32_t(bitIndex / 8);
        const uint8_t m = uint8_t(1u << (bitIndex % 8));
        memory.SetByte(a, on ? memory.Byte(a) | m : memory.Byte(a) & ~m);
    };
    // A 4-byte channel spills its high half into the next channel's word.
    auto analog = [&](int c, int index, bool mayBeWide) {
        // A 1-byte quantity fills only the low byte of its word.
        const uint32_t raw = uint32_t(v[size_t(c)]) & (length(c) == 1 ? 0xFFu : 0xFFFFFFFFu);
        word(index, uint16_t(raw));
        if (mayBeWide && length(c) == 4)
            word(index + 1, uint16_t(raw >> 16));
    };
    switch (mode) {
    case 1:
        for (int c = 3; c >= 0; --c) // lower channels win the shared words
            analog(c, 4 * slot + c, c < 3);
        for (int c = 0; c < 4; ++c)
            bit(8 * (slot / 2) + 4 * (slot % 2) + c, v[size_t(4 + c)] & 1);
        break;
    case 2:
        analog(1, 2 * slot + 1, false);
        analog(0, 2 * slot, true);
        for (int c = 0; c < 2; ++c)
            bit(8 * (slot / 4) + 2 * (slot % 4) + c, v[size_t(4 + c)] & 1);
        break;
    case 3:
        analog(0, slot, false);
        bit(slot, v[4] & 1);
        break;
    default:
        break;
    }
}

void TSimTrace::TakeSample(uint64_t k, int64_t t)
{
    std::array<int64_t, 8> v{};
    for (int c = 0; c < 8; ++c)
        v[size_t(c)] = Raw(c, k, t);
    Store(pos, v);
    const int slot = pos;
    pos = (pos + 1) % ringSize;
    ++written;
    if (state == Recording) {
        if (--remaining <= 0)
            Finish(Finished);
        return;
    }
    // Waiting: the trigger looks at the value past the level, once the part
    // before it is full.
    bool fire = false;
    if (triggerChannel < 0) {
        fire = written > uint64_t(pre);
    } else {
        int64_t value = v[size_t(triggerChannel)];
        int64_t threshold = 0;
        if (triggerChannel < 4) {
            auto it = layout.analog.find(codes[size_t(triggerChannel)]);
            const int len = it == layout.analog.end() ? 2 : it->second.length;
            const bool sig = it == layout.analog.end() || it->second.isSigned;
            value = Widen(uint32_t(value), len, sig);
            threshold = Widen(level, len, sig);
        } else {
            value &= 1;
            threshold = 1;
        }
        if (havePrevious && written > uint64_t(pre)) {
            const bool rising = previous < threshold && value >= threshold;
            const bool falling = triggerChannel < 4 ? previous > threshold && value <= threshold
                                                    : previous >= threshold && value < threshold;
            fire = (edge == 0 && rising) || (edge == 1 && falling) || (edge == 2 && (rising || falling));
        }
        havePrevious = true;
        previous = value;
    }
    if (fire) {
        triggerSlot = slot;
        remaining = ringSize - pre - 1;
        state = Recording;
        if (remaining <= 0)
            Finish(Finished);
    }
}

void TSimTrace::Finish(TState how)
{
    state = how;
    const int ringStart = written >= uint64_t(ringSize) ? pos : 0;
    const int triggerNo = triggerSlot < 0 ? 0 : (triggerSlot - ringStart + ringSize) % ringSize;
    memory.SetValue(layout.traceAddress + 8 + 6, uint32_t(ringStart), 2);
    memory.SetValue(layout.traceAddress + 16, uint32_t(triggerNo), 2);
}

void TSimTrace::Monitor(int64_t now)
{
    const uint64_t k = uint64_t((now - startTime) / PeriodUs()) + uint64_t(skip) + monitorShift;
    monitorShift += uint64_t(skip);
    skip = 0;
    auto length = [&](int c) {
        auto it = layout.analog.find(codes[size_t(c)]);
        return it == layout.analog.end() ? 2 : it->second.length;
    };
    auto masked = [&](int c) { return uint32_t(Raw(c, k, now)) & (length(c) == 1 ? 0xFFu : 0xFFFFFFFFu); };
    const uint32_t ch1 = masked(0);
    const uint32_t ch2 = length(0) == 4 ? ch1 >> 16 : masked(1);
    const uint32_t bits = uint32_t(Raw(4, k, now) & 1) | uint32_t(Raw(5, k, now) & 1) << 1;
    const uint32_t a = layout.traceAddress;
    memory.SetValue(a, uint32_t(k % 65535), 2);
    memory.SetValue(a + 2, ch1 & 0xFFFF, 2);
    memory.SetValue(a + 4, ch2 & 0xFFFF, 2);
    memory.SetValue(a + 6, bits, 2);
}

void TSimTrace::Tick(int64_t now)
{
    if (!layout.present || (state != Waiting && state != Recording))
        return;
    if (mode == 0) {
        Monitor(now);
        return;
    }
    const int64_t period = PeriodUs();
    const uint64_t due = uint64_t(std::max<int64_t>(0, (now - startTime) / period + 1));
    // After a long unwatched wait only the last stretch matters: a ring holds
    // no more than its ringSize.
    if (state == Waiting && due > taken + 4 * uint64_t(ringSize)) {
        taken = due - 2 * uint64_t(ringSize);
        havePrevious = false;
    }
    while (taken < due && (state == Waiting || state == Recording)) {
        TakeSample(taken, startTime + int64_t(taken) * period);
        ++taken;
    }
}

const char *TSimTrace::Help()
{
    return "  trace N feed CH ramp START STEP | square HALF | const VALUE | off   a known signal on channel CH\n"
           "                                (1..8) by sample number k since the start: START+STEP*k, k/HALF mod 2\n"
           "  trace N skip COUNT            the monitor counter jumps ahead by COUNT (samples lost on the line)\n"
           "  trace N                       recorder state, mode and samples taken\n";
}

std::string TSimTrace::Control(TSimLine &line, const std::vector<std::string> &w, int64_t now)
{
    uint32_t n = 0;
    if (w.size() < 2 || !TSimControl::ParseHex(w[1], 15, n) || n < 1 || !line.Axis(int(n)))
        return "error usage: trace N [feed CH KIND ARGS | skip COUNT] (N an axis on the line)";
    TSimTrace &t = line.Axis(int(n))->Trace();
    t.Tick(now);
    if (w.size() == 2)
        return "ok state=" + std::to_string(int(t.state)) + " mode=" + std::to_string(t.mode) +
               " taken=" + std::to_string(t.taken);
    int64_t a = 0, b = 0;
    if (w[2] == "skip" && w.size() == 4 && TSimControl::ParseNumber(w[3], a) && a >= 0 && a < 65535) {
        t.Skip(int(a));
        return "ok";
    }
    int64_t ch = 0;
    if (w[2] != "feed" || w.size() < 5 || !TSimControl::ParseNumber(w[3], ch) || ch < 1 || ch > 8)
        return "error usage: trace N feed CH ramp START STEP | square HALF | const VALUE | off; trace N skip COUNT";
    TFeed f;
    if (w[4] == "off" && w.size() == 5)
        f.kind = TFeed::Off;
    else if (w[4] == "ramp" && w.size() == 7 && TSimControl::ParseNumber(w[5], a) && TSimControl::ParseNumber(w[6], b))
        f = {TFeed::Ramp, a, b};
    else if (w[4] == "square" && w.size() == 6 && TSimControl::ParseNumber(w[5], b) && b > 0)
        f = {TFeed::Square, 0, b};
    else if (w[4] == "const" && w.size() == 6 && TSimControl::ParseNumber(w[5], a))
        f = {TFeed::Const, a, 0};
    else
        return "error usage: trace N feed CH ramp START STEP | square HALF | const VALUE | off";
    t.Feed(int(ch - 1), f);
    return "ok";
}
