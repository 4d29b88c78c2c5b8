#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The operation commands of one axis (the W and L families): one table from
// command code to handler, so that each function adds its codes without
// touching the others. A code without a handler answers "not usable".
class TSimOperations
{
public:
    using THandler = std::function<uint32_t(int64_t now)>;
    using TTicker = std::function<void(int64_t now)>;

    // W: 2, the query reply "not usable".
    static constexpr uint32_t NotUsableW = 2;
    // L: status 4 (no trace data), count 0.
    static constexpr uint32_t NotUsableL = 0x04000000;

    // code: the letter and two upper-case hexadecimal digits ("W01", "WA4", "L00").
    void Register(const std::string &code, THandler handler);
    void Unregister(const std::string &code);
    bool Has(const std::string &code) const;
    // A handler that always answers value.
    void SetConstant(const std::string &code, uint32_t value);

    // Work that moves on with time (runs finishing); called before every
    // command and control request.
    void AddTicker(TTicker ticker);
    void Tick(int64_t now);

    // The 32-bit answer of an operation command.
    uint32_t Dispatch(const std::string &code, int64_t now);

    // Codes with a handler, in order.
    std::vector<std::string> Codes() const;

    static bool IsOperationCode(const std::string &code);

private:
    std::map<std::string, THandler> handlers;
    std::vector<TTicker> tickers;
};
