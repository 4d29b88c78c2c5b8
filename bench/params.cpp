// Reading a model's parameters from the simulator with line-time emulation
// at 57600 bit/s, against the time the line itself needs for the bytes
// exchanged (12 bit times per character, 8E2). The simulator answers without
// turnaround, so what is left over is the program's own cost.
#include "params/DMLoadSave.h"
#include "params/DMUserParameter.h"
#include "params/DMVerify.h"
#include "bench/support/SimRig.h"

namespace {

// The general parameter window's read at the service level: every listed
// parameter in 8-byte steps and the three decimal-point settings.
void BM_ReadGeneralParameters(benchmark::State &state)
{
    TBench b;
    if (!b.ready) {
        state.SkipWithError("no simulator or database");
        return;
    }
    TDMUserParameter dm(b.intf, b.dmMain, *b.env, *b.tran);
    dm.OpenTables();
    double wall = 0;
    for (auto _ : state) {
        b.amp.characters = b.amp.transactions = 0;
        const auto t0 = std::chrono::steady_clock::now();
        if (!dm.ReadFromAmplifier(1))
            state.SkipWithError("read failed");
        wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    // Counters are per iteration: the last iteration's characters times n.
    b.amp.characters *= state.iterations();
    b.amp.transactions *= state.iterations();
    Report(state, b.amp, wall);
}

// The whole parameter area into a file, as the transfer does it.
void BM_ReadWholeAreaToFile(benchmark::State &state)
{
    TBench b;
    if (!b.ready) {
        state.SkipWithError("no simulator or database");
        return;
    }
    TDMLoadSave dm(b.intf, b.dmMain, *b.env, *b.tran);
    dm.OpenTables();
    const QString file = b.dir.filePath(QStringLiteral("area.ap0"));
    double wall = 0;
    for (auto _ : state) {
        b.amp.characters = b.amp.transactions = 0;
        const auto t0 = std::chrono::steady_clock::now();
        if (!dm.TransferAmpToFile(1, file, QStringLiteral("TVA-S10A")))
            state.SkipWithError("transfer failed");
        wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    b.amp.characters *= state.iterations();
    b.amp.transactions *= state.iterations();
    Report(state, b.amp, wall);
}

// A verification against a file saved from the same axis: the whole area
// read, the walk over both models and the (empty) difference list.
void BM_VerifyWholeArea(benchmark::State &state)
{
    TBench b;
    if (!b.ready) {
        state.SkipWithError("no simulator or database");
        return;
    }
    const QString file = b.dir.filePath(QStringLiteral("verify.ap0"));
    {
        TDMLoadSave save(b.intf, b.dmMain, *b.env, *b.tran);
        save.OpenTables();
        if (!save.TransferAmpToFile(1, file, QStringLiteral("TVA-S10A"))) {
            state.SkipWithError("no file");
            return;
        }
    }
    // The file's read is not the verification's.
    b.amp.insideMs = 0;
    double wall = 0;
    for (auto _ : state) {
        TDMVerify dm(b.intf, b.dmMain, *b.env, *b.tran);
        b.amp.characters = b.amp.transactions = 0;
        const auto t0 = std::chrono::steady_clock::now();
        if (!dm.Compare(1, file) || !dm.Compared() || dm.DifferenceCount() != 0)
            state.SkipWithError("verification failed");
        wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    b.amp.characters *= state.iterations();
    b.amp.transactions *= state.iterations();
    Report(state, b.amp, wall);
}

} // namespace

BENCHMARK(BM_VerifyWholeArea)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGeneralParameters)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWholeAreaToFile)->UseRealTime()->Iterations(5)->Unit(benchmark::kMillisecond);
