// The monitor window polling one axis of the simulator with line-time
// emulation: the achieved refresh period (one tick to the next completed
// refresh) against the 200 ms tick plus the time the line itself needs for
// one refresh's bytes (12 bit times per character, 8E2), and the CPU the
// user-interface thread spends meanwhile.
#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "monitor/FMMonitor.h"
#include "sim/SimDatabase.h"
#include "sim/SimLine.h"
#include "sim/SimServer.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <thread>

namespace {

constexpr int CodeA = 0x00A101;
constexpr int Ticks = 100;

class TCountingAmp final : public TTranAmp
{
public:
    TTranResult Transact(uint8_t addressByte, const QByteArray &command, QByteArray &answer) override
    {
        const TTranResult r = TTranAmp::Transact(addressByte, command, answer);
        characters += 2 + (command.size() + 4) + 1 + (answer.size() + 4) + 1 + 1;
        return r;
    }
    qint64 characters = 0;
};

double ThreadCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

void BM_MonitorRefresh(benchmark::State &state)
{
    const int baud = int(state.range(0));
    QTemporaryDir dir;
    TSimDatabase simDatabase;
    TSimLine line;
    std::string error;
    if (!simDatabase.Open(TUVANTA_BIN_DIR "/Sample.ad0", &error)) {
        state.SkipWithError("no sample database");
        return;
    }
    line.SetLayoutSource([&](uint32_t code) { return simDatabase.Layout(code); });
    line.SetBaud(baud);
    line.SetLineTime(true);
    line.SetTurnaroundUs(0);
    line.AddAxis(1, CodeA, TSimServer::Now());
    TSimServer::TConfig config;
    config.link = dir.filePath(QStringLiteral("tty")).toStdString();
    TSimServer server(line, config);
    if (!server.Start(&error)) {
        state.SkipWithError("simulator did not start");
        return;
    }
    std::thread thread([&] {
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        server.Run();
    });
    {
        TDMEnvironment env(dir.filePath(QStringLiteral("bench.ini")));
        env.SetAmpCode(1, CodeA);
        TCountingAmp amp;
        amp.SetDevicePath(QString::fromStdString(config.link));
        amp.OpenPort(baud, 1);
        amp.SetRts(true);
        TDMTran tran(env, &amp);
        TDMInterface intf(TUVANTA_BIN_DIR "/Sample.ad0", TStgManager::TAccess::Shared);
        TDMMain dmMain(intf);
        dmMain.LoadMainTables();
        TAppContext ctx{env, intf, dmMain, tran, [] { return 1; }, [] { return true; }, nullptr, nullptr};

        // The line's own time for one refresh.
        TDMMonitor probe(ctx);
        probe.OpenTables();
        probe.ReadValues(1, true);
        amp.characters = 0;
        probe.ReadValues(1, false);
        const double lineMs = double(amp.characters) * 12.0 * 1000.0 / baud;

        for (auto _ : state) {
            TFMMonitor w(ctx);
            std::vector<double> stamps;
            QEventLoop loop;
            QObject::connect(&w, &TFMMonitor::Refreshed, &loop, [&] {
                stamps.push_back(std::chrono::duration<double, std::milli>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
                if (int(stamps.size()) > Ticks)
                    loop.quit();
            });
            QTimer::singleShot(600000, &loop, &QEventLoop::quit);
            w.show();
            // The first refresh rebuilds; count from it.
            double cpu0 = 0;
            QObject::connect(&w, &TFMMonitor::Refreshed, &loop, [&] {
                if (stamps.size() == 1)
                    cpu0 = ThreadCpuMs();
            });
            loop.exec();
            const double cpu = ThreadCpuMs() - cpu0;
            double sum = 0, worst = 0;
            for (size_t i = 1; i < stamps.size(); ++i) {
                const double d = stamps[i] - stamps[i - 1];
                sum += d;
                worst = std::max(worst, d);
            }
            const double n = double(stamps.size() - 1);
            const double wall = stamps.back() - stamps.front();
            state.counters["period_mean_ms"] = sum / n;
            state.counters["period_worst_ms"] = worst;
            state.counters["line_ms"] = lineMs;
            state.counters["budget_ms"] = TFMMonitor::Interval + 1.1 * lineMs;
            state.counters["ui_cpu_pct"] = 100.0 * cpu / wall;
            w.reject();
        }
        amp.ClosePort();
    }
    server.Stop();
    thread.join();
}

} // namespace

BENCHMARK(BM_MonitorRefresh)->Arg(57600)->Arg(9600)->Iterations(1)->Unit(benchmark::kMillisecond);
