#pragma once

#include "analyser/Analysis.h"

namespace respana {

// The largest half-width a table of this many rows can be smoothed with.
std::size_t maxSmoothingHalfWidth(std::size_t rows);

// Moving mean of gain and phase (in dB and degrees as they are) over
// 2*SMN + 1 rows, narrowing symmetrically towards both ends; the first and
// last rows and the frequencies stay as they are. SMN = 0 changes nothing.
TResponseTable smoothResponse(const TResponseTable &table, std::size_t SMN);

} // namespace respana
