#include "params/ParamContext.h"

#include "app/DMEnvironment.h"

int TParamContext::FirstAxisInUse() const
{
    if (firstAxisInUse)
        return firstAxisInUse();
    for (int axis = 1; axis <= 15; ++axis)
        if (env.AxisInUse(axis))
            return axis;
    return 0;
}
