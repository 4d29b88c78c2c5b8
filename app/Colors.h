#pragma once

#include <QString>
#include <cstdint>

// A colour as the settings file stores it: 0x00BBGGRR (red in the low byte).
// The core keeps colours as plain numbers; windows turn them into QColor with
// ColorRed/ColorGreen/ColorBlue.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor ColorFromRgb(int r, int g, int b)
{
    return TColor(r & 0xFF) | TColor(g & 0xFF) << 8 | TColor(b & 0xFF) << 16;
}
constexpr int ColorRed(TColor c) { return int(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return int(c >> 8 & 0xFF); }
constexpr int ColorBlue(TColor c) { return int(c >> 16 & 0xFF); }

// The stored form: the colour's name ("clRed") when it has one, otherwise
// "$" and eight upper-case hexadecimal digits ("$00FF8000").
QString ColorToString(TColor color);

// Reads a colour name (any case) or a number ("$00BBGGRR", "0x...", decimal).
// Returns false, leaving color alone, for anything else, including numbers
// outside 0x00000000-0x00FFFFFF (those are not RGB colours).
bool StringToColor(const QString &text, TColor &color);
