#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The faults one axis can be told to show. Several may be on at once.
// Faults that spoil an answer do not stop the command from taking effect:
// the amplifier did it, only its answer went wrong (a retry repeats it, and
// every command is safe to repeat).
struct TSimFaults {
    enum class TH0Form { Correct, FirstChar, Short, Long, NonHex };
    enum class TFailKind { Silent, BadCheck, NoAck };

    bool silent = false;     // no answer to the polling
    bool nak = false;        // NAK to the polling (a second station with the same number)
    int latePollMs = 0;      // EOT this late (0: off)
    int lateMs = 0;          // answer frame this late (0: off)
    bool badCheck = false;   // answer check off by one
    bool lowerCheck = false; // answer check in lower-case letters
    bool empty = false;      // answer STX ETX with a correct check
    int longLength = 0;      // answer text padded with "0" to this many bytes (0: off)
    bool noAck = false;      // no ACK after the program's EOT
    bool badEcho = false;    // write echo with its last digit changed
    TH0Form h0Form = TH0Form::Correct;
    int failFirst = 0;       // the next this many pollings fail ...
    TFailKind failKind = TFailKind::Silent; // ... this way
    int silentAfter = 0;     // this many pollings are answered, then the axis falls silent (0: off)

    bool Any() const;
    // "silent late=600 failfirst=2/silent" or "none".
    std::string Describe() const;

    // Sets one fault from its control-channel words ("late", "600"); false
    // with a reason for an unknown name or a bad argument. charTimeoutMs
    // gives the default lateness: twice the program's character time-out.
    bool Set(const std::vector<std::string> &words, int charTimeoutMs, std::string *error);
    // Clears one fault by name; false for an unknown name.
    bool Clear(const std::string &name);

    static const std::vector<std::string> &Names();
};
