#pragma once

#include "comm/TranAmp.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

class TDMEnvironment;

// The transaction layer between the windows and the protocol engine. Each
// operation performs one command for one axis (1 to 15), converts between the
// amplifier's bytes and the program's values, and handles a failure the same
// way everywhere: a warning naming the axis (only while the cable is
// connected; without it the main window's cable watch speaks once) and the
// axis marked not in use (amplifier code -1). Operations return true on
// success; after false their outputs are undefined and the caller only stops
// or moves to another axis. No state of its own.
//
// A call that cannot be right whatever the line does (axis outside 1 to 15, a
// word count the answer cannot hold, an operation a kind does not have)
// returns false at once: nothing is sent, shown or marked.
class TDMTran
{
public:
    using TWords = std::array<uint16_t, 4>;

    // Kinds of the adjustment family.
    enum TAdjustKind { akOffsetVRef = 0, akOffsetTComp = 1, akAlarmReset = 2, akAlarmTraceClear = 3,
                       akAbsEncoderClear = 4, akExcitation = 5 };
    // Kinds of the test-run family.
    enum TTestRunKind { tkVelocityJog = 0, tkPulseJog = 1, tkNotchTuning = 2, tkSystemAnalysis = 3,
                        tkTuningResultSave = 4, tkFrequencyTuning = 5 };

    // The engine is created after this module at start-up; SetEngine hands it
    // over. Without an engine every operation fails like a silent line.
    explicit TDMTran(TDMEnvironment &environment, TTranAmp *engine = nullptr);
    ~TDMTran();
    TDMTran(const TDMTran &) = delete;
    TDMTran &operator=(const TDMTran &) = delete;

    void SetEngine(TTranAmp *engine) { amp = engine; }
    TTranAmp *Engine() const { return amp; }

    // The module the program created (the latest one alive), or nullptr.
    static TDMTran *Instance();

    // --- Memory access ---
    // R at address: words 1 or 2 from the four bytes read.
    bool ReadWords4(int axis, uint32_t address, int count, TWords &words);
    // M at address: words 1 to 4 from the eight bytes read.
    bool ReadWords8(int axis, uint32_t address, int count, TWords &words);
    // M at address: the eight bytes in address order.
    bool ReadBytes8(int axis, uint32_t address, QByteArray &bytes);
    // O, P, Q: persistent writes of 1, 2, 4 bytes; Y, Z: working-area writes.
    // Values go to the amplifier most significant byte first.
    bool WriteByte(int axis, uint32_t address, uint8_t value);
    bool WriteWord(int axis, uint32_t address, uint16_t value);
    bool WriteLong(int axis, uint32_t address, uint32_t value);
    bool WriteWorkWord(int axis, uint32_t address, uint16_t value);
    bool WriteWorkLong(int axis, uint32_t address, uint32_t value);

    // --- Adjustment family (kind TAdjustKind), answer V32 ---
    bool AdjustEnd(int axis, int kind, uint32_t &v32);
    bool AdjustQuery(int axis, int kind, uint32_t &v32);
    bool AdjustStart(int axis, int kind, uint32_t &v32);
    bool AdjustProgress(int axis, int kind, uint32_t &v32);

    // --- Test-run family (kind TTestRunKind), answer V32. An operation that
    // does not exist for a kind returns false without sending anything. ---
    bool TestRunEnd(int axis, int kind, uint32_t &v32);
    bool TestRunStatus(int axis, int kind, uint32_t &v32);
    bool TestRunRunStatus(int axis, int kind, uint32_t &v32);
    bool JogForward(int axis, int kind, uint32_t &v32);
    bool JogReverse(int axis, int kind, uint32_t &v32);
    bool TuningStart(int axis, int kind, uint32_t &v32);
    bool TuningProgress(int axis, int kind, uint32_t &v32);
    bool PulseJogForwardRepeat(int axis, int kind, uint32_t &v32);
    bool PulseJogReverseRepeat(int axis, int kind, uint32_t &v32);
    bool PulseJogStop(int axis, int kind, uint32_t &v32);
    bool TuningSave(int axis, int kind, uint32_t &v32);

    // --- Operation trace ---
    // W01: usable is true when the amplifier answers 0. The exchange itself
    // may succeed with usable false.
    bool TraceUsable(int axis, bool &usable);
    bool TraceStatus(int axis, uint8_t &s, uint32_t &n); // L00
    bool TraceStart(int axis, uint8_t &s, uint32_t &n);  // L01
    bool TraceStop(int axis, uint8_t &s, uint32_t &n);   // L03
    bool TraceClear(int axis, uint8_t &s, uint32_t &n);  // L04

    // --- Shared with the callers that talk to the engine themselves ---
    // The message for a failed result, with the axis as one upper-case hex
    // digit ("通信タイムアウト。（軸番号[#A]）"); empty for trOk.
    static QString FailureText(TTranResult result, int axis);
    // Word i := byte[2i] | byte[2i+1] << 8 for i < count. False when the bytes
    // do not hold count words.
    static bool AssembleWords(const uint8_t *bytes, int byteCount, int count, TWords &words);
    enum TTestRunOp { opEnd, opStatus, opRunStatus, opJogForward, opJogReverse, opTuningStart,
                      opTuningProgress, opPulseJogForwardRepeat, opPulseJogReverseRepeat,
                      opPulseJogStop, opTuningSave };
    // The W code (0x80 for W80 ...) of a test-run operation for a kind, -1
    // when the kind has no such operation.
    static int TestRunCode(TTestRunOp op, int kind);
    // The W code of an adjustment step 0 to 3 for a kind, -1 for a bad kind.
    static int AdjustCode(int kind, int step);

private:
    // The failure path: warn while CTS is on, mark the axis, return false.
    bool Check(int axis, TTranResult result);
    bool ValidAxis(int axis) const { return axis >= 1 && axis <= 15; }
    bool Operation(int axis, int code, uint32_t &v32);
    bool TestRun(TTestRunOp op, int axis, int kind, uint32_t &v32);
    bool Trace(int axis, uint8_t code, uint8_t &s, uint32_t &n);

    TDMEnvironment &env;
    TTranAmp *amp;
    TDMTran *previousInstance;
};
