#include "sim/SimOptions.h"
#include "sim/SimPlant.h"

#include "sim/SimControl.h"

namespace {
bool Number(const std::string &text, int64_t min, int64_t max, int &out)
{
    int64_t v = 0;
    if (!TSimControl::ParseNumber(text, v) || v < min || v > max)
        return false;
    out = int(v);
    return true;
}
} // namespace

std::string TSimOptions::Usage()
{
    return "Usage: ampsim --link PATH [options]\n"
           "Plays up to fifteen servo amplifiers on one serial line behind a pseudo-terminal.\n"
           "PATH becomes a symbolic link to the slave side; open it like a serial device.\n"
           "\n"
           "Options:\n"
           "  --link PATH          link to the pseudo-terminal's slave side (required)\n"
           "  --db FILE.ad0        definition database (default: Sample.ad0 beside the program)\n"
           "  --no-db              no database: every axis starts with zeroed memory\n"
           "  --axis N=CODE        axis N (hex digit 1..F) reports model CODE (hex, 24 bits); repeatable\n"
           "                       (default: axis 1 with the database's first model)\n"
           "  --baud RATE          bit rate to emulate (default 9600)\n"
           "  --line-time          pace both directions at 12 bit times per character (8E2)\n"
           "  --turnaround MS      answer turnaround with --line-time (default 1)\n"
           "  --op-time MS         run time of an adjustment function before it reports the end (default 300)\n"
           "  --tuning-time NOTCH_MS,FREQUENCY_MS  how long the notch and frequency tunings run\n"
           "                       (default 3000,30000; short times for tests)\n"
           "  --plant N=F_HZ[,ZETA] the machine behind axis N: resonance in Hz (0: a pure gain)\n"
           "                       and damping ratio; default 250 Hz + 25 Hz per axis, 0.05\n"
           "  --axis0 N            axis N also answers the address byte 0x90 (axis 0 of direct mode)\n"
           "  --control SOCKET     Unix socket for control commands\n"
           "  --config FILE        control commands to run at start, one per line (# comments)\n"
           "  --stdin / --no-stdin control commands on standard input (default: when it is not a terminal)\n"
           "  --still              motors stand still (default: a slow demo speed profile)\n"
           "  --verbose            one line per command on standard error\n"
           "  --help               this text\n"
           "\n"
           "Standard output gets \"ampsim: link PATH -> SLAVE\", \"ampsim: control SOCKET\" and finally\n"
           "\"ampsim: ready\". SIGINT or SIGTERM end the program and remove the link and the socket.\n"
           "\n" +
           TSimControl::Help();
}

std::optional<TSimOptions> TSimOptions::Parse(const std::vector<std::string> &args, std::string *error)
{
    TSimOptions o;
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--link") {
            if (!value(o.link) || o.link.empty())
                return fail("--link needs a path");
        } else if (a == "--db") {
            if (!value(o.db) || o.db.empty())
                return fail("--db needs a file");
        } else if (a == "--no-db") {
            o.noDb = true;
        } else if (a == "--axis") {
            if (!value(v))
                return fail("--axis needs N=CODE");
            const size_t eq = v.find('=');
            uint32_t n = 0, code = 0;
            if (eq != 1 || !TSimControl::ParseHex(v.substr(0, 1), 15, n) || n == 0 ||
                !TSimControl::ParseHex(v.substr(2), 0xFFFFFF, code))
                return fail("--axis takes N=CODE with N one hex digit 1..F and CODE hex up to FFFFFF: " + v);
            for (auto &[number, c] : o.axes)
                if (number == int(n))
                    return fail("axis " + v.substr(0, 1) + " given twice");
            o.axes.emplace_back(int(n), code);
        } else if (a == "--baud") {
            if (!value(v) || !Number(v, 300, 1000000, o.baud))
                return fail("--baud takes a bit rate from 300 to 1000000");
        } else if (a == "--line-time") {
            o.lineTime = true;
        } else if (a == "--turnaround") {
            if (!value(v) || !Number(v, 0, 10000, o.turnaroundMs))
                return fail("--turnaround takes 0 to 10000 ms");
        } else if (a == "--op-time") {
            if (!value(v) || !Number(v, 0, 600000, o.opTimeMs))
                return fail("--op-time takes 0 to 600000 ms");
        } else if (a == "--tuning-time") {
            if (!value(v))
                return fail("--tuning-time takes NOTCH_MS,FREQUENCY_MS");
            const size_t at = v.find(',');
            if (at == std::string::npos || !Number(v.substr(0, at), 0, 600000, o.notchMs)
                || !Number(v.substr(at + 1), 0, 600000, o.frequencyMs))
                return fail("--tuning-time takes NOTCH_MS,FREQUENCY_MS, each 0 to 600000");
        } else if (a == "--plant") {
            uint32_t n = 0;
            std::string why;
            TSimPlant::TParameters check;
            if (!value(v) || v.size() < 3 || v[1] != '=' || !TSimControl::ParseHex(v.substr(0, 1), 15, n) || n == 0
                || !TSimPlant::Parse(v.substr(2), check, &why))
                return fail("--plant takes N=F_HZ[,ZETA] with N one hex digit 1..F" + (why.empty() ? "" : ": " + why));
            o.plants.emplace_back(int(n), v.substr(2));
        } else if (a == "--axis0") {
            uint32_t n = 0;
            if (!value(v) || v.size() != 1 || !TSimControl::ParseHex(v, 15, n) || n == 0)
                return fail("--axis0 takes an axis digit 1..F");
            o.axis0 = int(n);
        } else if (a == "--control") {
            if (!value(o.control) || o.control.empty())
                return fail("--control needs a socket path");
        } else if (a == "--config") {
            if (!value(o.config) || o.config.empty())
                return fail("--config needs a file");
        } else if (a == "--stdin") {
            o.readStdin = 1;
        } else if (a == "--no-stdin") {
            o.readStdin = 0;
        } else if (a == "--still") {
            o.still = true;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else {
            return fail("unknown option " + a + " (see --help)");
        }
    }
    if (!o.help && o.link.empty())
        return fail("--link PATH is required (see --help)");
    if (o.noDb && !o.db.empty())
        return fail("--db and --no-db exclude each other");
    return o;
}
