#include "defdb/ParamDefReader.h"

#include "defdb/DataSet.h"

namespace {

const char *const FieldNames[] = {
    "AMPLIFIER_ID", "ADDRESS", "PARAMETER_ID", "STANDARD_VALUE", "MIN_VALUE", "MAX_VALUE", "MODE_NO", "PAGE_NO",
    "CODE", "LENGTH", "DATAFORM", "PER_POWEROF10", "TABLE_ID", "BINARY_HIGH_ID", "BINARY_LOW_ID",
    "BINARY_HIGH_NAME", "BINARY_LOW_NAME", "FRACTION_ID", "FRACTION_CODE", "SYMBOL", "NAME", "NAME_J", "UNIT",
    "UNIT2", "UNIT3"};

std::optional<qint32> Optional(const TValue &v)
{
    return v.IsNull() ? std::nullopt : std::optional<qint32>(qint32(v.AsInt64()));
}

} // namespace

TParamDefReader::TParamDefReader(const TDataSet &t) : table(t)
{
    static_assert(sizeof(FieldNames) / sizeof(FieldNames[0]) == fCount);
    for (int i = 0; i < fCount; ++i)
        index[size_t(i)] = table.FieldIndex(QString::fromLatin1(FieldNames[i]));
}

TParamDef TParamDefReader::Read(int rowId) const
{
    // RowValue gives null for a missing field (index -1) or row.
    auto v = [&](TField f) -> const TValue & { return table.RowValue(rowId, index[size_t(f)]); };
    auto integer = [&](TField f, qint32 fallback) {
        const TValue &x = v(f);
        return x.IsNull() ? fallback : qint32(x.AsInt64());
    };
    TParamDef d;
    d.ampId = integer(fAmpId, d.ampId);
    d.address = integer(fAddress, d.address);
    d.parameterId = integer(fParameterId, d.parameterId);
    d.standardValue = integer(fStandard, d.standardValue);
    d.minValue = integer(fMin, d.minValue);
    d.maxValue = integer(fMax, d.maxValue);
    d.modeNo = Optional(v(fMode));
    d.pageNo = Optional(v(fPage));
    d.code = integer(fCode, d.code);
    d.length = integer(fLength, d.length);
    d.dataForm = integer(fDataForm, d.dataForm);
    if (const auto p = Optional(v(fPower)))
        d.perPowerOf10 = int(*p);
    d.tableId = Optional(v(fTableId));
    d.binaryHighId = Optional(v(fBinaryHighId));
    d.binaryLowId = Optional(v(fBinaryLowId));
    d.binaryHighName = v(fBinaryHighName).AsString();
    d.binaryLowName = v(fBinaryLowName).AsString();
    d.fractionId = Optional(v(fFractionId));
    d.fractionCode = Optional(v(fFractionCode));
    d.symbol = v(fSymbol).AsString();
    d.name = v(fName).AsString();
    d.nameJ = v(fNameJ).AsString();
    d.unit = v(fUnit).AsString();
    d.unit2 = v(fUnit2).AsString();
    d.unit3 = v(fUnit3).AsString();
    return d;
}

TParamDef TParamDefReader::Current() const
{
    return Read(table.CurrentRowId());
}

TTableDataRows TParamDefReader::TableDataRows(const TDataSet &t)
{
    const int id = t.FieldIndex(QStringLiteral("TABLE_ID")), value = t.FieldIndex(QStringLiteral("VALUE")),
              name = t.FieldIndex(QStringLiteral("NAME")), j = t.FieldIndex(QStringLiteral("TEXT_J")),
              e = t.FieldIndex(QStringLiteral("TEXT_E"));
    TTableDataRows out;
    out.reserve(t.AllRowCount());
    for (int r = 0; r < t.AllRowCount(); ++r)
        out.append({qint32(t.RowValue(r, id).AsInt64()), t.RowValue(r, value).AsInteger(), t.RowValue(r, name).AsString(),
                    t.RowValue(r, j).AsString(), t.RowValue(r, e).AsString()});
    return out;
}

TBinaryDataRows TParamDefReader::BinaryDataRows(const TDataSet &t)
{
    const int id = t.FieldIndex(QStringLiteral("BINARY_ID")), value = t.FieldIndex(QStringLiteral("VALUE")),
              j = t.FieldIndex(QStringLiteral("TEXT_J")), e = t.FieldIndex(QStringLiteral("TEXT_E"));
    TBinaryDataRows out;
    out.reserve(t.AllRowCount());
    for (int r = 0; r < t.AllRowCount(); ++r) {
        // A row without a VALUE cannot describe a digit.
        if (t.RowValue(r, value).IsNull())
            continue;
        out.append({qint32(t.RowValue(r, id).AsInt64()), t.RowValue(r, value).AsInteger(), t.RowValue(r, j).AsString(),
                    t.RowValue(r, e).AsString()});
    }
    return out;
}

TFractionRows TParamDefReader::FractionRows(const TDataSet &t)
{
    const int id = t.FieldIndex(QStringLiteral("ID")), code = t.FieldIndex(QStringLiteral("CODE")),
              text = t.FieldIndex(QStringLiteral("TEXT"));
    TFractionRows out;
    out.reserve(t.AllRowCount());
    for (int r = 0; r < t.AllRowCount(); ++r)
        out.append({qint32(t.RowValue(r, id).AsInt64()), qint32(t.RowValue(r, code).AsInt64()), t.RowValue(r, text).AsString()});
    return out;
}
