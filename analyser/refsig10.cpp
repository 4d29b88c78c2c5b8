#include "analyser/refsig10.h"

#include <array>

namespace respana {

std::vector<double> refsig10(std::size_t count)
{
    // r[0] is stage 1, r[9] stage 10. The product of two +-1 values is the
    // exclusive-or of the bits they stand for (taps at stages 3 and 10).
    std::array<double, 10> r;
    r.fill(-1.0);
    std::vector<double> out(count);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = r[9];
        const double fed = r[2] * r[9];
        for (std::size_t s = 9; s > 0; --s)
            r[s] = r[s - 1];
        r[0] = fed;
    }
    return out;
}

} // namespace respana
