#include "comm/ReceiveRing.h"

#include <cstring>

int TReceiveRing::Put(const uint8_t *bytes, int count)
{
    std::lock_guard<std::mutex> guard(m_lock);
    int stored = 0;
    while (stored < count && m_count < Size) {
        m_buffer[m_write] = bytes[stored++];
        m_write = (m_write + 1) % Size;
        ++m_count;
    }
    return stored;
}

bool TReceiveRing::Take(uint8_t &byte)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_count == 0)
        return false;
    byte = m_buffer[m_read];
    m_read = (m_read + 1) % Size;
    --m_count;
    return true;
}

void TReceiveRing::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_read = m_write = m_count = 0;
    std::memset(m_buffer, 0, sizeof m_buffer);
}

int TReceiveRing::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_count;
}
