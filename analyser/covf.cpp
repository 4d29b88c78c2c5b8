#include "analyser/covf.h"

#include "analyser/covf2.h"

#include <fftw3.h>

#include <complex>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace respana {

namespace {

struct TFftwFree
{
    void operator()(void *p) const { fftw_free(p); }
};
template <typename T>
using TFftwBuffer = std::unique_ptr<T[], TFftwFree>;

template <typename T>
TFftwBuffer<T> fftwBuffer(std::size_t count)
{
    auto *p = static_cast<T *>(fftw_malloc(sizeof(T) * count));
    if (!p)
        throw std::bad_alloc();
    return TFftwBuffer<T>(p);
}

struct TPlanDestroy
{
    void operator()(fftw_plan p) const { fftw_destroy_plan(p); }
};
using TPlan = std::unique_ptr<std::remove_pointer_t<fftw_plan>, TPlanDestroy>;

std::size_t transformLength(std::size_t n)
{
    std::size_t len = 1;
    while (len < 2 * n)
        len *= 2;
    return len;
}

TMatrix covfTransform(const TMatrix &z, std::size_t M)
{
    const std::size_t n = z.rows();
    const std::size_t nz = z.cols();
    const std::size_t len = transformLength(n);
    const std::size_t bins = len / 2 + 1;
    const int ilen = static_cast<int>(len);

    auto time = fftwBuffer<double>(len);
    std::vector<TFftwBuffer<fftw_complex>> spectra;
    for (std::size_t c = 0; c < nz; ++c)
        spectra.push_back(fftwBuffer<fftw_complex>(bins));
    auto product = fftwBuffer<fftw_complex>(bins);

    // All buffers come from fftw_malloc and share its alignment, so one plan
    // of each direction serves every column through the new-array interface.
    TPlan forward(fftw_plan_dft_r2c_1d(ilen, time.get(), spectra[0].get(), FFTW_ESTIMATE));
    TPlan backward(fftw_plan_dft_c2r_1d(ilen, product.get(), time.get(), FFTW_ESTIMATE));
    if (!forward || !backward)
        throw std::runtime_error("FFT planning failed");

    for (std::size_t c = 0; c < nz; ++c) {
        const double *col = z.column(c);
        for (std::size_t t = 0; t < len; ++t)
            time[t] = t < n ? col[t] : 0.0;
        fftw_execute_dft_r2c(forward.get(), time.get(), spectra[c].get());
    }

    // The unnormalised inverse of Z_j * conj(Z_i) at lag k is
    // len * sum_t z_i(t) z_j(t+k); the padding to 2N keeps the circular sum
    // free of wrap-around for every lag below N.
    TMatrix r(nz * nz, M);
    const double scale = 1.0 / (static_cast<double>(n) * static_cast<double>(len));
    for (std::size_t j = 0; j < nz; ++j) {
        for (std::size_t i = 0; i < nz; ++i) {
            const auto *zj = reinterpret_cast<const std::complex<double> *>(spectra[j].get());
            const auto *zi = reinterpret_cast<const std::complex<double> *>(spectra[i].get());
            auto *p = reinterpret_cast<std::complex<double> *>(product.get());
            for (std::size_t b = 0; b < bins; ++b)
                p[b] = zj[b] * std::conj(zi[b]);
            fftw_execute_dft_c2r(backward.get(), product.get(), time.get());
            for (std::size_t k = 0; k < M && k < n; ++k)
                r(i + j * nz, k) = time[k] * scale;
        }
    }
    return r;
}

} // namespace

TMatrix covf(const TMatrix &z, std::size_t M, std::size_t maxsize)
{
    const std::size_t n = z.rows();
    if (n == 0)
        throw std::invalid_argument("covariance of empty data");
    if (z.cols() <= 2 && n <= maxsize / 8)
        return covfTransform(z, M);
    return covf2(z, M);
}

} // namespace respana
