#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole 20-bit address space of one amplifier, byte by byte. Every
// address can be read and written; an access that runs past 0xFFFFF wraps
// to 0 like the amplifier's address counter. Multi-byte values lie with
// their least significant byte at the lowest address.
class TSimMemory
{
public:
    static constexpr uint32_t Size = 0x100000;
    static constexpr uint32_t Mask = Size - 1;

    TSimMemory();

    void Clear();

    uint8_t Byte(uint32_t address) const { return bytes[address & Mask]; }
    void SetByte(uint32_t address, uint8_t value) { bytes[address & Mask] = value; }

    // length 1, 2 or 4 bytes, least significant first; other lengths give 0
    // and write nothing.
    uint32_t Value(uint32_t address, int length) const;
    void SetValue(uint32_t address, uint32_t value, int length);

    // count bytes in address order.
    std::vector<uint8_t> Read(uint32_t address, int count) const;
    void Write(uint32_t address, const std::vector<uint8_t> &data);
    // A text of single-byte characters, cut or padded with spaces to length.
    void WriteText(uint32_t address, const std::string &text, int length);

private:
    std::vector<uint8_t> bytes;
};
