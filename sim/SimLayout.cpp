#include "sim/SimLayout.h"

#include "sim/SimMemory.h"

void TSimLayout::AddBytes(uint32_t address, std::vector<uint8_t> bytes)
{
    segments.push_back({address, std::move(bytes)});
}

void TSimLayout::AddValue(uint32_t address, uint32_t value, int length)
{
    if (length != 1 && length != 2 && length != 4)
        return;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        bytes[size_t(i)] = uint8_t(value >> (8 * i));
    AddBytes(address, std::move(bytes));
}

void TSimLayout::AddText(uint32_t address, const std::string &text, int length)
{
    std::vector<uint8_t> bytes(size_t(length), uint8_t(' '));
    for (size_t i = 0; i < bytes.size() && i < text.size(); ++i)
        bytes[i] = uint8_t(text[i]);
    AddBytes(address, std::move(bytes));
}

void TSimLayout::AddVersion(uint32_t address, char letter, uint16_t digits, const uint16_t (&words)[4])
{
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.push_back(uint8_t(w));
        bytes.push_back(uint8_t(w >> 8));
    }
    bytes.push_back(uint8_t(digits));
    bytes.push_back(uint8_t(digits >> 8));
    bytes.push_back(uint8_t(letter));
    bytes.push_back(0);
    AddBytes(address, std::move(bytes));
}

void TSimLayout::ApplyTo(TSimMemory &memory) const
{
    for (const TSimSegment &s : segments)
        memory.Write(s.address, s.bytes);
}
