#pragma once

// The simulator with line-time emulation at 57600 bit/s in a thread of the
// benchmark's process, one axis of model A, and the engine counting the
// characters it exchanges: the time the line itself needs (12 bit times per
// character, 8E2) against the time taken.
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "sim/SimDatabase.h"
#include "sim/SimLine.h"
#include "sim/SimServer.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <sys/prctl.h>
#include <thread>

namespace {

constexpr int Baud = 57600;
constexpr int CodeA = 0x00A101;

// Counts the characters of every exchange: ENQ and the address byte, the
// command frame (STX, text, ETX, two check characters), the EOT in reply to
// the polling, the answer frame, the program's EOT and the final ACK.
class TCountingAmp final : public TTranAmp
{
public:
    TTranResult Transact(uint8_t addressByte, const QByteArray &command, QByteArray &answer) override
    {
        const auto t0 = std::chrono::steady_clock::now();
        const TTranResult r = TTranAmp::Transact(addressByte, command, answer);
        insideMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        characters += 2 + (command.size() + 4) + 1 + (answer.size() + 4) + 1 + 1;
        ++transactions;
        return r;
    }
    qint64 characters = 0;
    qint64 transactions = 0;
    double insideMs = 0; // time spent in the exchanges themselves
};

// The simulator in a thread of this process, one axis of model A.
class TBench
{
public:
    TBench()
    {
        std::string error;
        if (!simDatabase.Open(TUVANTA_BIN_DIR "/Sample.ad0", &error))
            return;
        line.SetLayoutSource([this](uint32_t code) { return simDatabase.Layout(code); });
        line.SetBaud(Baud);
        // BENCH_NO_LINE_TIME=1 leaves only the latency of the pseudo-terminal,
        // the threads and the modules: what the line time comes on top of.
        line.SetLineTime(!getenv("BENCH_NO_LINE_TIME"));
        line.SetTurnaroundUs(0);
        line.AddAxis(1, CodeA, TSimServer::Now());
        TSimServer::TConfig config;
        config.link = dir.filePath(QStringLiteral("tty")).toStdString();
        server = std::make_unique<TSimServer>(line, config);
        if (!server->Start(&error))
            return;
        thread = std::thread([this] {
            // The simulator paces each character with a timed sleep; the
            // kernel's default timer slack (50 us) would add to every turn
            // of the line what no amplifier adds.
            prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
            server->Run();
        });
        env = std::make_unique<TDMEnvironment>(dir.filePath(QStringLiteral("bench.ini")));
        env->DisplayLevel = dlService;
        env->SetAmpCode(1, CodeA);
        amp.SetDevicePath(QString::fromStdString(config.link));
        amp.OpenPort(Baud, 1);
        tran = std::make_unique<TDMTran>(*env, &amp);
        dmMain.LoadMainTables();
        ready = amp.PortOpen() && !intf.DatabaseBroken();
    }
    ~TBench()
    {
        amp.ClosePort();
        if (server) {
            server->Stop();
            if (thread.joinable())
                thread.join();
        }
    }

    QTemporaryDir dir;
    TSimDatabase simDatabase;
    TSimLine line;
    std::unique_ptr<TSimServer> server;
    std::thread thread;
    std::unique_ptr<TDMEnvironment> env;
    TCountingAmp amp;
    std::unique_ptr<TDMTran> tran;
    TDMInterface intf{TUVANTA_BIN_DIR "/Sample.ad0", TStgManager::TAccess::Shared};
    TDMMain dmMain{intf};
    bool ready = false;
};

inline void Report(benchmark::State &state, TCountingAmp &amp, double wallMs)
{
    const double n = double(state.iterations());
    const double lineMs = double(amp.characters) * 12.0 * 1000.0 / Baud / n;
    state.counters["wall_ms"] = wallMs / n;
    state.counters["line_ms"] = lineMs;
    state.counters["transactions"] = double(amp.transactions) / n;
    state.counters["overhead_pct"] = lineMs > 0 ? 100.0 * (wallMs / n - lineMs) / lineMs : 0;
    // What the modules themselves add between the exchanges.
    state.counters["between_ms"] = (wallMs - amp.insideMs) / n;
}

} // namespace
