#include "direct/DMMakerDirect.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "comm/DMTran.h"

TDMMakerDirect::TDMMakerDirect(TAppContext &context) : ctx(context) {}

std::optional<uint32_t> TDMMakerDirect::ParseHex(const QString &text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    uint32_t value = 0;
    for (QChar c : text) {
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + uint32_t(digit);
    }
    return value;
}

QString TDMMakerDirect::Hex(uint32_t value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

std::optional<int> TDMMakerDirect::ParseAxis(const QString &text)
{
    const std::optional<uint32_t> n = ParseHex(text, 1);
    if (!n)
        TMessenger::Instance().Warning(InvalidText(AxisField()));
    return n ? std::optional<int>(int(*n)) : std::nullopt;
}

TTranAmp *TDMMakerDirect::Engine() const
{
    return ctx.Engine();
}

bool TDMMakerDirect::Check(int axis, TTranResult result)
{
    if (result == trOk)
        return true;
    // Refused inside another exchange's wait: the axis itself is not at fault.
    if (Engine() && Engine()->InTransaction())
        return false;
    TMessenger::Instance().Warning(TDMTran::FailureText(result, axis));
    ctx.env.SetAmpCode(axis, -1); // does nothing for axis 0
    return false;
}

bool TDMMakerDirect::Connect(int axis, int32_t &code)
{
    TTranAmp *amp = Engine();
    int32_t reported = -1;
    if (!Check(axis, amp ? amp->CmdH0(axis, reported) : trTimeout))
        return false;
    code = reported;
    ctx.env.SetAmpCode(axis, reported);
    return true;
}

bool TDMMakerDirect::ReadWords(int axis, uint32_t base, TWords &words)
{
    if ((base & 1) || base > MaxBase) {
        TMessenger::Instance().Warning(RangeText());
        return false;
    }
    TTranAmp *amp = Engine();
    std::array<uint8_t, 8> bytes{};
    if (!Check(axis, amp ? amp->CmdM(axis, base, bytes) : trTimeout))
        return false;
    return TDMTran::AssembleWords(bytes.data(), int(bytes.size()), 4, words);
}

TDMMakerDirect::TWrite TDMMakerDirect::WriteWord(int axis, uint32_t address, uint32_t value)
{
    if (address > MaxAddress - 1) {
        TMessenger::Instance().Warning(RangeText());
        return TWrite::Refused;
    }
    if (address & 1) {
        TMessenger::Instance().Warning(InvalidText(AddressField()));
        return TWrite::Refused;
    }
    if (value > 0xFFFF) {
        TMessenger::Instance().Warning(InvalidText(ValueField()));
        return TWrite::Refused;
    }
    TTranAmp *amp = Engine();
    const TTranResult r = amp ? amp->CmdP(axis, address, uint8_t(value >> 8), uint8_t(value & 0xFF)) : trTimeout;
    return Check(axis, r) ? TWrite::Written : TWrite::Failed;
}

// These windows speak English only, whatever the display language.
QString TDMMakerDirect::InvalidText(const QString &field)
{
    return QStringLiteral("Invalid setting was inputted.\r\n( %1 )").arg(field);
}

QString TDMMakerDirect::AxisField()
{
    return QStringLiteral("Communication axis specification");
}

QString TDMMakerDirect::AddressField()
{
    return QStringLiteral("Address specification");
}

QString TDMMakerDirect::ValueField()
{
    return QStringLiteral("New setting value");
}

QString TDMMakerDirect::RangeText()
{
    return QStringLiteral("The address is the outside of the range.");
}
