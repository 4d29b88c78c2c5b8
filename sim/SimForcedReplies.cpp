#include "sim/SimForcedReplies.h"

std::optional<uint32_t> TSimForcedReplies::Take(const std::string &code)
{
    auto it = queues.find(code);
    if (it == queues.end() || it->second.empty())
        return std::nullopt;
    const uint32_t v = it->second.front();
    it->second.pop_front();
    return v;
}
