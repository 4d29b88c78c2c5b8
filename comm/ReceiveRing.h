#pragma once

#include <cstdint>
#include <mutex>

// The engine's receive ring: 4096 bytes (plus one spare byte that stays
// zero), filled by the serial watcher thread and emptied by the
// user-interface thread. Bytes that do not fit are dropped.
class TReceiveRing
{
public:
    static constexpr int Size = 4096;

    // Producer side: stores bytes in order while there is room; returns how
    // many were stored.
    int Put(const uint8_t *bytes, int count);
    // Consumer side.
    bool Take(uint8_t &byte);
    void Clear();
    int Count() const;

private:
    mutable std::mutex m_lock;
    uint8_t m_buffer[Size + 1] = {};
    int m_read = 0;
    int m_write = 0;
    int m_count = 0;
};
