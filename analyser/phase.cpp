#include "analyser/phase.h"

#include <cmath>
#include <numbers>

namespace respana {

std::vector<double> phase(const std::vector<std::complex<double>> &G)
{
    std::vector<double> raw(G.size());
    for (std::size_t j = 0; j < G.size(); ++j)
        raw[j] = std::atan2(G[j].imag(), G[j].real());

    // The jumps are judged on the raw values, once; each one found shifts
    // everything after it, so the shifts accumulate.
    std::vector<double> phi = raw;
    double shift = 0.0;
    for (std::size_t j = 0; j + 1 < raw.size(); ++j) {
        const double d = raw[j] - raw[j + 1];
        if (std::abs(d) > 3.5)
            shift += d > 0 ? 2.0 * std::numbers::pi : -2.0 * std::numbers::pi;
        phi[j + 1] += shift;
    }
    return phi;
}

} // namespace respana
