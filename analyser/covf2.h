#pragma once

#include "analyser/Matrix.h"

namespace respana {

// Covariance function by direct sums. For data z (N x nz) the result has
// nz*nz rows and M columns; row i + j*nz (0-based) at lag k holds
// sum_t z_i(t) z_j(t+k) / N, the biased estimate. Lags of N and more are 0.
TMatrix covf2(const TMatrix &z, std::size_t M);

} // namespace respana
