#pragma once

#include <cstdint>
#include <string>

// What a monitor item shows, as far as the motion model drives it.
enum class TSimQuantity {
    None,
    Speed,           // motor speed, r/min
    SpeedCommand,    // speed command, r/min
    Torque,          // torque, % of rated
    TorqueCommand,   // torque command, % of rated
    Position,        // feedback position, pulses
    PositionCommand, // command position, pulses
    Deviation,       // position deviation, pulses
    Load,            // effective load ratio, %
    Inputs,          // input signals, one bit each
    Outputs,         // output signals, one bit each
    PositionInTurn,  // encoder position within one turn, 2^23 pulses a turn
    MultiTurn,       // whole turns
    AlarmCode,       // the current alarm (the axis fills it in)
    State,           // 1 servo on, 2 alarm (the axis fills it in)
};

// A motor on the amplifier's output: a commanded speed profile, the actual
// speed following it through a first-order lag, position, torque and a few
// signals derived from them. Time is in microseconds of the caller's clock;
// each Update integrates up to the given time.
class TSimMotion
{
public:
    enum class TMode { Stop, Speed, Sine };

    static constexpr double PulsesPerRev = 10000.0;
    static constexpr double EncoderPulses = 8388608.0;
    static constexpr double LagSeconds = 0.1;     // speed loop time constant
    static constexpr double PositionGain = 50.0;  // 1/s, sets the deviation

    explicit TSimMotion(int64_t now = 0);

    void Stop(int64_t now);
    void SetSpeed(double rpm, int64_t now);
    void SetSine(double amplitudeRpm, double periodMs, int64_t now);
    // Absolute-encoder clear: the position counts from zero again.
    void ClearPosition(int64_t now);

    TMode Mode() const { return mode; }
    void Update(int64_t now);
    double Value(TSimQuantity quantity) const;

    // The quantity a monitor item shows, judged by its symbol (and its
    // English name when the symbol says nothing).
    static TSimQuantity QuantityOf(const std::string &symbol, const std::string &name = {});
    static const char *Name(TSimQuantity quantity);

private:
    double CommandSpeed(int64_t t) const;
    double CommandTravel(int64_t from, int64_t to) const; // revolutions

    TMode mode = TMode::Stop;
    double target = 0;     // Speed: r/min; Sine: amplitude
    double periodS = 1;
    int64_t modeStart = 0;
    int64_t last = 0;
    double speed = 0;      // actual, r/min
    double command = 0;    // command speed at `last`
    double commandRevs = 0;
    double torque = 0;
    double elapsedMoving = 0; // seconds spent moving, for the toggling input
};
