#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Japanese code page (Shift-JIS as Windows has it, CP932) used by the
// files the program writes and by the amplifier's model texts.
//
// ASCII maps to itself in both directions. The system converter rotates the
// control codes 0x1A, 0x1C and 0x7F, which Windows does not, so ASCII never
// goes through it.
namespace ShiftJis {

// Characters without a Shift-JIS form become "?".
QByteArray Encode(QStringView text);

// Malformed bytes (a lead byte without a valid trail byte, an unassigned
// code) become U+FFFD, one per bad sequence; nothing is dropped.
QString Decode(QByteArrayView bytes);

// The number of bytes Encode(text) produces.
qsizetype ByteLength(QStringView text);

// True for a character that Shift-JIS encodes in two bytes.
bool IsDoubleByte(char32_t ch);

// Half-width katakana (and their punctuation): U+FF61 to U+FF9F, the single
// bytes 0xA1 to 0xDF.
constexpr bool IsHalfWidthKatakana(char32_t ch) { return ch >= 0xFF61 && ch <= 0xFF9F; }

// The first byte of a double-byte character.
constexpr bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool IsTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace ShiftJis
