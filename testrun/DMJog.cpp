#include "testrun/DMJog.h"

#include "ZnLibs/ShiftJis.h"
#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"

#include <QCoreApplication>

namespace {
// Not named Tr: the translation scan takes Tr( for tr( and would misread the
// QT_TRANSLATE_NOOP texts passed to it.
QString Translated(const char *text)
{
    return QCoreApplication::translate("TDMJog", text);
}

qint32 Long(uint16_t low, uint16_t high)
{
    return qint32(uint32_t(low) | uint32_t(high) << 16);
}
} // namespace

TDMJog::TDMJog(TAppContext &context) : ctx(context) {}

TDMJog::~TDMJog()
{
    CloseTables();
}

void TDMJog::OpenTables()
{
    ctx.intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds"));
    ctx.intf.LoadTable(cdsModel, QStringLiteral("3_MODEL.cds"));
    cdsTestRun.SetJapanese(ctx.env.Japanese);
    ctx.intf.LoadTable(cdsTestRun, QStringLiteral("3_TESTRUN.cds"));
}

void TDMJog::CloseTables()
{
    cdsAmplifier.Close();
    cdsModel.Close();
    cdsTestRun.Close();
}

QString TDMJog::FunctionName(int type)
{
    switch (type) {
    case tyVelocityJog: return Translated(QT_TRANSLATE_NOOP("TDMJog", "速度JOG運転"));
    case tyPulseJog: return Translated(QT_TRANSLATE_NOOP("TDMJog", "パルス送りJOG運転"));
    case tyNotchTuning: return Translated(QT_TRANSLATE_NOOP("TDMJog", "オートノッチフィルタチューニング"));
    case tySystemAnalysis: return Translated(QT_TRANSLATE_NOOP("TDMJog", "データ測定＆解析"));
    case tyTuningResultSave: return Translated(QT_TRANSLATE_NOOP("TDMJog", "オートチューニング結果保存"));
    case tyFrequencyTuning: return Translated(QT_TRANSLATE_NOOP("TDMJog", "オート制振周波数チューニング"));
    }
    return {};
}

QString TDMJog::ConfirmText(int type)
{
    switch (type) {
    case tyVelocityJog: return Translated(QT_TRANSLATE_NOOP("TDMJog", "速度JOG運転を実行しますか?"));
    case tyPulseJog:
        return Translated(QT_TRANSLATE_NOOP("TDMJog", "パルス送りJOG運転を実行しますか?\r\n（パルス送りJOG運転を実行すると、位置偏差はクリアされます。）"));
    case tyNotchTuning: return Translated(QT_TRANSLATE_NOOP("TDMJog", "オートノッチフィルタチューニングを実行しますか?"));
    case tySystemAnalysis: return Translated(QT_TRANSLATE_NOOP("TDMJog", "データ測定＆解析を実行しますか?"));
    case tyTuningResultSave: return Translated(QT_TRANSLATE_NOOP("TDMJog", "オートチューニング結果保存を実行しますか?"));
    case tyFrequencyTuning: return Translated(QT_TRANSLATE_NOOP("TDMJog", "オート制振周波数チューニングを実行しますか?"));
    }
    return {};
}

QString TDMJog::Title(int type, int axis, const QString &modelName)
{
    return FunctionName(type) + QStringLiteral(" [#%1 : %2]").arg(QString::number(axis, 16), modelName);
}

QString TDMJog::NotReadyText(int type)
{
    return FunctionName(type) + Translated(QT_TRANSLATE_NOOP("TDMJog", "を実行することができません。（準備未完了）"));
}

QString TDMJog::NotUsableText(int type)
{
    return FunctionName(type) + Translated(QT_TRANSLATE_NOOP("TDMJog", "を使用することはできません。"));
}

QString TDMJog::AlarmText()
{
    return Translated(QT_TRANSLATE_NOOP("TDMJog", "アラーム発生中です。\r\nサーボオンできません。"));
}

QString TDMJog::ServoRefusedText()
{
    return Translated(QT_TRANSLATE_NOOP("TDMJog", "サーボオンできません。\r\nサーボアンプの状態を確認してください。"));
}

QString TDMJog::OvertravelText()
{
    return Translated(QT_TRANSLATE_NOOP("TDMJog", "オーバートラベル中です。"));
}

QString TDMJog::OutOfRangeText()
{
    return Translated(QT_TRANSLATE_NOOP("TDMJog", "設定範囲外です。"));
}

QString TDMJog::NoAmplifierText()
{
    return Translated(QT_TRANSLATE_NOOP("TDMJog", "通信可能なサーボアンプが存在しません。"));
}

bool TDMJog::ReadModelName(int axis, QString &name)
{
    if (axis < 1)
        return false;
    int key = -1;
    if (cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(ctx.env.AmpCode(axis))))
        key = cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
    if (!cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)))
        return false;
    const TValue &at = cdsModel.Field(QStringLiteral("AMPLIFIER_ADDRESS"));
    if (at.IsNull())
        return false;
    const auto address = uint32_t(at.AsInt64());
    QByteArray first, second;
    if (!ctx.tran.ReadBytes8(axis, address, first) || !ctx.tran.ReadBytes8(axis, address + 8, second))
        return false;
    QByteArray bytes = first.left(8) + second.left(2);
    for (char &c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    name = ShiftJis::Decode(bytes);
    return true;
}

bool TDMJog::LocateRow(int axis)
{
    if (axis < 1)
        return false;
    int key = -1;
    if (cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(ctx.env.AmpCode(axis))))
        key = cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
    return cdsTestRun.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key));
}

bool TDMJog::HasCommonArea() const
{
    return cdsTestRun.Active() && !cdsTestRun.IsEmpty() && !cdsTestRun.Field(QStringLiteral("COMMON_ADDRESS")).IsNull();
}

QString TDMJog::VcmdUnit() const
{
    return cdsTestRun.Field(QStringLiteral("VCMD_UNIT")).AsString();
}

int TDMJog::VcmdMin() const
{
    return cdsTestRun.Field(QStringLiteral("VCMD_MIN")).AsInteger();
}

int TDMJog::VcmdMax() const
{
    return cdsTestRun.Field(QStringLiteral("VCMD_MAX")).AsInteger();
}

int TDMJog::TcmdMin() const
{
    return cdsTestRun.Field(QStringLiteral("TCMD_MIN")).AsInteger();
}

int TDMJog::TcmdMax() const
{
    return cdsTestRun.Field(QStringLiteral("TCMD_MAX")).AsInteger();
}

QString TDMJog::AnfTuningName() const
{
    return cdsTestRun.Field(QStringLiteral("ANFTUNING_NAME")).AsString();
}

QString TDMJog::AnfTuningUnit() const
{
    return cdsTestRun.Field(QStringLiteral("ANFTUNING_UNIT")).AsString();
}

bool TDMJog::Common(int axis, uint32_t &address)
{
    if (!LocateRow(axis) || !HasCommonArea())
        return false;
    address = uint32_t(cdsTestRun.Field(QStringLiteral("COMMON_ADDRESS")).AsInt64());
    return true;
}

bool TDMJog::ReadVelocityJog(int axis, int &speed, int &endAction)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords4(axis, c, 2, w))
        return false;
    speed = int16_t(w[0]);
    endAction = w[1];
    return true;
}

bool TDMJog::ReadPulseJog(int axis, int &speed, int &endAction, qint64 &feedAmount)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c, 4, w))
        return false;
    speed = int16_t(w[0]);
    endAction = w[1];
    feedAmount = qint64(w[2]) + 65536 * qint64(w[3]);
    return true;
}

bool TDMJog::ReadPositionMonitors(int axis, qint32 &apmon, qint32 &pmon)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c + 8, 4, w))
        return false;
    apmon = Long(w[0], w[1]);
    pmon = Long(w[2], w[3]);
    return true;
}

bool TDMJog::ReadTuningSettings(int axis, int &torque, int &endAction, int &word3)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c, 4, w))
        return false;
    torque = int16_t(w[0]);
    endAction = w[1];
    word3 = w[3];
    return true;
}

bool TDMJog::ReadTuningResult(int axis, int &result)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords4(axis, c + 4, 1, w))
        return false;
    result = int16_t(w[0]);
    return true;
}

bool TDMJog::ReadMeasurementSettings(int axis, uint16_t &word0, uint16_t &word1, uint16_t &word3)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c, 4, w))
        return false;
    word0 = w[0];
    word1 = w[1];
    word3 = w[3];
    return true;
}

bool TDMJog::ReadMeasurementPair(int axis, uint32_t &value)
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords4(axis, c + 8, 2, w))
        return false;
    value = uint32_t(w[0]) + 65536u * w[1];
    return true;
}

bool TDMJog::ReadMeasurementResults(int axis, uint16_t (&words)[8])
{
    uint32_t c = 0;
    TDMTran::TWords a{}, b{};
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c + 16, 4, a) || !ctx.tran.ReadWords8(axis, c + 24, 4, b))
        return false;
    for (int i = 0; i < 4; ++i) {
        words[i] = a[size_t(i)];
        words[i + 4] = b[size_t(i)];
    }
    return true;
}

bool TDMJog::ReadSaveSelection(int axis, uint8_t (&bytes)[4])
{
    uint32_t c = 0;
    TDMTran::TWords w{};
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c, 2, w))
        return false;
    bytes[0] = uint8_t(w[0]);
    bytes[1] = uint8_t(w[0] >> 8);
    bytes[2] = uint8_t(w[1]);
    bytes[3] = uint8_t(w[1] >> 8);
    return true;
}

bool TDMJog::ReadSaveValues(int axis, bool second, uint16_t (&words)[5])
{
    uint32_t c = 0;
    TDMTran::TWords a{}, b{};
    const uint32_t first = second ? 18 : 8;
    if (!Common(axis, c) || !ctx.tran.ReadWords8(axis, c + first, 4, a) ||
        !ctx.tran.ReadWords8(axis, c + first + 8, 1, b))
        return false;
    for (int i = 0; i < 4; ++i)
        words[i] = a[size_t(i)];
    words[4] = b[0];
    return true;
}

bool TDMJog::WriteEndAction(int axis, int endAction)
{
    uint32_t c = 0;
    return Common(axis, c) && ctx.tran.WriteWorkWord(axis, c + 2, endAction ? 1 : 0);
}

bool TDMJog::WriteWord0(int axis, uint16_t value)
{
    uint32_t c = 0;
    return Common(axis, c) && ctx.tran.WriteWorkWord(axis, c, value);
}

bool TDMJog::WriteFeedAmount(int axis, uint32_t value)
{
    uint32_t c = 0;
    return Common(axis, c) && ctx.tran.WriteWorkLong(axis, c + 4, value);
}

bool TDMJog::WriteWord6(int axis, uint16_t value)
{
    uint32_t c = 0;
    return Common(axis, c) && ctx.tran.WriteWorkWord(axis, c + 6, value);
}

bool TDMJog::WriteSaveSelection(int axis, uint8_t low, uint8_t high)
{
    uint32_t c = 0;
    return Common(axis, c) && ctx.tran.WriteWorkWord(axis, c + 2, uint16_t(low | high << 8));
}

bool TDMJog::ParseWhole(const QString &text, qint64 &value)
{
    bool ok = false;
    value = text.trimmed().toLongLong(&ok, 10);
    return ok;
}

bool TDMJog::CheckRange(const QString &text, qint64 low, qint64 high, qint64 &value, const QString &caption) const
{
    if (ParseWhole(text, value) && value >= low && value <= high)
        return true;
    TMessenger::Instance().Warning(OutOfRangeText(), caption);
    return false;
}

bool TDMJog::CheckJogSpeed(const QString &text, qint64 &value, const QString &caption) const
{
    return CheckRange(text, VcmdMin(), VcmdMax(), value, caption);
}

bool TDMJog::CheckFeedAmount(const QString &text, qint64 &value, const QString &caption) const
{
    return CheckRange(text, 0, 2147483647, value, caption);
}

bool TDMJog::CheckFeedSpeed(const QString &text, qint64 &value, const QString &caption) const
{
    return CheckRange(text, 0, 32767, value, caption);
}

bool TDMJog::CheckTuningTorque(const QString &text, qint64 &value, const QString &caption) const
{
    return CheckRange(text, TcmdMin(), TcmdMax(), value, caption);
}

bool TDMJog::CheckFriction(const QString &text, qint64 &value, const QString &caption) const
{
    return CheckRange(text, 0, 50, value, caption);
}
