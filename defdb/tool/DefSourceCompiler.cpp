#include "DefSourceCompiler.h"

#include "CsvReader.h"
#include "defdb/DMInterface.h"
#include "defdb/DefSchema.h"
#include "defdb/StgWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <limits>

namespace {

constexpr int MaxErrors = 100;

// Integer cell: decimal, "0x"/"$" hexadecimal, optional sign. A hexadecimal
// cell is a bit pattern: 0xFFFFFFFF in a 32-bit field is -1.
bool ParseInteger(const QString &text, qint64 &out, bool &hex)
{
    hex = false;
    QString t = text;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t[0] == QLatin1Char('-');
        t.remove(0, 1);
    }
    if (t.isEmpty())
        return false;
    int base = 10;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        t.remove(0, 2);
        base = 16;
    } else if (t.startsWith(QLatin1Char('$'))) {
        t.remove(0, 1);
        base = 16;
    }
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (!(c.isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(c))))
            return false;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    hex = base == 16 && !negative;
    out = negative ? -v : v;
    return true;
}

} // namespace

void TDefSourceCompiler::Error(const QString &file, int line, const QString &field, const QString &text)
{
    if (errors.size() == MaxErrors)
        errors.append(QStringLiteral("(further errors left out)"));
    if (errors.size() > MaxErrors)
        return;
    QString where = file;
    if (line > 0)
        where += QStringLiteral(":%1").arg(line);
    errors.append(field.isEmpty() ? QStringLiteral("%1: %2").arg(where, text)
                                  : QStringLiteral("%1: %2: %3").arg(where, field, text));
}

const TDataSet *TDefSourceCompiler::Table(const QString &stream) const
{
    auto it = sources.find(stream);
    return it == sources.end() ? nullptr : it->second.table.get();
}

bool TDefSourceCompiler::Compile(const QString &sourceDir)
{
    sources.clear();
    errors.clear();
    warnings.clear();
    if (!QFileInfo(sourceDir).isDir()) {
        Error(sourceDir, 0, QString(), QStringLiteral("no such folder"));
        return false;
    }
    QSet<QString> known;
    for (const TDefSchema::TTable &t : TDefSchema::Tables()) {
        CompileTable(sourceDir, t.stream);
        known.insert(QFileInfo(t.stream).completeBaseName().toUpper());
    }
    for (const QFileInfo &fi : QDir(sourceDir).entryInfoList({QStringLiteral("*.csv")}, QDir::Files))
        if (!known.contains(fi.completeBaseName().toUpper()))
            warnings.append(QStringLiteral("%1: no table of that name; the file is not used").arg(fi.fileName()));
    if (!errors.isEmpty())
        return false;

    // References between tables.
    for (int s : {1, 2}) {
        const QString p = QString::number(s);
        CheckReference(p + QStringLiteral("_AMP_PARA.cds"), QStringLiteral("AMPLIFIER_ID"), QStringLiteral("0_AMPLIFIER.cds"), QStringLiteral("ID"));
        CheckReference(p + QStringLiteral("_AMP_PARA.cds"), QStringLiteral("PARAMETER_ID"), p + QStringLiteral("_PARAMETER.cds"), QStringLiteral("ID"));
        CheckReference(p + QStringLiteral("_PARAMETER.cds"), QStringLiteral("TABLE_ID"), p + QStringLiteral("_TABLE_DATA.cds"), QStringLiteral("TABLE_ID"));
        CheckReference(p + QStringLiteral("_PARAMETER.cds"), QStringLiteral("HELP_ID"), QStringLiteral("1_HELP.cds"), QStringLiteral("ID"));
    }
    CheckReference(QStringLiteral("1_PARAMETER.cds"), QStringLiteral("TYPE_ID"), QStringLiteral("1_TYPE.cds"), QStringLiteral("ID"));
    CheckReference(QStringLiteral("1_PARAMETER.cds"), QStringLiteral("FRACTION_ID"), QStringLiteral("1_FRACTION.cds"), QStringLiteral("ID"));
    CheckReference(QStringLiteral("1_PARAMETER.cds"), QStringLiteral("BINARY_HIGH_ID"), QStringLiteral("1_BINARY_DATA.cds"), QStringLiteral("BINARY_ID"));
    CheckReference(QStringLiteral("1_PARAMETER.cds"), QStringLiteral("BINARY_LOW_ID"), QStringLiteral("1_BINARY_DATA.cds"), QStringLiteral("BINARY_ID"));
    for (const char *t : {"3_MODEL.cds", "3_SYSTEM.cds", "3_TESTRUN.cds", "3_ALARM.cds", "3_TRACE.cds"})
        CheckReference(QString::fromLatin1(t), QStringLiteral("AMPLIFIER_ID"), QStringLiteral("0_AMPLIFIER.cds"), QStringLiteral("ID"));
    CheckReference(QStringLiteral("3_ALARM.cds"), QStringLiteral("ALARM_ID"), QStringLiteral("3_ALARM_DATA.cds"), QStringLiteral("ALARM_ID"));
    CheckReference(QStringLiteral("3_ALARM.cds"), QStringLiteral("STATE_ID"), QStringLiteral("3_STATE_DATA.cds"), QStringLiteral("STATE_ID"));
    CheckReference(QStringLiteral("3_TRACE.cds"), QStringLiteral("ANALOG_ID"), QStringLiteral("3_ANALOG_DATA.cds"), QStringLiteral("ANALOG_ID"));
    CheckReference(QStringLiteral("3_TRACE.cds"), QStringLiteral("DIGITAL_ID"), QStringLiteral("3_DIGITAL_DATA.cds"), QStringLiteral("DIGITAL_ID"));
    CheckPlacement(1);
    CheckPlacement(2);
    CheckSystemAddresses();
    return errors.isEmpty();
}

bool TDefSourceCompiler::CompileTable(const QString &dir, const QString &stream)
{
    const TDefSchema::TTable &schema = *TDefSchema::Find(stream);
    const QString fileName = QFileInfo(stream).completeBaseName() + QStringLiteral(".csv");
    const QString path = QDir(dir).filePath(fileName);
    QFile file(path);
    if (!file.exists()) {
        warnings.append(QStringLiteral("%1: missing; the stream %2 is left out").arg(fileName, stream));
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        Error(fileName, 0, QString(), file.errorString());
        return false;
    }
    QList<TCsvReader::TRecord> records;
    QString parseError;
    if (!TCsvReader::Parse(file.readAll(), records, &parseError)) {
        Error(fileName, 0, QString(), parseError);
        return false;
    }
    if (records.isEmpty()) {
        Error(fileName, 1, QString(), QStringLiteral("no header row"));
        return false;
    }

    TSource src;
    src.file = fileName;
    src.table = std::make_unique<TDataSet>();
    TDataSet &table = *src.table;
    TDefSchema::Create(table, stream);

    // Header: which schema field each column fills.
    const TCsvReader::TRecord &header = records.first();
    std::vector<int> columnField;
    QSet<int> present;
    for (const TCsvReader::TCell &cell : header.cells) {
        const int f = table.FieldIndex(cell.text);
        if (f < 0) {
            Error(fileName, header.line, cell.text, QStringLiteral("no such field in %1").arg(stream));
            columnField.push_back(-1);
            continue;
        }
        if (present.contains(f))
            Error(fileName, header.line, cell.text, QStringLiteral("column given twice"));
        present.insert(f);
        columnField.push_back(f);
    }
    for (size_t i = 0; i < schema.fields.size(); ++i)
        if (schema.fields[i].required && !present.contains(int(i)))
            Error(fileName, header.line, schema.fields[i].name, QStringLiteral("required column missing"));
    if (!errors.isEmpty())
        return false;

    for (int r = 1; r < records.size(); ++r) {
        const TCsvReader::TRecord &rec = records[r];
        if (rec.cells.size() > int(columnField.size())) {
            Error(fileName, rec.line, QString(), QStringLiteral("%1 cells, the header has %2")
                                                     .arg(rec.cells.size()).arg(columnField.size()));
            continue;
        }
        const int row = table.AppendRow();
        src.lines.push_back(rec.line);
        for (int c = 0; c < int(columnField.size()); ++c) {
            const int f = columnField[size_t(c)];
            const TDefSchema::TField &def = schema.fields[size_t(f)];
            const TCsvReader::TCell cell = c < rec.cells.size() ? rec.cells[c] : TCsvReader::TCell();
            if (cell.IsEmpty()) {
                if (def.type == TFieldType::AutoInc)
                    continue; // numbered by the table
                table.SetRowValue(row, f, TValue());
                if (def.required)
                    Error(fileName, rec.line, def.name, QStringLiteral("required, but empty"));
                continue;
            }
            switch (def.type) {
            case TFieldType::AutoInc:
            case TFieldType::Integer:
            case TFieldType::SmallInt: {
                qint64 v = 0;
                bool hex = false;
                if (!ParseInteger(cell.text, v, hex)) {
                    Error(fileName, rec.line, def.name, QStringLiteral("\"%1\" is not an integer").arg(cell.text));
                    break;
                }
                const int bits = def.type == TFieldType::SmallInt ? 16 : 32;
                if (hex && v >= (qint64(1) << (bits - 1)) && v < (qint64(1) << bits))
                    v -= qint64(1) << bits;
                const qint64 lo = def.type == TFieldType::SmallInt ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
                const qint64 hi = def.type == TFieldType::SmallInt ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
                const qint64 min = def.min.value_or(lo), max = def.max.value_or(hi);
                if (v < min || v > max) {
                    Error(fileName, rec.line, def.name, QStringLiteral("%1 is outside %2..%3").arg(cell.text).arg(min).arg(max));
                    break;
                }
                // Values are read and written as 1, 2 or 4 bytes: a 3-byte
                // parameter could be neither.
                if (v == 3 && def.name == QLatin1String("LENGTH") && stream.endsWith(QLatin1String("_PARAMETER.cds"))) {
                    Error(fileName, rec.line, def.name, QStringLiteral("a parameter is 1, 2 or 4 bytes long"));
                    break;
                }
                table.SetRowValue(row, f, TValue(v));
                break;
            }
            case TFieldType::Float: {
                bool ok = false;
                const double d = cell.text.toDouble(&ok);
                if (!ok) {
                    Error(fileName, rec.line, def.name, QStringLiteral("\"%1\" is not a number").arg(cell.text));
                    break;
                }
                table.SetRowValue(row, f, TValue(d));
                break;
            }
            case TFieldType::Text:
            case TFieldType::Memo:
                if (def.size > 0 && cell.text.size() > def.size) {
                    Error(fileName, rec.line, def.name,
                          QStringLiteral("%1 characters, at most %2").arg(cell.text.size()).arg(def.size));
                    break;
                }
                table.SetRowValue(row, f, TValue(cell.text));
                break;
            }
        }
    }
    CheckUnique(src, stream);
    sources[stream] = std::move(src);
    return true;
}

void TDefSourceCompiler::CheckUnique(const TSource &src, const QString &stream)
{
    const TDataSet &t = *src.table;
    for (const TIndexDef &d : t.IndexDefs()) {
        if (!d.unique)
            continue;
        std::vector<int> cols;
        for (const QString &n : d.FieldList())
            cols.push_back(t.FieldIndex(n));
        QHash<QString, int> seen;
        for (int r = 0; r < t.AllRowCount(); ++r) {
            QStringList key;
            for (int c : cols)
                key.append(t.RowValue(r, c).IsNull() ? QStringLiteral("<null>") : t.RowValue(r, c).AsString());
            const QString k = key.join(QLatin1Char(';'));
            if (seen.contains(k))
                Error(src.file, src.lines[size_t(r)], d.fields,
                      QStringLiteral("%1 is already used on line %2 (%3 is unique)")
                          .arg(k).arg(src.lines[size_t(seen.value(k))]).arg(d.name));
            else
                seen.insert(k, r);
        }
    }
    (void)stream;
}

void TDefSourceCompiler::CheckReference(const QString &stream, const QString &field, const QString &target,
                                        const QString &targetField)
{
    auto it = sources.find(stream);
    if (it == sources.end())
        return;
    const TSource &src = it->second;
    const TDataSet &t = *src.table;
    const int f = t.FieldIndex(field);
    if (f < 0)
        return;
    QSet<qint64> keys;
    auto tt = sources.find(target);
    if (tt != sources.end()) {
        const int k = tt->second.table->FieldIndex(targetField);
        for (int r = 0; r < tt->second.table->AllRowCount(); ++r)
            keys.insert(tt->second.table->RowValue(r, k).AsInt64());
    }
    for (int r = 0; r < t.AllRowCount(); ++r) {
        const TValue &v = t.RowValue(r, f);
        if (!v.IsNull() && !keys.contains(v.AsInt64()))
            Error(src.file, src.lines[size_t(r)], field,
                  QStringLiteral("%1 names no row of %2 (%3)").arg(v.AsInt64()).arg(target, targetField));
    }
}

// Parameter rows of one model must not share bytes, and 2- and 4-byte values
// lie at even addresses (the amplifier reads them as whole words).
void TDefSourceCompiler::CheckPlacement(int storage)
{
    const QString p = QString::number(storage);
    auto amp = sources.find(p + QStringLiteral("_AMP_PARA.cds"));
    auto par = sources.find(p + QStringLiteral("_PARAMETER.cds"));
    if (amp == sources.end() || par == sources.end())
        return;
    const TDataSet &a = *amp->second.table;
    const TDataSet &pt = *par->second.table;
    QHash<qint64, int> lengthOf;
    for (int r = 0; r < pt.AllRowCount(); ++r)
        lengthOf.insert(pt.RowValue(r, QStringLiteral("ID")).AsInt64(), pt.RowValue(r, QStringLiteral("LENGTH")).AsInteger());
    struct TRow {
        qint64 model, address;
        int length, row;
    };
    std::vector<TRow> list;
    for (int r = 0; r < a.AllRowCount(); ++r)
        list.push_back({a.RowValue(r, QStringLiteral("AMPLIFIER_ID")).AsInt64(), a.RowValue(r, QStringLiteral("ADDRESS")).AsInt64(),
                        lengthOf.value(a.RowValue(r, QStringLiteral("PARAMETER_ID")).AsInt64(), 0), r});
    std::sort(list.begin(), list.end(), [](const TRow &x, const TRow &y) {
        return x.model != y.model ? x.model < y.model : x.address < y.address;
    });
    const QString &file = amp->second.file;
    for (size_t i = 0; i < list.size(); ++i) {
        const TRow &x = list[i];
        const int line = amp->second.lines[size_t(x.row)];
        if (x.length >= 2 && (x.address & 1))
            Error(file, line, QStringLiteral("ADDRESS"),
                  QStringLiteral("0x%1 is odd, but the value has %2 bytes").arg(x.address, 0, 16).arg(x.length));
        if (i + 1 < list.size() && list[i + 1].model == x.model && x.address + x.length > list[i + 1].address)
            Error(file, amp->second.lines[size_t(list[i + 1].row)], QStringLiteral("ADDRESS"),
                  QStringLiteral("0x%1 overlaps the row of line %2 (0x%3, %4 bytes)")
                      .arg(list[i + 1].address, 0, 16).arg(line).arg(x.address, 0, 16).arg(x.length));
    }
}

// A system address without a parameter row shows "-----" in the system
// window: allowed, but worth saying.
void TDefSourceCompiler::CheckSystemAddresses()
{
    auto sys = sources.find(QStringLiteral("3_SYSTEM.cds"));
    auto amp = sources.find(QStringLiteral("1_AMP_PARA.cds"));
    if (sys == sources.end() || amp == sources.end())
        return;
    QSet<QPair<qint64, qint64>> placed;
    const TDataSet &a = *amp->second.table;
    for (int r = 0; r < a.AllRowCount(); ++r)
        placed.insert({a.RowValue(r, QStringLiteral("AMPLIFIER_ID")).AsInt64(), a.RowValue(r, QStringLiteral("ADDRESS")).AsInt64()});
    const TDataSet &s = *sys->second.table;
    for (int r = 0; r < s.AllRowCount(); ++r) {
        const qint64 model = s.RowValue(r, QStringLiteral("AMPLIFIER_ID")).AsInt64();
        for (int f = 0; f < s.FieldCount(); ++f) {
            const QString &name = s.FieldDef(f).name;
            const TValue &v = s.RowValue(r, f);
            if (name.endsWith(QLatin1String("_ADDRESS")) && !v.IsNull() && !placed.contains({model, v.AsInt64()}))
                warnings.append(QStringLiteral("%1:%2: %3: no parameter row of model %4 at 0x%5")
                                    .arg(sys->second.file).arg(sys->second.lines[size_t(r)]).arg(name)
                                    .arg(model).arg(v.AsInt64(), 0, 16));
        }
    }
}

bool TDefSourceCompiler::Write(const QString &basePath, QString *error) const
{
    for (int n = 0; n < TDMInterface::StorageCount; ++n) {
        QList<TStgWriter::TStream> streams;
        for (const QString &stream : TDefSchema::Streams(n)) {
            auto it = sources.find(stream);
            if (it != sources.end())
                streams.append({stream, it->second.table->SaveToBytes()});
        }
        if (!TStgWriter::Write(TDMInterface::StoragePath(basePath, n), streams, error))
            return false;
    }
    return true;
}

QString TDefSourceCompiler::DumpCsv(const TDataSet &table)
{
    std::vector<int> stored;
    QStringList header;
    for (int f = 0; f < table.FieldCount(); ++f)
        if (table.FieldDef(f).kind == TFieldKind::Data) {
            stored.push_back(f);
            header.append(table.FieldDef(f).name);
        }
    QString out = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (int r = 0; r < table.AllRowCount(); ++r) {
        QStringList cells;
        for (int f : stored) {
            const TValue &v = table.RowValue(r, f);
            if (table.FieldDef(f).IsTextType())
                cells.append(TCsvReader::Quote(v.AsString(), v.IsNull()));
            else if (v.IsFloat())
                cells.append(QString::number(v.AsFloat(), 'g', QLocale::FloatingPointShortest));
            else
                cells.append(v.AsString());
        }
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}
