// The system analysis from the user's OK in the measurement confirmation to
// the plotted result, with the line's own time off (the simulator answers at
// once), split into its parts: the read-back of the recording (274 reads),
// the analyser's input file, the analyser run (with the program's pause
// before it looks for the output), and reading and plotting the result.
#include "app/AppContext.h"
#include "bench/support/SimRig.h"
#include "sysanalysis/DMMachine.h"
#include "sysanalysis/FMBodePlot.h"
#include "sysanalysis/MachineFile.h"
#include "testrun/DMJog.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <chrono>

namespace {

double Since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void BM_ConfirmToPlot(benchmark::State &state)
{
    TBench b;
    if (!b.ready) {
        state.SkipWithError("no simulator or database");
        return;
    }
    b.line.SetLineTime(false);
    TAppContext ctx{*b.env, b.intf, b.dmMain, *b.tran, nullptr, nullptr, nullptr, nullptr};
    const QString respana = b.dir.filePath(QStringLiteral("Respana"));
    QFile::link(QStringLiteral(TUVANTA_BIN_DIR "/Respana"), respana);
    b.env->AnalyserPath = respana;
    TDMJog jog(ctx);
    jog.OpenTables();
    TDMMachine machine(ctx);
    machine.OpenTables();
    // One measurement puts a recording into the simulated recorder.
    uint32_t r = 0;
    TDMMachine::TConditions c;
    c.torque = 50;
    c.frequency = 1;
    if (!b.tran->TestRunStatus(1, 3, r) || !b.tran->TestRunRunStatus(1, 3, r) || !b.tran->TuningStart(1, 3, r) ||
        machine.Measure(jog, 1, c, nullptr, QString()) != TDMMachine::TEnd::Done || !machine.ReadModelNames(1)) {
        state.SkipWithError("no measurement");
        return;
    }
    double readBack = 0, exchange = 0, analyser = 0, result = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        if (!machine.ReadMeasurementData(1))
            state.SkipWithError("read-back failed");
        readBack += Since(t0);
        t0 = std::chrono::steady_clock::now();
        machine.WriteExchangeFile(machine.InputFile());
        exchange += Since(t0);
        t0 = std::chrono::steady_clock::now();
        // The input is there: the run itself, its pause and the output's read.
        if (!machine.RunAnalyser(true))
            state.SkipWithError("no result");
        analyser += Since(t0);
        t0 = std::chrono::steady_clock::now();
        TBodePlotData d;
        d.result = &machine.result;
        d.blank = false;
        d.firstRow = 0;
        d.count = int(machine.result.DATA2.size());
        const QImage image = TFMBodePlot::Render(d);
        benchmark::DoNotOptimize(image.constBits());
        result += Since(t0);
    }
    const double n = double(state.iterations());
    state.counters["readback_ms"] = readBack / n;
    state.counters["exchange_ms"] = exchange / n;
    state.counters["respana_ms"] = analyser / n;
    state.counters["plot_ms"] = result / n;
    state.counters["total_ms"] = (readBack + exchange + analyser + result) / n;
    b.tran->TestRunEnd(1, 3, r);
}

} // namespace

BENCHMARK(BM_ConfirmToPlot)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);
