// The operation trace: reading back a mode-1 recording (274 memory reads)
// with line-time emulation at 57600 bit/s against the line's own time for
// those reads, and redrawing a full 8-channel trace as a cursor moves.
#include "app/AppContext.h"
#include "bench/support/SimRig.h"
#include "trace/DMTrace.h"
#include "trace/FMTracePlot.h"

#include <QImage>
#include <cmath>
#include <QPainter>

namespace {

void BM_ReadBackMode1(benchmark::State &state)
{
    TBench b;
    if (!b.ready) {
        state.SkipWithError("no simulator or database");
        return;
    }
    TAppContext ctx{*b.env, b.intf, b.dmMain, *b.tran, nullptr, nullptr, nullptr, nullptr};
    TDMTrace dm(ctx);
    dm.OpenTables();
    dm.trace.Setting.Mode = 1;
    if (!dm.WriteTraceSetting(1)) {
        state.SkipWithError("settings not written");
        return;
    }
    double wall = 0;
    b.amp.characters = b.amp.transactions = 0;
    b.amp.insideMs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!dm.ReadTraceData(1))
            state.SkipWithError("read failed");
        wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    Report(state, b.amp, wall);
}

// One redraw of the plot bitmap with all eight channels in use, marks on,
// as a cursor drag does it for every move.
void BM_RedrawFullTrace(benchmark::State &state)
{
    TTrace trace;
    trace.Setting.Mode = 1;
    trace.Setting.Analog = {0, 1, 2, 5};
    trace.Reset();
    trace.Possible.fill(true);
    trace.InUse.fill(true);
    for (int i = 0; i < 256; ++i) {
        auto &s = trace.Samples[size_t(i)];
        for (int c = 0; c < 4; ++c)
            s.analog[size_t(c)] = int64_t(800 * std::sin(i / 20.0 + c));
        for (int c = 0; c < 4; ++c)
            s.digital[size_t(c)] = int8_t((i >> (c + 2)) & 1);
    }
    TTracePlotData d;
    d.trace = &trace;
    d.blank = false;
    d.samplingMs = 0.25;
    d.timeRangeMs = 1;
    d.divisions = 64; // 63.75 ms at 1 ms a division
    for (int c = 0; c < 8; ++c) {
        d.styles[size_t(c)] = {QColor::fromHsv(c * 45, 255, 200), 2, c % 8};
        d.shown[size_t(c)] = true;
    }
    for (int c = 0; c < 4; ++c)
        d.range[size_t(c)] = 200;
    QImage image(TFMTracePlot::Width(d), TFMTracePlot::Height, QImage::Format_RGB32);
    int t = 0;
    for (auto _ : state) {
        d.cursor[0] = t++ % 256;
        QPainter p(&image);
        TFMTracePlot::Paint(p, d);
    }
}

} // namespace

BENCHMARK(BM_ReadBackMode1)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawFullTrace)->Unit(benchmark::kMillisecond);
