#include "testrun/DMAdjust.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "app/Progress.h"
#include "comm/DMTran.h"
#include "comm/ModelText.h"
#include "defdb/DMInterface.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMAdjust", text);
}

// Wn3 answers.
constexpr uint32_t Running = 4;
constexpr uint32_t Finished = 5;
constexpr uint32_t FinishedFailed = 6;

const char *const Names[TDMAdjust::TypeCount] = {
    QT_TRANSLATE_NOOP("TDMAdjust", "アナログ速度指令／トルク指令オートオフセット調整"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アナログトルク加算指令オートオフセット調整"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アラームリセット"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アラームトレースクリア"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アブソリュートエンコーダクリア"),
    QT_TRANSLATE_NOOP("TDMAdjust", "固定励磁操作"),
};

const char *const Confirmations[TDMAdjust::TypeCount] = {
    QT_TRANSLATE_NOOP("TDMAdjust", "アナログ速度指令／トルク指令オートオフセット調整を実行しますか?\r\n"
                                   "V-REF端子に0Vを入力してください。\r\n"
                                   "（この調整を実施後は現在の入力電圧を0Vとして入力信号を取り込みます。）"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アナログトルク加算指令オートオフセット調整を実行しますか?\r\n"
                                   "T-COMP端子に0Vを入力してください。\r\n"
                                   "（この調整を実施後は現在の入力電圧を0Vとして入力信号を取り込みます。）"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アラームリセットを実行しますか?\r\n"
                                   "アラームリセットは、発生原因を取り除き安全を確認してから実施してください。"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アラームトレースクリアを実行しますか?\r\n過去に発生したアラームデータをクリアします。"),
    QT_TRANSLATE_NOOP("TDMAdjust", "アブソリュートエンコーダクリアを実行しますか?\r\n"
                                   "アブソリュートエンコーダの多回転データおよびアブソリュートエンコーダ内のアラームをリセットします。"),
    QT_TRANSLATE_NOOP("TDMAdjust", "固定励磁操作を実行しますか?\r\n"
                                   "リニアモータに対する固定励磁操作を実施します。\r\n"
                                   "\"OK\"をクリックすると、モータが動作します。"
                                   "（約5秒間。動作範囲はリニアモータの種類によって異なります。）\r\n"
                                   "周囲の安全を十分に確保した上で実施してください。"),
};

QString WithName(const char *pattern, int type)
{
    return TDMAdjust::ValidType(type) ? Tr(pattern).arg(TDMAdjust::Name(type)) : QString();
}

} // namespace

TDMAdjust::TDMAdjust(TAppContext &context) : ctx(context)
{
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
}

TDMAdjust::~TDMAdjust()
{
    CloseTables();
}

void TDMAdjust::OpenTables()
{
    CloseTables();
    ctx.intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds"));
    ctx.intf.LoadTable(cdsModel, QStringLiteral("3_MODEL.cds"));
    ctx.intf.LoadTable(cdsTestRun, QStringLiteral("3_TESTRUN.cds"));
}

void TDMAdjust::CloseTables()
{
    for (TDataSet *t : {&cdsAmplifier, &cdsModel, &cdsTestRun})
        t->Close();
}

bool TDMAdjust::ReadModelName(int axis, QString &name)
{
    if (axis < 1 || axis > 15 || !cdsAmplifier.Active())
        return false;
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(ctx.env.AmpCode(axis))))
        return false;
    const int key = cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
    if (!cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)))
        return false;
    const TValue &at = cdsModel.Field(QStringLiteral("AMPLIFIER_ADDRESS"));
    if (at.IsNull())
        return false;
    const auto address = uint32_t(at.AsInteger());
    return ModelText::Read(ctx.tran, axis, address, address + 8, name);
}

QString TDMAdjust::Name(int type)
{
    return ValidType(type) ? Tr(Names[type]) : QString();
}

QString TDMAdjust::Confirmation(int type)
{
    return ValidType(type) ? Tr(Confirmations[type]) : QString();
}

QString TDMAdjust::Title(int type, int axis, const QString &modelName)
{
    if (!ValidType(type))
        return QString();
    return Name(type) + QStringLiteral(" [#%1 : %2]").arg(QString::number(axis, 16).toUpper(), modelName);
}

QString TDMAdjust::ProgressText(int type) { return WithName(QT_TRANSLATE_NOOP("TDMAdjust", "%1を実行中です。"), type); }
QString TDMAdjust::NotReadyText(int type)
{
    return WithName(QT_TRANSLATE_NOOP("TDMAdjust", "%1を実行することができません。（準備未完了）"), type);
}
QString TDMAdjust::NotUsableText(int type)
{
    return WithName(QT_TRANSLATE_NOOP("TDMAdjust", "%1を使用することはできません。"), type);
}
QString TDMAdjust::SuccessText(int type) { return WithName(QT_TRANSLATE_NOOP("TDMAdjust", "%1を正常終了しました。"), type); }
QString TDMAdjust::FailureText(int type) { return WithName(QT_TRANSLATE_NOOP("TDMAdjust", "%1を実行できませんでした。"), type); }

QString TDMAdjust::CommFaultText(int axis)
{
    return QCoreApplication::translate("TDMAdjust", "通信異常です。（軸番号[#%1]）").arg(QString::number(axis, 16).toUpper());
}

bool TDMAdjust::End(int type, int axis, const QString &title)
{
    uint32_t v = 0;
    if (!ctx.tran.AdjustEnd(axis, type, v))
        return false;
    if (v == 1)
        TMessenger::Instance().Warning(NotReadyText(type), title);
    return true;
}

TDMAdjust::TOutcome TDMAdjust::Execute(int type, int axis, const QString &modelName)
{
    if (!ValidType(type) || axis < 1 || axis > 15)
        return TOutcome::CommFailure;
    TMessenger &messenger = TMessenger::Instance();
    const QString title = Title(type, axis, modelName);
    if (!messenger.AskOkCancel(Confirmation(type), title))
        return TOutcome::Declined;

    // From the query to the end no click may start anything else.
    TBusy::TScope busy;
    uint32_t v = 0;
    if (!ctx.tran.AdjustQuery(axis, type, v))
        return TOutcome::CommFailure;
    if (v == 2) {
        messenger.Warning(NotUsableText(type), title);
        return TOutcome::NotUsable;
    }
    if (v == 1) {
        messenger.Warning(NotReadyText(type), title);
        return TOutcome::NotReady;
    }
    if (v != 0)
        return TOutcome::Quiet;
    if (!ctx.tran.AdjustStart(axis, type, v))
        return TOutcome::CommFailure;
    if (v == 1) {
        messenger.Warning(NotReadyText(type), title);
        return TOutcome::NotReady;
    }
    if (v != 0)
        return TOutcome::Quiet;

    if (progress) {
        progress->ClearRequest();
        progress->ShowButtons(Cancellable(type), false);
        progress->Start(title, ProgressText(type), 0);
    }
    auto finish = [this] {
        if (progress)
            progress->Finish();
    };
    for (;;) {
        QCoreApplication::processEvents();
        if (Cancellable(type) && progress && (progress->Request() & TProgress::rqCancel)) {
            progress->ClearRequest();
            finish();
            // The amplifier leaves the function before the user hears of it.
            uint32_t end = 0;
            if (!ctx.tran.AdjustEnd(axis, type, end))
                return TOutcome::CommFailure;
            messenger.Warning(FailureText(type), title);
            if (end == 1)
                messenger.Warning(NotReadyText(type), title);
            return TOutcome::Cancelled;
        }
        if (!ctx.tran.AdjustProgress(axis, type, v)) {
            finish();
            return TOutcome::CommFailure;
        }
        if (v == Running)
            continue; // no pause: the exchange itself paces the polls
        finish();
        if (v == Finished) {
            messenger.Information(SuccessText(type), title);
            return End(type, axis, title) ? TOutcome::Succeeded : TOutcome::CommFailure;
        }
        if (v == FinishedFailed) {
            messenger.Warning(FailureText(type), title);
            return End(type, axis, title) ? TOutcome::Failed : TOutcome::CommFailure;
        }
        messenger.Warning(CommFaultText(axis), title);
        ctx.env.SetAmpCode(axis, -1);
        return TOutcome::CommFailure;
    }
}
