// Throughput of the protocol engine against a zero-latency amplifier on a
// pseudo-terminal, and the processor time that a silent axis costs.
#include "comm/TranAmp.h"
#include "support/PtyPeer.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

QByteArray Answer(const QByteArray &command)
{
    if (command.startsWith('R'))
        return "11223344";
    if (command.startsWith('M'))
        return "0102030405060708";
    return "0";
}

void BM_TransactionsPerSecond(benchmark::State &state, char letter)
{
    TPtyPeer peer;
    peer.Start(TPtyPeer::Amplifier(Answer));
    TTranAmp amp;
    amp.SetDevicePath(peer.SlavePath());
    amp.OpenPort(57600, 1);
    if (!amp.PortOpen()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    uint32_t address = 0;
    for (auto _ : state) {
        TTranResult r;
        if (letter == 'R') {
            std::array<uint8_t, 4> bytes;
            r = amp.CmdR(1, address, bytes);
        } else {
            std::array<uint8_t, 8> bytes;
            r = amp.CmdM(1, address, bytes);
        }
        if (r != trOk) {
            state.SkipWithError("transaction failed");
            break;
        }
        address = (address + 8) & 0xFFFF8;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["transactions_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

double CpuMs(int who)
{
    rusage u{};
    getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Nobody answers: five tries of t (75 ms at 57600 bit/s). The process time
// covers the waiting user-interface thread and the serial watcher thread.
void BM_SilentAxis(benchmark::State &state)
{
    TPtyPeer peer; // not started: the far side never reads or answers
    TTranAmp amp;
    amp.SetDevicePath(peer.SlavePath());
    amp.OpenPort(57600, 1);
    if (!amp.PortOpen()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double c0 = CpuMs(RUSAGE_SELF);
        const auto w0 = std::chrono::steady_clock::now();
        QByteArray answer;
        if (amp.Transact(0x91, "H0", answer) != trTimeout)
            state.SkipWithError("the silent axis answered");
        cpu += CpuMs(RUSAGE_SELF) - c0;
        wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - w0).count();
    }
    state.counters["cpu_ms_per_s"] = wall > 0 ? 1000.0 * cpu / wall : 0;
    state.counters["transaction_ms"] = wall / double(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(BM_TransactionsPerSecond, R, 'R')->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_TransactionsPerSecond, M, 'M')->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_SilentAxis)->UseRealTime()->Iterations(8)->Unit(benchmark::kMillisecond);
