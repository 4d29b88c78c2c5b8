#pragma once

#include "comm/TranAmp.h"

#include <QMap>
#include <QStringList>

// An engine without a line: the port opens or not, CTS is what the test
// says, every command answers with the result scripted for its axis and
// records what it was asked.
class TFakeAmp : public TTranAmp
{
public:
    bool canOpen = true;
    bool cts = true;
    bool open = false;
    QMap<int, TTranResult> results; // per axis; trOk when not set
    QMap<int, int32_t> codes;       // H0 answers per axis
    std::array<uint8_t, 8> memory{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    uint32_t value = 0;             // W and L answers
    QStringList calls;              // "R1 F8000", "P1 F8000 12 34", ...

    void OpenPort(int, uint8_t port) override
    {
        calls << QStringLiteral("open %1").arg(port);
        open = canOpen;
    }
    void ClosePort() override { open = false; }
    bool PortOpen() const override { return open; }
    void SetRts(bool) override {}
    bool CtsOn() const override { return open && cts; }
    void ResetLine() override { calls << QStringLiteral("reset"); }

    TTranResult CmdH0(int axis, int32_t &code) override
    {
        calls << Call("H0", axis);
        code = codes.value(axis, -1);
        return Result(axis);
    }
    TTranResult CmdH1(int axis) override
    {
        calls << Call("H1", axis);
        return Result(axis);
    }
    TTranResult CmdR(int axis, uint32_t address, std::array<uint8_t, 4> &bytes) override
    {
        calls << Call("R", axis, address);
        std::copy_n(memory.begin(), 4, bytes.begin());
        return Result(axis);
    }
    TTranResult CmdM(int axis, uint32_t address, std::array<uint8_t, 8> &bytes) override
    {
        calls << Call("M", axis, address);
        bytes = memory;
        return Result(axis);
    }
    TTranResult CmdO(int axis, uint32_t a, uint8_t b0) override { return Write("O", axis, a, {b0}); }
    TTranResult CmdP(int axis, uint32_t a, uint8_t b0, uint8_t b1) override { return Write("P", axis, a, {b0, b1}); }
    TTranResult CmdQ(int axis, uint32_t a, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) override
    {
        return Write("Q", axis, a, {b0, b1, b2, b3});
    }
    TTranResult CmdY(int axis, uint32_t a, uint8_t b0, uint8_t b1) override { return Write("Y", axis, a, {b0, b1}); }
    TTranResult CmdZ(int axis, uint32_t a, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) override
    {
        return Write("Z", axis, a, {b0, b1, b2, b3});
    }
    TTranResult CmdW(int axis, uint8_t code, uint32_t &v) override
    {
        calls << QStringLiteral("W%1 %2").arg(code, 2, 16, QLatin1Char('0')).arg(axis).toUpper();
        v = value;
        return Result(axis);
    }
    TTranResult CmdL(int axis, uint8_t code, uint8_t &s, uint32_t &n) override
    {
        calls << QStringLiteral("L%1 %2").arg(code, 2, 16, QLatin1Char('0')).arg(axis).toUpper();
        s = uint8_t(value >> 24);
        n = value & 0xFFFFFF;
        return Result(axis);
    }

private:
    TTranResult Result(int axis) const { return results.value(axis, trOk); }
    static QString Call(const char *code, int axis, int64_t address = -1)
    {
        QString c = QString::fromLatin1(code) + QString::number(axis, 16).toUpper();
        if (address >= 0)
            c += QStringLiteral(" %1").arg(address, 5, 16, QLatin1Char('0')).toUpper();
        return c;
    }
    TTranResult Write(const char *code, int axis, uint32_t address, std::initializer_list<uint8_t> bytes)
    {
        QString c = Call(code, axis, address);
        for (uint8_t b : bytes)
            c += QStringLiteral(" %1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
        calls << c;
        return Result(axis);
    }
};
