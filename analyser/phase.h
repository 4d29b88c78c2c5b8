#pragma once

#include <complex>
#include <vector>

namespace respana {

// Phase of a frequency function in radians, unwrapped along the frequencies:
// wherever two neighbouring raw phases differ by more than 3.5 rad, all later
// values are shifted by 2*pi towards the earlier one. Jumps between 3.5 and
// 2*pi - 3.5 are taken as genuine.
std::vector<double> phase(const std::vector<std::complex<double>> &G);

} // namespace respana
