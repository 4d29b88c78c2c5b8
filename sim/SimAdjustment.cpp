#include "sim/SimAdjustment.h"

#include "sim/SimOperations.h"

TSimAdjustment::TSimAdjustment(int d, std::function<void(int64_t)> success)
    : digit(d), onSuccess(std::move(success))
{
}

void TSimAdjustment::Install(TSimOperations &operations, bool withTicker)
{
    const std::string prefix = "W" + std::to_string(digit);
    operations.Register(prefix + "0", [this](int64_t now) { return End(now); });
    operations.Register(prefix + "1", [this](int64_t now) { return Query(now); });
    operations.Register(prefix + "2", [this](int64_t now) { return Start(now); });
    operations.Register(prefix + "3", [this](int64_t now) { return Progress(now); });
    if (withTicker)
        operations.AddTicker([this](int64_t now) { Tick(now); });
}

uint32_t TSimAdjustment::Query(int64_t)
{
    return config.query;
}

uint32_t TSimAdjustment::Start(int64_t now)
{
    if (state != TState::Idle)
        return 0;
    if (config.start != 0)
        return config.start;
    if (config.query != 0)
        return 1; // not usable or not ready: it does not start either
    state = TState::Running;
    startedAt = now;
    ++runs;
    Tick(now);
    return 0;
}

void TSimAdjustment::Tick(int64_t now)
{
    if (state != TState::Running || now - startedAt < config.durationUs)
        return;
    state = TState::Finished;
    result = config.result;
    if (result == 5 && refuse && refuse())
        result = 6;
    if (result == 5 && onSuccess)
        onSuccess(now);
}

uint32_t TSimAdjustment::Progress(int64_t now)
{
    Tick(now);
    switch (state) {
    case TState::Idle:
        return 6; // nothing runs: it did not end successfully
    case TState::Running:
        return 4;
    case TState::Finished:
        return result;
    }
    return 6;
}

uint32_t TSimAdjustment::End(int64_t)
{
    state = TState::Idle;
    return config.end;
}

const char *TSimAdjustment::Name(int digit)
{
    switch (digit) {
    case 1: return "vref";
    case 2: return "tcomp";
    case 3: return "alarm-reset";
    case 4: return "abs-clear";
    case 5: return "trace-clear";
    case 6: return "excitation";
    }
    return "";
}

int TSimAdjustment::DigitOf(const std::string &text)
{
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '6')
        return text[0] - '0';
    for (int d = 1; d <= 6; ++d)
        if (text == Name(d))
            return d;
    return 0;
}
