#include "sim/SimTestRun.h"

#include "sim/SimAlarms.h"
#include "sim/SimControl.h"
#include "sim/SimFrame.h"
#include "sim/SimMemory.h"
#include "sim/SimMotion.h"
#include "sim/SimOperations.h"

#include <algorithm>
#include <cmath>

namespace {
const char *const Codes[] = {"W80", "W81", "W83", "W84", "W85", "W90", "W91", "W93",
                             "W94", "W95", "W96", "W97", "W98"};

std::string Upper(std::string text)
{
    for (char &c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

const char *DirectionName(TSimTestRun::TDirection d)
{
    return d == TSimTestRun::TDirection::Forward ? "fwd" : d == TSimTestRun::TDirection::Reverse ? "rev" : "none";
}
} // namespace

TSimTestRun::TSimTestRun(TSimMemory &m, TSimMotion &mo, TSimAlarms &a, std::optional<uint32_t> c)
    : memory(m), motion(mo), alarms(a), common(c)
{
}

void TSimTestRun::Install(TSimOperations &operations)
{
    for (const char *code : Codes)
        Restore(operations, code);
    operations.AddTicker([this](int64_t now) { Tick(now); });
}

bool TSimTestRun::Restore(TSimOperations &operations, const std::string &code)
{
    if (std::find(std::begin(Codes), std::end(Codes), code) == std::end(Codes))
        return false;
    operations.Register(code, [this, code](int64_t now) { return Handle(code, now); });
    return true;
}

void TSimTestRun::Reset(int64_t now)
{
    StopMotion(now);
    servo = false;
    kind = -1;
    feedDone = false;
    apmon = pmon = 0;
    forced.Clear();
    if (common) {
        memory.SetValue(*common, 100, 2);       // speed command / feed speed
        memory.SetValue(*common + 2, 0, 2);     // end action
        memory.SetValue(*common + 4, 10000, 4); // feed amount: one turn
    }
    WriteMonitors();
}

uint16_t TSimTestRun::Word(uint32_t offset) const
{
    return common ? uint16_t(memory.Value(*common + offset, 2)) : 0;
}

void TSimTestRun::WriteMonitors()
{
    if (!common)
        return;
    memory.SetValue(*common + 8, uint32_t(apmon), 4);
    memory.SetValue(*common + 12, uint32_t(pmon), 4);
}

void TSimTestRun::Enter(int k)
{
    if (kind != k)
        servo = false;
    kind = k;
}

void TSimTestRun::StopMotion(int64_t now)
{
    Advance(now);
    if (jog != TDirection::None || feeding)
        motion.Stop(now);
    jog = TDirection::None;
    if (feeding) {
        feeding = false;
        feedDirection = TDirection::None;
        pmon = 0;
    }
    WriteMonitors();
}

void TSimTestRun::ServoOff(int64_t now)
{
    StopMotion(now);
    servo = false;
    pmon = 0; // the deviation is cleared while the servo is off
    WriteMonitors();
}

void TSimTestRun::Tick(int64_t now)
{
    Advance(now);
    // The watchdog: a run whose commands stopped coming stops by itself.
    if ((jog != TDirection::None || feeding) && now - lastRunCommand > watchdogUs)
        StopMotion(now);
}

static_assert(TSimMotion::PulsesPerRev == 10000.0, "the feed counts 10000 pulses a turn");

void TSimTestRun::Advance(int64_t now)
{
    if (!feeding)
        return;
    // Whole pulses, counted exactly: rpm * 10000 pulses per turn / 60 s.
    const int64_t travelled = std::max<int64_t>(0, now - feedStart) * feedSpeed / 6000;
    const auto done = uint32_t(std::min<int64_t>(feedAmount, travelled));
    const int sign = feedDirection == TDirection::Forward ? 1 : -1;
    apmon = int32_t(uint32_t(feedFrom) + uint32_t(sign) * done);
    if (done >= feedAmount) {
        feeding = false;
        feedDone = true;
        feedDirection = TDirection::None;
        pmon = 0;
        motion.Stop(now);
    } else {
        // The deviation a position loop needs to drive this speed.
        pmon = sign * int32_t(std::lround(feedPulsesPerSecond / TSimMotion::PositionGain));
    }
    WriteMonitors();
}

uint32_t TSimTestRun::Handle(const std::string &code, int64_t now)
{
    if (const std::optional<uint32_t> v = forced.Take(code))
        return *v;
    const int k = code[1] == '8' ? 0 : 1;
    const int role = code[2] - '0';
    // A model without a test-run area cannot use the mode.
    if (!common)
        return 2;
    if (role == 0) {
        ServoOff(now);
        kind = -1;
        feedDone = false;
        return 0;
    }
    Enter(k);
    if (role == 1 || role == 3)
        return Idle(role, now);
    return k == 0 ? Velocity(role, now) : Pulse(role, now);
}

uint32_t TSimTestRun::Idle(int role, int64_t now)
{
    if (role == 1) {
        ServoOff(now);
        return 0;
    }
    // Role 3, the idle poll with the servo on: no run is requested any more.
    StopMotion(now);
    feedDone = false;
    if (alarms.Active()) {
        ServoOff(now);
        return 7;
    }
    servo = true;
    return 0;
}

uint32_t TSimTestRun::Refusal(TDirection d, int64_t now)
{
    if (alarms.Active()) {
        ServoOff(now);
        return 7;
    }
    if (!servo)
        return 8;
    if ((d == TDirection::Forward && overtravelForward) || (d == TDirection::Reverse && overtravelReverse)) {
        StopMotion(now);
        return 9;
    }
    return 0;
}

uint32_t TSimTestRun::Velocity(int role, int64_t now)
{
    const TDirection d = role == 4 ? TDirection::Forward : TDirection::Reverse;
    if (const uint32_t refused = Refusal(d, now))
        return refused;
    const double rpm = double(int16_t(Word(0)));
    if (jog != d)
        motion.SetSpeed(d == TDirection::Forward ? rpm : -rpm, now);
    jog = d;
    lastRunCommand = now;
    return 0;
}

uint32_t TSimTestRun::Pulse(int role, int64_t now)
{
    Advance(now);
    switch (role) {
    case 4:
    case 5: {
        const TDirection d = role == 4 ? TDirection::Forward : TDirection::Reverse;
        if (const uint32_t refused = Refusal(d, now))
            return refused;
        const uint32_t amount = memory.Value(*common + 4, 4);
        const uint16_t speed = Word(0);
        if (amount == 0 || amount > 0x7FFFFFFFu || speed == 0 || speed > 32767)
            return 11;
        StopMotion(now);
        feeding = true;
        feedDone = false;
        feedDirection = d;
        feedStart = lastRunCommand = now;
        feedFrom = apmon;
        feedAmount = amount;
        feedSpeed = speed;
        feedPulsesPerSecond = speed * TSimMotion::PulsesPerRev / 60.0;
        motion.SetSpeed(d == TDirection::Forward ? speed : -double(speed), now);
        Advance(now);
        return 0;
    }
    case 6:
    case 7: {
        const TDirection d = role == 6 ? TDirection::Forward : TDirection::Reverse;
        if (alarms.Active()) {
            ServoOff(now);
            return 7;
        }
        if (feedDone) {
            feedDone = false;
            return 12;
        }
        if (!feeding || feedDirection != d)
            return 12; // nothing runs in that direction: treat it as done
        lastRunCommand = now;
        return 0;
    }
    case 8:
        StopMotion(now);
        feedDone = false;
        pmon = 0;
        WriteMonitors();
        return 0;
    }
    return 2;
}

std::string TSimTestRun::Describe() const
{
    return "kind=" + std::to_string(kind) + " servo=" + (servo ? "on" : "off") + " jog=" + DirectionName(jog) +
           " feed=" + (feeding ? DirectionName(feedDirection) : "none") + " apmon=" + std::to_string(apmon) +
           " pmon=" + std::to_string(pmon) + " overtravel=" + (overtravelForward ? "f" : "-") +
           (overtravelReverse ? "r" : "-") + " watchdog=" + std::to_string(watchdogUs / 1000);
}

const char *TSimTestRun::Usage()
{
    return "testrun N | testrun N CODE V[,V...] | testrun N overtravel fwd|rev|both|none | testrun N watchdog MS";
}

bool TSimTestRun::Control(const std::vector<std::string> &args, int64_t now, std::string &reply)
{
    Tick(now);
    if (args.empty()) {
        reply = Describe();
        return true;
    }
    const std::string what = Upper(args[0]);
    if (what == "OVERTRAVEL" && args.size() == 2) {
        const std::string v = Upper(args[1]);
        if (v != "FWD" && v != "REV" && v != "BOTH" && v != "NONE") {
            reply = Usage();
            return false;
        }
        overtravelForward = v == "FWD" || v == "BOTH";
        overtravelReverse = v == "REV" || v == "BOTH";
        return true;
    }
    if (what == "WATCHDOG" && args.size() == 2) {
        int64_t ms = 0;
        if (!TSimControl::ParseNumber(args[1], ms) || ms < 1 || ms > 60000) {
            reply = "watchdog is 1..60000 ms";
            return false;
        }
        watchdogUs = ms * 1000;
        return true;
    }
    if (args.size() == 2 && std::find(std::begin(Codes), std::end(Codes), what) != std::end(Codes)) {
        // Replies the next commands of this code give, in order.
        std::deque<uint32_t> values;
        size_t from = 0;
        const std::string &list = args[1];
        while (from <= list.size()) {
            const size_t comma = std::min(list.find(',', from), list.size());
            int64_t v = 0;
            if (!TSimControl::ParseNumber(list.substr(from, comma - from), v) || v < 0 || v > int64_t(UINT32_MAX)) {
                reply = "replies are 32-bit values separated by commas: " + list;
                return false;
            }
            values.push_back(uint32_t(v));
            from = comma + 1;
        }
        forced.Set(what, std::move(values));
        return true;
    }
    reply = Usage();
    return false;
}
