#include "direct/DMMakerLoad.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "app/Progress.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "params/ParamRows.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString IndexIdAddress = QStringLiteral("INDEX_ID_ADDRESS");

} // namespace

TDMMakerLoad::TDMMakerLoad(TAppContext &context) : ctx(context)
{
    for (TDataSet *t : {&cdsAmp, &cdsDisk}) {
        t->AddLookupField(QStringLiteral("LENGTH"), QStringLiteral("PARAMETER_ID"), &cdsParameter, QStringLiteral("ID"));
        t->SetIndexName(IndexIdAddress);
    }
}

TDMMakerLoad::~TDMMakerLoad()
{
    CloseTables();
}

void TDMMakerLoad::OpenTables()
{
    CloseTables();
    ctx.intf.LoadTable(cdsType, QStringLiteral("1_TYPE.cds"));
    ctx.intf.LoadTable(cdsParameter, QStringLiteral("1_PARAMETER.cds"));
    ctx.intf.LoadTable(cdsAmp, QStringLiteral("1_AMP_PARA.cds"));
    ctx.intf.LoadTable(cdsDisk, QStringLiteral("1_AMP_PARA.cds"));
    for (TDataSet *t : {&cdsAmp, &cdsDisk})
        t->SetIndexName(IndexIdAddress);
}

void TDMMakerLoad::CloseTables()
{
    for (TDataSet *t : {&cdsType, &cdsParameter, &cdsAmp, &cdsDisk})
        t->Close();
}

QString TDMMakerLoad::TypeFilter(int mode)
{
    switch (mode) {
    case lmBelow500: return QStringLiteral("(LEVEL < %1)").arg(500);
    case lmNotOffsets: return QStringLiteral("(LEVEL <> %1) and (LEVEL <> %2)").arg(800).arg(900);
    default: return QString();
    }
}

QString TDMMakerLoad::HelpText(int mode)
{
    switch (mode) {
    case lmBelow500:
        return QCoreApplication::translate("TDMMakerLoad", "パラメータレベル500未満をロードします。\r\n（P1基板種別・アラーム履歴・オフセット調整値・Reserve領域はロードされません）");
    case lmNotOffsets:
        return QCoreApplication::translate("TDMMakerLoad", "パラメータレベル800,900以外をロードします。\r\n（オフセット調整値はロードされません）\r\n出荷検査時以外は使用禁止");
    default:
        return QCoreApplication::translate("TDMMakerLoad", "全ての領域をロードします。\r\n（オフセット調整値もロードされます）\r\n出荷検査時以外は使用禁止");
    }
}

QString TDMMakerLoad::ParameterList(int mode)
{
    QString list;
    const QString types = ParamRows::IdList(cdsType, TypeFilter(mode));
    if (!types.isEmpty())
        list = ParamRows::IdList(cdsParameter, QStringLiteral("TYPE_ID In (%1)").arg(types));
    cdsType.ClearFilter();
    cdsParameter.ClearFilter();
    return list;
}

bool TDMMakerLoad::WriteRow(int axis, qint64 address, int length, const TBuffer &image)
{
    const qint32 v = ImageValue(image, address, length);
    switch (length) {
    case 1: return ctx.tran.WriteByte(axis, uint32_t(address), uint8_t(v & 0xFF));
    case 2: return ctx.tran.WriteWord(axis, uint32_t(address), uint16_t(v & 0xFFFF));
    default: return ctx.tran.WriteLong(axis, uint32_t(address), uint32_t(v));
    }
}

bool TDMMakerLoad::Load(int axis, const QString &fileName, int mode)
{
    outcome = TOutcome::Done;
    written = 0;
    failedAddress = -1;
    TMessenger &msg = TMessenger::Instance();
    if (!msg.AskOkCancel(QCoreApplication::translate("TDMMakerLoad", "[%1] から 軸番号[#%2] にロードします。\r\nよろしいですか?")
                             .arg(QFileInfo(fileName).fileName(), QString::number(axis, 16).toUpper()))) {
        outcome = TOutcome::Declined;
        return true;
    }
    TBuffer image;
    if (!ctx.dmMain.ReadParameterFile(image, fileName)) {
        outcome = TOutcome::Unreadable;
        return true;
    }
    // Axis 0 records no code: which model answered is unknown, so nothing fits.
    const int ampCode = ctx.env.AmpCode(axis);
    if (ampCode <= 0 || image.ampCode != ampCode) {
        const int ampGroup = ctx.dmMain.ModelGroup(ampCode), fileGroup = ctx.dmMain.ModelGroup(image.ampCode);
        if (ampGroup < 0 || fileGroup < 0 || ampGroup != fileGroup) {
            msg.Information(QCoreApplication::translate("TDMMakerLoad", "サーボアンプの種類が異なります。ロードできません。"));
            outcome = TOutcome::Refused;
            return true;
        }
        if (!msg.AskYesNo(QCoreApplication::translate("TDMMakerLoad", "サーボアンプのソフトウェアバージョンが異なるため、ロードできないパラメータがあります。\r\nロードしますか?"))) {
            outcome = TOutcome::Declined;
            return true;
        }
    }
    const int target = ctx.dmMain.ModelKey(ampCode), source = ctx.dmMain.ModelKey(image.ampCode);
    QString list = ParameterList(mode);
    if (list.isEmpty())
        list = QStringLiteral("-1");
    const QString condition = QStringLiteral("(PARAMETER_ID In (%1))").arg(list);
    const QString ampFilter = cdsAmp.Filter();
    cdsAmp.SetIndexName(IndexIdAddress);
    cdsDisk.SetIndexName(IndexIdAddress);
    cdsAmp.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and ").arg(target) + condition);
    cdsDisk.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and ").arg(source) + condition);

    if (progress)
        progress->Start(QCoreApplication::translate("TDMMakerLoad", "書き込み中"), QCoreApplication::translate("TDMMakerLoad", "書き込み中です。お待ちください。"), cdsAmp.RecordCount());
    const int fAddress = cdsAmp.FieldIndex(QStringLiteral("ADDRESS"));
    const int fParameter = cdsAmp.FieldIndex(QStringLiteral("PARAMETER_ID"));
    const int fLength = cdsAmp.FieldIndex(QStringLiteral("LENGTH"));
    const int ampRows = cdsAmp.RecordCount(), diskRows = cdsDisk.RecordCount();
    int a = 0, d = 0;
    while (a < ampRows && d < diskRows) {
        const qint64 ampAddress = cdsAmp.ValueAt(a, fAddress).AsInt64();
        const qint64 diskAddress = cdsDisk.ValueAt(d, fAddress).AsInt64();
        if (ampAddress < diskAddress) {
            ++a;
            if (progress)
                progress->Step();
            continue;
        }
        if (diskAddress < ampAddress) {
            ++d;
            continue;
        }
        if (cdsAmp.ValueAt(a, fParameter) == cdsDisk.ValueAt(d, fParameter)) {
            const int length = cdsAmp.ValueAt(a, fLength).AsInteger();
            // Only what the file holds: a shorter file gives no value to
            // the rows beyond its words.
            const qint64 from = length == 1 ? ampAddress : ampAddress - ((ampAddress - image.startAddress) & 1);
            if ((length == 1 || length == 2 || length == 4) && image.Contains(from, length)) {
                if (!WriteRow(axis, ampAddress, length, image)) {
                    failedAddress = ampAddress;
                    break;
                }
                ++written;
            }
        }
        ++a;
        ++d;
        if (progress)
            progress->Step();
    }
    if (progress)
        progress->Finish();
    cdsAmp.SetFilter(ampFilter);
    if (failedAddress >= 0) {
        outcome = TOutcome::WriteFailed;
        msg.Warning(QCoreApplication::translate("TDMMakerLoad", "アドレス[%1]への書き込みに失敗しました。ロードを中止しました。")
                        .arg(QStringLiteral("%1").arg(failedAddress, 5, 16, QLatin1Char('0')).toUpper()));
        return false;
    }
    return true;
}
