#pragma once

#include <cstddef>

namespace respana {

// The default memory bound (in array elements) that decides between the
// transform and the direct covariance method.
std::size_t idmsize();

} // namespace respana
