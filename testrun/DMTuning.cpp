#include "testrun/DMTuning.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "app/Progress.h"
#include "comm/DMTran.h"
#include "testrun/DMJog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
// "0x07": two upper-case hexadecimal digits.
QString HexByte(int value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

QString ClickOkText()
{
    return QStringLiteral("\r\n\"OK\"") + QCoreApplication::translate("TDMTuning", "をクリックするとサーボオフします。");
}
} // namespace

TDMTuning::TDMTuning(TAppContext &context, TDMJog &module) : ctx(context), jog(module) {}

QString TDMTuning::RunningText(int type)
{
    return type == TDMJog::tyNotchTuning ? QCoreApplication::translate("TDMTuning", "オートノッチフィルタチューニングを実行中です。")
                                         : QCoreApplication::translate("TDMTuning", "オート制振周波数チューニングを実行中です。");
}

QString TDMTuning::SuccessText(int type)
{
    if (type == TDMJog::tyNotchTuning)
        return QCoreApplication::translate("TDMTuning", "オートノッチフィルタチューニングを正常終了しました。") + ClickOkText();
    return QCoreApplication::translate("TDMTuning", "オート制振周波数チューニングを正常終了しました。");
}

QString TDMTuning::FailureText(int type)
{
    if (type == TDMJog::tyNotchTuning)
        return QCoreApplication::translate("TDMTuning", "オートノッチフィルタチューニングを実行できませんでした。（異常終了）")
               + ClickOkText();
    return QCoreApplication::translate("TDMTuning", "オート制振周波数チューニングを実行できませんでした。（異常終了）");
}

QString TDMTuning::CommFaultText(int axis)
{
    return QCoreApplication::translate("TDMTuning", "通信異常です。（軸番号[#%1]）").arg(QString::number(axis, 16).toUpper());
}

QString TDMTuning::ResultName(int type) const
{
    return type == TDMJog::tyNotchTuning ? jog.AnfTuningName() : QCoreApplication::translate("TDMTuning", "制振周波数");
}

QString TDMTuning::ResultUnit(int type) const
{
    return type == TDMJog::tyNotchTuning ? jog.AnfTuningUnit() : QStringLiteral("Hz");
}

TDMTuning::TEnd TDMTuning::Poll(int axis, int type, const QString &title, TProgress *progress, bool cancellable,
                                const std::function<bool()> &keepGoing, int &result)
{
    // The whole poll is one series: the progress window (shown after the
    // series began) is the only window that takes input meanwhile.
    TBusy::TScope busy;
    if (progress) {
        progress->ClearRequest();
        progress->ShowButtons(cancellable, false);
        progress->Start(title, RunningText(type), 0);
    }
    auto finish = [progress](TEnd end) {
        if (progress)
            progress->Finish();
        return end;
    };
    for (;;) {
        if (keepGoing && !keepGoing())
            return finish(TEnd::Stopped);
        if (cancellable && progress && (progress->Request() & TProgress::rqCancel)) {
            progress->ClearRequest();
            return finish(TEnd::Cancelled);
        }
        uint32_t reply = 0;
        if (!ctx.tran.TuningProgress(axis, type, reply))
            return finish(TEnd::CommandFailed);
        switch (reply) {
        case 4:
            continue; // no pause: the exchange itself paces the polls
        case 1:
            return finish(TEnd::NotReady);
        case 5:
            finish(TEnd::Finished);
            return jog.ReadTuningResult(axis, result) ? TEnd::Finished : TEnd::CommandFailed;
        case 6:
            return finish(TEnd::Failed);
        default:
            finish(TEnd::CommFault);
            TMessenger::Instance().Warning(CommFaultText(axis), title);
            ctx.env.SetAmpCode(axis, -1);
            return TEnd::CommFault;
        }
    }
}

QStringList TDMTuning::ChoiceTexts()
{
    return {QStringLiteral("KP1,KVP1,TVI1,TCFIL1,JRAT1"), QStringLiteral("---,KVP1,TVI1,TCFIL1,JRAT1"),
            QStringLiteral("---,----,----,------,JRAT1"), QStringLiteral("KP1,KVP1,TVI1,TCFIL1,-----"),
            QStringLiteral("---,KVP1,TVI1,TCFIL1,-----")};
}

QString TDMTuning::ModeText(int mode)
{
    switch (mode) {
    case 0: return QCoreApplication::translate("TDMTuning", "オートチューニング");
    case 1: return QCoreApplication::translate("TDMTuning", "オートチューニング(JRATマニュアル設定)");
    case 2: return QCoreApplication::translate("TDMTuning", "マニュアルチューニング");
    }
    // A mode this tool does not know: its number, so nothing is hidden.
    return HexByte(mode);
}

QString TDMTuning::CharacteristicText(int characteristic)
{
    switch (characteristic) {
    case 0: return QCoreApplication::translate("TDMTuning", "位置決め制御1");
    case 1: return QCoreApplication::translate("TDMTuning", "位置決め制御2");
    case 2: return QCoreApplication::translate("TDMTuning", "位置決め制御3");
    case 3: return QCoreApplication::translate("TDMTuning", "軌跡制御1");
    case 4: return QCoreApplication::translate("TDMTuning", "軌跡制御2");
    case 255: return {};
    }
    return HexByte(characteristic);
}

QString TDMTuning::GainText(int index, uint16_t word)
{
    if (index == 2)
        return QString::number(word / 10.0, 'f', 1);
    return QString::number(word);
}

bool TDMTuning::RunToEnd(int axis, int type, const TRunSettings &s, TProgress *progress,
                         const std::function<bool()> &keepGoing, int &result, QString &error)
{
    if (type != TDMJog::tyNotchTuning && type != TDMJog::tyFrequencyTuning) {
        error = QStringLiteral("not a tuning");
        return false;
    }
    if (!jog.LocateRow(axis) || !jog.HasCommonArea()) {
        error = TDMJog::NotUsableText(type);
        return false;
    }
    if (s.torque < jog.TcmdMin() || s.torque > jog.TcmdMax()) {
        error = TDMJog::OutOfRangeText() + QStringLiteral(" ( %1 - %2 )").arg(jog.TcmdMin()).arg(jog.TcmdMax());
        return false;
    }
    if (type == TDMJog::tyFrequencyTuning && s.friction > 50) {
        error = TDMJog::OutOfRangeText() + QStringLiteral(" ( 0 - 50 )");
        return false;
    }
    const QString commFailed = QCoreApplication::translate("TDMTuning", "通信に失敗しました。");
    uint32_t reply = 0;
    // Pre-check; "busy" is asked again for a while.
    QElapsedTimer since;
    since.start();
    const int limit = type == TDMJog::tyFrequencyTuning ? 1000 : 10000;
    for (;;) {
        if (!ctx.tran.TestRunStatus(axis, type, reply)) {
            error = commFailed;
            return false;
        }
        if (reply != 10)
            break;
        if (since.elapsed() > limit) {
            reply = 1;
            break;
        }
    }
    if (reply == 1 || reply == 2) {
        error = reply == 1 ? TDMJog::NotReadyText(type) : TDMJog::NotUsableText(type);
        return false;
    }

    // From here on the mode is open: whatever happens, it is ended.
    bool ok = false;
    [&] {
        int torque = 0, endAction = 0, word3 = 0;
        if (!jog.ReadTuningSettings(axis, torque, endAction, word3) || !jog.WriteWord0(axis, uint16_t(s.torque))
            || (type == TDMJog::tyFrequencyTuning && s.friction >= 0 && !jog.WriteWord6(axis, uint16_t(s.friction)))
            || !ctx.tran.TestRunRunStatus(axis, type, reply)) {
            error = commFailed;
            return;
        }
        if (reply != 0) {
            error = reply == 1 ? TDMJog::NotReadyText(type) : reply == 7 ? TDMJog::AlarmText() : TDMJog::ServoRefusedText();
            return;
        }
        if (!ctx.tran.TuningStart(axis, type, reply)) {
            error = commFailed;
            return;
        }
        if (reply != 0) {
            error = reply == 1 ? TDMJog::NotReadyText(type) : reply == 7 ? TDMJog::AlarmText() : TDMJog::ServoRefusedText();
            return;
        }
        const QString title = TDMJog::FunctionName(type) + QStringLiteral(" [#%1]").arg(QString::number(axis, 16).toUpper());
        switch (Poll(axis, type, title, progress, true, keepGoing, result)) {
        case TEnd::Finished: ok = true; return;
        case TEnd::Failed: error = FailureText(type); return;
        case TEnd::NotReady: error = TDMJog::NotReadyText(type); return;
        case TEnd::Cancelled:
        case TEnd::Stopped:
            error = QCoreApplication::translate("TDMTuning", "中止しました。");
            // Leaving the progress poll is the cancel; the idle poll tells the amplifier.
            ctx.tran.TestRunStatus(axis, type, reply);
            return;
        case TEnd::CommFault: error = CommFaultText(axis); return;
        case TEnd::CommandFailed: error = commFailed; return;
        }
    }();
    if (!ctx.tran.TestRunEnd(axis, type, reply) && ok) {
        error = commFailed;
        ok = false;
    }
    return ok;
}
