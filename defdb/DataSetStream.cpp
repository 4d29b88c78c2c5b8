#include "defdb/DataSetStream.h"

#include "defdb/DataSet.h"

#include <QSet>
#include <QStringDecoder>
#include <cstring>

namespace {

constexpr char Magic[4] = {'T', 'V', 'D', 'S'};
constexpr quint16 FormatVersion = 1;
constexpr int MaxFields = 1024;
constexpr int MaxIndexes = 64;
constexpr int MaxNameLength = 64;
constexpr quint32 MaxTextSize = 1u << 20;

void PutU8(QByteArray &out, quint8 v) { out.append(char(v)); }
void PutU16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}
void PutU32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}
void PutU64(QByteArray &out, quint64 v)
{
    for (int i = 0; i < 8; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}
void PutShort(QByteArray &out, const QString &s) // u8 length + bytes
{
    const QByteArray b = s.toUtf8().left(255);
    PutU8(out, quint8(b.size()));
    out.append(b);
}
void PutLong(QByteArray &out, const QByteArray &b) // u32 length + bytes
{
    PutU32(out, quint32(b.size()));
    out.append(b);
}

class TReader
{
public:
    explicit TReader(const QByteArray &b) : data(reinterpret_cast<const quint8 *>(b.constData())), size(quint64(b.size())) {}

    bool Fail(const QString &text)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1 (at byte %2)").arg(text).arg(pos);
        return false;
    }
    quint64 Left() const { return size - pos; }
    bool Bytes(const quint8 *&p, quint64 n)
    {
        if (n > Left())
            return Fail(QStringLiteral("stream ends early"));
        p = data + pos;
        pos += n;
        return true;
    }
    bool U8(quint8 &v)
    {
        const quint8 *p = nullptr;
        if (!Bytes(p, 1))
            return false;
        v = p[0];
        return true;
    }
    bool U16(quint16 &v)
    {
        const quint8 *p = nullptr;
        if (!Bytes(p, 2))
            return false;
        v = quint16(p[0] | (p[1] << 8));
        return true;
    }
    bool U32(quint32 &v)
    {
        const quint8 *p = nullptr;
        if (!Bytes(p, 4))
            return false;
        v = quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
        return true;
    }
    bool U64(quint64 &v)
    {
        const quint8 *p = nullptr;
        if (!Bytes(p, 8))
            return false;
        v = 0;
        for (int i = 7; i >= 0; --i)
            v = (v << 8) | p[i];
        return true;
    }
    bool Utf8(quint64 n, QString &out)
    {
        const quint8 *p = nullptr;
        if (!Bytes(p, n))
            return false;
        QStringDecoder dec(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        out = dec.decode(QByteArrayView(reinterpret_cast<const char *>(p), qsizetype(n)));
        if (dec.hasError())
            return Fail(QStringLiteral("text is not UTF-8"));
        return true;
    }
    bool Name(QString &out, const char *what)
    {
        quint8 n;
        if (!U8(n))
            return false;
        if (n == 0 || n > MaxNameLength)
            return Fail(QStringLiteral("%1 name of %2 bytes").arg(QLatin1String(what)).arg(n));
        const quint8 *p = nullptr;
        if (!Bytes(p, n))
            return false;
        for (int i = 0; i < n; ++i) {
            const char c = char(p[i]);
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
                return Fail(QStringLiteral("bad character in a %1 name").arg(QLatin1String(what)));
        }
        out = QString::fromLatin1(reinterpret_cast<const char *>(p), n);
        return true;
    }

    QString error;

private:
    const quint8 *data;
    quint64 size;
    quint64 pos = 0;
};

} // namespace

QByteArray TDataSetStream::Encode(const TDataSet &table)
{
    QByteArray out;
    out.append(Magic, 4);
    PutU16(out, FormatVersion);
    std::vector<int> stored;
    for (int i = 0; i < table.FieldCount(); ++i)
        if (table.FieldDef(i).kind == TFieldKind::Data)
            stored.push_back(i);
    PutU16(out, quint16(stored.size()));
    for (int i : stored) {
        const TFieldDef &f = table.FieldDef(i);
        PutShort(out, f.name);
        PutU8(out, quint8(f.type));
        PutU32(out, quint32(f.size));
        PutU8(out, f.required ? 1 : 0);
    }
    const auto &indexes = table.IndexDefs();
    PutU16(out, quint16(indexes.size()));
    for (const TIndexDef &d : indexes) {
        PutShort(out, d.name);
        const QByteArray fieldText = d.fields.toUtf8();
        PutU16(out, quint16(fieldText.size()));
        out.append(fieldText);
        PutU8(out, quint8((d.primary ? 1 : 0) | (d.unique ? 2 : 0)));
    }
    const int bitmapBytes = int((stored.size() + 7) / 8);
    PutU32(out, quint32(table.AllRowCount()));
    for (int r = 0; r < table.AllRowCount(); ++r) {
        QByteArray bitmap(bitmapBytes, '\0');
        for (size_t k = 0; k < stored.size(); ++k)
            if (table.RowValue(r, stored[k]).IsNull())
                bitmap[int(k / 8)] = char(quint8(bitmap[int(k / 8)]) | (1u << (k % 8)));
        out.append(bitmap);
        for (int i : stored) {
            const TValue &v = table.RowValue(r, i);
            if (v.IsNull())
                continue;
            switch (table.FieldDef(i).type) {
            case TFieldType::AutoInc:
            case TFieldType::Integer: PutU32(out, quint32(qint32(v.AsInt64()))); break;
            case TFieldType::SmallInt: PutU16(out, quint16(qint16(v.AsInt64()))); break;
            case TFieldType::Float: {
                const double d = v.AsFloat();
                quint64 bits;
                std::memcpy(&bits, &d, 8);
                PutU64(out, bits);
                break;
            }
            case TFieldType::Text:
            case TFieldType::Memo: PutLong(out, v.AsString().toUtf8()); break;
            }
        }
    }
    return out;
}

bool TDataSetStream::Decode(const QByteArray &bytes, TDataSet &table, QString *error)
{
    TReader in(bytes);
    auto fail = [&](const QString &text) {
        in.Fail(text);
        if (error)
            *error = in.error;
        return false;
    };
    auto failed = [&]() {
        if (error)
            *error = in.error;
        return false;
    };

    const quint8 *magic = nullptr;
    if (!in.Bytes(magic, 4) || std::memcmp(magic, Magic, 4) != 0)
        return fail(QStringLiteral("not a table stream (no TVDS mark)"));
    quint16 version;
    if (!in.U16(version))
        return failed();
    if (version != FormatVersion)
        return fail(QStringLiteral("table stream version %1 is not known").arg(version));

    quint16 fieldCount;
    if (!in.U16(fieldCount))
        return failed();
    if (fieldCount == 0 || fieldCount > MaxFields)
        return fail(QStringLiteral("%1 fields").arg(fieldCount));
    std::vector<TFieldDef> fields(fieldCount);
    QSet<QString> names;
    for (TFieldDef &f : fields) {
        quint8 type, flags;
        quint32 size;
        if (!in.Name(f.name, "field") || !in.U8(type) || !in.U32(size) || !in.U8(flags))
            return failed();
        if (type < quint8(TFieldType::AutoInc) || type > quint8(TFieldType::Memo))
            return fail(QStringLiteral("field %1 has unknown type %2").arg(f.name).arg(type));
        f.type = TFieldType(type);
        if (f.IsTextType() ? size > MaxTextSize || (f.type == TFieldType::Text && size == 0) : size != 0)
            return fail(QStringLiteral("field %1 has size %2").arg(f.name).arg(size));
        if (flags & ~1u)
            return fail(QStringLiteral("field %1 has unknown flags").arg(f.name));
        f.size = int(size);
        f.required = flags & 1;
        if (names.contains(f.name.toUpper()))
            return fail(QStringLiteral("field %1 appears twice").arg(f.name));
        names.insert(f.name.toUpper());
    }

    quint16 indexCount;
    if (!in.U16(indexCount))
        return failed();
    if (indexCount > MaxIndexes)
        return fail(QStringLiteral("%1 indexes").arg(indexCount));
    std::vector<TIndexDef> indexes(indexCount);
    for (TIndexDef &d : indexes) {
        quint16 len;
        quint8 flags;
        if (!in.Name(d.name, "index") || !in.U16(len) || !in.Utf8(len, d.fields) || !in.U8(flags))
            return failed();
        if (flags & ~3u)
            return fail(QStringLiteral("index %1 has unknown flags").arg(d.name));
        d.primary = flags & 1;
        d.unique = flags & 2;
        const QStringList list = d.FieldList();
        if (list.isEmpty())
            return fail(QStringLiteral("index %1 has no fields").arg(d.name));
        for (const QString &n : list)
            if (!names.contains(n.toUpper()))
                return fail(QStringLiteral("index %1 names unknown field %2").arg(d.name, n));
    }

    quint32 rowCount;
    if (!in.U32(rowCount))
        return failed();
    const quint64 bitmapBytes = (quint64(fieldCount) + 7) / 8;
    // Every row takes at least its null bitmap: a count the bytes cannot
    // hold is refused before anything is allocated for it.
    if (quint64(rowCount) * bitmapBytes > in.Left())
        return fail(QStringLiteral("%1 rows cannot fit in the stream").arg(rowCount));
    std::vector<std::vector<TValue>> rows;
    rows.reserve(rowCount);
    for (quint32 r = 0; r < rowCount; ++r) {
        const quint8 *bitmap = nullptr;
        if (!in.Bytes(bitmap, bitmapBytes))
            return failed();
        if (fieldCount % 8 && (bitmap[bitmapBytes - 1] >> (fieldCount % 8)))
            return fail(QStringLiteral("row %1 has null marks beyond its fields").arg(r + 1));
        std::vector<TValue> row;
        // Room for the lookup and calculated columns the table adds.
        row.reserve(size_t(fieldCount) + table.derivedDefs.size() + 4);
        row.resize(fieldCount);
        for (int i = 0; i < fieldCount; ++i) {
            const TFieldDef &f = fields[size_t(i)];
            if (bitmap[i / 8] & (1u << (i % 8))) {
                if (f.required)
                    return fail(QStringLiteral("row %1: required field %2 is null").arg(r + 1).arg(f.name));
                continue;
            }
            switch (f.type) {
            case TFieldType::AutoInc:
            case TFieldType::Integer: {
                quint32 v;
                if (!in.U32(v))
                    return failed();
                row[size_t(i)] = TValue(qint64(qint32(v)));
                break;
            }
            case TFieldType::SmallInt: {
                quint16 v;
                if (!in.U16(v))
                    return failed();
                row[size_t(i)] = TValue(qint64(qint16(v)));
                break;
            }
            case TFieldType::Float: {
                quint64 bits;
                if (!in.U64(bits))
                    return failed();
                double d;
                std::memcpy(&d, &bits, 8);
                row[size_t(i)] = TValue(d);
                break;
            }
            case TFieldType::Text:
            case TFieldType::Memo: {
                quint32 len;
                QString s;
                if (!in.U32(len) || !in.Utf8(len, s))
                    return failed();
                if (f.size > 0 && s.size() > f.size)
                    return fail(QStringLiteral("row %1: %2 has %3 characters, more than %4")
                                    .arg(r + 1).arg(f.name).arg(s.size()).arg(f.size));
                row[size_t(i)] = TValue(s);
                break;
            }
            }
        }
        rows.push_back(std::move(row));
    }
    if (in.Left() != 0)
        return fail(QStringLiteral("%1 bytes after the last row").arg(in.Left()));

    table.AssignStored(std::move(fields), std::move(indexes), std::move(rows));
    return true;
}
