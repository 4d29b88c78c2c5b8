#!/usr/bin/env python3
"""Writes a small online animation: an RLE8-compressed AVI of a turning
pointer, 32 x 24 pixels, 8 frames at 8 frames per second.

    scripts/make-online-avi.py OUT.avi [--uncompressed]
"""
import math
import struct
import sys

W, H, FRAMES = 32, 24, 8
PALETTE = [(0, 0, 0)] * 256
PALETTE[0] = (236, 236, 236)  # background, close to a tool bar's grey
PALETTE[1] = (40, 90, 170)    # ring
PALETTE[2] = (30, 170, 60)    # pointer


def picture(frame):
    rows = [[0] * W for _ in range(H)]
    cx, cy = (W - 1) / 2, (H - 1) / 2
    angle = 2 * math.pi * frame / FRAMES
    for y in range(H):
        for x in range(W):
            d = math.hypot(x - cx, y - cy)
            if 9.0 <= d <= 10.5:
                rows[y][x] = 1
            a = math.atan2(y - cy, x - cx)
            if d < 8.5 and abs((a - angle + math.pi) % (2 * math.pi) - math.pi) < 0.35:
                rows[y][x] = 2
    return rows


def rle8(rows):
    out = bytearray()
    for row in reversed(rows):  # bottom-up
        x = 0
        while x < W:
            n = 1
            while x + n < W and n < 255 and row[x + n] == row[x]:
                n += 1
            out += bytes((n, row[x]))
            x += n
        out += b"\0\0"
    out += b"\0\1"
    return bytes(out)


def dib(rows):
    return b"".join(bytes(r) for r in reversed(rows))  # 32 bytes a row: aligned


def chunk(cid, body):
    return cid + struct.pack("<I", len(body)) + body + (b"\0" if len(body) & 1 else b"")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    rle = "--uncompressed" not in sys.argv[2:]
    frames = [(rle8 if rle else dib)(picture(f)) for f in range(FRAMES)]
    bih = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 1 if rle else 0, 0, 0, 0, 256, 0)
    bih += b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    avih = struct.pack("<14I", 125000, 0, 0, 0x10, FRAMES, 0, 1, 0, W, H, 0, 0, 0, 0)
    strh = b"vids" + (b"mrle" if rle else b"DIB ") + struct.pack("<IHHIIIIIIII4h", 0, 0, 0, 0, 1, 8, 0,
                                                                    FRAMES, 0, 0, 0, 0, 0, W, H)
    hdrl = chunk(b"avih", avih) + chunk(b"LIST", b"strl" + chunk(b"strh", strh) + chunk(b"strf", bih))
    movi = b"".join(chunk(b"00dc" if rle else b"00db", f) for f in frames)
    body = b"AVI " + chunk(b"LIST", b"hdrl" + hdrl) + chunk(b"LIST", b"movi" + movi)
    with open(sys.argv[1], "wb") as out:
        out.write(chunk(b"RIFF", body))


if __name__ == "__main__":
    main()
