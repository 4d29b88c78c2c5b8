#include "sim/SimAlarms.h"

#include "sim/SimMemory.h"

namespace {
constexpr int64_t TickUs = 4000;

uint16_t Compose(uint8_t code, int pointer, uint8_t state)
{
    return uint16_t(code | (pointer & 7) << 8 | (state & 0x0F) << 12);
}
} // namespace

void TSimAlarms::Attach(TSimMemory *m, std::optional<uint32_t> now, std::optional<uint32_t> history)
{
    memory = m;
    nowAddress = now;
    historyAddress = history;
    raisedAt.reset();
}

uint16_t TSimAlarms::Word(uint32_t address) const
{
    return uint16_t(memory->Value(address, 2));
}

void TSimAlarms::SetWord(uint32_t address, uint16_t value)
{
    memory->SetValue(address, value, 2);
}

int TSimAlarms::RingPointer() const
{
    if (!memory)
        return 0;
    int sum = 0;
    if (nowAddress)
        sum += Word(*nowAddress) >> 8 & 7;
    if (historyAddress)
        for (uint32_t i = 0; i < 8; ++i)
            sum += Word(*historyAddress + 2 * i) >> 8 & 7;
    return sum & 7;
}

void TSimAlarms::SetPointer(int p, int a)
{
    if (nowAddress) {
        const uint16_t w0 = Word(*nowAddress);
        SetWord(*nowAddress, uint16_t((w0 & ~0x0700) | (a & 7) << 8));
    } else {
        a = 0;
    }
    if (!historyAddress)
        return;
    int others = 0;
    for (uint32_t i = 1; i < 8; ++i)
        others += Word(*historyAddress + 2 * i) >> 8 & 7;
    const uint16_t h0 = Word(*historyAddress);
    SetWord(*historyAddress, uint16_t((h0 & ~0x0700) | ((p - a - others) & 7) << 8));
}

void TSimAlarms::Raise(uint8_t code, uint8_t state, int64_t now)
{
    if (!memory)
        return;
    const int a = nowAddress ? (Word(*nowAddress) >> 8 & 7) : 0;
    const int p = (RingPointer() + 1) & 7;
    if (nowAddress) {
        SetWord(*nowAddress, Compose(code, a, state));
        SetWord(*nowAddress + 2, 0);
        memory->SetValue(*nowAddress + 4, 1, 4);
        raisedAt = now;
    }
    if (historyAddress) {
        const uint32_t at = *historyAddress + 2 * uint32_t(p);
        SetWord(at, uint16_t((Word(at) & 0x0700) | Compose(code, 0, state)));
    }
    // w0's part moves with every alarm, so the ring pointer is really split
    // between the two blocks.
    SetPointer(p, a + 1);
}

void TSimAlarms::Reset()
{
    raisedAt.reset();
    if (!memory || !nowAddress)
        return;
    SetWord(*nowAddress, uint16_t(Word(*nowAddress) & 0x0700));
    memory->SetValue(*nowAddress + 4, 0, 4);
}

void TSimAlarms::ClearHistory()
{
    if (!memory || !historyAddress)
        return;
    for (uint32_t i = 0; i < 8; ++i) {
        const uint32_t at = *historyAddress + 2 * i;
        SetWord(at, uint16_t(Word(at) & 0x0700));
    }
}

void TSimAlarms::SetHistory(const std::vector<TEntry> &newestFirst)
{
    if (!memory || !historyAddress)
        return;
    const int p = RingPointer();
    for (int k = 0; k < 8; ++k) {
        const uint32_t at = *historyAddress + 2 * uint32_t((p - k) & 7);
        const TEntry e = size_t(k) < newestFirst.size() ? newestFirst[size_t(k)] : TEntry{};
        SetWord(at, uint16_t((Word(at) & 0x0700) | Compose(e.code, 0, e.state)));
    }
}

bool TSimAlarms::Active() const
{
    return Code() != 0;
}

uint8_t TSimAlarms::Code() const
{
    if (!memory || !nowAddress)
        return 0;
    return uint8_t(Word(*nowAddress));
}

std::vector<TSimAlarms::TEntry> TSimAlarms::History() const
{
    std::vector<TEntry> out(8);
    if (!memory || !historyAddress)
        return out;
    const int p = RingPointer();
    for (int k = 0; k < 8; ++k) {
        const uint16_t w = Word(*historyAddress + 2 * uint32_t((p - k) & 7));
        out[size_t(k)] = {uint8_t(w), uint8_t(w >> 12)};
    }
    return out;
}

void TSimAlarms::Refresh(int64_t now)
{
    if (!memory || !nowAddress || !raisedAt)
        return;
    if (!Active()) {
        raisedAt.reset();
        return;
    }
    // Counted from 1: a zero count would read as "no alarm time".
    const int64_t ticks = (now - *raisedAt) / TickUs + 1;
    memory->SetValue(*nowAddress + 4, uint32_t(ticks > 0 ? ticks : 0), 4);
}
