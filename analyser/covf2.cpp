#include "analyser/covf2.h"

#include <stdexcept>

namespace respana {

TMatrix covf2(const TMatrix &z, std::size_t M)
{
    const std::size_t n = z.rows();
    const std::size_t nz = z.cols();
    if (n == 0)
        throw std::invalid_argument("covariance of empty data");
    TMatrix r(nz * nz, M);
    for (std::size_t k = 0; k < M && k < n; ++k) {
        for (std::size_t j = 0; j < nz; ++j) {
            const double *zj = z.column(j);
            for (std::size_t i = 0; i < nz; ++i) {
                const double *zi = z.column(i);
                double sum = 0.0;
                // The zero padding past N contributes nothing, so the sum stops
                // where z_j(t+k) runs out.
                for (std::size_t t = 0; t + k < n; ++t)
                    sum += zi[t] * zj[t + k];
                r(i + j * nz, k) = sum / static_cast<double>(n);
            }
        }
    }
    return r;
}

} // namespace respana
