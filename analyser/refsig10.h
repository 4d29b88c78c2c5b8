#pragma once

#include <cstddef>
#include <vector>

namespace respana {

// The excitation the amplifier applies: a maximum-length pseudo-random binary
// sequence of period 1023 in +1/-1 form from a ten-stage shift register that
// starts all -1. More than one period may be asked for; the register simply
// keeps running.
std::vector<double> refsig10(std::size_t count = 1023);

} // namespace respana
