#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Control characters, check characters and hexadecimal fields of the
// amplifier line, seen from the amplifier.
class TSimFrame
{
public:
    static constexpr uint8_t STX = 0x02;
    static constexpr uint8_t ETX = 0x03;
    static constexpr uint8_t EOT = 0x04;
    static constexpr uint8_t ENQ = 0x05;
    static constexpr uint8_t ACK = 0x06;
    static constexpr uint8_t NAK = 0x15;

    // Address byte of axis n (0x90 is the line reset's address).
    static constexpr uint8_t AddressByte(int axis) { return uint8_t(0x90 + axis); }

    // Exclusive-or of every byte of the text and of the closing ETX.
    static uint8_t Check(std::string_view text);
    // The check as two hexadecimal digits, upper case unless asked otherwise.
    static std::string CheckText(uint8_t check, bool lowerCase = false);
    // STX, text, ETX and the two upper-case check characters.
    static std::string Build(std::string_view text);

    // value as exactly `digits` upper-case hexadecimal digits (high digits cut).
    static std::string Hex(uint32_t value, int digits);
    // Strict reading of a field the program sent: only "0"-"9" and "A"-"F",
    // at most eight digits, none missing.
    static std::optional<uint32_t> ParseUpperHex(std::string_view digits);
};
