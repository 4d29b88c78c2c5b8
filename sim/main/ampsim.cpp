// ampsim: servo amplifiers on a pseudo-terminal, for tests and the demo.
#include "sim/SimDatabase.h"
#include "sim/SimFrame.h"
#include "sim/SimLine.h"
#include "sim/SimOptions.h"
#include "sim/SimServer.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace {
std::string ProgramDir()
{
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string path(buf, size_t(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}
} // namespace

int main(int argc, char **argv)
{
    std::string error;
    const auto options = TSimOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "ampsim: %s\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(TSimOptions::Usage().c_str(), stdout);
        return 0;
    }

    // The database: the one asked for must open; the sample beside the
    // program is used when it is there.
    TSimDatabase database;
    bool haveDatabase = false;
    if (!options->noDb) {
        const std::string path = options->db.empty() ? ProgramDir() + "/Sample.ad0" : options->db;
        if (options->db.empty() && access(path.c_str(), F_OK) != 0) {
            std::fprintf(stderr, "ampsim: no %s; every axis starts with zeroed memory\n", path.c_str());
        } else if (!database.Open(path, &error)) {
            std::fprintf(stderr, "ampsim: %s\n", error.c_str());
            return 1;
        } else {
            haveDatabase = true;
        }
    }

    TSimLine line;
    if (haveDatabase)
        line.SetLayoutSource([&database](uint32_t code) { return database.Layout(code); });
    line.SetBaud(options->baud);
    line.SetLineTime(options->lineTime);
    line.SetTurnaroundUs(int64_t(options->turnaroundMs) * 1000);
    const int64_t opTimeUs = int64_t(options->opTimeMs) * 1000;
    const bool still = options->still;
    const auto plants = options->plants;
    const int notchMs = options->notchMs, frequencyMs = options->frequencyMs;
    line.SetAxisHook([opTimeUs, still, plants, notchMs, frequencyMs](TSimAxis &axis, int64_t now) {
        for (int d = 1; d <= 6; ++d)
            axis.Adjustment(d).config.durationUs = opTimeUs;
        axis.Tuning().SetDurationMs(2, notchMs);
        axis.Tuning().SetDurationMs(5, frequencyMs);
        for (const auto &[n, text] : plants) {
            TSimPlant::TParameters p = axis.Plant().Parameters();
            if (n == axis.Number() && TSimPlant::Parse(text, p, nullptr))
                axis.Plant().SetParameters(p);
        }
        if (!still)
            axis.Motion().SetSine(1500, 8000, now);
    });
    if (options->verbose)
        line.SetCommandHook([](int axis, const std::string &command, const std::string &answer) {
            std::fprintf(stderr, "ampsim: #%X %s -> %s\n", axis, command.c_str(),
                         answer.empty() ? "(no answer)" : answer.c_str());
        });

    std::vector<std::pair<int, uint32_t>> axes = options->axes;
    if (axes.empty()) {
        if (!haveDatabase || database.Codes().empty()) {
            std::fprintf(stderr, "ampsim: no axis given (--axis N=CODE)\n");
            return 2;
        }
        axes.emplace_back(1, database.Codes().front());
    }
    const int64_t start = TSimServer::Now();
    for (const auto &[n, code] : axes)
        line.AddAxis(n, code, start);
    if (options->axis0) {
        if (!line.Axis(options->axis0)) {
            std::fprintf(stderr, "ampsim: --axis0 names axis %X, which is not configured\n", options->axis0);
            return 2;
        }
        line.SetAxis0(options->axis0);
    }

    // Signals arrive through a descriptor, so the loop ends between two
    // steps and cleans up.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    const int signalFd = signalfd(-1, &set, SFD_CLOEXEC);
    std::signal(SIGPIPE, SIG_IGN);

    TSimServer::TConfig config;
    config.link = options->link;
    config.control = options->control;
    config.readStdin = options->readStdin == 1 || (options->readStdin == -1 && !isatty(STDIN_FILENO));
    config.verbose = options->verbose;
    TSimServer server(line, config);
    if (!server.Start(&error)) {
        std::fprintf(stderr, "ampsim: %s\n", error.c_str());
        return 1;
    }
    if (!options->config.empty()) {
        std::ifstream in(options->config);
        if (!in) {
            std::fprintf(stderr, "ampsim: cannot read %s\n", options->config.c_str());
            return 2;
        }
        std::string text;
        int lineNo = 0;
        while (std::getline(in, text)) {
            ++lineNo;
            const std::string reply = server.Command(text);
            if (reply.rfind("error", 0) == 0) {
                std::fprintf(stderr, "ampsim: %s:%d: %s\n", options->config.c_str(), lineNo, reply.c_str());
                return 2;
            }
        }
    }
    std::printf("ampsim: link %s -> %s\n", options->link.c_str(), server.Pty().SlaveName().c_str());
    if (!options->control.empty())
        std::printf("ampsim: control %s\n", options->control.c_str());
    std::string list;
    for (int n : line.AxisNumbers())
        list += " " + TSimFrame::Hex(uint32_t(n), 1) + ":" + TSimFrame::Hex(line.Axis(n)->Code(), 6) +
                (line.Axis(n)->Layout().known ? "" : "(unknown model)");
    std::printf("ampsim: axes%s\n", list.c_str());
    std::printf("ampsim: ready\n");
    std::fflush(stdout);
    return server.Run(signalFd);
}
