#include "sim/SimFaults.h"

#include <charconv>

namespace {
bool ParseInt(const std::string &text, int &out, int min, int max)
{
    int value = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || p != text.data() + text.size() || value < min || value > max)
        return false;
    out = value;
    return true;
}

const char *H0FormName(TSimFaults::TH0Form form)
{
    switch (form) {
    case TSimFaults::TH0Form::Correct: return "correct";
    case TSimFaults::TH0Form::FirstChar: return "first";
    case TSimFaults::TH0Form::Short: return "short";
    case TSimFaults::TH0Form::Long: return "long";
    case TSimFaults::TH0Form::NonHex: return "nonhex";
    }
    return "correct";
}

const char *FailKindName(TSimFaults::TFailKind kind)
{
    switch (kind) {
    case TSimFaults::TFailKind::Silent: return "silent";
    case TSimFaults::TFailKind::BadCheck: return "badcheck";
    case TSimFaults::TFailKind::NoAck: return "noack";
    }
    return "silent";
}
} // namespace

const std::vector<std::string> &TSimFaults::Names()
{
    static const std::vector<std::string> names = {"silent", "nak", "latepoll", "late", "badcheck", "lowercase",
                                                   "empty", "long", "noack", "badecho", "h0form", "failfirst",
                                                   "silentafter"};
    return names;
}

bool TSimFaults::Any() const
{
    return silent || nak || latePollMs || lateMs || badCheck || lowerCheck || empty || longLength || noAck ||
           badEcho || h0Form != TH0Form::Correct || failFirst || silentAfter;
}

std::string TSimFaults::Describe() const
{
    std::string out;
    auto add = [&](const std::string &word) {
        if (!out.empty())
            out += ' ';
        out += word;
    };
    if (silent) add("silent");
    if (nak) add("nak");
    if (latePollMs) add("latepoll=" + std::to_string(latePollMs));
    if (lateMs) add("late=" + std::to_string(lateMs));
    if (badCheck) add("badcheck");
    if (lowerCheck) add("lowercase");
    if (empty) add("empty");
    if (longLength) add("long=" + std::to_string(longLength));
    if (noAck) add("noack");
    if (badEcho) add("badecho");
    if (h0Form != TH0Form::Correct) add(std::string("h0form=") + H0FormName(h0Form));
    if (failFirst) add("failfirst=" + std::to_string(failFirst) + "/" + FailKindName(failKind));
    if (silentAfter) add("silentafter=" + std::to_string(silentAfter));
    return out.empty() ? "none" : out;
}

bool TSimFaults::Set(const std::vector<std::string> &words, int charTimeoutMs, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    if (words.empty())
        return fail("fault name missing");
    const std::string &name = words[0];
    const size_t args = words.size() - 1;
    auto noArgs = [&]() { return args == 0 ? true : fail(name + " takes no argument"); };
    if (name == "silent") {
        if (!noArgs()) return false;
        silent = true;
    } else if (name == "nak") {
        if (!noArgs()) return false;
        nak = true;
    } else if (name == "late" || name == "latepoll") {
        int ms = 2 * charTimeoutMs;
        if (args > 1 || (args == 1 && !ParseInt(words[1], ms, 1, 60000)))
            return fail(name + " takes a delay of 1 to 60000 ms");
        (name == "late" ? lateMs : latePollMs) = ms;
    } else if (name == "badcheck") {
        if (!noArgs()) return false;
        badCheck = true;
    } else if (name == "lowercase") {
        if (!noArgs()) return false;
        lowerCheck = true;
    } else if (name == "empty") {
        if (!noArgs()) return false;
        empty = true;
    } else if (name == "long") {
        int length = 254;
        if (args > 1 || (args == 1 && !ParseInt(words[1], length, 1, 1000)))
            return fail("long takes a text length of 1 to 1000 bytes");
        longLength = length;
    } else if (name == "noack") {
        if (!noArgs()) return false;
        noAck = true;
    } else if (name == "badecho") {
        if (!noArgs()) return false;
        badEcho = true;
    } else if (name == "h0form") {
        const std::string form = args >= 1 ? words[1] : "first";
        if (args > 1)
            return fail("h0form takes one of first, short, long, nonhex");
        if (form == "first") h0Form = TH0Form::FirstChar;
        else if (form == "short") h0Form = TH0Form::Short;
        else if (form == "long") h0Form = TH0Form::Long;
        else if (form == "nonhex") h0Form = TH0Form::NonHex;
        else return fail("h0form takes one of first, short, long, nonhex");
    } else if (name == "failfirst") {
        int k = 0;
        if (args < 1 || args > 2 || !ParseInt(words[1], k, 0, 1000000))
            return fail("failfirst takes a count and optionally silent, badcheck or noack");
        TFailKind kind = TFailKind::Silent;
        if (args == 2) {
            if (words[2] == "silent") kind = TFailKind::Silent;
            else if (words[2] == "badcheck") kind = TFailKind::BadCheck;
            else if (words[2] == "noack") kind = TFailKind::NoAck;
            else return fail("failfirst takes a count and optionally silent, badcheck or noack");
        }
        failFirst = k;
        failKind = kind;
    } else if (name == "silentafter") {
        int k = 0;
        if (args != 1 || !ParseInt(words[1], k, 1, 1000000))
            return fail("silentafter takes a count of 1 or more");
        silentAfter = k;
    } else {
        return fail("unknown fault " + name);
    }
    return true;
}

bool TSimFaults::Clear(const std::string &name)
{
    if (name == "silent") silent = false;
    else if (name == "nak") nak = false;
    else if (name == "latepoll") latePollMs = 0;
    else if (name == "late") lateMs = 0;
    else if (name == "badcheck") badCheck = false;
    else if (name == "lowercase") lowerCheck = false;
    else if (name == "empty") empty = false;
    else if (name == "long") longLength = 0;
    else if (name == "noack") noAck = false;
    else if (name == "badecho") badEcho = false;
    else if (name == "h0form") h0Form = TH0Form::Correct;
    else if (name == "failfirst") failFirst = 0;
    else if (name == "silentafter") silentAfter = 0;
    else return false;
    return true;
}
