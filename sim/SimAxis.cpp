#include "sim/SimAxis.h"

#include "sim/SimFrame.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {
std::string Lower(std::string text)
{
    for (char &c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The raw bytes of a quantity as the item stores it.
uint32_t RawOf(const TSimMonitorItem &item, double quantity, int decimals)
{
    double scaled = std::round(quantity * std::pow(10.0, decimals));
    if (item.quantity == TSimQuantity::Position || item.quantity == TSimQuantity::PositionCommand ||
        item.quantity == TSimQuantity::MultiTurn) {
        // Position counters wrap like the amplifier's.
        const double span = std::ldexp(1.0, 8 * item.length);
        scaled = std::fmod(scaled, span);
        if (scaled < 0)
            scaled += span;
        return uint32_t(int64_t(scaled));
    }
    int64_t lo = item.minValue, hi = item.maxValue;
    if (item.length < 4) {
        const int64_t bits = 8 * item.length;
        lo = std::max<int64_t>(lo, item.isSigned ? -(int64_t(1) << (bits - 1)) : 0);
        hi = std::min<int64_t>(hi, item.isSigned ? (int64_t(1) << (bits - 1)) - 1 : (int64_t(1) << bits) - 1);
    }
    const int64_t v = std::clamp<int64_t>(int64_t(scaled), std::min(lo, hi), std::max(lo, hi));
    return uint32_t(v);
}
} // namespace

TSimAxis::TSimAxis(int n, uint32_t c, TSimLayout l, int64_t now)
    : number(n), code(c & 0xFFFFFF), layout(std::move(l)), motion(now), plant(TSimPlant::DefaultFor(n))
{
    InstallOperations();
    ResetMemory(now);
}

void TSimAxis::InstallOperations()
{
    for (int d = 1; d <= 6; ++d) {
        std::function<void(int64_t)> effect;
        if (d == 3)
            effect = [this](int64_t) { alarms.Reset(); };
        else if (d == 4)
            effect = [this](int64_t now) { motion.ClearPosition(now); };
        else if (d == 5)
            effect = [this](int64_t) { alarms.ClearHistory(); };
        adjustments[size_t(d - 1)] = std::make_unique<TSimAdjustment>(d, effect);
        if (d == 3)
            adjustments[size_t(d - 1)]->refuse = [this] { return alarms.Persistent(); };
        adjustments[size_t(d - 1)]->Install(operations);
    }
    operations.SetConstant("W01", 0); // the operation trace can be used
    testRun = std::make_unique<TSimTestRun>(memory, motion, alarms, layout.commonAddress);
    testRun->Install(operations);
    measurement = std::make_unique<TSimMeasurement>(memory, alarms, plant, layout.commonAddress, layout.traceRecorder);
    measurement->Install(operations);
    tuning = std::make_unique<TSimTuning>(memory, plant, motion, alarms, layout.commonAddress);
    tuning->Install(operations);
    trace.SetLayout(layout.traceRecorder);
    trace.Install(operations);
}

void TSimAxis::RestoreOperation(const std::string &code)
{
    if (code == "W01") {
        operations.SetConstant("W01", 0);
        return;
    }
    if (code.size() == 3 && code[0] == 'W' && code[1] >= '1' && code[1] <= '6' && code[2] >= '0' && code[2] <= '3') {
        adjustments[size_t(code[1] - '1')]->Install(operations, false);
        return;
    }
    if (testRun->Restore(operations, code))
        return;
    if (tuning->Restore(operations, code))
        return;
    if (trace.Restore(operations, code))
        return;
    if (measurement->Restore(operations, code))
        return;
    operations.Unregister(code);
}

void TSimAxis::ResetMemory(int64_t now)
{
    memory.Clear();
    layout.ApplyTo(memory);
    alarms.Attach(&memory, layout.nowAlarmAddress, layout.historyAlarmAddress);
    pins.clear();
    for (auto &a : adjustments)
        a->End(now);
    testRun->Reset(now);
    measurement->Reset();
    tuning->Reset(now);
    Refresh(now);
}

void TSimAxis::Pin(uint32_t address, int length, uint32_t raw)
{
    pins[address & TSimMemory::Mask] = {length, raw};
    memory.SetValue(address, raw, length);
}

bool TSimAxis::Unpin(uint32_t address)
{
    return pins.erase(address & TSimMemory::Mask) != 0;
}

const TSimMonitorItem *TSimAxis::FindMonitorItem(const std::string &symbol) const
{
    const std::string wanted = Lower(symbol);
    for (const TSimMonitorItem &item : layout.monitorItems)
        if (Lower(item.symbol) == wanted)
            return &item;
    return nullptr;
}

const TSimMonitorItem *TSimAxis::MonitorItemAt(uint32_t address) const
{
    for (const TSimMonitorItem &item : layout.monitorItems)
        if (item.address == address)
            return &item;
    return nullptr;
}

void TSimAxis::RefreshMonitor(int64_t now)
{
    motion.Update(now);
    for (const TSimMonitorItem &item : layout.monitorItems) {
        if (item.quantity == TSimQuantity::None || pins.count(item.address))
            continue;
        double value = motion.Value(item.quantity);
        if (item.quantity == TSimQuantity::AlarmCode)
            value = alarms.Code();
        else if (item.quantity == TSimQuantity::State)
            value = alarms.Active() ? 2 : 1;
        int decimals = item.decimals;
        if (item.decimalsAddress) {
            decimals = memory.Byte(*item.decimalsAddress);
            if (decimals > 10)
                decimals = 0;
        }
        memory.SetValue(item.address, RawOf(item, value, decimals), item.length);
    }
    for (const auto &[address, pin] : pins)
        memory.SetValue(address, pin.raw, pin.length);
}

void TSimAxis::Refresh(int64_t now)
{
    operations.Tick(now);
    alarms.Refresh(now);
    RefreshMonitor(now);
}

void TSimAxis::Receive(uint8_t byte, int64_t now, std::vector<TReply> &replies, bool &cancelPending)
{
    // ENQ restarts the byte state at any moment: the start of a polling, a
    // keep-alive or the line reset.
    if (byte == TSimFrame::ENQ) {
        state = TState::Addressed;
        cancelPending = true;
        spoiled.reset();
        return;
    }
    switch (state) {
    case TState::Idle:
        return;
    case TState::Addressed: {
        const bool mine = byte == TSimFrame::AddressByte(number) || (answersAxis0 && byte == TSimFrame::AddressByte(0));
        state = TState::Idle;
        if (!mine)
            return;
        ++stats.polls;
        if (faults.silent)
            return;
        if (faults.silentAfter > 0 && --faults.silentAfter == 0)
            faults.silent = true; // this polling is the last one answered
        if (faults.failFirst > 0) {
            --faults.failFirst;
            spoiled = faults.failKind;
            if (*spoiled == TSimFaults::TFailKind::Silent)
                return;
        }
        if (faults.nak) {
            replies.push_back({std::string(1, char(TSimFrame::NAK)), 0});
            return;
        }
        replies.push_back({std::string(1, char(TSimFrame::EOT)), int64_t(faults.latePollMs) * 1000});
        state = TState::Selected;
        return;
    }
    case TState::Selected:
        if (byte == TSimFrame::STX) {
            text.clear();
            state = TState::Text;
        }
        return;
    case TState::Text:
        if (byte == TSimFrame::STX) {
            text.clear();
        } else if (byte == TSimFrame::ETX) {
            checkChars.clear();
            state = TState::Check;
        } else if (text.size() >= size_t(MaxText)) {
            ++stats.overlong;
            state = TState::Idle;
        } else {
            text += char(byte);
        }
        return;
    case TState::Check: {
        checkChars += char(byte);
        if (checkChars.size() < 2)
            return;
        // The program sends upper-case check characters; anything else is
        // a bad frame, and a bad frame gets no answer.
        if (checkChars != TSimFrame::CheckText(TSimFrame::Check(text))) {
            ++stats.badChecks;
            state = TState::Idle;
            return;
        }
        ++stats.frames;
        log.push_back(text);
        if (log.size() > LogSize)
            log.pop_front();
        std::optional<std::string> answer = Execute(text, now);
        if (commandHook)
            commandHook(number, text, answer ? *answer : std::string());
        if (!answer) {
            ++stats.malformed;
            state = TState::Idle;
            return;
        }
        const std::string answerText = Answer(text, *answer);
        uint8_t check = TSimFrame::Check(answerText);
        if (faults.badCheck || spoiled == TSimFaults::TFailKind::BadCheck)
            check = uint8_t(check + 1);
        std::string frame;
        frame += char(TSimFrame::STX);
        frame += answerText;
        frame += char(TSimFrame::ETX);
        frame += TSimFrame::CheckText(check, faults.lowerCheck);
        replies.push_back({frame, int64_t(faults.lateMs) * 1000});
        state = TState::AwaitEot;
        return;
    }
    case TState::AwaitEot:
        if (byte == TSimFrame::EOT) {
            state = TState::Idle;
            if (faults.noAck || spoiled == TSimFaults::TFailKind::NoAck)
                return;
            ++stats.acks;
            replies.push_back({std::string(1, char(TSimFrame::ACK)), 0});
        } else if (byte == TSimFrame::NAK) {
            ++stats.naks;
            state = TState::Idle;
        }
        return;
    }
}

std::string TSimAxis::Answer(const std::string &command, std::string answer) const
{
    const char letter = command.empty() ? '\0' : command[0];
    if (letter == 'H' && command == "H0") {
        switch (faults.h0Form) {
        case TSimFaults::TH0Form::Correct:
            break;
        case TSimFaults::TH0Form::FirstChar:
            answer[0] = '1';
            break;
        case TSimFaults::TH0Form::Short:
            answer.pop_back();
            break;
        case TSimFaults::TH0Form::Long:
            answer += '0';
            break;
        case TSimFaults::TH0Form::NonHex:
            answer[1] = 'G';
            break;
        }
    }
    if (faults.badEcho && std::string("OPQYZ").find(letter) != std::string::npos && !answer.empty()) {
        char &last = answer.back();
        const uint32_t digit = *TSimFrame::ParseUpperHex(std::string(1, last)) ^ 1;
        last = TSimFrame::Hex(digit, 1)[0];
    }
    if (faults.empty)
        return {};
    if (faults.longLength > 0 && answer.size() < size_t(faults.longLength))
        answer.append(size_t(faults.longLength) - answer.size(), '0');
    return answer;
}

std::optional<std::string> TSimAxis::Execute(const std::string &command, int64_t now)
{
    if (command.empty())
        return std::nullopt;
    Refresh(now);
    const char letter = command[0];
    const std::string args = command.substr(1);
    auto hexAt = [&](size_t pos, size_t count) { return TSimFrame::ParseUpperHex(std::string_view(args).substr(pos, count)); };

    switch (letter) {
    case 'H':
        if (command == "H0")
            return "0" + TSimFrame::Hex(code, 6);
        if (command == "H1") {
            released = true;
            return std::string("0");
        }
        return std::nullopt;
    case 'R':
    case 'M': {
        if (args.size() != 5)
            return std::nullopt;
        const auto address = hexAt(0, 5);
        if (!address)
            return std::nullopt;
        std::string answer;
        for (uint8_t b : memory.Read(*address, letter == 'R' ? 4 : 8))
            answer += TSimFrame::Hex(b, 2);
        return answer;
    }
    case 'O':
    case 'P':
    case 'Q':
    case 'Y':
    case 'Z': {
        const size_t dataBytes = letter == 'O' ? 1 : (letter == 'P' || letter == 'Y') ? 2 : 4;
        if (args.size() != 5 + 2 * dataBytes)
            return std::nullopt;
        const auto address = hexAt(0, 5);
        const auto value = hexAt(5, 2 * dataBytes);
        if (!address || !value)
            return std::nullopt;
        // The data digits come most significant first; memory keeps the
        // least significant byte at the address.
        memory.SetValue(*address, *value, int(dataBytes));
        if (letter == 'Y' || letter == 'Z')
            ++stats.workWrites;
        else
            ++stats.persistentWrites;
        return args;
    }
    case 'W':
    case 'L':
        if (!TSimOperations::IsOperationCode(command))
            return std::nullopt;
        return TSimFrame::Hex(operations.Dispatch(command, now), 8);
    default:
        return std::nullopt;
    }
}
