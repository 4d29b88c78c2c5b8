#include "analyser/Smoothing.h"

#include <stdexcept>

namespace respana {

namespace {

// Mean of rows first ... last (0-based, inclusive) of the source into row
// target of the result.
void meanInto(TResponseTable &out, std::size_t target, const TResponseTable &in, std::size_t first, std::size_t last)
{
    double gain = 0.0, phase = 0.0;
    for (std::size_t r = first; r <= last; ++r) {
        gain += in[r].gain;
        phase += in[r].phase;
    }
    const double n = static_cast<double>(last - first + 1);
    out[target].gain = gain / n;
    out[target].phase = phase / n;
}

} // namespace

std::size_t maxSmoothingHalfWidth(std::size_t rows)
{
    return (rows + 1) / 2;
}

TResponseTable smoothResponse(const TResponseTable &in, std::size_t SMN)
{
    const std::size_t n = in.size();
    if (SMN > maxSmoothingHalfWidth(n))
        throw std::invalid_argument("smoothing half-width too large for the table");
    TResponseTable out = in;
    if (SMN == 0)
        return out;
    // Formula rows (1-based) i = 2 ... SMN average rows 1 ... 2i-1.
    for (std::size_t i = 2; i <= SMN; ++i)
        meanInto(out, i - 1, in, 0, 2 * i - 2);
    // Rows i = SMN+1 ... n-SMN average rows i-SMN ... i+SMN.
    for (std::size_t i = SMN + 1; i + SMN <= n; ++i)
        meanInto(out, i - 1, in, i - 1 - SMN, i - 1 + SMN);
    // Rows n-i for i = 1 ... SMN-1 average rows n-2i ... n.
    for (std::size_t i = 1; i + 1 <= SMN; ++i)
        meanInto(out, n - i - 1, in, n - 2 * i - 1, n - 1);
    return out;
}

} // namespace respana
