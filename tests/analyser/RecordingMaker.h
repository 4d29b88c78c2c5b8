#pragma once

// Synthetic system-analysis recordings for the analyser's tests and
// benchmark: the exchange file as the set-up program writes it, filled from
// a simulated machine.

#include "analyser/refsig10.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace respana::testing {

struct TSyntheticRecording
{
    std::string samplingBase = "0.250"; // line 1 as written, ms
    int tc = 50;                        // percent
    int frequencyCode = 1;
    int sw1 = 0;
    int trigger = 1;
    std::vector<long long> analog = std::vector<long long>(1024, 0); // samples 0 ... 1023

    // The text of "_sysan01.CSV", CR LF line ends.
    std::string exchangeText() const
    {
        std::string s;
        auto line = [&s](const std::string &l) { s += l + "\r\n"; };
        line(samplingBase + ",0,0");
        line(std::to_string(tc) + ",0,0");
        line(std::to_string(frequencyCode) + ",0,0");
        line("100,0,0");   // JRAT_MON
        line("50,0,0");    // KVP_MON
        line("10.0,0,0");  // TVI_MON / 10
        line("1000,0,0");  // TCFIL_MON
        line("2000,0,0");  // TCNFILA_MON
        line("2000,0,0");  // TCNFILB_MON
        line("0,0,0");     // MENP
        line(std::to_string(sw1) + ",0,0");
        line("0,0,0");
        line(std::to_string(trigger) + ",0,0");
        line(std::to_string(analog.size()) + ",0,0");
        for (std::size_t k = 0; k < analog.size(); ++k)
            line(std::to_string(k) + "," + std::to_string(analog[k]) + ",0");
        return s;
    }
};

// A discrete resonance H(z) = b z^-1 / (1 - 2 r cos(theta) z^-1 + r^2 z^-2)
// with theta = 2 pi f0 T.
struct TResonance
{
    double f0 = 300.0; // Hz
    double r = 0.9;
    double b = 0.05;
    double T = 0.25e-3; // s

    double a1() const { return -2.0 * r * std::cos(2.0 * std::numbers::pi * f0 * T); }
    double a2() const { return r * r; }
    std::complex<double> response(double hz) const
    {
        const std::complex<double> zi = std::polar(1.0, -2.0 * std::numbers::pi * hz * T);
        return b * zi / (1.0 + a1() * zi + a2() * zi * zi);
    }
    // Where |H| peaks, by a fine search.
    double peakFrequency() const
    {
        double best = 0.0, bestGain = -1.0;
        for (double hz = 1.0; hz < 0.5 / T; hz += 0.01) {
            const double g = std::abs(response(hz));
            if (g > bestGain) {
                bestGain = g;
                best = hz;
            }
        }
        return best;
    }
};

// The amplifier adds the sequence (scaled by TC/100) to the quantity it
// records, and the machine answers that sum through H; so the recorded
// quantity y = H (d + y). H has a delay of one sample, which keeps the loop
// causal, and a peak gain below 1, which keeps it stable. Two periods of the
// sequence run before the recording so that it sees the steady state.
inline TSyntheticRecording resonanceRecording(const TResonance &h, int tc = 50)
{
    const std::vector<double> ref = refsig10(1023);
    TSyntheticRecording rec;
    rec.tc = tc;
    rec.trigger = 1;
    const double amplitude = tc * 0.01;
    double y1 = 0.0, y2 = 0.0, u1 = 0.0;
    const std::size_t warmUp = 2 * 1023 - 1; // sample 1 meets the first value of the sequence
    for (std::size_t t = 0; t < warmUp + 1024; ++t) {
        const double y = h.b * u1 - h.a1() * y1 - h.a2() * y2;
        const long long word = std::llround(y * 4096.0);
        const double recorded = static_cast<double>(word) / 4096.0;
        const double u = ref[t % 1023] * amplitude + recorded;
        if (t >= warmUp)
            rec.analog[t - warmUp] = word;
        y2 = y1;
        y1 = y;
        u1 = u;
    }
    return rec;
}

} // namespace respana::testing
