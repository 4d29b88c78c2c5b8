#include "comm/DMTran.h"

#include "app/DMEnvironment.h"
#include "app/Messenger.h"

#include <QCoreApplication>

namespace {

TDMTran *g_instance = nullptr;

constexpr int NoCode = -1;

// Codes by operation (rows) and kind (columns 0 to 5).
constexpr int TestRunCodes[][6] = {
    /* opEnd */ {0x80, 0x90, 0xA0, 0xB0, 0x70, 0xD0},
    /* opStatus */ {0x81, 0x91, 0xA1, 0xB1, 0x71, 0xD1},
    /* opRunStatus */ {0x83, 0x93, 0xA3, 0xB3, NoCode, 0xD3},
    /* opJogForward */ {0x84, 0x94, NoCode, NoCode, NoCode, NoCode},
    /* opJogReverse */ {0x85, 0x95, NoCode, NoCode, NoCode, NoCode},
    /* opTuningStart */ {NoCode, NoCode, 0xA4, 0xB4, NoCode, 0xD4},
    /* opTuningProgress */ {NoCode, NoCode, 0xA6, 0xB6, NoCode, 0xD6},
    /* opPulseJogForwardRepeat */ {NoCode, 0x96, NoCode, NoCode, NoCode, NoCode},
    /* opPulseJogReverseRepeat */ {NoCode, 0x97, NoCode, NoCode, NoCode, NoCode},
    /* opPulseJogStop */ {NoCode, 0x98, NoCode, NoCode, NoCode, NoCode},
    /* opTuningSave */ {NoCode, NoCode, NoCode, NoCode, 0x74, NoCode},
};

// Tens digit of the adjustment family by kind: V-REF, T-COMP, alarm reset,
// alarm trace clear, absolute-encoder clear, fixed excitation.
constexpr int AdjustTens[6] = {0x10, 0x20, 0x30, 0x50, 0x40, 0x60};

} // namespace

TDMTran::TDMTran(TDMEnvironment &environment, TTranAmp *engine)
    : env(environment), amp(engine), previousInstance(g_instance)
{
    g_instance = this;
}

TDMTran::~TDMTran()
{
    if (g_instance == this)
        g_instance = previousInstance;
}

TDMTran *TDMTran::Instance()
{
    return g_instance;
}

QString TDMTran::FailureText(TTranResult result, int axis)
{
    const QString digit = QString::number(axis, 16).toUpper();
    switch (result) {
    case trOk: return QString();
    case trCommError: return QCoreApplication::translate("TDMTran", "通信異常です。（軸番号[#%1]）").arg(digit);
    case trNak: return QCoreApplication::translate("TDMTran", "軸番号が重複しています。（軸番号[#%1]）").arg(digit);
    case trTimeout: break;
    }
    return QCoreApplication::translate("TDMTran", "通信タイムアウト。（軸番号[#%1]）").arg(digit);
}

bool TDMTran::AssembleWords(const uint8_t *bytes, int byteCount, int count, TWords &words)
{
    if (count < 1 || count > int(words.size()) || 2 * count > byteCount)
        return false;
    for (int i = 0; i < count; ++i)
        words[size_t(i)] = uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return true;
}

int TDMTran::TestRunCode(TTestRunOp op, int kind)
{
    if (op < opEnd || op > opTuningSave || kind < 0 || kind > 5)
        return NoCode;
    return TestRunCodes[op][kind];
}

int TDMTran::AdjustCode(int kind, int step)
{
    if (kind < 0 || kind > 5 || step < 0 || step > 3)
        return NoCode;
    return AdjustTens[kind] + step;
}

bool TDMTran::Check(int axis, TTranResult result)
{
    if (result == trOk)
        return true;
    // Still inside another transaction's wait: the engine refused this one
    // and said so. Nothing is known about the axis, so it stays in use.
    if (amp && amp->InTransaction())
        return false;
    // Without the cable every axis fails in turn; the cable watch says so once.
    if (amp && amp->CtsOn())
        TMessenger::Instance().Warning(FailureText(result, axis));
    env.SetAmpCode(axis, -1);
    return false;
}

bool TDMTran::ReadWords4(int axis, uint32_t address, int count, TWords &words)
{
    if (!ValidAxis(axis) || count < 1 || count > 2)
        return false;
    std::array<uint8_t, 4> bytes{};
    if (!Check(axis, amp ? amp->CmdR(axis, address, bytes) : trTimeout))
        return false;
    return AssembleWords(bytes.data(), int(bytes.size()), count, words);
}

bool TDMTran::ReadWords8(int axis, uint32_t address, int count, TWords &words)
{
    if (!ValidAxis(axis) || count < 1 || count > 4)
        return false;
    std::array<uint8_t, 8> bytes{};
    if (!Check(axis, amp ? amp->CmdM(axis, address, bytes) : trTimeout))
        return false;
    return AssembleWords(bytes.data(), int(bytes.size()), count, words);
}

bool TDMTran::ReadBytes8(int axis, uint32_t address, QByteArray &out)
{
    if (!ValidAxis(axis))
        return false;
    std::array<uint8_t, 8> bytes{};
    if (!Check(axis, amp ? amp->CmdM(axis, address, bytes) : trTimeout))
        return false;
    out = QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
    return true;
}

bool TDMTran::WriteByte(int axis, uint32_t address, uint8_t value)
{
    if (!ValidAxis(axis))
        return false;
    return Check(axis, amp ? amp->CmdO(axis, address, value) : trTimeout);
}

bool TDMTran::WriteWord(int axis, uint32_t address, uint16_t value)
{
    if (!ValidAxis(axis))
        return false;
    return Check(axis, amp ? amp->CmdP(axis, address, uint8_t(value >> 8), uint8_t(value)) : trTimeout);
}

bool TDMTran::WriteLong(int axis, uint32_t address, uint32_t value)
{
    if (!ValidAxis(axis))
        return false;
    return Check(axis, amp ? amp->CmdQ(axis, address, uint8_t(value >> 24), uint8_t(value >> 16),
                                       uint8_t(value >> 8), uint8_t(value))
                           : trTimeout);
}

bool TDMTran::WriteWorkWord(int axis, uint32_t address, uint16_t value)
{
    if (!ValidAxis(axis))
        return false;
    return Check(axis, amp ? amp->CmdY(axis, address, uint8_t(value >> 8), uint8_t(value)) : trTimeout);
}

bool TDMTran::WriteWorkLong(int axis, uint32_t address, uint32_t value)
{
    if (!ValidAxis(axis))
        return false;
    return Check(axis, amp ? amp->CmdZ(axis, address, uint8_t(value >> 24), uint8_t(value >> 16),
                                       uint8_t(value >> 8), uint8_t(value))
                           : trTimeout);
}

bool TDMTran::Operation(int axis, int code, uint32_t &v32)
{
    if (!ValidAxis(axis) || code == NoCode)
        return false;
    return Check(axis, amp ? amp->CmdW(axis, uint8_t(code), v32) : trTimeout);
}

bool TDMTran::AdjustEnd(int axis, int kind, uint32_t &v32) { return Operation(axis, AdjustCode(kind, 0), v32); }
bool TDMTran::AdjustQuery(int axis, int kind, uint32_t &v32) { return Operation(axis, AdjustCode(kind, 1), v32); }
bool TDMTran::AdjustStart(int axis, int kind, uint32_t &v32) { return Operation(axis, AdjustCode(kind, 2), v32); }
bool TDMTran::AdjustProgress(int axis, int kind, uint32_t &v32) { return Operation(axis, AdjustCode(kind, 3), v32); }

bool TDMTran::TestRun(TTestRunOp op, int axis, int kind, uint32_t &v32)
{
    return Operation(axis, TestRunCode(op, kind), v32);
}

bool TDMTran::TestRunEnd(int axis, int kind, uint32_t &v32) { return TestRun(opEnd, axis, kind, v32); }
bool TDMTran::TestRunStatus(int axis, int kind, uint32_t &v32) { return TestRun(opStatus, axis, kind, v32); }
bool TDMTran::TestRunRunStatus(int axis, int kind, uint32_t &v32) { return TestRun(opRunStatus, axis, kind, v32); }
bool TDMTran::JogForward(int axis, int kind, uint32_t &v32) { return TestRun(opJogForward, axis, kind, v32); }
bool TDMTran::JogReverse(int axis, int kind, uint32_t &v32) { return TestRun(opJogReverse, axis, kind, v32); }
bool TDMTran::TuningStart(int axis, int kind, uint32_t &v32) { return TestRun(opTuningStart, axis, kind, v32); }
bool TDMTran::TuningProgress(int axis, int kind, uint32_t &v32) { return TestRun(opTuningProgress, axis, kind, v32); }
bool TDMTran::PulseJogForwardRepeat(int axis, int kind, uint32_t &v32)
{
    return TestRun(opPulseJogForwardRepeat, axis, kind, v32);
}
bool TDMTran::PulseJogReverseRepeat(int axis, int kind, uint32_t &v32)
{
    return TestRun(opPulseJogReverseRepeat, axis, kind, v32);
}
bool TDMTran::PulseJogStop(int axis, int kind, uint32_t &v32) { return TestRun(opPulseJogStop, axis, kind, v32); }
bool TDMTran::TuningSave(int axis, int kind, uint32_t &v32) { return TestRun(opTuningSave, axis, kind, v32); }

bool TDMTran::TraceUsable(int axis, bool &usable)
{
    uint32_t v32 = 0;
    if (!Operation(axis, 0x01, v32))
        return false;
    usable = v32 == 0;
    return true;
}

bool TDMTran::Trace(int axis, uint8_t code, uint8_t &s, uint32_t &n)
{
    if (!ValidAxis(axis))
        return false;
    return Check(axis, amp ? amp->CmdL(axis, code, s, n) : trTimeout);
}

bool TDMTran::TraceStatus(int axis, uint8_t &s, uint32_t &n) { return Trace(axis, 0x00, s, n); }
bool TDMTran::TraceStart(int axis, uint8_t &s, uint32_t &n) { return Trace(axis, 0x01, s, n); }
bool TDMTran::TraceStop(int axis, uint8_t &s, uint32_t &n) { return Trace(axis, 0x03, s, n); }
bool TDMTran::TraceClear(int axis, uint8_t &s, uint32_t &n) { return Trace(axis, 0x04, s, n); }
