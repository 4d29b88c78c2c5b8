#include "analyser/ResultFile.h"

#include <charconv>
#include <cmath>

namespace respana {

std::string shortNumber(double value)
{
    char buf[64];
    char *end;
    // Below 2^53 every whole double is exact in a long long.
    if (std::isfinite(value) && value == std::trunc(value) && std::abs(value) < 9007199254740992.0) {
        end = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value)).ptr;
        return std::string(buf, end);
    }
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : value > 0 ? "Inf" : "-Inf";

    // Shortest round-trip digits; plain decimals while they stay readable,
    // exponent notation for tiny and huge values.
    const double magnitude = std::abs(value);
    const auto format = magnitude >= 1e-5 && magnitude < 1e15 ? std::chars_format::fixed : std::chars_format::scientific;
    end = std::to_chars(buf, buf + sizeof buf, value, format).ptr;
    std::string text(buf, end);
    if (text.find('.') == std::string::npos) {
        const std::size_t e = text.find('e');
        text.insert(e == std::string::npos ? text.size() : e, ".0");
    }
    return text;
}

std::string formatResultFile(const TResponseTable &table)
{
    std::string out;
    out.reserve(64 * (table.size() + 1));
    out += shortNumber(static_cast<double>(table.size()));
    out += ",0,0\r\n";
    for (const TResponseRow &row : table) {
        out += shortNumber(row.frequency);
        out += ',';
        out += shortNumber(row.gain);
        out += ',';
        out += shortNumber(row.phase);
        out += "\r\n";
    }
    return out;
}

} // namespace respana
