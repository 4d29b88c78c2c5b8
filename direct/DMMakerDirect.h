#pragma once

#include "comm/TranAmp.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct TAppContext;

// Raw access to one amplifier's memory by address for the service-level
// windows. Talks to the protocol engine itself (H0, M, P) and reports its
// failures itself: the warning is shown whatever the cable says, and an axis
// 1 to F is marked not in use. Axis 0 polls the address byte 0x90; nothing is
// recorded or marked for it, since which amplifier answered is unknown.
class TDMMakerDirect
{
public:
    using TWords = std::array<uint16_t, 4>;

    static constexpr uint32_t MaxBase = 0xFFFF8;    // highest base of a four-word read
    static constexpr uint32_t MaxAddress = 0xFFFFF; // the 20-bit address space
    static constexpr uint32_t DefaultBase = 0xFC800;

    // What became of a write.
    enum class TWrite { Written, Refused, Failed };

    explicit TDMMakerDirect(TAppContext &context);

    // Hexadecimal text of 1 to maxDigits digits; nothing for an empty text,
    // any other character or more digits.
    static std::optional<uint32_t> ParseHex(const QString &text, int maxDigits);
    // value as digits upper-case hexadecimal digits with leading zeros.
    static QString Hex(uint32_t value, int digits);

    // The axis box: one hex digit 0 to F; otherwise the axis warning and nothing.
    static std::optional<int> ParseAxis(const QString &text);
    // H0: true with the reported code; the code is recorded for an axis 1 to F.
    bool Connect(int axis, int32_t &code);
    // M at base: word i holds the byte at base + 2i low and base + 2i + 1
    // high. A base that is odd or above MaxBase is refused with a warning
    // and nothing is sent (false).
    bool ReadWords(int axis, uint32_t base, TWords &words);
    // P at address, high byte first. An odd address, one above
    // MaxAddress - 1 or a value beyond 16 bits is refused with a warning
    // and nothing is sent.
    TWrite WriteWord(int axis, uint32_t address, uint32_t value);

    // "Invalid setting was inputted.\r\n( %1 )" for a field.
    static QString InvalidText(const QString &field);
    static QString AxisField();    // "Communication axis specification"
    static QString AddressField(); // "Address specification"
    static QString ValueField();   // "New setting value"
    static QString RangeText();    // "The address is the outside of the range."

private:
    bool Check(int axis, TTranResult result);
    TTranAmp *Engine() const;

    TAppContext &ctx;
};
