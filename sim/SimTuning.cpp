#include "sim/SimTuning.h"

#include "sim/SimAlarms.h"
#include "sim/SimControl.h"
#include "sim/SimMemory.h"
#include "sim/SimMotion.h"
#include "sim/SimOperations.h"
#include "sim/SimPlant.h"

#include <algorithm>
#include <cmath>

namespace {
const char *const Codes[] = {"WA0", "WA1", "WA3", "WA4", "WA6", "WD0", "WD1", "WD3",
                             "WD4", "WD6", "W70", "W71", "W74"};
constexpr double Pi = 3.14159265358979323846;
constexpr uint32_t SaveAreaBytes = 28; // C .. C + 27
constexpr double DriftSeconds = 1.5;   // time constant of the real-time auto-tuning

std::string Upper(std::string text)
{
    for (char &c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int KindOf(const std::string &code)
{
    return code[1] == 'A' ? 2 : code[1] == 'D' ? 5 : 4;
}

const char *RunName(TSimTuning::TRun r)
{
    switch (r) {
    case TSimTuning::TRun::Idle: return "idle";
    case TSimTuning::TRun::Running: return "running";
    case TSimTuning::TRun::Finished: return "finished";
    case TSimTuning::TRun::Failed: return "failed";
    }
    return "?";
}

bool NumberList(const std::string &list, int64_t low, int64_t high, std::vector<int64_t> &out)
{
    size_t from = 0;
    while (from <= list.size()) {
        const size_t comma = std::min(list.find(',', from), list.size());
        int64_t v = 0;
        if (!TSimControl::ParseNumber(list.substr(from, comma - from), v) || v < low || v > high)
            return false;
        out.push_back(v);
        from = comma + 1;
    }
    return true;
}
} // namespace

TSimTuning::TSimTuning(TSimMemory &m, TSimPlant &p, TSimMotion &mo, TSimAlarms &a, std::optional<uint32_t> c)
    : memory(m), plant(p), motion(mo), alarms(a), common(c)
{
}

void TSimTuning::Install(TSimOperations &operations)
{
    for (const char *code : Codes)
        Restore(operations, code);
    operations.AddTicker([this](int64_t now) { Tick(now); });
}

bool TSimTuning::Restore(TSimOperations &operations, const std::string &code)
{
    if (std::find(std::begin(Codes), std::end(Codes), code) == std::end(Codes))
        return false;
    operations.Register(code, [this, code](int64_t now) { return Handle(code, now); });
    return true;
}

void TSimTuning::Reset(int64_t now)
{
    // Memory has just been laid out afresh: nothing to give back.
    saved.clear();
    if (run == TRun::Running)
        motion.Stop(now);
    kind = -1;
    servo = false;
    run = TRun::Idle;
    forced.Clear();
    forcedResult.reset();
    if (common)
        memory.SetValue(*common + 6, 0, 2); // friction compensation
}

void TSimTuning::SetDurationMs(int k, int64_t ms)
{
    (k == 2 ? notchUs : frequencyUs) = std::max<int64_t>(0, ms) * 1000;
}

int64_t TSimTuning::DurationMs(int k) const
{
    return (k == 2 ? notchUs : frequencyUs) / 1000;
}

uint16_t TSimTuning::Word(uint32_t offset) const
{
    return common ? uint16_t(memory.Value(*common + offset, 2)) : 0;
}

void TSimTuning::Tick(int64_t now)
{
    // A tuning nobody asks about any more stops exciting the machine.
    if (run == TRun::Running && now - lastProgress > watchdogUs)
        Cancel(now);
    if (kind == 4)
        Drift(now);
}

uint32_t TSimTuning::Handle(const std::string &code, int64_t now)
{
    if (const std::optional<uint32_t> v = forced.Take(code))
        return *v;
    if (!common)
        return 2;
    const int k = KindOf(code);
    const int role = code[2] - '0';
    if (role == 0) {
        if (run == TRun::Running)
            Cancel(now);
        ServoOff(now);
        Leave(now);
        return 0;
    }
    Enter(k, now);
    if (k == 4)
        return Save(role, now);
    switch (role) {
    case 1:
        // The program stopped asking for the progress: the tuning is cancelled.
        if (run == TRun::Running)
            Cancel(now);
        run = TRun::Idle;
        ServoOff(now);
        return 0;
    case 3:
        if (run == TRun::Running)
            Cancel(now);
        run = TRun::Idle;
        if (alarms.Active()) {
            ServoOff(now);
            return 7;
        }
        servo = true;
        return 0;
    case 4:
        if (alarms.Active()) {
            ServoOff(now);
            return 7;
        }
        if (!servo)
            return 8;
        if (run != TRun::Running) {
            run = TRun::Running;
            runStart = lastProgress = now;
            // The excitation shakes the motor a little; the monitor shows it.
            motion.SetSine(30, 200, now);
        }
        return 0;
    case 6:
        return Progress(now);
    }
    return 2;
}

uint32_t TSimTuning::Progress(int64_t now)
{
    switch (run) {
    case TRun::Idle: return 1;
    case TRun::Finished: return 5;
    case TRun::Failed: return 6;
    case TRun::Running: break;
    }
    lastProgress = now;
    if (alarms.Active()) {
        motion.Stop(now);
        run = TRun::Failed;
        servo = false;
        return 6;
    }
    if (now - runStart < (kind == 2 ? notchUs : frequencyUs))
        return 4;
    motion.Stop(now);
    servo = false; // the amplifier leaves the excitation with the servo off
    const std::optional<uint16_t> result = Outcome();
    if (!result) {
        run = TRun::Failed;
        return 6;
    }
    memory.SetValue(*common + 4, *result, 2);
    run = TRun::Finished;
    return 5;
}

std::optional<uint16_t> TSimTuning::Outcome() const
{
    if (forcedResult)
        return forcedResult;
    // Without excitation, or with a friction compensation the amplifier
    // does not take, nothing is found.
    const auto torque = int16_t(Word(0));
    if (torque <= 0)
        return std::nullopt;
    if (kind == 5 && Word(6) > 50)
        return std::nullopt;
    // A notch filter is set in whole Hz between 100 and 5000; the
    // suppression frequency in whole Hz between 1 and 2000.
    const double f = kind == 2 ? plant.ResonanceHz() : plant.AntiResonanceHz();
    const long hz = std::lround(f);
    const long low = kind == 2 ? 100 : 1, high = kind == 2 ? 5000 : 2000;
    if (f <= 0 || hz < low || hz > high)
        return std::nullopt;
    return uint16_t(hz);
}

void TSimTuning::Cancel(int64_t now)
{
    motion.Stop(now);
    run = TRun::Idle;
    ++cancelled;
}

void TSimTuning::ServoOff(int64_t)
{
    servo = false;
}

void TSimTuning::Enter(int k, int64_t now)
{
    if (kind == k)
        return;
    if (run == TRun::Running)
        Cancel(now);
    Leave(now);
    kind = k;
    run = TRun::Idle;
    servo = false;
    if (k != 4)
        return;
    // The mode lays out its area; what was there comes back when it ends.
    saved = memory.Read(*common, int(SaveAreaBytes));
    for (size_t i = 0; i < gains.size(); ++i)
        gains[i] = stored[i];
    memory.SetByte(*common, mode);
    memory.SetByte(*common + 1, characteristic);
    memory.SetByte(*common + 2, responsiveness);
    memory.SetByte(*common + 3, choice);
    memory.SetValue(*common + 4, 0, 4);
    lastDrift = now;
    WriteSaveArea();
}

void TSimTuning::Leave(int64_t now)
{
    if (kind == 4 && common) {
        Drift(now);
        // The choice is a setting; the responsiveness changed here is not.
        choice = std::min<uint8_t>(memory.Byte(*common + 3), 4);
        if (!saved.empty())
            memory.Write(*common, saved);
    }
    saved.clear();
    kind = -1;
}

uint32_t TSimTuning::Save(int role, int64_t now)
{
    Drift(now);
    switch (role) {
    case 1:
        return 0;
    case 4: {
        // Manual tuning has no auto-tuning result to save.
        if (mode == 2)
            return 1;
        // Which parameters each choice of C + 3 overwrites.
        static const bool Chosen[5][5] = {{true, true, true, true, true},
                                          {false, true, true, true, true},
                                          {false, false, false, false, true},
                                          {true, true, true, true, false},
                                          {false, true, true, true, false}};
        const uint8_t c = memory.Byte(*common + 3);
        if (c > 4)
            return 1;
        for (size_t i = 0; i < stored.size(); ++i)
            if (Chosen[c][i])
                stored[i] = uint16_t(std::lround(gains[i]));
        ++saves;
        WriteSaveArea();
        return 0;
    }
    }
    return 2;
}

TSimTuning::TGains TSimTuning::Targets(int r) const
{
    r = std::clamp(r, 1, 30);
    // The velocity loop's band grows with the responsiveness but stays well
    // below the resonance; the other gains follow from it.
    double kvp = 4.0 + 6.0 * r;
    const double resonance = plant.ResonanceHz();
    if (resonance > 0)
        kvp = std::min(kvp, resonance / 4.0);
    kvp = std::max(kvp, 1.0);
    const double kp = 2 * Pi * kvp / 4.0;
    const double tvi = 10000.0 * 4.0 / (2 * Pi * kvp); // 0.1 ms
    double tcfil = 3.0 * kvp;
    if (resonance > 0)
        tcfil = std::min(tcfil, 0.8 * resonance);
    const double jrat = plant.InertiaRatioPercent();
    auto word = [](double v) { return uint16_t(std::clamp(std::lround(v), 0L, 65535L)); };
    return {word(kp), word(kvp), word(tvi), word(tcfil), word(jrat)};
}

void TSimTuning::Drift(int64_t now)
{
    if (kind != 4 || !common)
        return;
    const double dt = std::max<int64_t>(0, now - lastDrift) / 1e6;
    lastDrift = now;
    // Manual tuning leaves the gains where the parameters put them.
    if (mode != 2 && !hold && dt > 0) {
        const TGains target = Targets(memory.Byte(*common + 2));
        const double f = 1.0 - std::exp(-dt / DriftSeconds);
        for (size_t i = 0; i < gains.size(); ++i)
            gains[i] += (target[i] - gains[i]) * f;
    }
    WriteSaveArea();
}

void TSimTuning::WriteSaveArea()
{
    for (size_t i = 0; i < gains.size(); ++i) {
        memory.SetValue(*common + 8 + 2 * uint32_t(i), uint16_t(std::lround(gains[i])), 2);
        memory.SetValue(*common + 18 + 2 * uint32_t(i), stored[i], 2);
    }
}

std::string TSimTuning::Describe() const
{
    std::string text = "kind=" + std::to_string(kind) + " servo=" + (servo ? "on" : "off") + " run=" + RunName(run) +
                       " cancelled=" + std::to_string(cancelled) + " notch-ms=" + std::to_string(notchUs / 1000) +
                       " frequency-ms=" + std::to_string(frequencyUs / 1000) + " saves=" + std::to_string(saves) +
                       " mode=" + std::to_string(mode) + " char=" + std::to_string(characteristic) +
                       " resp=" + std::to_string(responsiveness) + " choice=" + std::to_string(choice) + (hold ? " hold" : "") + " stored=";
    for (size_t i = 0; i < stored.size(); ++i)
        text += (i ? "," : "") + std::to_string(stored[i]);
    return text;
}

const char *TSimTuning::Usage()
{
    return "tuning N | tuning N time notch|frequency MS | tuning N result V|auto | tuning N CODE V[,V...] | "
           "tuning N save [mode=M] [char=C] [resp=R] [choice=X] [stored=KP,KVP,TVI,TCFIL,JRAT] [gains=KP,...] [hold=on|off]";
}

bool TSimTuning::Control(const std::vector<std::string> &args, int64_t now, std::string &reply)
{
    Tick(now);
    if (args.empty()) {
        reply = Describe();
        return true;
    }
    const std::string what = Upper(args[0]);
    if (what == "TIME" && args.size() == 3) {
        const std::string which = Upper(args[1]);
        int64_t ms = 0;
        if ((which != "NOTCH" && which != "FREQUENCY") || !TSimControl::ParseNumber(args[2], ms) || ms < 0 ||
            ms > 600000) {
            reply = "usage: tuning N time notch|frequency MS (0..600000)";
            return false;
        }
        SetDurationMs(which == "NOTCH" ? 2 : 5, ms);
        return true;
    }
    if (what == "RESULT" && args.size() == 2) {
        if (Upper(args[1]) == "AUTO") {
            forcedResult.reset();
            return true;
        }
        int64_t v = 0;
        if (!TSimControl::ParseNumber(args[1], v) || v < 0 || v > 0xFFFF) {
            reply = "the result is a 16-bit word or auto";
            return false;
        }
        forcedResult = uint16_t(v);
        return true;
    }
    if (what == "SAVE" && args.size() >= 2) {
        for (size_t i = 1; i < args.size(); ++i) {
            const size_t eq = args[i].find('=');
            const std::string key = eq == std::string::npos ? args[i] : args[i].substr(0, eq);
            const std::string value = eq == std::string::npos ? std::string() : args[i].substr(eq + 1);
            std::vector<int64_t> v;
            bool ok = false;
            if (key == "gains") {
                ok = NumberList(value, 0, 65535, v) && v.size() == 5;
                if (ok) {
                    for (size_t j = 0; j < 5; ++j)
                        gains[j] = double(v[j]);
                    if (kind == 4)
                        WriteSaveArea();
                }
            } else if (key == "hold") {
                ok = value == "on" || value == "off";
                hold = value == "on";
            } else if (key == "stored") {
                ok = NumberList(value, 0, 65535, v) && v.size() == 5;
                if (ok)
                    for (size_t j = 0; j < 5; ++j)
                        stored[j] = uint16_t(v[j]);
            } else if (NumberList(value, 0, 255, v) && v.size() == 1) {
                ok = true;
                if (key == "mode" && v[0] <= 2)
                    mode = uint8_t(v[0]);
                else if (key == "char")
                    characteristic = uint8_t(v[0]);
                else if (key == "resp" && v[0] >= 1 && v[0] <= 30)
                    responsiveness = uint8_t(v[0]);
                else if (key == "choice" && v[0] <= 4)
                    choice = uint8_t(v[0]);
                else
                    ok = false;
            }
            if (!ok) {
                reply = std::string("bad setting ") + args[i] + "; " + Usage();
                return false;
            }
        }
        return true;
    }
    if (args.size() == 2 && std::find(std::begin(Codes), std::end(Codes), what) != std::end(Codes)) {
        std::vector<int64_t> v;
        if (!NumberList(args[1], 0, int64_t(UINT32_MAX), v)) {
            reply = "replies are 32-bit values separated by commas: " + args[1];
            return false;
        }
        forced.Set(what, std::deque<uint32_t>(v.begin(), v.end()));
        return true;
    }
    reply = Usage();
    return false;
}
