#pragma once

#include <functional>

// Whether a series of amplifier commands (or a single transaction) is under
// way. Every wait of a transaction lets pending events run, so without a
// guard a click could start a second series inside the first. The core only
// counts; the windows install the hook that shuts user input out while the
// count is above zero (TFMInputGuard). Nests: the hook hears only the first
// Enter and the last Leave. User-interface thread only.
class TBusy
{
public:
    static void Enter();
    static void Leave();
    static bool Active();
    static int Depth();

    // Called with true when the program becomes busy and false when it is
    // idle again; empty: nobody listens.
    using THook = std::function<void(bool busy)>;
    static void SetHook(THook hook);

    // Busy for the lifetime of the object.
    class TScope
    {
    public:
        TScope() { Enter(); }
        ~TScope() { Leave(); }
        TScope(const TScope &) = delete;
        TScope &operator=(const TScope &) = delete;
    };
};
