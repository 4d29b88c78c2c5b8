#include "ZnLibs/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstdint>
#include <memory>

namespace ShiftJis {
namespace {

// ICU's name for CP932 (Qt's own codecs do not include it).
constexpr const char *kCodec = "windows-31j";

// What the converter writes for a character it cannot encode: an unassigned
// code, never produced for a real character.
constexpr unsigned char kSubstitute = 0xFC;

enum : std::uint8_t { kNone = 0, kSingle = 1, kDouble = 2 };

// Byte class of every BMP character, computed once on first use (~20 ms).
const std::array<std::uint8_t, 0x10000> &ClassTable()
{
    static const auto table = [] {
        auto t = std::make_unique<std::array<std::uint8_t, 0x10000>>();
        t->fill(kNone);
        for (int c = 0; c < 0x80; ++c)
            (*t)[c] = kSingle;
        QStringEncoder enc(kCodec, QStringConverter::Flag::Stateless);
        for (int c = 0x80; c < 0x10000; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const QChar ch(static_cast<char16_t>(c));
            const QByteArray b = enc.encode(QStringView(&ch, 1));
            if (b.size() == 1)
                (*t)[c] = kSingle;
            else if (b.size() == 2
                     && !(uchar(b[0]) == kSubstitute && uchar(b[1]) == kSubstitute))
                (*t)[c] = kDouble;
        }
        return t;
    }();
    return *table;
}

// Appends the converter's output for a run of non-ASCII characters,
// replacing substitutions by "?".
void AppendEncoded(QByteArray &out, const QByteArray &b)
{
    for (qsizetype i = 0; i < b.size();) {
        const auto c = uchar(b[i]);
        if (IsLeadByte(c) && i + 1 < b.size()) {
            const auto t = uchar(b[i + 1]);
            if (c == kSubstitute && t == kSubstitute)
                out.append('?');
            else
                out.append(char(c)).append(char(t));
            i += 2;
        } else {
            out.append(char(c));
            ++i;
        }
    }
}

} // namespace

QByteArray Encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    QStringEncoder enc(kCodec, QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < text.size();) {
        if (text[i].unicode() < 0x80) {
            out.append(char(text[i].unicode()));
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < text.size() && text[j].unicode() >= 0x80)
            ++j;
        AppendEncoded(out, enc.encode(text.mid(i, j - i)));
        i = j;
    }
    return out;
}

QString Decode(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    QStringDecoder dec(kCodec, QStringConverter::Flag::Stateless);
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = uchar(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(char16_t(b)));
            ++i;
            continue;
        }
        // A run of non-ASCII units; trail bytes may lie in the ASCII range.
        qsizetype j = i;
        while (j < n && uchar(bytes[j]) >= 0x80) {
            if (IsLeadByte(uchar(bytes[j]))) {
                if (j + 1 < n && IsTrailByte(uchar(bytes[j + 1])))
                    j += 2;
                else
                    break;
            } else {
                ++j;
            }
        }
        if (j == i) {
            // A lead byte without its trail byte.
            out.append(QChar::ReplacementCharacter);
            ++i;
            continue;
        }
        QString part = dec.decode(bytes.sliced(i, j - i));
        // The run holds no ASCII byte of its own, so a SUB here is the
        // converter's mark for an unassigned code.
        part.replace(QChar(0x1A), QChar::ReplacementCharacter);
        out.append(part);
        i = j;
    }
    return out;
}

qsizetype ByteLength(QStringView text)
{
    const auto &table = ClassTable();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            ++n;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()
                   && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++n; // no Shift-JIS form: "?"
            ++i;
        } else {
            n += table[c] == kDouble ? 2 : 1;
        }
    }
    return n;
}

bool IsDoubleByte(char32_t ch)
{
    if (ch < 0x80 || ch > 0xFFFF)
        return false;
    return ClassTable()[ch] == kDouble;
}

} // namespace ShiftJis
