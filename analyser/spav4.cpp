#include "analyser/spav4.h"

#include "analyser/covf.h"
#include "analyser/phase.h"

#include <cmath>
#include <numbers>
#include <ostream>
#include <stdexcept>

namespace respana {

namespace {

// sum_k c[k] * x^k by Horner's rule, highest power first.
std::complex<double> horner(const std::vector<double> &c, std::complex<double> x)
{
    std::complex<double> p = 0.0;
    for (std::size_t k = c.size(); k-- > 0;)
        p = p * x + c[k];
    return p;
}

} // namespace

std::vector<double> spaLagWindow(std::size_t M)
{
    std::vector<double> window(M);
    if (M == 0)
        return window;
    window[0] = 0.5;
    for (std::size_t k = 1; k < M; ++k)
        window[k] = 0.5 + 0.5 * std::cos(std::numbers::pi * static_cast<double>(k) / static_cast<double>(M - 1));
    return window;
}

TSpaResult spav4(const TMatrix &z, std::size_t M, const std::vector<double> &w,
                 std::size_t maxsize, double T, std::ostream &messages)
{
    const std::size_t n = z.rows();
    const std::size_t nz = z.cols();
    if (nz > n)
        throw std::invalid_argument(" The data should be entered in column vectors");
    if (nz != 2)
        throw std::invalid_argument("one output and one input column expected");
    if (M == 0)
        throw std::invalid_argument("the resolution must be at least 1");
    if (!(T > 0.0))
        T = 1.0;

    TSpaResult result;
    if (M >= n) {
        M = n - 1;
        messages << "WARNING: Resolution parameter M changed to " << M << '\n';
    }
    result.M = M;

    const TMatrix R = covf(z, M, maxsize);
    const std::vector<double> window = spaLagWindow(M);
    std::vector<double> cuy(M), cyu(M), cuu(M);
    for (std::size_t k = 0; k < M; ++k) {
        cuy[k] = window[k] * R(1, k);
        cyu[k] = window[k] * R(2, k);
        cuu[k] = window[k] * R(3, k);
    }

    result.G.reserve(w.size());
    for (double omega : w) {
        const std::complex<double> x = std::polar(1.0, -omega * T);
        const double phiU = 2.0 * horner(cuu, x).real();
        const std::complex<double> phiYU = horner(cuy, x) + horner(cyu, 1.0 / x);
        result.G.push_back(phiYU / phiU);
    }

    const std::vector<double> phi = phase(result.G);
    result.rows.reserve(w.size());
    for (std::size_t j = 0; j < w.size(); ++j)
        result.rows.push_back({w[j], std::abs(result.G[j]), phi[j] * 180.0 / std::numbers::pi});
    return result;
}

} // namespace respana
