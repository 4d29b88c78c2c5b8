#include "app/AviReader.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr uint32_t BiRgb = 0;
constexpr uint32_t BiRle8 = 1;
constexpr int MaxSide = 4096;

uint32_t U16(const uchar *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uchar *p) { return U16(p) | U16(p + 2) << 16; }
int32_t S32(const uchar *p) { return static_cast<int32_t>(U32(p)); }

bool IsFourCC(const uchar *p, const char *id) { return std::memcmp(p, id, 4) == 0; }

// One chunk inside [begin, end): its id, the body and where the next one starts
// (bodies are padded to an even length).
struct TChunk {
    const uchar *id = nullptr;
    const uchar *body = nullptr;
    uint32_t size = 0;
};

// Steps through the chunks of a range. A chunk that claims more than the range
// holds ends the walk, or, with clamp, is cut to what is there (a file cut
// short still shows the frames it has).
class TChunkWalker
{
public:
    TChunkWalker(const uchar *begin, const uchar *end, bool clamp = false)
        : at(begin), end(end), clamp(clamp)
    {
    }

    bool Next(TChunk &c)
    {
        if (end - at < 8)
            return false;
        c.id = at;
        c.size = U32(at + 4);
        c.body = at + 8;
        if (c.size > static_cast<uint64_t>(end - c.body)) {
            if (!clamp)
                return false;
            c.size = static_cast<uint32_t>(end - c.body);
        }
        const uint64_t step = 8 + uint64_t(c.size) + (c.size & 1);
        at = step >= static_cast<uint64_t>(end - at) ? end : at + step;
        return true;
    }

private:
    const uchar *at;
    const uchar *end;
    bool clamp;
};

struct TFormat {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    uint32_t compression = 0;
    std::array<uint32_t, 256> palette{};
};

struct TVideo {
    int streamIndex = -1;
    uint32_t scale = 0;
    uint32_t rate = 0;
    bool haveFormat = false;
    TFormat format;
};

bool ReadFormat(const TChunk &strf, TFormat &f)
{
    if (strf.size < 40)
        return false;
    const uchar *b = strf.body;
    const uint32_t headerSize = U32(b);
    if (headerSize < 40 || headerSize > strf.size)
        return false;
    const int32_t w = S32(b + 4);
    const int32_t h = S32(b + 8);
    f.bits = static_cast<int>(U16(b + 14));
    f.compression = U32(b + 16);
    uint32_t colours = U32(b + 32);
    if (w <= 0 || w > MaxSide || h == 0 || h < -MaxSide || h > MaxSide)
        return false;
    f.width = w;
    f.height = h < 0 ? -h : h;
    f.topDown = h < 0;
    if (f.compression == BiRle8) {
        if (f.bits != 8 || f.topDown)
            return false;
    } else if (f.compression == BiRgb) {
        if (f.bits != 1 && f.bits != 4 && f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32)
            return false;
    } else {
        return false;
    }
    if (f.bits <= 8) {
        const uint32_t max = 1u << f.bits;
        if (colours == 0 || colours > max)
            colours = max;
        const uint32_t room = (strf.size - headerSize) / 4;
        colours = std::min(colours, room);
        const uchar *p = b + headerSize;
        for (uint32_t i = 0; i < colours; ++i, p += 4)
            f.palette[i] = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        for (uint32_t i = colours; i < 256; ++i)
            f.palette[i] = 0xFF000000u;
    }
    return true;
}

void ReadStreamList(const TChunk &strl, int index, TVideo &video)
{
    TChunkWalker walk(strl.body + 4, strl.body + strl.size);
    TChunk c;
    bool isVideo = false;
    uint32_t scale = 0, rate = 0;
    TFormat format;
    bool haveFormat = false;
    while (walk.Next(c)) {
        if (IsFourCC(c.id, "strh") && c.size >= 28) {
            isVideo = IsFourCC(c.body, "vids");
            scale = U32(c.body + 20);
            rate = U32(c.body + 24);
        } else if (IsFourCC(c.id, "strf")) {
            haveFormat = ReadFormat(c, format);
        }
    }
    if (isVideo && video.streamIndex < 0) {
        video.streamIndex = index;
        video.scale = scale;
        video.rate = rate;
        video.haveFormat = haveFormat;
        video.format = format;
    }
}

// Decodes frames into an index or colour canvas and keeps ARGB copies.
class TDecoder
{
public:
    TDecoder(const TFormat &f, std::vector<std::vector<uint32_t>> &out)
        : f(f), out(out), indices(size_t(f.width) * size_t(f.height), 0),
          pixels(size_t(f.width) * size_t(f.height), 0xFF000000u)
    {
    }

    bool Frame(const TChunk &c)
    {
        if (static_cast<qint64>(out.size() + 1) * f.width * f.height > TAviReader::MaxPixels)
            return false;
        if (c.size == 0) {
            // A dropped frame: the picture stands for one more frame time.
            if (out.empty())
                out.push_back(pixels);
            else
                out.push_back(out.back());
            return true;
        }
        const bool ok = f.compression == BiRle8 ? Rle8(c.body, c.body + c.size) : Dib(c.body, c.size);
        if (!ok)
            return false;
        if (f.bits <= 8)
            Colour();
        out.push_back(pixels);
        return true;
    }

    void PaletteChange(const TChunk &c)
    {
        if (c.size < 4 || f.bits > 8)
            return;
        const uint32_t first = c.body[0];
        uint32_t count = c.body[1];
        if (count == 0)
            count = 256;
        count = std::min({count, 256 - first, (c.size - 4) / 4});
        const uchar *p = c.body + 4;
        for (uint32_t i = 0; i < count; ++i, p += 4)
            f.palette[first + i] = 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }

private:
    // Row r of the file (counted from the first stored row) in the top-down canvas.
    size_t RowStart(int fileRow) const
    {
        const int row = f.topDown ? fileRow : f.height - 1 - fileRow;
        return size_t(row) * size_t(f.width);
    }

    bool Dib(const uchar *data, uint32_t size)
    {
        const uint64_t stride = ((uint64_t(f.width) * uint64_t(f.bits) + 31) / 32) * 4;
        if (uint64_t(size) < stride * uint64_t(f.height))
            return false;
        for (int r = 0; r < f.height; ++r) {
            const uchar *src = data + stride * uint64_t(r);
            const size_t dst = RowStart(r);
            for (int x = 0; x < f.width; ++x) {
                switch (f.bits) {
                case 1: indices[dst + x] = (src[x >> 3] >> (7 - (x & 7))) & 1; break;
                case 4: indices[dst + x] = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F; break;
                case 8: indices[dst + x] = src[x]; break;
                case 16: {
                    const uint32_t v = U16(src + 2 * x);
                    const uint32_t r5 = (v >> 10) & 31, g5 = (v >> 5) & 31, b5 = v & 31;
                    pixels[dst + x] = 0xFF000000u | ((r5 << 3 | r5 >> 2) << 16)
                                      | ((g5 << 3 | g5 >> 2) << 8) | (b5 << 3 | b5 >> 2);
                    break;
                }
                case 24: {
                    const uchar *p = src + 3 * x;
                    pixels[dst + x] = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                    break;
                }
                case 32: {
                    const uchar *p = src + 4 * x;
                    pixels[dst + x] = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                    break;
                }
                }
            }
        }
        return true;
    }

    // RLE8 frames paint over the previous picture: a delta escape leaves the
    // skipped pixels as they were. Runs that leave the picture are clipped.
    bool Rle8(const uchar *p, const uchar *end)
    {
        int x = 0, y = 0; // y counts rows from the bottom
        auto put = [&](uchar v) {
            if (x < f.width && y < f.height)
                indices[RowStart(y) + size_t(x)] = v;
            ++x;
        };
        while (end - p >= 2) {
            const uchar n = p[0], v = p[1];
            p += 2;
            if (n > 0) {
                for (int i = 0; i < n; ++i)
                    put(v);
                continue;
            }
            if (v == 0) { // end of line
                x = 0;
                ++y;
            } else if (v == 1) { // end of picture
                break;
            } else if (v == 2) { // delta
                if (end - p < 2)
                    break;
                x += p[0];
                y += p[1];
                p += 2;
            } else { // literal run, padded to a 16-bit boundary
                const int count = v;
                if (end - p < count)
                    return false;
                for (int i = 0; i < count; ++i)
                    put(p[i]);
                p += count;
                if ((count & 1) && p < end)
                    ++p;
            }
            if (y >= f.height)
                break;
        }
        return true;
    }

    void Colour()
    {
        for (size_t i = 0; i < indices.size(); ++i)
            pixels[i] = f.palette[indices[i]];
    }

    TFormat f;
    std::vector<std::vector<uint32_t>> &out;
    std::vector<uchar> indices;
    std::vector<uint32_t> pixels;
};

// Frame chunks of the video stream are "NNdb" / "NNdc" with NN its index,
// palette changes "NNpc"; 'rec ' lists group chunks and are entered.
bool ReadMovie(const uchar *begin, const uchar *end, int stream, TDecoder &decoder, int depth)
{
    if (depth > 4)
        return true;
    TChunkWalker walk(begin, end);
    TChunk c;
    const char d0 = char('0' + stream / 10), d1 = char('0' + stream % 10);
    while (walk.Next(c)) {
        if (IsFourCC(c.id, "LIST")) {
            if (c.size >= 4 && IsFourCC(c.body, "rec "))
                if (!ReadMovie(c.body + 4, c.body + c.size, stream, decoder, depth + 1))
                    return false;
            continue;
        }
        if (c.id[0] != d0 || c.id[1] != d1)
            continue;
        if ((c.id[2] == 'd' && (c.id[3] == 'b' || c.id[3] == 'c'))) {
            if (!decoder.Frame(c))
                return false;
        } else if (c.id[2] == 'p' && c.id[3] == 'c') {
            decoder.PaletteChange(c);
        }
    }
    return true;
}

} // namespace

bool TAviReader::Load(const QString &path)
{
    Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return false;
    return LoadData(file.readAll());
}

bool TAviReader::LoadData(const QByteArray &data)
{
    Clear();
    if (data.size() < 12 || data.size() > MaxFileSize)
        return false;
    const uchar *base = reinterpret_cast<const uchar *>(data.constData());
    if (!IsFourCC(base, "RIFF") || !IsFourCC(base + 8, "AVI "))
        return false;
    // A RIFF size that overstates the file is common in cut files: read what is there.
    const uint64_t riffSize = U32(base + 4);
    const uchar *end = base + std::min<uint64_t>(uint64_t(data.size()), 8 + riffSize);

    uint32_t microSecPerFrame = 0;
    TVideo video;
    const uchar *movieBegin = nullptr, *movieEnd = nullptr;

    TChunkWalker top(base + 12, end, true);
    TChunk c;
    while (top.Next(c)) {
        if (!IsFourCC(c.id, "LIST") || c.size < 4)
            continue;
        if (IsFourCC(c.body, "hdrl")) {
            TChunkWalker header(c.body + 4, c.body + c.size);
            TChunk h;
            int streamIndex = 0;
            while (header.Next(h)) {
                if (IsFourCC(h.id, "avih") && h.size >= 4) {
                    microSecPerFrame = U32(h.body);
                } else if (IsFourCC(h.id, "LIST") && h.size >= 4 && IsFourCC(h.body, "strl")) {
                    ReadStreamList(h, streamIndex, video);
                    ++streamIndex;
                }
            }
        } else if (IsFourCC(c.body, "movi") && !movieBegin) {
            movieBegin = c.body + 4;
            movieEnd = c.body + c.size;
        }
    }
    if (video.streamIndex < 0 || video.streamIndex > 99 || !video.haveFormat || !movieBegin)
        return false;

    std::vector<std::vector<uint32_t>> decoded;
    TDecoder decoder(video.format, decoded);
    if (!ReadMovie(movieBegin, movieEnd, video.streamIndex, decoder, 0) || decoded.empty())
        return false;

    double us = microSecPerFrame;
    if (video.rate > 0 && video.scale > 0)
        us = 1e6 * double(video.scale) / double(video.rate);
    if (us <= 0)
        us = 100000;
    intervalMs = static_cast<int>(std::clamp(us / 1000.0, 10.0, 10000.0) + 0.5);
    width = video.format.width;
    height = video.format.height;
    frames = std::move(decoded);
    return true;
}

void TAviReader::Clear()
{
    width = height = 0;
    intervalMs = 100;
    frames.clear();
}
