#pragma once

#include "analyser/Matrix.h"

namespace respana {

// Removes the arithmetic mean of each column.
TMatrix dtrend(TMatrix z);

} // namespace respana
