#include "params/ParamRows.h"

#include "defdb/DataSet.h"

#include <QStringList>

namespace {

std::optional<qint32> OptInt(const TValue &v)
{
    if (v.IsNull())
        return std::nullopt;
    return qint32(v.AsInt64());
}

} // namespace

namespace ParamRows {

TParamDef Definition(const TDataSet &t, int rowId)
{
    auto v = [&](const char *name) -> const TValue & { return t.RowValue(rowId, QString::fromLatin1(name)); };
    TParamDef d;
    d.ampId = v("AMPLIFIER_ID").AsInteger();
    d.address = v("ADDRESS").AsInteger();
    d.parameterId = v("PARAMETER_ID").AsInteger();
    d.standardValue = qint32(v("STANDARD_VALUE").AsInt64());
    d.minValue = qint32(v("MIN_VALUE").AsInt64());
    d.maxValue = qint32(v("MAX_VALUE").AsInt64());
    d.modeNo = OptInt(v("MODE_NO"));
    d.pageNo = OptInt(v("PAGE_NO"));
    d.code = v("CODE").AsInteger();
    d.length = v("LENGTH").AsInteger();
    d.dataForm = v("DATAFORM").AsInteger();
    if (const TValue &p = v("PER_POWEROF10"); !p.IsNull())
        d.perPowerOf10 = p.AsInteger();
    d.tableId = OptInt(v("TABLE_ID"));
    d.binaryHighId = OptInt(v("BINARY_HIGH_ID"));
    d.binaryLowId = OptInt(v("BINARY_LOW_ID"));
    d.binaryHighName = v("BINARY_HIGH_NAME").AsString();
    d.binaryLowName = v("BINARY_LOW_NAME").AsString();
    d.fractionId = OptInt(v("FRACTION_ID"));
    d.fractionCode = OptInt(v("FRACTION_CODE"));
    d.symbol = v("SYMBOL").AsString();
    d.name = v("NAME").AsString();
    d.nameJ = v("NAME_J").AsString();
    d.unit = v("UNIT").AsString();
    d.unit2 = v("UNIT2").AsString();
    d.unit3 = v("UNIT3").AsString();
    return d;
}

TTableDataRows TableData(const TDataSet &t)
{
    TTableDataRows rows;
    if (!t.Active())
        return rows;
    const int id = t.FieldIndex(QStringLiteral("TABLE_ID")), value = t.FieldIndex(QStringLiteral("VALUE")),
              name = t.FieldIndex(QStringLiteral("NAME")), tj = t.FieldIndex(QStringLiteral("TEXT_J")),
              te = t.FieldIndex(QStringLiteral("TEXT_E"));
    rows.reserve(t.AllRowCount());
    for (int r = 0; r < t.AllRowCount(); ++r)
        rows.append({qint32(t.RowValue(r, id).AsInt64()), t.RowValue(r, value).AsInteger(), t.RowValue(r, name).AsString(),
                     t.RowValue(r, tj).AsString(), t.RowValue(r, te).AsString()});
    return rows;
}

TBinaryDataRows BinaryData(const TDataSet &t)
{
    TBinaryDataRows rows;
    if (!t.Active())
        return rows;
    const int id = t.FieldIndex(QStringLiteral("BINARY_ID")), value = t.FieldIndex(QStringLiteral("VALUE")),
              tj = t.FieldIndex(QStringLiteral("TEXT_J")), te = t.FieldIndex(QStringLiteral("TEXT_E"));
    for (int r = 0; r < t.AllRowCount(); ++r)
        rows.append({qint32(t.RowValue(r, id).AsInt64()), t.RowValue(r, value).AsInteger(), t.RowValue(r, tj).AsString(),
                     t.RowValue(r, te).AsString()});
    return rows;
}

TFractionRows Fractions(const TDataSet &t)
{
    TFractionRows rows;
    if (!t.Active())
        return rows;
    const int id = t.FieldIndex(QStringLiteral("ID")), code = t.FieldIndex(QStringLiteral("CODE")),
              text = t.FieldIndex(QStringLiteral("TEXT"));
    for (int r = 0; r < t.AllRowCount(); ++r)
        rows.append({qint32(t.RowValue(r, id).AsInt64()), qint32(t.RowValue(r, code).AsInt64()), t.RowValue(r, text).AsString()});
    return rows;
}

QString IdList(TDataSet &table, const QString &filter, const QString &idField)
{
    QStringList ids;
    if (!table.Active())
        return QString();
    table.SetFilter(filter);
    const int f = table.FieldIndex(idField);
    for (int i = 0; i < table.RecordCount(); ++i)
        ids.append(QString::number(table.ValueAt(i, f).AsInt64()));
    return ids.join(u',');
}

QString JoinLists(const QString &a, const QString &b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + u',' + b;
}

} // namespace ParamRows
