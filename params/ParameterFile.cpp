#include "params/ParameterFile.h"

#include "ZnLibs/ShiftJis.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <optional>
#include <vector>

namespace {

const QLatin1StringView KeyCode("AMP-CODE");
const QLatin1StringView KeyType("AMP-TYPE");
const QLatin1StringView KeyFirmware("CPU-VER");
const QLatin1StringView KeyVersion("HVX-VER");
const QLatin1StringView KeyCount("PARAM-CNT");
const QLatin1StringView KeyParameter("PARAMETER");

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

// The lines of the file as byte ranges, without their line ends. CR LF, LF
// and a lone CR all end a line, as text editors on any system write them.
std::vector<QByteArrayView> SplitLines(QByteArrayView bytes)
{
    std::vector<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(bytes.sliced(start));
    return lines;
}

// A line of the file as text, or nothing for a line above MaxLineBytes.
// Model texts copied from amplifier memory may be padded with bytes that are
// not Shift-JIS (NUL, 0xFF): each such byte reads as one character of its
// own value, so such files load.
std::optional<QString> LineText(QByteArrayView line)
{
    if (line.size() > TParameterFile::MaxLineBytes)
        return std::nullopt;
    QString text;
    text.reserve(line.size());
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b < 0x80) {
            text += QChar(b);
            continue;
        }
        if (ShiftJis::IsLeadByte(b) && i + 1 < n && ShiftJis::IsTrailByte(static_cast<unsigned char>(line[i + 1]))) {
            const QString pair = ShiftJis::Decode(line.sliced(i, 2));
            if (!pair.contains(QChar(0xFFFD))) {
                text += pair;
                ++i;
                continue;
            }
        } else if (b >= 0xA1 && b <= 0xDF) {
            text += ShiftJis::Decode(line.sliced(i, 1));
            continue;
        }
        text += QChar(b);
    }
    return text;
}

// Texts go into the file on one line: no control characters but tabs.
QString Printable(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = u' ';
    return s;
}

// Bytes of a text between its quotes in the file.
qsizetype QuotedTextBytes(QStringView text)
{
    return ShiftJis::ByteLength(text) + text.count(u'"');
}

// "KEY," + the quoted text, cut to MaxTextBytes.
QByteArray TextLine(QLatin1StringView key, const QString &text)
{
    const QByteArray prefix = QByteArray(key.data(), key.size()) + ',';
    const QString s = Printable(text);
    qsizetype budget = TParameterFile::MaxTextBytes;
    qsizetype keep = 0;
    while (keep < s.size()) {
        // Whole characters only: a surrogate pair stays together.
        const qsizetype n = s[keep].isHighSurrogate() && keep + 1 < s.size() ? 2 : 1;
        const QStringView ch = QStringView(s).sliced(keep, n);
        const qsizetype bytes = ch == u"\"" ? 2 : ShiftJis::ByteLength(ch);
        if (bytes > budget)
            break;
        budget -= bytes;
        keep += n;
    }
    return prefix + ShiftJis::Encode(TParameterFile::Quoted(s.left(keep)));
}

void Fail(TBuffer &image)
{
    image.ampCode = -1;
    image.words.clear();
    image.modelText.clear();
    image.firmwareText.clear();
}

} // namespace

QString TParameterFile::VersionText(const QString &productVersion, const QString &databaseVersion)
{
    const QString product = productVersion.trimmed();
    const QString database = databaseVersion.trimmed();
    if (database.isEmpty())
        return QStringLiteral("Version %1").arg(product);
    return QStringLiteral("Version %1 - %2").arg(product, database);
}

QString TParameterFile::Quoted(const QString &text)
{
    QString s = text;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

QByteArray TParameterFile::Format(const TBuffer &image, const QString &versionText)
{
    const QByteArray crlf("\r\n");
    QByteArray out;
    out.reserve(128 + image.words.size() * 24);
    out += "AMP-CODE,0x" + QByteArray::number(quint32(image.ampCode), 16).toUpper().rightJustified(6, '0') + crlf;
    out += TextLine(KeyType, image.modelText) + crlf;
    out += TextLine(KeyFirmware, image.firmwareText) + crlf;
    out += TextLine(KeyVersion, versionText) + crlf;
    out += "PARAM-CNT," + QByteArray::number(image.words.size()) + crlf;
    for (qsizetype i = 0; i < image.words.size(); ++i) {
        out += "PARAMETER,";
        out += QByteArray::number(i);
        out += ",0x";
        out += QByteArray::number(image.words[i], 16).toUpper().rightJustified(4, '0');
        out += crlf;
    }
    return out;
}

std::optional<qint32> TParameterFile::ParseInteger(QStringView item)
{
    QStringView s = item;
    bool negative = false;
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        negative = s[0] == u'-';
        s = s.sliced(1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s = s.sliced(1);
    } else if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        base = 16;
        s = s.sliced(2);
    }
    if (s.isEmpty())
        return std::nullopt;
    quint64 v = 0;
    for (QChar c : s) {
        int d;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (base == 16 && u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (base == 16 && u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        else
            return std::nullopt;
        v = v * quint64(base) + quint64(d);
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 10) {
        // Decimal reads as a signed number.
        if (negative ? v > 0x80000000ull : v > 0x7FFFFFFFull)
            return std::nullopt;
        return qint32(negative ? -qint64(v) : qint64(v));
    }
    // Hexadecimal is a bit pattern.
    const auto pattern = quint32(v);
    return qint32(negative ? quint32(0u - pattern) : pattern);
}

std::optional<QStringList> TParameterFile::SplitItems(QStringView line)
{
    QStringList items;
    const qsizetype n = line.size();
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlank(line[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
        QString item;
        if (line[p] == u'"') {
            ++p;
            bool closed = false;
            while (p < n) {
                if (line[p] == u'"') {
                    if (p + 1 < n && line[p + 1] == u'"') {
                        item += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    closed = true;
                    break;
                }
                item += line[p++];
            }
            if (!closed)
                return std::nullopt;
            if (p < n && !IsBlank(line[p]) && line[p] != u',')
                return std::nullopt;
        } else {
            const qsizetype b = p;
            while (p < n && line[p] != u',' && !IsBlank(line[p])) {
                if (line[p] == u'"')
                    return std::nullopt;
                ++p;
            }
            item = line.sliced(b, p - b).toString();
        }
        items.append(item);
        skipBlanks();
        if (p < n && line[p] == u',') {
            ++p;
            skipBlanks();
            if (p == n)
                items.append(QString()); // a trailing comma ends with an empty item
        }
    }
    return items;
}

bool TParameterFile::Parse(QByteArrayView bytes, TBuffer &image)
{
    Fail(image);
    if (bytes.size() > MaxFileBytes)
        return false;
    const std::vector<QByteArrayView> lines = SplitLines(bytes);

    // Files written by earlier tools and by hand rely on a tolerant reader:
    // a missing code reads as -1, a repeated header line replaces the
    // earlier one, extra items and PARAMETER lines outside their block are
    // ignored. Only the block a count announces is strict.
    TBuffer result;
    result.ampCode = -1;
    result.startAddress = image.startAddress;

    for (size_t k = 0; k < lines.size(); ++k) {
        const std::optional<QString> text = LineText(lines[k]);
        if (!text)
            return false;
        const QStringView trimmed = TrimBlanks(*text);
        if (trimmed.isEmpty())
            continue;
        const std::optional<QStringList> items = SplitItems(trimmed);
        if (!items || items->isEmpty())
            return false;
        const QString &key = items->at(0);

        if (key == KeyCode) {
            if (items->size() < 2)
                return false;
            const std::optional<qint32> code = ParseInteger(items->at(1));
            if (!code)
                return false;
            result.ampCode = *code;
        } else if (key == KeyType || key == KeyFirmware) {
            if (items->size() >= 2 && QuotedTextBytes(items->at(1)) > MaxTextBytes)
                return false;
            (key == KeyType ? result.modelText : result.firmwareText) = items->size() >= 2 ? items->at(1) : QString();
        } else if (key == KeyCount) {
            if (items->size() < 2)
                return false;
            const std::optional<qint32> count = ParseInteger(items->at(1));
            // The count must be one the following lines can hold before
            // anything is allocated for it.
            if (!count || *count < 0 || *count > MaxWords || size_t(*count) > lines.size() - k - 1)
                return false;
            result.words = QList<quint16>(*count, 0);
            for (qint32 i = 0; i < *count; ++i) {
                const std::optional<QString> wordLine = LineText(lines[k + 1 + size_t(i)]);
                if (!wordLine)
                    return false;
                const std::optional<QStringList> w = SplitItems(TrimBlanks(*wordLine));
                if (!w || w->size() < 3 || w->at(0) != KeyParameter)
                    return false;
                const std::optional<qint32> index = ParseInteger(w->at(1));
                const std::optional<qint32> value = ParseInteger(w->at(2));
                if (!index || *index != i || !value)
                    return false;
                // No writer puts more than a word here; the low half of a
                // wider value is nothing anybody typed.
                if (*value < 0 || *value > 0xFFFF)
                    return false;
                result.words[i] = quint16(*value);
            }
            k += size_t(*count);
        }
        // Anything else (HVX-VER, a PARAMETER line outside its block) carries
        // nothing the image holds.
    }
    image = std::move(result);
    return true;
}

TParameterFile::TLoad TParameterFile::Load(const QString &fileName, TBuffer &image, QString *error)
{
    Fail(image);
    // A FIFO without a writer would block the open for ever; a directory or
    // a device is no parameter file either.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = QStringLiteral("not a regular file");
        return TLoad::OpenError;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return TLoad::OpenError;
    }
    if (file.size() > MaxFileBytes)
        return TLoad::Corrupt;
    // Devices and pipes report no size: read no more than a file may hold.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return TLoad::OpenError;
    }
    return Parse(bytes, image) ? TLoad::Ok : TLoad::Corrupt;
}

bool TParameterFile::Save(const TBuffer &image, const QString &fileName, const QString &versionText,
                          QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = Format(image, versionText);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
