#include "sim/SimPlant.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr double Pi = 3.14159265358979323846;
constexpr double RpmPerRadS = 60.0 / (2 * Pi);
} // namespace

TSimPlant::TSimPlant() = default;

TSimPlant::TSimPlant(const TParameters &parameters) : p(parameters) {}

void TSimPlant::SetParameters(const TParameters &parameters)
{
    p = parameters;
    Reset();
}

TSimPlant::TParameters TSimPlant::DefaultFor(int axis)
{
    TParameters t;
    t.resonanceHz = 250.0 + 25.0 * ((axis - 1) % 15);
    return t;
}

void TSimPlant::Reset()
{
    state[0] = state[1] = state[2] = 0;
    gainSpeed = 0;
}

double TSimPlant::AntiResonanceHz() const
{
    return p.resonanceHz > 0 ? p.resonanceHz / std::sqrt(1.0 + p.loadRatio) : 0.0;
}

// With the motor inertia 1, the load inertia r, the spring k and the damper
// c chosen so that the two-mass mode lies at the resonance with the set
// damping:  w_r^2 = k (1 + r) / r,  2 zeta w_r = c (1 + r) / r.
void TSimPlant::Derivatives(const double s[3], double torque, double d[3]) const
{
    const double r = p.loadRatio;
    const double wr = 2 * Pi * p.resonanceHz;
    const double k = wr * wr * r / (1 + r);
    const double c = 2 * p.zeta * wr * r / (1 + r);
    const double spring = k * s[2] + c * (s[0] - s[1]);
    d[0] = torque - spring;
    d[1] = spring / r;
    d[2] = s[0] - s[1];
}

void TSimPlant::Step(double torquePercent, double dt)
{
    if (dt <= 0)
        return;
    if (p.resonanceHz <= 0) {
        gainSpeed = p.pureGain * torquePercent;
        return;
    }
    // Torque in rad/s^2 of the unit-inertia motor: 100 % accelerates both
    // masses together by accelPerPercent x 100 r/min per second.
    const double scale = p.accelPerPercent / RpmPerRadS * (1 + p.loadRatio);
    // Coulomb friction against the motor's motion, never pushing it back.
    double torque = torquePercent;
    const double friction = p.frictionPercent;
    if (std::abs(state[0]) > 1e-6)
        torque -= std::copysign(friction, state[0]);
    else if (std::abs(torque) <= friction)
        torque = 0;
    else
        torque -= std::copysign(friction, torque);
    const double u = torque * scale;

    // Classic Runge-Kutta with steps short against the resonance period.
    const double maxStep = 1.0 / (40.0 * p.resonanceHz);
    const int n = std::max(1, int(std::ceil(dt / maxStep)));
    const double h = dt / n;
    for (int i = 0; i < n; ++i) {
        double k1[3], k2[3], k3[3], k4[3], t[3];
        Derivatives(state, u, k1);
        for (int j = 0; j < 3; ++j)
            t[j] = state[j] + h / 2 * k1[j];
        Derivatives(t, u, k2);
        for (int j = 0; j < 3; ++j)
            t[j] = state[j] + h / 2 * k2[j];
        Derivatives(t, u, k3);
        for (int j = 0; j < 3; ++j)
            t[j] = state[j] + h * k3[j];
        Derivatives(t, u, k4);
        for (int j = 0; j < 3; ++j)
            state[j] += h / 6 * (k1[j] + 2 * k2[j] + 2 * k3[j] + k4[j]);
    }
}

double TSimPlant::MotorSpeed() const
{
    return p.resonanceHz <= 0 ? gainSpeed : state[0] * RpmPerRadS;
}

double TSimPlant::LoadSpeed() const
{
    return p.resonanceHz <= 0 ? gainSpeed : state[1] * RpmPerRadS;
}

bool TSimPlant::Parse(const std::string &text, TParameters &out, std::string *error)
{
    const size_t comma = text.find(',');
    const std::string f = text.substr(0, comma);
    const std::string z = comma == std::string::npos ? std::string() : text.substr(comma + 1);
    char *end = nullptr;
    const double hz = std::strtod(f.c_str(), &end);
    if (f.empty() || *end || !(hz >= 0 && hz <= 5000)) {
        if (error)
            *error = "the resonance \"" + f + "\" is not 0 to 5000 Hz";
        return false;
    }
    TParameters t = out;
    t.resonanceHz = hz;
    if (!z.empty()) {
        const double zeta = std::strtod(z.c_str(), &end);
        if (*end || !(zeta > 0 && zeta <= 2)) {
            if (error)
                *error = "the damping ratio \"" + z + "\" is not above 0 and at most 2";
            return false;
        }
        t.zeta = zeta;
    }
    out = t;
    return true;
}

std::string TSimPlant::Describe() const
{
    char text[160];
    if (p.resonanceHz <= 0)
        std::snprintf(text, sizeof text, "gain %.3g", p.pureGain);
    else
        std::snprintf(text, sizeof text, "resonance %.1f Hz zeta %.3f anti-resonance %.1f Hz inertia %.0f%%",
                      p.resonanceHz, p.zeta, AntiResonanceHz(), InertiaRatioPercent());
    return text;
}
