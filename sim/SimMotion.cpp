#include "sim/SimMotion.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

namespace {
constexpr double Pi = 3.14159265358979323846;

double Seconds(int64_t us)
{
    return double(us) / 1e6;
}

std::string Upper(const std::string &text)
{
    std::string out = text;
    for (char &c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool Has(const std::string &text, const char *word)
{
    return text.find(word) != std::string::npos;
}
} // namespace

TSimMotion::TSimMotion(int64_t now) : modeStart(now), last(now) {}

void TSimMotion::Stop(int64_t now)
{
    Update(now);
    mode = TMode::Stop;
    modeStart = now;
}

void TSimMotion::SetSpeed(double rpm, int64_t now)
{
    Update(now);
    mode = TMode::Speed;
    target = rpm;
    modeStart = now;
}

void TSimMotion::SetSine(double amplitudeRpm, double periodMs, int64_t now)
{
    Update(now);
    mode = TMode::Sine;
    target = amplitudeRpm;
    periodS = std::max(periodMs, 1.0) / 1000.0;
    modeStart = now;
}

void TSimMotion::ClearPosition(int64_t now)
{
    Update(now);
    commandRevs = 0;
}

double TSimMotion::CommandSpeed(int64_t t) const
{
    switch (mode) {
    case TMode::Stop:
        return 0;
    case TMode::Speed:
        return target;
    case TMode::Sine:
        return target * std::sin(2 * Pi * Seconds(t - modeStart) / periodS);
    }
    return 0;
}

double TSimMotion::CommandTravel(int64_t from, int64_t to) const
{
    switch (mode) {
    case TMode::Stop:
        return 0;
    case TMode::Speed:
        return target / 60.0 * Seconds(to - from);
    case TMode::Sine: {
        const double w = 2 * Pi / periodS;
        const double a = Seconds(from - modeStart), b = Seconds(to - modeStart);
        return target / 60.0 * (std::cos(w * a) - std::cos(w * b)) / w;
    }
    }
    return 0;
}

void TSimMotion::Update(int64_t now)
{
    if (now <= last)
        return;
    // Integrate the lag in steps short against its time constant; a long
    // idle gap simply settles.
    const int64_t step = 2000;
    int64_t t = last;
    if (now - last > 10'000'000)
        t = now - 10'000'000;
    commandRevs += CommandTravel(last, t);
    while (t < now) {
        const int64_t next = std::min(now, t + step);
        const double dt = Seconds(next - t);
        commandRevs += CommandTravel(t, next);
        const double c = CommandSpeed(next);
        speed += (c - speed) * (1 - std::exp(-dt / LagSeconds));
        if (std::fabs(speed) > 1)
            elapsedMoving += dt;
        t = next;
    }
    command = CommandSpeed(now);
    // The lag's own slope, so the torque does not depend on how often the
    // values are read.
    const double acceleration = (command - speed) / LagSeconds; // r/min per s
    const double friction = std::fabs(speed) > 1 ? (speed > 0 ? 5.0 : -5.0) : 0.0;
    torque = acceleration * 0.01 + friction;
    last = now;
}

double TSimMotion::Value(TSimQuantity quantity) const
{
    const double deviation = command / 60.0 * PulsesPerRev / PositionGain;
    switch (quantity) {
    case TSimQuantity::None:
        return 0;
    case TSimQuantity::Speed:
        return speed;
    case TSimQuantity::SpeedCommand:
        return command;
    case TSimQuantity::Torque:
        return torque;
    case TSimQuantity::TorqueCommand:
        return torque * 1.02;
    case TSimQuantity::Position:
        return commandRevs * PulsesPerRev - deviation;
    case TSimQuantity::PositionCommand:
        return commandRevs * PulsesPerRev;
    case TSimQuantity::Deviation:
        return deviation;
    case TSimQuantity::Load:
        return std::fabs(torque) * 0.6;
    case TSimQuantity::Inputs: {
        // bit 0 servo-on input, bit 1 toggles once a second while moving
        uint32_t bits = 0x0001;
        if (int64_t(elapsedMoving) % 2 == 1)
            bits |= 0x0002;
        return bits;
    }
    case TSimQuantity::PositionInTurn: {
        const double turns = commandRevs - std::floor(commandRevs);
        return std::floor(turns * EncoderPulses);
    }
    case TSimQuantity::MultiTurn:
        return std::floor(commandRevs);
    case TSimQuantity::AlarmCode:
    case TSimQuantity::State:
        return 0;
    case TSimQuantity::Outputs: {
        // bit 0 ready, bit 1 in position, bit 2 zero speed
        uint32_t bits = 0x0001;
        if (std::fabs(deviation) < 10)
            bits |= 0x0002;
        if (std::fabs(speed) < 10)
            bits |= 0x0004;
        return bits;
    }
    }
    return 0;
}

TSimQuantity TSimMotion::QuantityOf(const std::string &symbol, const std::string &name)
{
    const std::string s = Upper(symbol);
    const std::string n = Upper(name);
    // Symbols of the sample database first, then what names usually say.
    static const std::pair<const char *, TSimQuantity> known[] = {
        {"VFB", TSimQuantity::Speed},        {"VCMD", TSimQuantity::SpeedCommand},
        {"TCMD", TSimQuantity::TorqueCommand}, {"PERR", TSimQuantity::Deviation},
        {"FBP", TSimQuantity::Position},     {"CMP", TSimQuantity::PositionCommand},
        {"LOAD", TSimQuantity::Load},        {"TRMS", TSimQuantity::Load},
        {"TPK", TSimQuantity::Torque},       {"VDSP", TSimQuantity::Speed},
        {"PDSP", TSimQuantity::Position},    {"DIN", TSimQuantity::Inputs},
        {"DOUT", TSimQuantity::Outputs},     {"PTRN", TSimQuantity::PositionInTurn},
        {"MTRN", TSimQuantity::MultiTurn},   {"ALM", TSimQuantity::AlarmCode},
        {"STAT", TSimQuantity::State},       {"RGLD", TSimQuantity::None},
        {"AIV", TSimQuantity::None},         {"AIT", TSimQuantity::None},
    };
    for (const auto &[sym, quantity] : known)
        if (s == sym)
            return quantity;
    auto any = [&](std::initializer_list<const char *> words) {
        for (const char *w : words)
            if (Has(s, w) || Has(n, w))
                return true;
        return false;
    };
    if (any({"DEV", "PERR", "DROOP"}))
        return TSimQuantity::Deviation;
    if (any({"CMD", "COMMAND", "REF"})) {
        if (any({"TRQ", "TORQUE", "TC"}))
            return TSimQuantity::TorqueCommand;
        if (any({"POS", "PULSE", "PLS"}))
            return TSimQuantity::PositionCommand;
        if (any({"SPD", "SPEED", "VEL", "VC", "VCMD"}))
            return TSimQuantity::SpeedCommand;
    }
    if (any({"LOAD"}))
        return TSimQuantity::Load;
    if (any({"TRQ", "TORQUE", "TMON"}))
        return TSimQuantity::Torque;
    if (any({"SPD", "SPEED", "VEL", "VMON", "RPM"}))
        return TSimQuantity::Speed;
    if (any({"POS", "PMON", "PULSE", "PLS", "FB"}))
        return TSimQuantity::Position;
    if (any({"INPUT", "DIN", "IN_", "_IN", "INP"}))
        return TSimQuantity::Inputs;
    if (any({"OUTPUT", "DOUT", "OUT_", "_OUT"}))
        return TSimQuantity::Outputs;
    return TSimQuantity::None;
}

const char *TSimMotion::Name(TSimQuantity quantity)
{
    switch (quantity) {
    case TSimQuantity::None: return "none";
    case TSimQuantity::Speed: return "speed";
    case TSimQuantity::SpeedCommand: return "speed-command";
    case TSimQuantity::Torque: return "torque";
    case TSimQuantity::TorqueCommand: return "torque-command";
    case TSimQuantity::Position: return "position";
    case TSimQuantity::PositionCommand: return "position-command";
    case TSimQuantity::Deviation: return "deviation";
    case TSimQuantity::Load: return "load";
    case TSimQuantity::Inputs: return "inputs";
    case TSimQuantity::Outputs: return "outputs";
    case TSimQuantity::PositionInTurn: return "position-in-turn";
    case TSimQuantity::MultiTurn: return "multi-turn";
    case TSimQuantity::AlarmCode: return "alarm-code";
    case TSimQuantity::State: return "state";
    }
    return "none";
}
