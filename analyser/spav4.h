#pragma once

#include "analyser/Matrix.h"

#include <complex>
#include <cstddef>
#include <iosfwd>
#include <vector>

namespace respana {

struct TSpaRow
{
    double omega;        // rad/s, as given
    double magnitude;    // |G|
    double phaseDegrees; // unwrapped
};

struct TSpaResult
{
    std::vector<TSpaRow> rows;              // one per given frequency, in order
    std::vector<std::complex<double>> G;    // the frequency function itself
    std::size_t M = 0;                      // the resolution actually used
};

// Hann lag window of M lags, zero at the last one, with the weight of lag 0
// halved because the two one-sided sums of the estimate both contain it.
std::vector<double> spaLagWindow(std::size_t M);

// Blackman-Tukey estimate of the frequency function from the input (column 2
// of z) to the output (column 1) at the angular frequencies w, with M
// covariance lags, sampling period T (seconds; 1 when not positive) and the
// memory bound maxsize for the covariance method. A resolution of N or more
// is lowered to N - 1 with a warning line on messages.
TSpaResult spav4(const TMatrix &z, std::size_t M, const std::vector<double> &w,
                 std::size_t maxsize, double T, std::ostream &messages);

} // namespace respana
