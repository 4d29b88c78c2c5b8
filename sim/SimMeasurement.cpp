#include "sim/SimMeasurement.h"

#include "sim/SimAlarms.h"
#include "sim/SimControl.h"
#include "sim/SimMemory.h"
#include "sim/SimOperations.h"
#include "sim/SimPlant.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
const char *const Codes[] = {"WB0", "WB1", "WB3", "WB4", "WB6"};

std::string Upper(std::string text)
{
    for (char &c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool Number(const std::string &text, double &out)
{
    char *end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && !*end && std::isfinite(out);
}
} // namespace

TSimMeasurement::TSimMeasurement(TSimMemory &m, TSimAlarms &a, TSimPlant &p, std::optional<uint32_t> c,
                                 const TSimTraceLayout &r)
    : memory(m), alarms(a), plant(p), common(c), recorder(r)
{
}

void TSimMeasurement::Install(TSimOperations &operations)
{
    for (const char *code : Codes)
        Restore(operations, code);
}

bool TSimMeasurement::Restore(TSimOperations &operations, const std::string &code)
{
    if (std::find(std::begin(Codes), std::end(Codes), code) == std::end(Codes))
        return false;
    operations.Register(code, [this, code](int64_t now) { return Handle(code, now); });
    return true;
}

void TSimMeasurement::Reset()
{
    inMode = servo = false;
    run = TRun::Idle;
    forced.Clear();
}

std::vector<int> TSimMeasurement::Sequence()
{
    // Ten-stage shift register with feedback from stages 3 and 10; the
    // product of two +-1 values is their exclusive-or.
    int r[10];
    std::fill(std::begin(r), std::end(r), -1);
    std::vector<int> out(1023);
    for (int &v : out) {
        v = r[9];
        const int fresh = r[2] * r[9];
        for (int j = 9; j > 0; --j)
            r[j] = r[j - 1];
        r[0] = fresh;
    }
    return out;
}

TSimMeasurement::TRecording TSimMeasurement::Record(int torquePercent, int frequencyCode)
{
    static const std::vector<int> sequence = Sequence();
    const double period = recorder.samplingBaseMs * 0.001 * double(1 << std::clamp(frequencyCode - 1, 0, 6));
    std::normal_distribution<double> noise(0.0, noiseLsb);
    plant.Reset();
    TRecording rec;
    for (int k = 0; k < 1024; ++k) {
        const int j = k - triggerNo; // the excitation starts with the trigger sample
        const double disturbance = j >= 0 && j < 1023 ? torquePercent * sequence[size_t(j)] : 0.0;
        const double command = -velocityGain * plant.MotorSpeed();
        double total = disturbance + command;
        const bool limited = std::abs(total) > torqueLimit;
        if (limited)
            total = std::copysign(torqueLimit, total);
        const double raw = std::round(command / 100.0 * 4096.0 + (noiseLsb > 0 ? noise(random) : 0.0));
        rec.analog[size_t(k)] = int16_t(std::clamp(raw, -32768.0, 32767.0));
        rec.bit[size_t(k)] = limited ? 1 : 0;
        plant.Step(total, period);
    }
    plant.Reset();
    return rec;
}

void TSimMeasurement::Store(const TRecording &rec)
{
    if (!recorder.present)
        return;
    // Mode 3: one word and one bit per slot; sample k lies in slot
    // (k + ringStart) mod 1024.
    std::vector<uint8_t> bits(128, 0);
    for (int k = 0; k < 1024; ++k) {
        const int g = (k + ringStart) & 1023;
        memory.SetValue(recorder.analogAddress + uint32_t(2 * g), uint16_t(rec.analog[size_t(k)]), 2);
        if (rec.bit[size_t(k)])
            bits[size_t(g / 8)] |= uint8_t(1u << (g % 8));
    }
    memory.Write(recorder.digitalAddress, bits);
    memory.SetValue(recorder.traceAddress + 8 + 6, uint32_t(ringStart), 2);
    memory.SetValue(recorder.traceAddress + 16, uint32_t(triggerNo), 2);
}

void TSimMeasurement::WriteMonitors()
{
    if (!common)
        return;
    const uint32_t c = *common;
    memory.SetValue(c + 8, 1048576, 4);                                           // MENP
    memory.SetValue(c + 18, uint32_t(std::lround(plant.InertiaRatioPercent())), 2); // JRAT_MON
    memory.SetValue(c + 22, uint32_t(std::lround(velocityGain * 2000.0 / (2 * 3.14159265358979))), 2); // KVP_MON
    memory.SetValue(c + 24, 200, 2);  // TVI_MON, 20.0 ms
    memory.SetValue(c + 26, 1000, 2); // TCFIL_MON
    memory.SetValue(c + 28, 4000, 2); // TCNFILA_MON
    memory.SetValue(c + 30, 4000, 2); // TCNFILB_MON
}

uint32_t TSimMeasurement::Handle(const std::string &code, int64_t now)
{
    if (const std::optional<uint32_t> v = forced.Take(code))
        return *v;
    if (!common)
        return 2;
    const int role = code[2] - '0';
    if (role == 0) {
        inMode = servo = false;
        run = TRun::Idle;
        return 0;
    }
    if (!inMode) {
        // The mode's own settings come into the shared area when it starts.
        inMode = true;
        servo = false;
        memory.SetValue(*common, settings.torque, 2);
        memory.SetValue(*common + 2, settings.endOption, 2);
        memory.SetValue(*common + 6, settings.frequency, 2);
        WriteMonitors();
    }
    switch (role) {
    case 1:
        servo = false;
        run = TRun::Idle;
        return 0;
    case 3:
        run = TRun::Idle;
        if (alarms.Active()) {
            servo = false;
            return 7;
        }
        servo = true;
        return 0;
    case 4:
        if (alarms.Active()) {
            servo = false;
            return 7;
        }
        if (!servo)
            return 8;
        run = TRun::Started;
        return 0;
    case 6:
        return Progress(now);
    }
    return 2;
}

uint32_t TSimMeasurement::Progress(int64_t now)
{
    if (alarms.Active()) {
        servo = false;
        run = TRun::Idle;
        return 7;
    }
    switch (run) {
    case TRun::Idle:
        return 8;
    case TRun::Started: {
        const int torque = int(memory.Value(*common, 2));
        const int code = int(memory.Value(*common + 6, 2));
        if (torque > 200 || code < 1 || code > 7) {
            run = TRun::Idle;
            return 10;
        }
        Store(Record(torque, code));
        const double periodUs = recorder.samplingBaseMs * 1000.0 * double(1 << (code - 1));
        finishAt = now + (durationOverrideUs >= 0 ? durationOverrideUs : int64_t(1024 * periodUs));
        run = TRun::Measuring;
        return 11;
    }
    case TRun::Measuring:
        if (now < finishAt)
            return 11;
        run = TRun::Done;
        return 12;
    case TRun::Done:
        return 12;
    }
    return 12;
}

std::string TSimMeasurement::Describe() const
{
    const char *runs[] = {"idle", "started", "measuring", "done"};
    return std::string("mode=") + (inMode ? "on" : "off") + " servo=" + (servo ? "on" : "off") +
           " run=" + runs[int(run)] + " ring=" + std::to_string(ringStart) + " trigger=" + std::to_string(triggerNo) +
           " kv=" + std::to_string(velocityGain) + " limit=" + std::to_string(torqueLimit) +
           " noise=" + std::to_string(noiseLsb) + " settings=" + std::to_string(settings.torque) + "," +
           std::to_string(settings.endOption) + "," + std::to_string(settings.frequency);
}

const char *TSimMeasurement::Usage()
{
    return "sysan N | sysan N WBx V[,V...] | sysan N ring S | sysan N trigger T | sysan N kv GAIN | "
           "sysan N limit PERCENT | sysan N noise LSB | sysan N time MS|auto | sysan N settings TC,END,FREQ";
}

bool TSimMeasurement::Control(const std::vector<std::string> &args, int64_t now, std::string &reply)
{
    (void)now;
    if (args.empty()) {
        reply = Describe();
        return true;
    }
    const std::string what = Upper(args[0]);
    if (args.size() != 2) {
        reply = Usage();
        return false;
    }
    const std::string &value = args[1];
    int64_t n = 0;
    double x = 0;
    if (what == "RING" || what == "TRIGGER") {
        if (!TSimControl::ParseNumber(value, n) || n < 0 || n > 1023) {
            reply = what == "RING" ? "the ring start is 0..1023" : "the trigger sample is 0..1023";
            return false;
        }
        (what == "RING" ? ringStart : triggerNo) = int(n);
        return true;
    }
    if (what == "KV" || what == "LIMIT" || what == "NOISE") {
        if (!Number(value, x) || x < 0) {
            reply = what + " takes a number of at least 0";
            return false;
        }
        (what == "KV" ? velocityGain : what == "LIMIT" ? torqueLimit : noiseLsb) = x;
        return true;
    }
    if (what == "TIME") {
        if (Upper(value) == "AUTO") {
            durationOverrideUs = -1;
            return true;
        }
        if (!TSimControl::ParseNumber(value, n) || n < 0 || n > 600000) {
            reply = "time is 0..600000 ms or auto";
            return false;
        }
        durationOverrideUs = n * 1000;
        return true;
    }
    std::vector<int64_t> list;
    for (size_t from = 0; from <= value.size();) {
        const size_t comma = std::min(value.find(',', from), value.size());
        if (!TSimControl::ParseNumber(value.substr(from, comma - from), n) || n < 0 || n > int64_t(UINT32_MAX)) {
            reply = "values are numbers separated by commas: " + value;
            return false;
        }
        list.push_back(n);
        from = comma + 1;
    }
    if (what == "SETTINGS") {
        if (list.size() != 3 || list[0] > 0xFFFF || list[1] > 0xFFFF || list[2] > 0xFFFF) {
            reply = "settings are TC,END,FREQ (16-bit each)";
            return false;
        }
        settings = {uint16_t(list[0]), uint16_t(list[1]), uint16_t(list[2])};
        if (inMode && common) {
            memory.SetValue(*common, settings.torque, 2);
            memory.SetValue(*common + 2, settings.endOption, 2);
            memory.SetValue(*common + 6, settings.frequency, 2);
        }
        return true;
    }
    if (std::find(std::begin(Codes), std::end(Codes), what) != std::end(Codes)) {
        forced.Set(what, std::deque<uint32_t>(list.begin(), list.end()));
        return true;
    }
    reply = Usage();
    return false;
}
