#pragma once

#include <cstdint>
#include <string>

// The machine behind a simulated motor: a two-mass system (motor and load
// joined by a spring with damping) with Coulomb friction, or a pure gain.
// Input is torque in % of rated, output the motor speed in r/min. The same
// plant answers the automatic tunings (its resonance and anti-resonance) and
// drives the system-analysis recording, so the tools agree with each other.
//
// The resonance frequency f_r is the peak of the torque-to-speed response;
// with the load inertia equal to the motor's, the anti-resonance lies at
// f_r / sqrt(2). A resonance of 0 Hz makes the plant a pure gain:
// speed = gain x torque, with no dynamics (a flat response).
class TSimPlant
{
public:
    struct TParameters {
        double resonanceHz = 0;   // 0: pure gain
        double zeta = 0.05;       // damping ratio of the resonance
        double loadRatio = 1.0;   // load inertia / motor inertia
        double accelPerPercent = 2000.0; // r/min per second per % of rated torque, both masses
        double frictionPercent = 0.5;    // Coulomb friction, % of rated torque
        double pureGain = 10.0;   // r/min per % of rated torque when resonanceHz is 0
    };

    TSimPlant();
    explicit TSimPlant(const TParameters &parameters);

    const TParameters &Parameters() const { return p; }
    void SetParameters(const TParameters &parameters);
    // A plausible default for axis n: resonances spread between 250 and 600 Hz.
    static TParameters DefaultFor(int axis);

    // Advances by dt seconds under a constant torque (substeps keep the
    // integration stable well above the resonance).
    void Step(double torquePercent, double dtSeconds);
    void Reset();

    double MotorSpeed() const; // r/min
    double LoadSpeed() const;  // r/min

    double ResonanceHz() const { return p.resonanceHz; }
    // Where the response dips before the peak; 0 for a pure gain.
    double AntiResonanceHz() const;
    // Load-to-motor inertia ratio in percent, as an amplifier's inertia
    // estimate would find it.
    double InertiaRatioPercent() const { return p.loadRatio * 100.0; }

    // "F_HZ,ZETA" (as the command line takes it); false on a bad text.
    static bool Parse(const std::string &text, TParameters &out, std::string *error);
    std::string Describe() const;

private:
    void Derivatives(const double s[3], double torque, double d[3]) const;

    TParameters p;
    // Motor and load speed in rad/s of a unit-inertia motor, and the twist.
    double state[3] = {0, 0, 0};
    double gainSpeed = 0; // pure gain: the last output
};
