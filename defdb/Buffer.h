#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// A copy of an amplifier memory area. Word i holds the byte at
// startAddress + 2i in its low half and the next byte in its high half.
struct TBuffer
{
    qint32 ampCode = -1;        // AMPLIFIER.CODE; -1 when unknown or unreadable
    QString modelText;          // "AMP-TYPE" of a parameter file
    QString firmwareText;       // "CPU-VER" of a parameter file
    qint32 startAddress = 0;    // address of the low byte of word 0
    QList<quint16> words;

    // Address one past the last byte of the image.
    qint64 EndAddress() const { return qint64(startAddress) + 2 * qint64(words.size()); }

    // True when the length bytes from address all lie in the image.
    bool Contains(qint64 address, int length) const
    {
        return length > 0 && address >= startAddress && address + length <= EndAddress();
    }
};

// The raw value of length 1, 2 or 4 at address. An address whose value does
// not lie wholly in the image, or another length, gives 0.
qint32 ImageValue(const TBuffer &image, qint64 address, int length);

// Stores the low length bytes of value at address. Outside the image, or for
// another length, nothing changes.
void SetImageValue(TBuffer &image, qint64 address, qint32 value, int length);
