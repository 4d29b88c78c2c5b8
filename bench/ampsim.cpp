// ampsim's answer time with line-time emulation off, and a whole parameter
// area read with it on against the time the line itself needs.
#include "sim/SimFrame.h"
#include "sim/SimLine.h"
#include "sim/SimServer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {
// A simulator serving in a thread of its own, and the program's end of the line.
class TBench
{
public:
    TBench(bool lineTime, int baud, int turnaroundMs)
    {
        char dirTemplate[] = "/tmp/ampsim-bench-XXXXXX";
        dir = mkdtemp(dirTemplate);
        line.SetLineTime(lineTime);
        line.SetBaud(baud);
        line.SetTurnaroundUs(int64_t(turnaroundMs) * 1000);
        TSimLayout layout;
        std::vector<uint8_t> area(0x4C8);
        for (size_t i = 0; i < area.size(); ++i)
            area[i] = uint8_t(i * 7);
        layout.AddBytes(0xF8000, area);
        line.SetLayoutSource([layout](uint32_t) { return layout; });
        line.AddAxis(1, 0xA101, TSimServer::Now());
        server = std::make_unique<TSimServer>(line, TSimServer::TConfig{dir + "/tty", "", false, false});
        std::string error;
        if (!server->Start(&error))
            std::abort();
        thread = std::thread([this] { server->Run(); });
        fd = open((dir + "/tty").c_str(), O_RDWR | O_NOCTTY);
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    ~TBench()
    {
        close(fd);
        server->Stop();
        thread.join();
        server.reset();
        rmdir(dir.c_str());
    }

    // Reads until the byte `last` (or count bytes) arrived.
    std::string ReadUntil(char last, size_t count = 0)
    {
        std::string got;
        char buf[512];
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0)
                return got;
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0)
                return got;
            got.append(buf, size_t(n));
            if (count ? got.size() >= count : got.back() == last)
                return got;
        }
    }
    void Write(const std::string &bytes) { [[maybe_unused]] ssize_t n = write(fd, bytes.data(), bytes.size()); }

    // One complete transaction; false when anything came back wrong.
    bool Transact(const std::string &text, size_t answerText)
    {
        Write(std::string{char(TSimFrame::ENQ), char(TSimFrame::AddressByte(1))});
        if (ReadUntil(0, 1) != std::string(1, char(TSimFrame::EOT)))
            return false;
        Write(TSimFrame::Build(text));
        if (ReadUntil(0, answerText + 4).size() != answerText + 4)
            return false;
        Write(std::string(1, char(TSimFrame::EOT)));
        return ReadUntil(0, 1) == std::string(1, char(TSimFrame::ACK));
    }

    TSimLine line;

private:
    std::string dir;
    std::unique_ptr<TSimServer> server;
    std::thread thread;
    int fd = -1;
};

// Polling to EOT: one byte pair out, one byte back.
void BM_PollAnswer(benchmark::State &state)
{
    TBench b(false, 9600, 0);
    const std::string poll{char(TSimFrame::ENQ), char(TSimFrame::AddressByte(1))};
    for (auto _ : state) {
        b.Write(poll);
        if (b.ReadUntil(0, 1).size() != 1)
            state.SkipWithError("no EOT");
    }
}
BENCHMARK(BM_PollAnswer)->UseRealTime()->Unit(benchmark::kMicrosecond);

// A whole M transaction: polling, frame, answer, EOT, ACK.
void BM_ReadTransaction(benchmark::State &state)
{
    TBench b(false, 9600, 0);
    for (auto _ : state)
        if (!b.Transact("MF8000", 16))
            state.SkipWithError("transaction failed");
}
BENCHMARK(BM_ReadTransaction)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The parameter area 0xF8000..0xF84C8 in 8-byte M reads with line time on.
// "line_ms" is what the line itself needs: 35 characters of 12 bit times per
// read and three turnarounds; "ratio" is measured over line time.
void BM_BulkReadLineTime(benchmark::State &state)
{
    const int baud = int(state.range(0));
    const int turnaroundMs = int(state.range(1));
    TBench b(true, baud, turnaroundMs);
    const int reads = 0x4C8 / 8 + (0x4C8 % 8 ? 1 : 0);
    double measured = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < reads; ++i)
            if (!b.Transact("M" + TSimFrame::Hex(0xF8000 + 8 * uint32_t(i), 5), 16))
                state.SkipWithError("transaction failed");
        measured += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    const double charMs = 12.0 * 1000.0 / baud;
    const double lineMs = reads * (35 * charMs + 3 * turnaroundMs);
    state.counters["reads"] = reads;
    state.counters["line_ms"] = lineMs;
    state.counters["measured_ms"] = measured / double(state.iterations());
    state.counters["ratio"] = measured / double(state.iterations()) / lineMs;
}
BENCHMARK(BM_BulkReadLineTime)
    ->Args({57600, 1})
    ->Args({38400, 1})
    ->Args({19200, 0})
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
} // namespace
