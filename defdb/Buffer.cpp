#include "defdb/Buffer.h"

namespace {

// Index of the word holding address, and whether the byte is its high half.
// The address must lie in the image.
struct TWordPos
{
    qsizetype index;
    bool high;
};

TWordPos WordPos(const TBuffer &image, qint64 address)
{
    const qint64 offset = address - image.startAddress;
    return {qsizetype(offset / 2), (offset & 1) != 0};
}

} // namespace

qint32 ImageValue(const TBuffer &image, qint64 address, int length)
{
    if ((length != 1 && length != 2 && length != 4) || address < image.startAddress)
        return 0;
    // A 2- or 4-byte value takes whole words from the word holding address.
    const TWordPos pos = WordPos(image, address);
    const qint64 wordStart = image.startAddress + 2 * qint64(pos.index);
    if (!image.Contains(length == 1 ? address : wordStart, length))
        return 0;
    const quint16 w = image.words[pos.index];
    switch (length) {
    case 1:
        return pos.high ? w >> 8 : w & 0xFF;
    case 2:
        return w;
    default:
        return qint32(quint32(w) | (quint32(image.words[pos.index + 1]) << 16));
    }
}

void SetImageValue(TBuffer &image, qint64 address, qint32 value, int length)
{
    if ((length != 1 && length != 2 && length != 4) || address < image.startAddress)
        return;
    const TWordPos pos = WordPos(image, address);
    const qint64 wordStart = image.startAddress + 2 * qint64(pos.index);
    if (!image.Contains(length == 1 ? address : wordStart, length))
        return;
    const auto v = quint32(value);
    quint16 &w = image.words[pos.index];
    switch (length) {
    case 1:
        w = pos.high ? quint16(((v & 0xFF) << 8) | (w & 0xFF)) : quint16((w & 0xFF00) | (v & 0xFF));
        break;
    case 2:
        w = quint16(v & 0xFFFF);
        break;
    default:
        w = quint16(v & 0xFFFF);
        image.words[pos.index + 1] = quint16(v >> 16);
        break;
    }
}
