#include "sim/SimOperations.h"

#include "sim/SimFrame.h"

void TSimOperations::Register(const std::string &code, THandler handler)
{
    handlers[code] = std::move(handler);
}

void TSimOperations::Unregister(const std::string &code)
{
    handlers.erase(code);
}

bool TSimOperations::Has(const std::string &code) const
{
    return handlers.count(code) != 0;
}

void TSimOperations::SetConstant(const std::string &code, uint32_t value)
{
    Register(code, [value](int64_t) { return value; });
}

void TSimOperations::AddTicker(TTicker ticker)
{
    tickers.push_back(std::move(ticker));
}

void TSimOperations::Tick(int64_t now)
{
    for (auto &t : tickers)
        t(now);
}

uint32_t TSimOperations::Dispatch(const std::string &code, int64_t now)
{
    Tick(now);
    auto it = handlers.find(code);
    if (it != handlers.end())
        return it->second(now);
    return !code.empty() && code[0] == 'L' ? NotUsableL : NotUsableW;
}

std::vector<std::string> TSimOperations::Codes() const
{
    std::vector<std::string> out;
    for (const auto &[code, handler] : handlers)
        out.push_back(code);
    return out;
}

bool TSimOperations::IsOperationCode(const std::string &code)
{
    return code.size() == 3 && (code[0] == 'W' || code[0] == 'L') && TSimFrame::ParseUpperHex(code.substr(1));
}
