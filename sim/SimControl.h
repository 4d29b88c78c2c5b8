#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class TSimAxis;
class TSimLine;

// The control channel: one text command per line, one reply line ("ok ..."
// or "error ..."). Tests and users change faults, the cable, alarms and
// monitor values through it while the simulator serves the line.
class TSimControl
{
public:
    // What the server around the line provides; a missing hook makes the
    // command answer "error not available".
    struct THooks {
        std::function<bool(std::string *error)> pull;
        std::function<bool(std::string *error)> plug;
        std::function<bool()> plugged;
        std::function<void()> quit;
        std::function<std::string()> link;         // link path and slave name
        std::function<std::string()> lineSettings; // the port settings the program chose
    };

    explicit TSimControl(TSimLine &line, THooks hooks = {});

    // Runs one command line at now and returns its reply (without newline).
    // Blank lines and lines starting with "#" give an empty reply.
    std::string Execute(const std::string &commandLine, int64_t now);

    // The command summary (several lines), for --help and "help".
    static std::string Help();

    // Reads a hexadecimal number with an optional "0x"; false when it is
    // not one or exceeds max.
    static bool ParseHex(const std::string &text, uint32_t max, uint32_t &out);
    // A decimal number, or hexadecimal after "0x"; may be negative.
    static bool ParseNumber(const std::string &text, int64_t &out);
    static std::vector<std::string> Split(const std::string &text);

private:
    using TWords = std::vector<std::string>;

    std::string Axis(const TWords &w, int64_t now);
    std::string Fault(const TWords &w, int64_t now);
    std::string Alarm(const TWords &w, int64_t now);
    std::string History(const TWords &w);
    std::string Monitor(const TWords &w, int64_t now);
    std::string Motion(const TWords &w, int64_t now);
    std::string Plant(const TWords &w);
    std::string Op(const TWords &w);
    std::string Peek(const TWords &w, int64_t now);
    std::string Poke(const TWords &w);
    std::string Stats(const TWords &w);
    std::string Log(const TWords &w);
    std::string Status();

    // The axes a word names: one hexadecimal digit, or "*" for every axis.
    std::optional<std::vector<TSimAxis *>> Axes(const std::string &word, std::string &error);
    TSimAxis *OneAxis(const std::string &word, std::string &error);

    TSimLine &line;
    THooks hooks;
};
