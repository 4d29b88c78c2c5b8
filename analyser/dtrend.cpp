#include "analyser/dtrend.h"

namespace respana {

TMatrix dtrend(TMatrix z)
{
    const std::size_t n = z.rows();
    if (n == 0)
        return z;
    for (std::size_t c = 0; c < z.cols(); ++c) {
        double *col = z.column(c);
        double sum = 0.0;
        for (std::size_t t = 0; t < n; ++t)
            sum += col[t];
        const double mean = sum / static_cast<double>(n);
        for (std::size_t t = 0; t < n; ++t)
            col[t] -= mean;
    }
    return z;
}

} // namespace respana
