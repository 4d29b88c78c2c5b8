#include "sim/SimControl.h"

#include "sim/SimFrame.h"
#include "sim/SimLine.h"
#include "sim/SimTrace.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace {
std::string Ok(const std::string &text = {})
{
    return text.empty() ? "ok" : "ok " + text;
}

std::string Error(const std::string &text)
{
    return "error " + text;
}

std::string Lower(std::string text)
{
    for (char &c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
} // namespace

TSimControl::TSimControl(TSimLine &l, THooks h) : line(l), hooks(std::move(h)) {}

std::vector<std::string> TSimControl::Split(const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

bool TSimControl::ParseHex(const std::string &text, uint32_t max, uint32_t &out)
{
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 8)
        return false;
    uint32_t value = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc() || p != digits.data() + digits.size() || value > max)
        return false;
    out = value;
    return true;
}

bool TSimControl::ParseNumber(const std::string &text, int64_t &out)
{
    std::string t = text;
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t = t.substr(1);
    }
    int64_t value = 0;
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        t = t.substr(2);
        base = 16;
    }
    if (t.empty())
        return false;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), value, base);
    if (ec != std::errc() || p != t.data() + t.size())
        return false;
    out = negative ? -value : value;
    return true;
}

std::string TSimControl::Help()
{
    return "Control commands (one per line; each gets one reply line, \"ok ...\" or \"error ...\").\n"
           "N is an axis as one hexadecimal digit 1..F, \"*\" where noted means every axis.\n"
           "Codes and addresses are hexadecimal (\"0x\" optional); values decimal or 0x-hexadecimal.\n"
           "  status                        cable, bit rate, line time, axes with their codes\n"
           "  axis N CODE | axis N remove   add/replace axis N reporting CODE (24 bits), or remove it\n"
           "  axis0 N | axis0 off           axis N also answers the address byte 0x90\n"
           "  fault N|* NAME [ARG...]       inject a fault (several may be on):\n"
           "      silent                no answer to the polling\n"
           "      nak                   NAK to the polling (duplicated axis number)\n"
           "      latepoll [MS]         EOT this late (default twice the character time-out)\n"
           "      late [MS]             answer frame this late (default twice the character time-out)\n"
           "      badcheck              wrong check characters\n"
           "      lowercase             check characters in lower case (answers whose check has a letter)\n"
           "      empty                 answer STX ETX with a correct check\n"
           "      long [LEN]            answer text padded to LEN bytes (default 254)\n"
           "      noack                 no ACK after the program's EOT\n"
           "      badecho               write echo with its last digit changed (the write is done)\n"
           "      h0form [first|short|long|nonhex]  H0 answer of the wrong form\n"
           "      failfirst K [silent|badcheck|noack]  only the next K pollings fail\n"
           "      silentafter K         the next K pollings are answered, then the axis stays silent\n"
           "      alarm CODE [STATE]    an active alarm (as \"alarm N CODE\")\n"
           "  fault N|* -NAME | fault N|* none   clear one fault or all\n"
           "  faults N                      the faults that are on\n"
           "  alarm N CODE [STATE] | alarm N clear   raise (hex code, state digit) or clear the current alarm\n"
           "  alarm N persist on|off        the cause stays: alarm reset (W33) answers 6 and keeps the alarm\n"
           "  history N [CODE[:STATE]...]   set the alarm history, newest first (no codes: clear)\n"
           "  monitor N                     monitor items, their quantities and raw values\n"
           "  monitor N SYMBOL|ADDR VALUE [LEN] | monitor N SYMBOL|ADDR auto   hold a raw value / follow the motor\n"
           "  motion N|* stop | speed RPM | sine RPM PERIOD_MS   the motor's speed profile\n"
           "  plant N|* F_HZ [ZETA] | plant N   the machine behind the motor: resonance (0: a pure gain)\n"
           "                                and damping ratio; without values, what it is\n"
           "  op N FUNC key=VALUE...        adjustment function FUNC (1..6 or vref, tcomp, alarm-reset, abs-clear,\n"
           "                                trace-clear, excitation): query= start= result= time=MS end=\n"
           "  op N CODE VALUE | op N CODE default   fixed answer of an operation command (W01, W81, L00...)\n"
           "  testrun N [CODE V[,V...] | overtravel fwd|rev|both|none | watchdog MS]   JOG test-run mode: its\n"
           "                                state, the next replies of a W8x/W9x code, overtravel, run watchdog\n"
           "  sysan N [WBx V[,V...] | ring S | trigger T | kv GAIN | limit PERCENT | noise LSB | time MS|auto |\n"
           "          settings TC,END,FREQ]   system-analysis measurement: its state, the next replies of a WBx\n"
           "                                code, where the recording lies, the loop, the torque limit, the\n"
           "                                recorder's noise, how long it takes, the settings it starts with\n"
           "  tuning N [time notch|frequency MS | result V|auto | CODE V[,V...] | save key=V...]   notch and\n"
           "                                frequency tuning, result save (WAx, WDx, W7x): state, run time, a fixed\n"
           "                                result word, the next replies of a code; save: mode= char= resp= choice=\n"
           "                                (taken when the mode opens), stored=5 words, gains=5 words, hold=on|off\n"
           "  peek N ADDR [COUNT]           memory bytes in address order (hex)\n"
           "  poke N ADDR HEXBYTES          write memory bytes in address order\n"
           "  reset N|*                     memory back to the model's initial content\n"
           "  stats N [clear]               counters of the axis's byte state machine\n"
           "  log N [clear]                 the last commands the axis received\n"
           + std::string(TSimTrace::Help()) +
           "  linetime on|off | baud RATE | turnaround MS\n"
           "  cable | pull | plug           cable state; pull closes the pseudo-terminal, plug opens a new one\n"
           "  line                          the port settings the program set on the pseudo-terminal\n"
           "  help | quit\n";
}

std::optional<std::vector<TSimAxis *>> TSimControl::Axes(const std::string &word, std::string &error)
{
    std::vector<TSimAxis *> out;
    if (word == "*") {
        for (int n : line.AxisNumbers())
            out.push_back(line.Axis(n));
        return out;
    }
    TSimAxis *axis = OneAxis(word, error);
    if (!axis)
        return std::nullopt;
    out.push_back(axis);
    return out;
}

TSimAxis *TSimControl::OneAxis(const std::string &word, std::string &error)
{
    uint32_t n = 0;
    if (word.size() != 1 || !ParseHex(word, 15, n) || n == 0) {
        error = Error("axis must be one hexadecimal digit 1..F: " + word);
        return nullptr;
    }
    TSimAxis *axis = line.Axis(int(n));
    if (!axis)
        error = Error("no axis " + word);
    return axis;
}

std::string TSimControl::Execute(const std::string &commandLine, int64_t now)
{
    const TWords w = Split(commandLine);
    if (w.empty() || w[0][0] == '#')
        return {};
    line.Refresh(now);
    const std::string cmd = Lower(w[0]);
    auto needHook = [&](const auto &hook) { return bool(hook); };

    if (cmd == "help")
        return Ok("see ampsim --help; commands: status axis axis0 fault faults alarm history monitor motion plant op testrun tuning sysan peek "
                  "poke reset stats log linetime baud turnaround cable pull plug line quit");
    if (cmd == "status")
        return Status();
    if (cmd == "axis")
        return Axis(w, now);
    if (cmd == "axis0") {
        if (w.size() != 2)
            return Error("usage: axis0 N|off");
        if (w[1] == "off") {
            line.SetAxis0(0);
            return Ok();
        }
        std::string error;
        TSimAxis *axis = OneAxis(w[1], error);
        if (!axis)
            return error;
        line.SetAxis0(axis->Number());
        return Ok();
    }
    if (cmd == "fault")
        return Fault(w, now);
    if (cmd == "faults") {
        std::string error;
        if (w.size() != 2)
            return Error("usage: faults N");
        TSimAxis *axis = OneAxis(w[1], error);
        if (!axis)
            return error;
        std::string text = axis->Faults().Describe();
        if (axis->Alarms().Active())
            text += " alarm=" + TSimFrame::Hex(axis->Alarms().Code(), 2);
        return Ok(text);
    }
    if (cmd == "alarm")
        return Alarm(w, now);
    if (cmd == "history")
        return History(w);
    if (cmd == "monitor")
        return Monitor(w, now);
    if (cmd == "plant")
        return Plant(w);
    if (cmd == "motion")
        return Motion(w, now);
    if (cmd == "op")
        return Op(w);
    if (cmd == "testrun") {
        std::string error, reply;
        TSimAxis *axis = w.size() >= 2 ? OneAxis(w[1], error) : nullptr;
        if (!axis)
            return w.size() >= 2 ? error : Error(std::string("usage: ") + TSimTestRun::Usage());
        const bool ok = axis->TestRun().Control(TWords(w.begin() + 2, w.end()), now, reply);
        return ok ? Ok(reply) : Error(reply);
    }
    if (cmd == "tuning") {
        std::string error, reply;
        TSimAxis *axis = w.size() >= 2 ? OneAxis(w[1], error) : nullptr;
        if (!axis)
            return w.size() >= 2 ? error : Error(std::string("usage: ") + TSimTuning::Usage());
        const bool ok = axis->Tuning().Control(TWords(w.begin() + 2, w.end()), now, reply);
        return ok ? Ok(reply) : Error(reply);
    }
    if (cmd == "sysan") {
        std::string error, reply;
        TSimAxis *axis = w.size() >= 2 ? OneAxis(w[1], error) : nullptr;
        if (!axis)
            return w.size() >= 2 ? error : Error(std::string("usage: ") + TSimMeasurement::Usage());
        const bool ok = axis->Measurement().Control(TWords(w.begin() + 2, w.end()), now, reply);
        return ok ? Ok(reply) : Error(reply);
    }
    if (cmd == "peek")
        return Peek(w, now);
    if (cmd == "poke")
        return Poke(w);
    if (cmd == "reset") {
        std::string error;
        if (w.size() != 2)
            return Error("usage: reset N|*");
        auto axes = Axes(w[1], error);
        if (!axes)
            return error;
        for (TSimAxis *a : *axes)
            a->ResetMemory(now);
        return Ok();
    }
    if (cmd == "trace")
        return TSimTrace::Control(line, w, now);
    if (cmd == "stats")
        return Stats(w);
    if (cmd == "log")
        return Log(w);
    if (cmd == "linetime") {
        if (w.size() != 2 || (w[1] != "on" && w[1] != "off"))
            return Error("usage: linetime on|off");
        line.SetLineTime(w[1] == "on");
        return Ok();
    }
    if (cmd == "baud") {
        int64_t rate = 0;
        if (w.size() != 2 || !ParseNumber(w[1], rate) || rate < 300 || rate > 1000000)
            return Error("usage: baud RATE (300..1000000)");
        line.SetBaud(int(rate));
        return Ok();
    }
    if (cmd == "turnaround") {
        int64_t ms = 0;
        if (w.size() != 2 || !ParseNumber(w[1], ms) || ms < 0 || ms > 10000)
            return Error("usage: turnaround MS (0..10000)");
        line.SetTurnaroundUs(ms * 1000);
        return Ok();
    }
    if (cmd == "cable") {
        if (!needHook(hooks.plugged))
            return Error("not available");
        return Ok(hooks.plugged() ? "plugged" : "pulled");
    }
    if (cmd == "pull" || cmd == "plug") {
        auto &hook = cmd == "pull" ? hooks.pull : hooks.plug;
        if (!needHook(hook))
            return Error("not available");
        std::string error;
        if (!hook(&error))
            return Error(error);
        return Ok(hooks.link ? hooks.link() : std::string());
    }
    if (cmd == "line") {
        if (!needHook(hooks.lineSettings))
            return Error("not available");
        return Ok(hooks.lineSettings());
    }
    if (cmd == "quit") {
        if (!needHook(hooks.quit))
            return Error("not available");
        hooks.quit();
        return Ok("bye");
    }
    return Error("unknown command " + w[0] + " (try help)");
}

std::string TSimControl::Status()
{
    std::string axes;
    for (int n : line.AxisNumbers()) {
        TSimAxis *a = line.Axis(n);
        if (!axes.empty())
            axes += ',';
        axes += TSimFrame::Hex(uint32_t(n), 1) + ":" + TSimFrame::Hex(a->Code(), 6);
        if (!a->Layout().known)
            axes += "?";
    }
    std::string text;
    if (hooks.plugged)
        text += std::string("cable=") + (hooks.plugged() ? "plugged" : "pulled") + " ";
    text += "baud=" + std::to_string(line.Baud()) + " linetime=" + (line.LineTime() ? "on" : "off") +
            " turnaround=" + std::to_string(line.TurnaroundUs() / 1000) + " axes=" + (axes.empty() ? "-" : axes);
    if (line.Axis0())
        text += " axis0=" + TSimFrame::Hex(uint32_t(line.Axis0()), 1);
    if (hooks.link)
        text += " " + hooks.link();
    return Ok(text);
}

std::string TSimControl::Axis(const TWords &w, int64_t now)
{
    if (w.size() != 3)
        return Error("usage: axis N CODE | axis N remove");
    uint32_t n = 0;
    if (w[1].size() != 1 || !ParseHex(w[1], 15, n) || n == 0)
        return Error("axis must be one hexadecimal digit 1..F: " + w[1]);
    if (w[2] == "remove") {
        if (!line.RemoveAxis(int(n)))
            return Error("no axis " + w[1]);
        return Ok();
    }
    uint32_t code = 0;
    if (!ParseHex(w[2], 0xFFFFFF, code))
        return Error("the model code is a 24-bit hexadecimal number: " + w[2]);
    TSimAxis &axis = line.AddAxis(int(n), code, now);
    return Ok(axis.Layout().known ? axis.Layout().modelName : std::string("unknown-model"));
}

std::string TSimControl::Fault(const TWords &w, int64_t now)
{
    if (w.size() < 3)
        return Error("usage: fault N|* NAME [ARG...] | fault N|* -NAME | fault N|* none");
    std::string error;
    auto axes = Axes(w[1], error);
    if (!axes)
        return error;
    const std::string name = Lower(w[2]);
    for (TSimAxis *a : *axes) {
        if (name == "none") {
            a->Faults() = {};
            continue;
        }
        if (name == "alarm" || name == "-alarm") {
            TWords alarm = {"alarm", TSimFrame::Hex(uint32_t(a->Number()), 1)};
            if (name == "-alarm")
                alarm.push_back("clear");
            alarm.insert(alarm.end(), w.begin() + 3, w.end());
            const std::string reply = Alarm(alarm, now);
            if (reply.rfind("ok", 0) != 0)
                return reply;
            continue;
        }
        if (name[0] == '-') {
            if (w.size() != 3 || !a->Faults().Clear(name.substr(1)))
                return Error("unknown fault " + name.substr(1));
            continue;
        }
        TWords args(w.begin() + 2, w.end());
        args[0] = name;
        if (!a->Faults().Set(args, line.CharTimeoutMs(), &error))
            return Error(error);
    }
    return Ok();
}

std::string TSimControl::Alarm(const TWords &w, int64_t now)
{
    std::string error;
    if (w.size() < 3 || w.size() > 4)
        return Error("usage: alarm N CODE [STATE] | alarm N clear | alarm N persist on|off");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    if (!axis->Layout().nowAlarmAddress)
        return Error("the model has no alarm block");
    if (w[2] == "clear") {
        axis->Alarms().Reset();
        return Ok();
    }
    if (w[2] == "persist") {
        if (w.size() != 4 || (w[3] != "on" && w[3] != "off"))
            return Error("usage: alarm N persist on|off");
        axis->Alarms().SetPersistent(w[3] == "on");
        return Ok();
    }
    uint32_t code = 0, state = 0;
    if (!ParseHex(w[2], 0xFF, code) || code == 0)
        return Error("the alarm code is 01..FF (hexadecimal)");
    if (w.size() == 4 && !ParseHex(w[3], 0x0F, state))
        return Error("the state is one hexadecimal digit");
    axis->Alarms().Raise(uint8_t(code), uint8_t(state), now);
    return Ok();
}

std::string TSimControl::History(const TWords &w)
{
    std::string error;
    if (w.size() < 2 || w.size() > 10)
        return Error("usage: history N [CODE[:STATE]...] (at most eight)");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    if (!axis->Layout().historyAlarmAddress)
        return Error("the model has no alarm history block");
    std::vector<TSimAlarms::TEntry> entries;
    for (size_t i = 2; i < w.size(); ++i) {
        const size_t colon = w[i].find(':');
        uint32_t code = 0, state = 0;
        if (!ParseHex(w[i].substr(0, colon), 0xFF, code) ||
            (colon != std::string::npos && !ParseHex(w[i].substr(colon + 1), 0x0F, state)))
            return Error("history entries are CODE or CODE:STATE in hexadecimal: " + w[i]);
        entries.push_back({uint8_t(code), uint8_t(state)});
    }
    if (entries.empty())
        axis->Alarms().ClearHistory();
    else
        axis->Alarms().SetHistory(entries);
    return Ok();
}

std::string TSimControl::Monitor(const TWords &w, int64_t now)
{
    std::string error;
    if (w.size() < 2)
        return Error("usage: monitor N [SYMBOL|ADDR VALUE|auto [LEN]]");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    if (w.size() == 2) {
        std::string text;
        for (const TSimMonitorItem &item : axis->Layout().monitorItems) {
            if (!text.empty())
                text += ' ';
            text += (item.symbol.empty() ? std::string("?") : item.symbol) + "@" + TSimFrame::Hex(item.address, 5) +
                    "=" + std::to_string(axis->Memory().Value(item.address, item.length)) + "/" +
                    TSimMotion::Name(item.quantity);
        }
        return Ok(text.empty() ? "no monitor items" : text);
    }
    if (w.size() < 4 || w.size() > 5)
        return Error("usage: monitor N SYMBOL|ADDR VALUE|auto [LEN]");
    const TSimMonitorItem *item = axis->FindMonitorItem(w[2]);
    uint32_t address = 0;
    if (item)
        address = item->address;
    else if (!ParseHex(w[2], 0xFFFFF, address))
        return Error("no monitor item " + w[2]);
    if (!item)
        item = axis->MonitorItemAt(address);
    int length = item ? item->length : 2;
    if (w.size() == 5) {
        int64_t l = 0;
        if (!ParseNumber(w[4], l) || (l != 1 && l != 2 && l != 4))
            return Error("the length is 1, 2 or 4");
        length = int(l);
    }
    if (w[3] == "auto") {
        axis->Unpin(address);
        axis->Refresh(now);
        return Ok();
    }
    int64_t value = 0;
    if (!ParseNumber(w[3], value) || value < INT32_MIN || value > int64_t(UINT32_MAX))
        return Error("the value is a 32-bit number: " + w[3]);
    axis->Pin(address, length, uint32_t(value));
    return Ok();
}

std::string TSimControl::Motion(const TWords &w, int64_t now)
{
    std::string error;
    if (w.size() < 3)
        return Error("usage: motion N|* stop | speed RPM | sine RPM PERIOD_MS");
    auto axes = Axes(w[1], error);
    if (!axes)
        return error;
    const std::string mode = Lower(w[2]);
    int64_t a = 0, b = 0;
    if (mode == "stop" && w.size() == 3) {
        for (TSimAxis *x : *axes)
            x->Motion().Stop(now);
    } else if (mode == "speed" && w.size() == 4 && ParseNumber(w[3], a) && a >= -100000 && a <= 100000) {
        for (TSimAxis *x : *axes)
            x->Motion().SetSpeed(double(a), now);
    } else if (mode == "sine" && w.size() == 5 && ParseNumber(w[3], a) && ParseNumber(w[4], b) && b > 0 &&
               a >= -100000 && a <= 100000) {
        for (TSimAxis *x : *axes)
            x->Motion().SetSine(double(a), double(b), now);
    } else {
        return Error("usage: motion N|* stop | speed RPM | sine RPM PERIOD_MS");
    }
    return Ok();
}

std::string TSimControl::Op(const TWords &w)
{
    std::string error;
    if (w.size() < 3)
        return Error("usage: op N FUNC key=VALUE... | op N CODE VALUE|default");
    auto axes = Axes(w[1], error);
    if (!axes)
        return error;
    const int digit = TSimAdjustment::DigitOf(Lower(w[2]));
    if (digit) {
        for (TSimAxis *a : *axes) {
            TSimAdjustment::TConfig c = a->Adjustment(digit).config;
            for (size_t i = 3; i < w.size(); ++i) {
                const size_t eq = w[i].find('=');
                int64_t v = 0;
                if (eq == std::string::npos || !ParseNumber(w[i].substr(eq + 1), v) || v < 0 ||
                    v > int64_t(UINT32_MAX))
                    return Error("settings are key=VALUE with query, start, result, time (ms), end: " + w[i]);
                const std::string key = Lower(w[i].substr(0, eq));
                if (key == "query") c.query = uint32_t(v);
                else if (key == "start") c.start = uint32_t(v);
                else if (key == "result") c.result = uint32_t(v);
                else if (key == "end") c.end = uint32_t(v);
                else if (key == "time") c.durationUs = v * 1000;
                else return Error("unknown setting " + key + " (query, start, result, time, end)");
            }
            a->Adjustment(digit).config = c;
        }
        return Ok();
    }
    std::string code = w[2];
    for (char &c : code)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (!TSimOperations::IsOperationCode(code) || w.size() != 4)
        return Error("usage: op N FUNC key=VALUE... | op N CODE VALUE|default (CODE like W01 or L00)");
    int64_t value = 0;
    const bool restore = w[3] == "default";
    if (!restore && (!ParseNumber(w[3], value) || value < 0 || value > int64_t(UINT32_MAX)))
        return Error("the answer is a 32-bit value: " + w[3]);
    for (TSimAxis *a : *axes) {
        if (restore)
            a->RestoreOperation(code);
        else
            a->Operations().SetConstant(code, uint32_t(value));
    }
    return Ok();
}

std::string TSimControl::Peek(const TWords &w, int64_t now)
{
    std::string error;
    if (w.size() < 3 || w.size() > 4)
        return Error("usage: peek N ADDR [COUNT]");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    uint32_t address = 0;
    int64_t count = 8;
    if (!ParseHex(w[2], 0xFFFFF, address))
        return Error("the address is 5 hexadecimal digits at most: " + w[2]);
    if (w.size() == 4 && (!ParseNumber(w[3], count) || count < 1 || count > 4096))
        return Error("the count is 1..4096");
    axis->Refresh(now);
    std::string text;
    for (uint8_t b : axis->Memory().Read(address, int(count)))
        text += TSimFrame::Hex(b, 2);
    return Ok(text);
}

std::string TSimControl::Poke(const TWords &w)
{
    std::string error;
    if (w.size() != 4)
        return Error("usage: poke N ADDR HEXBYTES");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    uint32_t address = 0;
    if (!ParseHex(w[2], 0xFFFFF, address))
        return Error("the address is 5 hexadecimal digits at most: " + w[2]);
    const std::string &hex = w[3];
    if (hex.size() % 2 != 0 || hex.size() > 8192)
        return Error("bytes are pairs of hexadecimal digits");
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        uint32_t b = 0;
        if (!ParseHex(hex.substr(i, 2), 0xFF, b))
            return Error("bytes are pairs of hexadecimal digits");
        bytes.push_back(uint8_t(b));
    }
    axis->Memory().Write(address, bytes);
    return Ok();
}

std::string TSimControl::Stats(const TWords &w)
{
    std::string error;
    if (w.size() < 2 || w.size() > 3 || (w.size() == 3 && w[2] != "clear"))
        return Error("usage: stats N [clear]");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    if (w.size() == 3) {
        axis->ClearStats();
        return Ok();
    }
    const TSimAxisStats &s = axis->Stats();
    return Ok("polls=" + std::to_string(s.polls) + " frames=" + std::to_string(s.frames) +
              " badchecks=" + std::to_string(s.badChecks) + " malformed=" + std::to_string(s.malformed) +
              " overlong=" + std::to_string(s.overlong) + " acks=" + std::to_string(s.acks) +
              " naks=" + std::to_string(s.naks) + " writes=" + std::to_string(s.persistentWrites) +
              " workwrites=" + std::to_string(s.workWrites) + " released=" + (axis->Released() ? "yes" : "no"));
}

std::string TSimControl::Log(const TWords &w)
{
    std::string error;
    if (w.size() < 2 || w.size() > 3 || (w.size() == 3 && w[2] != "clear"))
        return Error("usage: log N [clear]");
    TSimAxis *axis = OneAxis(w[1], error);
    if (!axis)
        return error;
    if (w.size() == 3) {
        axis->ClearLog();
        return Ok();
    }
    std::string text;
    for (const std::string &c : axis->Log()) {
        if (!text.empty())
            text += ' ';
        text += c;
    }
    return Ok(text);
}

std::string TSimControl::Plant(const TWords &w)
{
    std::string error;
    if (w.size() < 2 || w.size() > 4)
        return Error("usage: plant N|* F_HZ [ZETA] | plant N");
    const auto axes = Axes(w[1], error);
    if (!axes)
        return error;
    if (w.size() == 2) {
        if (axes->size() != 1)
            return Error("plant N names one axis");
        return Ok(axes->front()->Plant().Describe());
    }
    const std::string text = w[2] + (w.size() == 4 ? "," + w[3] : std::string());
    for (TSimAxis *a : *axes) {
        TSimPlant::TParameters p = a->Plant().Parameters();
        if (!TSimPlant::Parse(text, p, &error))
            return Error(error);
        a->Plant().SetParameters(p);
    }
    return Ok(axes->size() == 1 ? axes->front()->Plant().Describe() : std::string());
}
