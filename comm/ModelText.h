#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class TDMTran;

// The texts an amplifier keeps in its memory. Model texts (amplifier model,
// motor model) are ten single-byte characters, eight read at one address
// and the first two of the eight read at a second one.
namespace ModelText {

// Control bytes (padding) read as blanks.
QString FromBytes(QByteArray bytes);

// Two memory reads M through the transaction layer; false after a failed
// one (reported, the axis taken out of use).
bool Read(TDMTran &tran, int axis, uint32_t first, uint32_t second, QString &text);

// The software-version text from the version block: s0..s3 (an M read of
// 8 bytes) and u0, u1 (an R read of 4 bytes after it), in this order:
// "A1.23.4 - 0001 - 0002 - 0003 - 0004" for u0 = 0x1234, 'A' in u1's low byte.
QString VersionText(const uint16_t (&block)[6]);

} // namespace ModelText
