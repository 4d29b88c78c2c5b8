#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class TSimMemory;

// The current-alarm block and the alarm history ring, kept in amplifier
// memory itself so that a program writing those words (a whole-area load)
// and the simulator never disagree.
//
// Current alarm, 8 bytes: w0 = code (bits 0-7) | pointer part (8-10) |
// state (12-15); w1 unused; w2, w3 = ticks of 4 ms since the alarm.
// History, 16 bytes: eight words laid out like w0. The newest entry is the
// sum of all nine pointer parts modulo 8.
class TSimAlarms
{
public:
    struct TEntry {
        uint8_t code = 0;
        uint8_t state = 0;
    };

    void Attach(TSimMemory *memory, std::optional<uint32_t> nowAddress, std::optional<uint32_t> historyAddress);

    // A new alarm: becomes the current one and the newest history entry.
    void Raise(uint8_t code, uint8_t state, int64_t now);
    // Alarm reset: no current alarm; the history stays.
    void Reset();
    // Alarm trace clear: every history entry becomes 0; the ring pointer stays.
    void ClearHistory();
    // Replaces the history, newest first (at most eight entries).
    void SetHistory(const std::vector<TEntry> &newestFirst);

    // While the cause persists an alarm reset is refused.
    void SetPersistent(bool on) { persistent = on; }
    bool Persistent() const { return persistent && Active(); }

    bool Active() const;
    uint8_t Code() const;
    // Newest first, eight entries.
    std::vector<TEntry> History() const;
    int RingPointer() const;

    // Writes the time since the alarm into w2/w3.
    void Refresh(int64_t now);

private:
    uint16_t Word(uint32_t address) const;
    void SetWord(uint32_t address, uint16_t value);
    // Rewrites the pointer parts so that their sum is p, keeping w0's part a.
    void SetPointer(int p, int a);

    TSimMemory *memory = nullptr;
    std::optional<uint32_t> nowAddress;
    std::optional<uint32_t> historyAddress;
    std::optional<int64_t> raisedAt;
    bool persistent = false;
};
