#include "analyser/idmsize.h"

#include <limits>

namespace respana {

std::size_t idmsize()
{
    // Only a platform whose largest array holds fewer than 8192 elements
    // gets the small bound.
    constexpr std::size_t largestArray = std::numeric_limits<std::ptrdiff_t>::max() / sizeof(double);
    return largestArray < 8192 ? 4096 : 250000;
}

} // namespace respana
