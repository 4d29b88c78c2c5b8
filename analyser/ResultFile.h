#pragma once

#include "analyser/Analysis.h"

#include <string>

namespace respana {

// The short text of one number: whole numbers without a decimal part, all
// others with a decimal point and as many digits as it takes for a reader to
// get exactly the same double back.
std::string shortNumber(double value);

// The result file: "NDATA,0,0" and then one "frequency,gain,phase" row per
// table row, every line ended by CR LF.
std::string formatResultFile(const TResponseTable &table);

} // namespace respana
