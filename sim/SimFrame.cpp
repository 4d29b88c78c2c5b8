#include "sim/SimFrame.h"

uint8_t TSimFrame::Check(std::string_view text)
{
    uint8_t check = 0;
    for (char c : text)
        check ^= uint8_t(c);
    return check ^ ETX;
}

std::string TSimFrame::CheckText(uint8_t check, bool lowerCase)
{
    static const char upper[] = "0123456789ABCDEF";
    static const char lower[] = "0123456789abcdef";
    const char *digits = lowerCase ? lower : upper;
    return {digits[check >> 4], digits[check & 0x0F]};
}

std::string TSimFrame::Build(std::string_view text)
{
    std::string frame;
    frame.reserve(text.size() + 4);
    frame += char(STX);
    frame += text;
    frame += char(ETX);
    frame += CheckText(Check(text));
    return frame;
}

std::string TSimFrame::Hex(uint32_t value, int digits)
{
    static const char upper[] = "0123456789ABCDEF";
    std::string text(size_t(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        text[size_t(i)] = upper[value & 0x0F];
        value >>= 4;
    }
    return text;
}

std::optional<uint32_t> TSimFrame::ParseUpperHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            d = uint32_t(c - 'A' + 10);
        else
            return std::nullopt;
        value = value << 4 | d;
    }
    return value;
}
