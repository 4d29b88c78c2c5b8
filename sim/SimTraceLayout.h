#pragma once

#include "sim/SimMotion.h"

#include <cstdint>
#include <map>
#include <optional>

// Where a model's operation-trace recorder lives and what its channel codes
// record.
struct TSimTraceLayout {
    struct TAnalog {
        int length = 2;       // bytes
        bool isSigned = true;
        TSimQuantity quantity = TSimQuantity::None;
    };
    bool present = false;
    uint32_t traceAddress = 0, settingAddress = 0, analogAddress = 0, digitalAddress = 0;
    double samplingBaseMs = 1;
    std::map<int, TAnalog> analog; // by VALUE code
};
