#include "sim/SimMemory.h"

#include <algorithm>

TSimMemory::TSimMemory() : bytes(Size, 0) {}

void TSimMemory::Clear()
{
    std::fill(bytes.begin(), bytes.end(), 0);
}

uint32_t TSimMemory::Value(uint32_t address, int length) const
{
    if (length != 1 && length != 2 && length != 4)
        return 0;
    uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i)
        value = value << 8 | Byte(address + uint32_t(i));
    return value;
}

void TSimMemory::SetValue(uint32_t address, uint32_t value, int length)
{
    if (length != 1 && length != 2 && length != 4)
        return;
    for (int i = 0; i < length; ++i)
        SetByte(address + uint32_t(i), uint8_t(value >> (8 * i)));
}

std::vector<uint8_t> TSimMemory::Read(uint32_t address, int count) const
{
    std::vector<uint8_t> out(size_t(count > 0 ? count : 0));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = Byte(address + uint32_t(i));
    return out;
}

void TSimMemory::Write(uint32_t address, const std::vector<uint8_t> &data)
{
    for (size_t i = 0; i < data.size(); ++i)
        SetByte(address + uint32_t(i), data[i]);
}

void TSimMemory::WriteText(uint32_t address, const std::string &text, int length)
{
    for (int i = 0; i < length; ++i)
        SetByte(address + uint32_t(i), size_t(i) < text.size() ? uint8_t(text[size_t(i)]) : uint8_t(' '));
}
