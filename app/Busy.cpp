#include "app/Busy.h"

namespace {
int g_depth = 0;
TBusy::THook g_hook;
} // namespace

void TBusy::Enter()
{
    if (g_depth++ == 0 && g_hook)
        g_hook(true);
}

void TBusy::Leave()
{
    if (g_depth <= 0)
        return;
    if (--g_depth == 0 && g_hook)
        g_hook(false);
}

bool TBusy::Active()
{
    return g_depth > 0;
}

int TBusy::Depth()
{
    return g_depth;
}

void TBusy::SetHook(THook hook)
{
    g_hook = std::move(hook);
}
