#pragma once

#include "sim/SimLayout.h"

// A small model for the raw-byte tests: a parameter area at 0xF8000 with
// the bytes 0x00..0x1F, model texts, alarm blocks and three monitor items.
inline TSimLayout TestLayout()
{
    TSimLayout l;
    l.known = true;
    l.modelName = "TEST-1";
    std::vector<uint8_t> params;
    for (int i = 0; i < 32; ++i)
        params.push_back(uint8_t(i));
    l.AddBytes(0xF8000, params);
    l.parameterFirst = 0xF8000;
    l.parameterEnd = 0xF8020;
    l.amplifierTextAddress = 0xF8700;
    l.AddText(0xF8700, "TESTAMP-01", 16);
    l.nowAlarmAddress = 0xF8600;
    l.historyAlarmAddress = 0xF8610;
    l.monitorItems = {
        {0xF0000, 2, "SPD", TSimQuantity::Speed, 0, true, -10000, 10000, {}},
        {0xF0002, 2, "TRQ", TSimQuantity::Torque, 1, true, -5000, 5000, {}},
        {0xF0004, 4, "PFB", TSimQuantity::Position, 0, true, INT32_MIN, INT32_MAX, {}},
        {0xF0008, 2, "ETC", TSimQuantity::None, 0, false, 0, 65535, {}},
    };
    l.monitorFirst = 0xF0000;
    l.monitorEnd = 0xF000A;
    return l;
}
