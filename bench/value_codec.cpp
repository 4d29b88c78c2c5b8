// The parameter grids draw every value cell through ValueText on each paint,
// and the edit dialog evaluates one fraction condition per confirmation.
#include "ZnLibs/ZnEvals.h"
#include "defdb/ValueCodec.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ValueTextGrid(benchmark::State &state)
{
    // 200 rows of mixed forms, five value columns each.
    QList<TParamDef> defs;
    for (int i = 0; i < 200; ++i) {
        TParamDef d;
        d.length = (i % 3 == 0) ? 4 : 2;
        d.dataForm = 1 + i % 10;
        d.perPowerOf10 = 2;
        d.tableId = 1;
        d.minValue = -1000;
        d.maxValue = 1000;
        defs.append(d);
    }
    TTableDataRows table;
    for (int v = 0; v < 16; ++v)
        table.append({1, v, QString("N%1").arg(v), "j", "e"});
    const TDecimalSettings settings{2, 3, 0};
    for (auto _ : state) {
        for (const TParamDef &d : defs) {
            for (TValueField f : {TValueField::Now, TValueField::Input, TValueField::Min,
                                  TValueField::Max, TValueField::Standard})
                benchmark::DoNotOptimize(ValueCodec::ValueText(f, 7, d, settings, table));
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ValueTextGrid);

void BM_EvaluateCondition(benchmark::State &state)
{
    TZnEvals e;
    e.Source = QStringList{"(1 <= 65535) and (65535 <= 1000 * 1) and (65535 / 1 >= 0.01)"};
    for (auto _ : state)
        benchmark::DoNotOptimize(e.Evaluate());
}
BENCHMARK(BM_EvaluateCondition);

void BM_ParseFixedPoint(benchmark::State &state)
{
    TParamDef d;
    d.length = 4;
    d.dataForm = 8;
    d.perPowerOf10 = 3;
    d.minValue = -1000000;
    d.maxValue = 1000000;
    TParseInput in;
    in.text = "-123.4567";
    for (auto _ : state)
        benchmark::DoNotOptimize(ValueCodec::ParseValue(d, {}, 0, in, {}, {}, {}));
}
BENCHMARK(BM_ParseFixedPoint);

} // namespace
