// Loading the definition tables of a large database: 15 models with 1,000
// parameters each (and 200 monitor items each).
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DataSet.h"
#include "defdb/DefSchema.h"
#include "defdb/StgWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int Models = 15;
constexpr int Parameters = 1000;
constexpr int MonitorItems = 200;

void Set(TDataSet &t, int row, const char *field, const TValue &v)
{
    t.SetRowValue(row, QString::fromLatin1(field), v);
}

QByteArray Parameter(int count, bool storage1)
{
    TDataSet t;
    TDefSchema::Create(t, storage1 ? QStringLiteral("1_PARAMETER.cds") : QStringLiteral("2_PARAMETER.cds"));
    for (int i = 0; i < count; ++i) {
        const int r = t.AppendRow();
        Set(t, r, "CODE", 1000 + i);
        Set(t, r, "LENGTH", i % 3 == 0 ? 4 : 2);
        Set(t, r, "DATAFORM", 1 + i % 10);
        Set(t, r, "PER_POWEROF10", i % 4);
        Set(t, r, "NAME_J", QStringLiteral("パラメータ名称 %1").arg(i));
        Set(t, r, "NAME_E", QStringLiteral("Parameter name %1").arg(i));
        Set(t, r, "SYMBOL", QStringLiteral("P%1").arg(i));
        Set(t, r, "UNIT", QStringLiteral("min-1"));
        if (storage1)
            Set(t, r, "TYPE_ID", 1 + i % 4);
    }
    return t.SaveToBytes();
}

QByteArray AmpPara(int perModel, bool storage1)
{
    TDataSet t;
    TDefSchema::Create(t, storage1 ? QStringLiteral("1_AMP_PARA.cds") : QStringLiteral("2_AMP_PARA.cds"));
    for (int m = 1; m <= Models; ++m)
        for (int i = 0; i < perModel; ++i) {
            const int r = t.AppendRow();
            Set(t, r, "AMPLIFIER_ID", m);
            Set(t, r, "ADDRESS", 0xF8000 + 4 * i);
            Set(t, r, "PARAMETER_ID", i + 1);
            Set(t, r, "MIN_VALUE", 0);
            Set(t, r, "MAX_VALUE", 65535);
            Set(t, r, "PAGE_NO", i % 32);
            if (storage1) {
                Set(t, r, "STANDARD_VALUE", i);
                Set(t, r, "MODE_NO", i / 32);
            }
        }
    return t.SaveToBytes();
}

class TLargeDatabase
{
public:
    TLargeDatabase()
    {
        TDataSet amp;
        TDefSchema::Create(amp, QStringLiteral("0_AMPLIFIER.cds"));
        for (int m = 1; m <= Models; ++m) {
            const int r = amp.AppendRow();
            Set(amp, r, "CODE", 0xB000 + m);
            Set(amp, r, "GROUP_ID", 1 + m % 3);
        }
        const QList<TStgWriter::TStream> storages[4] = {
            {{QStringLiteral("0_AMPLIFIER.cds"), amp.SaveToBytes()}},
            {{QStringLiteral("1_PARAMETER.cds"), Parameter(Parameters, true)},
             {QStringLiteral("1_AMP_PARA.cds"), AmpPara(Parameters, true)}},
            {{QStringLiteral("2_PARAMETER.cds"), Parameter(MonitorItems, false)},
             {QStringLiteral("2_AMP_PARA.cds"), AmpPara(MonitorItems, false)}},
            {}};
        for (int n = 0; n < 4; ++n)
            TStgWriter::Write(TDMInterface::StoragePath(BasePath(), n), storages[n]);
    }
    QString BasePath() const { return dir.filePath(QStringLiteral("Large.ad0")); }

private:
    QTemporaryDir dir;
};

const TLargeDatabase &Database()
{
    static TLargeDatabase db;
    return db;
}

// What the main window does when it first shows.
void BM_LoadMainTables(benchmark::State &state)
{
    TDMInterface intf(Database().BasePath(), TStgManager::TAccess::Shared);
    if (intf.DatabaseBroken()) {
        state.SkipWithError("database not written");
        return;
    }
    TDMMain main(intf);
    for (auto _ : state) {
        if (!main.LoadMainTables())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(main.cdsAmp_Para.AllRowCount());
    }
    state.counters["amp_para_rows"] = main.cdsAmp_Para.AllRowCount();
}
BENCHMARK(BM_LoadMainTables)->Unit(benchmark::kMillisecond);

// What a parameter window does when it opens: its own copies with every
// lookup, then the filter of one model's listed rows.
void BM_OpenParameterWindowTables(benchmark::State &state)
{
    TDMInterface intf(Database().BasePath(), TStgManager::TAccess::Shared);
    for (auto _ : state) {
        TDataSet param, amp;
        TDefSchema::AddAmpParaLookups(amp, param, nullptr, nullptr);
        intf.LoadTable(param, QStringLiteral("1_PARAMETER.cds"));
        intf.LoadTable(amp, QStringLiteral("1_AMP_PARA.cds"));
        amp.SetIndexName(QStringLiteral("INDEX_ID_MODE_PAGE_NO"));
        amp.SetFilter(QStringLiteral("(AMPLIFIER_ID=7) and (MODE_NO IS NOT NULL) and (PAGE_NO IS NOT NULL)"));
        benchmark::DoNotOptimize(amp.RecordCount());
    }
}
BENCHMARK(BM_OpenParameterWindowTables)->Unit(benchmark::kMillisecond);

} // namespace
