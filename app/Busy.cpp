#include "app/Busy.h"

namespace {
int g_series = 0;
int g_transactions = 0;
TBusy::THook g_hook;
TBusy::TState g_reported = TBusy::TState::Idle;

void Report()
{
    const TBusy::TState now = TBusy::State();
    if (now == g_reported)
        return;
    g_reported = now;
    if (g_hook)
        g_hook(now);
}
} // namespace

void TBusy::Enter()
{
    ++g_series;
    Report();
}

void TBusy::Leave()
{
    if (g_series <= 0)
        return;
    --g_series;
    Report();
}

void TBusy::EnterTransaction()
{
    ++g_transactions;
    Report();
}

void TBusy::LeaveTransaction()
{
    if (g_transactions <= 0)
        return;
    --g_transactions;
    Report();
}

TBusy::TState TBusy::State()
{
    if (g_series > 0)
        return TState::Series;
    return g_transactions > 0 ? TState::Transaction : TState::Idle;
}

int TBusy::Depth()
{
    return g_series + g_transactions;
}

void TBusy::SetHook(THook hook)
{
    g_hook = std::move(hook);
}
