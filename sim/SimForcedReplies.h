#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

// Replies queued by the control channel for the next commands of a code,
// given in order before the simulated amplifier answers for itself.
class TSimForcedReplies
{
public:
    void Clear() { queues.clear(); }
    void Set(const std::string &code, std::deque<uint32_t> replies) { queues[code] = std::move(replies); }
    // The next queued reply of the code, if any is left.
    std::optional<uint32_t> Take(const std::string &code);

private:
    std::map<std::string, std::deque<uint32_t>> queues;
};
