#pragma once

#include "analyser/Matrix.h"

namespace respana {

// Covariance function of the data z (N x nz), lags 0 ... M-1, laid out as
// covf2 lays it out; for one output y and one input u the rows are Ryy, Ruy,
// Ryu, Ruu. Data of at most two columns with N <= maxsize/8 go through FFTs
// of length 2^ceil(log2(2N)); everything else through the direct sums.
TMatrix covf(const TMatrix &z, std::size_t M, std::size_t maxsize);

} // namespace respana
