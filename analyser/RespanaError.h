#pragma once

#include <stdexcept>
#include <string>

namespace respana {

// A failure that ends the run: its text is the one line shown on the error
// output, already naming the file and line where that helps.
class TRespanaError : public std::runtime_error
{
public:
    explicit TRespanaError(const std::string &message) : std::runtime_error(message) {}
};

} // namespace respana
