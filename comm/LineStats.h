#pragma once

#include <array>
#include <cstdint>

// What the protocol engine counts per address byte (axis 0 to 15), for an
// engineer chasing a noisy line. Counts since the program started or since
// the last reset.
struct TAxisLineStats {
    uint32_t transactions = 0; // transactions started
    uint32_t failed = 0;       // transactions that ended with a failure
    uint32_t tries = 0;        // pollings sent (a transaction tries up to five times)
    uint32_t naks = 0;         // pollings answered with NAK (a second amplifier on the number)
    uint32_t timeouts = 0;     // waits that ran out (no answer, answer cut short, no ACK)
    uint32_t checkErrors = 0;  // answers whose check characters did not match

    bool Any() const { return transactions || tries; }
};

struct TLineStats {
    std::array<TAxisLineStats, 16> axes{};
    // Transactions refused because another one was still waiting.
    uint32_t nestedRefused = 0;

    TAxisLineStats Total() const
    {
        TAxisLineStats t;
        for (const TAxisLineStats &a : axes) {
            t.transactions += a.transactions;
            t.failed += a.failed;
            t.tries += a.tries;
            t.naks += a.naks;
            t.timeouts += a.timeouts;
            t.checkErrors += a.checkErrors;
        }
        return t;
    }
};
