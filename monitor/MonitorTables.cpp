#include "monitor/MonitorTables.h"

#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DefSchema.h"
#include "defdb/ParamDefReader.h"

#include <algorithm>

TMonitorTables::TMonitorTables()
{
    TDefSchema::AddAmpParaLookups(cdsAmp_Para, cdsParameter, nullptr, nullptr);
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
}

TMonitorTables::~TMonitorTables()
{
    Close();
}

bool TMonitorTables::Open(TDMInterface &intf, bool japanese)
{
    Close();
    for (TDataSet *t : {&cdsAmplifier, &cdsParameter, &cdsAmp_Para, &cdsTable_Data})
        t->SetJapanese(japanese);
    bool ok = intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds"));
    ok = intf.LoadTable(cdsParameter, QStringLiteral("2_PARAMETER.cds")) && ok;
    ok = intf.LoadTable(cdsTable_Data, QStringLiteral("2_TABLE_DATA.cds")) && ok;
    ok = intf.LoadTable(cdsAmp_Para, QStringLiteral("2_AMP_PARA.cds")) && ok;
    cdsAmp_Para.RefreshLookups();
    cdsAmp_Para.SetIndexName(QStringLiteral("INDEX_ID_PAGE_NO"));
    const TParamDefReader reader(cdsAmp_Para);
    definitions.reserve(size_t(cdsAmp_Para.AllRowCount()));
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r)
        definitions.push_back(reader.Read(r));
    tableData = TParamDefReader::TableDataRows(cdsTable_Data);
    return ok;
}

void TMonitorTables::Close()
{
    for (TDataSet *t : {&cdsAmplifier, &cdsParameter, &cdsAmp_Para, &cdsTable_Data})
        t->Close();
    definitions.clear();
    tableData.clear();
}

int TMonitorTables::ModelKey(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Active() || !cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    return cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
}

std::vector<int> TMonitorTables::DisplayedRows(int key)
{
    std::vector<int> rows;
    if (!cdsAmp_Para.Active())
        return rows;
    cdsAmp_Para.SetIndexName(QStringLiteral("INDEX_ID_PAGE_NO"));
    cdsAmp_Para.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (PAGE_NO IS NOT NULL)").arg(key));
    rows.reserve(size_t(cdsAmp_Para.RecordCount()));
    for (int i = 0; i < cdsAmp_Para.RecordCount(); ++i)
        rows.push_back(cdsAmp_Para.RowIdAt(i));
    return rows;
}

int TMonitorTables::RowOfPage(int key, int page)
{
    if (!cdsAmp_Para.Active())
        return -1;
    cdsAmp_Para.SetFilter(
        QStringLiteral("(AMPLIFIER_ID=%1) and (PAGE_NO=%2) and (PAGE_NO IS NOT NULL)").arg(key).arg(page));
    return cdsAmp_Para.IsEmpty() ? -1 : cdsAmp_Para.RowIdAt(0);
}

void TMonitorTables::ModelArea(int key, qint64 &first, qint64 &end) const
{
    first = end = 0;
    bool any = false;
    for (const TParamDef &d : definitions) {
        if (d.ampId != key)
            continue;
        const qint64 a = d.address, e = qint64(d.address) + std::max(d.length, 1);
        first = any ? std::min(first, a) : a;
        end = any ? std::max(end, e) : e;
        any = true;
    }
    // An odd start or length would leave a byte outside the words.
    first &= ~qint64(1);
    end = (end + 1) & ~qint64(1);
}

bool TMonitorTables::ReadDecimals(TDMTran &tran, int axis, TDecimalSettings &settings)
{
    auto readByte = [&](int address) -> std::optional<int> {
        TDMTran::TWords w{};
        if (!tran.ReadWords4(axis, uint32_t(address), 1, w))
            return std::nullopt;
        return w[0] & 0xFF;
    };
    const std::optional<int> p9 = readByte(TDecimalSettings::kPlaces9Address);
    const std::optional<int> p10 = p9 ? readByte(TDecimalSettings::kPlaces10Address) : std::nullopt;
    if (!p9 || !p10) {
        settings.places9 = settings.places10 = 0;
        return false;
    }
    const std::optional<int> unit = readByte(TDecimalSettings::kUnitAddress);
    const TDecimalSettings read = TDecimalSettings::FromAmplifier(p9, p10, unit);
    settings.places9 = read.places9;
    settings.places10 = read.places10;
    if (unit)
        settings.unitSelector = read.unitSelector;
    return unit.has_value();
}
