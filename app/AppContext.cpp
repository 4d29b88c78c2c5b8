#include "app/AppContext.h"

#include "app/DMEnvironment.h"
#include "comm/DMTran.h"

int TAppContext::FirstAxisInUse() const
{
    if (firstAxisInUse)
        return firstAxisInUse();
    for (int axis = 1; axis <= 15; ++axis)
        if (env.AxisInUse(axis))
            return axis;
    return 0;
}

TTranAmp *TAppContext::Engine() const
{
    return tran.Engine();
}
