#pragma once

#include "defdb/ParamDef.h"

#include <optional>

// A definition with just the fields a case needs.
inline TParamDef Def(int length, int dataForm, std::optional<int> perPowerOf10 = std::nullopt,
                     qint32 minValue = 0, qint32 maxValue = 0)
{
    TParamDef d;
    d.length = length;
    d.dataForm = dataForm;
    d.perPowerOf10 = perPowerOf10;
    d.minValue = minValue;
    d.maxValue = maxValue;
    return d;
}
