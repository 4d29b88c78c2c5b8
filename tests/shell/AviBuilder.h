#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

// Writes small AVI files for the reader's tests: one video stream (optionally
// after an audio stream), frames as given.
struct TAviBuilder {
    int width = 4;
    int height = 2;
    int bits = 8;
    uint32_t compression = 0; // 0 BI_RGB, 1 BI_RLE8, anything else for refusals
    QList<uint32_t> palette;  // 0x00RRGGBB
    QList<QByteArray> frames; // chunk bodies
    uint32_t scale = 1;
    uint32_t rate = 10;
    bool audioFirst = false;  // the video stream is then "01dc"
    bool framesInRecList = false;
    QByteArray frameSuffix = "db";

    static void U16(QByteArray &b, uint32_t v)
    {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    }
    static void U32(QByteArray &b, uint32_t v)
    {
        U16(b, v & 0xFFFF);
        U16(b, v >> 16);
    }
    static QByteArray Chunk(const QByteArray &id, const QByteArray &body)
    {
        QByteArray b = id;
        U32(b, uint32_t(body.size()));
        b += body;
        if (body.size() & 1)
            b.append('\0');
        return b;
    }
    static QByteArray List(const QByteArray &type, const QByteArray &body)
    {
        return Chunk("LIST", type + body);
    }

    QByteArray StreamList(const QByteArray &type, const QByteArray &format) const
    {
        QByteArray strh = type + QByteArray("\0\0\0\0", 4);
        U32(strh, 0);     // flags
        U32(strh, 0);     // priority, language
        U32(strh, 0);     // initial frames
        U32(strh, scale); // scale
        U32(strh, rate);  // rate
        for (int i = 0; i < 8; ++i)
            U32(strh, 0);
        return List("strl", Chunk("strh", strh) + Chunk("strf", format));
    }

    QByteArray Build() const
    {
        QByteArray bih;
        U32(bih, 40);
        U32(bih, uint32_t(width));
        U32(bih, uint32_t(height));
        U16(bih, 1);
        U16(bih, uint32_t(bits));
        U32(bih, compression);
        U32(bih, 0);
        U32(bih, 0);
        U32(bih, 0);
        U32(bih, uint32_t(palette.size()));
        U32(bih, 0);
        for (uint32_t c : palette) {
            bih.append(char(c & 0xFF));
            bih.append(char((c >> 8) & 0xFF));
            bih.append(char((c >> 16) & 0xFF));
            bih.append('\0');
        }
        QByteArray avih;
        U32(avih, 100000);
        for (int i = 0; i < 13; ++i)
            U32(avih, 0);
        QByteArray hdrl = Chunk("avih", avih);
        if (audioFirst)
            hdrl += StreamList("auds", QByteArray(18, '\0'));
        hdrl += StreamList("vids", bih);
        const QByteArray prefix = audioFirst ? "01" : "00";
        QByteArray movi;
        if (audioFirst)
            movi += Chunk("00wb", QByteArray(10, 'x'));
        for (const QByteArray &f : frames) {
            const QByteArray c = Chunk(prefix + frameSuffix, f);
            movi += framesInRecList ? List("rec ", c) : c;
        }
        QByteArray body = "AVI " + List("hdrl", hdrl) + Chunk("JUNK", "pad") + List("movi", movi);
        body += Chunk("idx1", QByteArray());
        return Chunk("RIFF", body);
    }
};
