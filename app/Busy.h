#pragma once

#include <functional>

// Whether the program is busy with the amplifiers. Every wait of a
// transaction lets pending events run, so without a guard a click could start
// a second exchange inside the first. Two depths are counted:
// - a series (a run of commands under the progress window, or any stretch a
//   window marks with TScope): user input to the windows that were open is
//   dropped, as the user is waiting for the series;
// - a single transaction outside a series (a polling tick): user input is
//   held back and handed on when the transaction is over, so a polling
//   window stays usable between its exchanges.
// The core only counts; the windows install the hook that acts on it
// (TFMInputGuard). User-interface thread only.
class TBusy
{
public:
    enum class TState { Idle, Transaction, Series };

    static void Enter(); // a series
    static void Leave();
    static void EnterTransaction();
    static void LeaveTransaction();

    static bool Active() { return State() != TState::Idle; }
    static TState State();
    static int Depth(); // series and transactions together

    // Called with the new state whenever it changes; empty: nobody listens.
    using THook = std::function<void(TState state)>;
    static void SetHook(THook hook);

    // A series for the lifetime of the object.
    class TScope
    {
    public:
        TScope() { Enter(); }
        ~TScope() { Leave(); }
        TScope(const TScope &) = delete;
        TScope &operator=(const TScope &) = delete;
    };

    // One transaction for the lifetime of the object (the engine).
    class TTransaction
    {
    public:
        TTransaction() { EnterTransaction(); }
        ~TTransaction() { LeaveTransaction(); }
        TTransaction(const TTransaction &) = delete;
        TTransaction &operator=(const TTransaction &) = delete;
    };
};
