#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// Reads the little animations that the online indicator plays: RIFF AVI files
// whose first video stream is an uncompressed DIB (1, 4, 8, 16, 24 or 32 bits)
// or RLE8. Every frame is decoded at load time into 32-bit ARGB pixels, top row
// first. Anything else (other codecs, damaged or oversized files) is refused
// with false and leaves the reader empty; the caller shows nothing then.
class TAviReader
{
public:
    bool Load(const QString &path);
    bool LoadData(const QByteArray &data);
    void Clear();

    bool IsEmpty() const { return frames.empty(); }
    int Width() const { return width; }
    int Height() const { return height; }
    int FrameCount() const { return static_cast<int>(frames.size()); }
    // Time between two frames, in milliseconds (at least 10).
    int FrameIntervalMs() const { return intervalMs; }
    // Width() * Height() pixels 0xAARRGGBB, row by row from the top.
    const std::vector<uint32_t> &Frame(int index) const { return frames.at(static_cast<size_t>(index)); }

    // Files larger than this are not read at all; decoded frames may not hold
    // more than MaxPixels pixels together.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    static constexpr qint64 MaxPixels = 16 * 1024 * 1024;

private:
    int width = 0;
    int height = 0;
    int intervalMs = 100;
    std::vector<std::vector<uint32_t>> frames;
};
