#include "params/DMLoadSave.h"

#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "comm/DMTran.h"
#include "comm/ModelText.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DefSchema.h"
#include "defdb/ValueCodec.h"
#include "params/ParamRows.h"
#include "app/Progress.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMLoadSave", text);
}

} // namespace

TDMLoadSave::TDMLoadSave(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran)
    : intf(loader), dmMain(mainTables), env(environment), dmTran(tran)
{
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
    for (TDataSet *t : {&cdsAmp, &cdsDisk}) {
        t->AddLookupFields({QStringLiteral("LENGTH"), QStringLiteral("DATAFORM")}, QStringLiteral("PARAMETER_ID"),
                           &cdsParameter, QStringLiteral("ID"));
        t->SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
    }
}

TDMLoadSave::~TDMLoadSave()
{
    CloseTables();
}

void TDMLoadSave::OpenTables()
{
    CloseTables();
    intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds"));
    intf.LoadTable(cdsType, QStringLiteral("1_TYPE.cds"));
    intf.LoadTable(cdsParameter, QStringLiteral("1_PARAMETER.cds"));
    intf.LoadTable(cdsModel, QStringLiteral("3_MODEL.cds"));
    intf.LoadTable(cdsAmp, QStringLiteral("1_AMP_PARA.cds"));
    intf.LoadTable(cdsDisk, QStringLiteral("1_AMP_PARA.cds"));
    for (TDataSet *t : {&cdsAmp, &cdsDisk})
        t->SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));

    auto list = [this](const QString &levels) {
        const QString types = ParamRows::IdList(cdsType, QStringLiteral("LEVEL In (%1)").arg(levels));
        if (types.isEmpty())
            return QString();
        return ParamRows::IdList(cdsParameter, QStringLiteral("TYPE_ID In (%1)").arg(types));
    };
    generalList = list(QStringLiteral("%1,%2,%3,%4,%5").arg(1).arg(2).arg(3).arg(4).arg(300));
    systemList = list(QString::number(100));
    motorList = list(QString::number(200));
    cdsType.ClearFilter();
    cdsParameter.ClearFilter();
}

void TDMLoadSave::CloseTables()
{
    for (TDataSet *t : {&cdsAmplifier, &cdsType, &cdsParameter, &cdsModel, &cdsAmp, &cdsDisk})
        t->Close();
}

QString TDMLoadSave::KindList(TKind kind) const
{
    switch (kind) {
    case kdGeneral: return generalList;
    case kdSystem: return systemList;
    case kdMotor: return motorList;
    default: return QString();
    }
}

QString TDMLoadSave::KindsList(int kinds) const
{
    QString list;
    for (TKind k : {kdGeneral, kdSystem, kdMotor})
        if (kinds & k)
            list = ParamRows::JoinLists(list, KindList(k));
    return list;
}

QString TDMLoadSave::KindCaption(TKind kind)
{
    switch (kind) {
    case kdGeneral: return Tr("一般パラメータ");
    case kdSystem: return Tr("システムパラメータ");
    case kdMotor: return Tr("モータパラメータ");
    default: return QString();
    }
}

int TDMLoadSave::ModelKey(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    return cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
}

int TDMLoadSave::ModelGroup(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    const TValue &g = cdsAmplifier.Field(QStringLiteral("GROUP_ID"));
    return g.IsNull() ? -1 : g.AsInteger();
}

bool TDMLoadSave::ReadAmpModelText(int axis, QString &text)
{
    if (axis < 1)
        return false;
    const int key = ModelKey(env.AmpCode(axis));
    if (!cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)))
        return false;
    const TValue &at = cdsModel.Field(QStringLiteral("AMPLIFIER_ADDRESS"));
    if (at.IsNull())
        return false;
    const auto address = uint32_t(at.AsInteger());
    return ModelText::Read(dmTran, axis, address, address + 8, text);
}

bool TDMLoadSave::InRange(int dataForm, int length, qint32 v, qint32 minValue, qint32 maxValue)
{
    switch (dataForm) {
    case 1:
    case 3:
    case 4:
        return qint64(v) >= ValueCodec::WidenUnsigned(minValue, length)
               && qint64(v) <= ValueCodec::WidenUnsigned(maxValue, length);
    case 2:
    case 8:
    case 9:
    case 10: {
        const qint64 w = ValueCodec::WidenSigned(v, length);
        return w >= ValueCodec::WidenSigned(minValue, length) && w <= ValueCodec::WidenSigned(maxValue, length);
    }
    case 5:
        return true;
    case 6: {
        const int b = v & 0xFF, lo = minValue & 0xFF, hi = maxValue & 0xFF;
        return (b >> 4) >= (lo >> 4) && (b >> 4) <= (hi >> 4) && (b & 15) >= (lo & 15) && (b & 15) <= (hi & 15);
    }
    case 7: {
        const int b = v & 0xFF;
        return b >= (minValue & 0xFF) && b <= (maxValue & 0xFF);
    }
    default:
        // A form the codec does not know is not written.
        return false;
    }
}

bool TDMLoadSave::WriteValue(int axis, int address, int length, qint32 value)
{
    const auto a = uint32_t(address);
    switch (length) {
    case 1: return dmTran.WriteByte(axis, a, uint8_t(value & 0xFF));
    case 2: return dmTran.WriteWord(axis, a, uint16_t(value & 0xFFFF));
    case 4: return dmTran.WriteLong(axis, a, uint32_t(value));
    default: return true; // nothing to write for a row without a value
    }
}

bool TDMLoadSave::TransferFileToAmp(int axis, const QString &fileName, int kinds)
{
    outcome = TOutcome::Done;
    written = skipped = 0;
    if (axis < 1)
        return true;
    QString list = KindsList(kinds);
    if (list.isEmpty())
        list = QStringLiteral("-1");

    TBuffer image;
    if (!dmMain.ReadParameterFile(image, fileName)) {
        outcome = TOutcome::Unreadable;
        return true;
    }
    const int ampCode = env.AmpCode(axis);
    if (!env.AxisInUse(axis) || ModelKey(ampCode) < 0) {
        // Nothing of the file has a place in an axis without a known model.
        TMessenger::Instance().Information(Tr("サーボアンプの種類が異なります。転送できません。"));
        outcome = TOutcome::Refused;
        return true;
    }
    if (ampCode != image.ampCode) {
        const int ampGroup = ModelGroup(ampCode), fileGroup = ModelGroup(image.ampCode);
        if (ampGroup < 0 || fileGroup < 0 || ampGroup != fileGroup) {
            TMessenger::Instance().Information(Tr("サーボアンプの種類が異なります。転送できません。"));
            outcome = TOutcome::Refused;
            return true;
        }
        if (!TMessenger::Instance().AskYesNoDefaultNo(
                Tr("サーボアンプのソフトウェアバージョンが異なるため、転送できないパラメータがあります。\r\n転送しますか?"))) {
            outcome = TOutcome::Declined;
            return true;
        }
    }

    const QString filter = QStringLiteral("(AMPLIFIER_ID=%1) and (PARAMETER_ID In (%2))");
    cdsAmp.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
    cdsDisk.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
    cdsAmp.SetFilter(filter.arg(ModelKey(ampCode)).arg(list));
    cdsDisk.SetFilter(filter.arg(ModelKey(image.ampCode)).arg(list));
    if (progress)
        progress->Start(Tr("書き込み中"), Tr("書き込み中です。お待ちください。"), cdsAmp.RecordCount());

    const int fAddress = cdsAmp.FieldIndex(QStringLiteral("ADDRESS"));
    const int fParameter = cdsAmp.FieldIndex(QStringLiteral("PARAMETER_ID"));
    const int fLength = cdsAmp.FieldIndex(QStringLiteral("LENGTH"));
    const int fForm = cdsAmp.FieldIndex(QStringLiteral("DATAFORM"));
    const int fMin = cdsAmp.FieldIndex(QStringLiteral("MIN_VALUE"));
    const int fMax = cdsAmp.FieldIndex(QStringLiteral("MAX_VALUE"));
    const int ampRows = cdsAmp.RecordCount(), diskRows = cdsDisk.RecordCount();
    bool ok = true;
    int a = 0, d = 0;
    while (a < ampRows) {
        const qint64 ampAddress = cdsAmp.ValueAt(a, fAddress).AsInt64();
        if (d >= diskRows || ampAddress < cdsDisk.ValueAt(d, fAddress).AsInt64()) {
            // No partner in the file's model.
            ++a;
            ++skipped;
            if (progress)
                progress->Step();
            continue;
        }
        const qint64 diskAddress = cdsDisk.ValueAt(d, fAddress).AsInt64();
        if (diskAddress < ampAddress) {
            ++d;
            continue;
        }
        if (cdsAmp.ValueAt(a, fParameter) == cdsDisk.ValueAt(d, fParameter)) {
            const int length = cdsAmp.ValueAt(a, fLength).AsInteger();
            const qint32 v = ImageValue(image, ampAddress, length);
            // A file shorter than its model's area has no value to give.
            if (image.Contains(ampAddress, length)
                && InRange(cdsAmp.ValueAt(a, fForm).AsInteger(), length, v, qint32(cdsAmp.ValueAt(a, fMin).AsInt64()),
                        qint32(cdsAmp.ValueAt(a, fMax).AsInt64()))) {
                if (!WriteValue(axis, int(ampAddress), length, v)) {
                    ok = false;
                    break;
                }
                ++written;
            } else {
                ++skipped;
            }
        } else {
            ++skipped;
        }
        ++a;
        ++d;
        if (progress)
            progress->Step();
    }
    if (progress)
        progress->Finish();
    if (!ok)
        outcome = TOutcome::WriteFailed;
    return ok;
}

QString TDMLoadSave::FirmwareText(const quint16 (&w)[6])
{
    return ModelText::VersionText(w);
}

bool TDMLoadSave::TransferAmpToFile(int axis, const QString &fileName, const QString &modelText)
{
    if (axis < 1)
        return true;
    const int code = env.AmpCode(axis);
    const int key = ModelKey(code);
    // An axis out of use (a cable pull while the window stayed open) or a
    // model the database does not know has no area to read: writing would
    // replace a good file with an empty one.
    if (!env.AxisInUse(axis) || key < 0)
        return false;
    cdsAmp.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
    cdsAmp.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(key));

    TBuffer image;
    image.ampCode = code;
    image.modelText = modelText;
    qint64 start = 0, end = 0;
    if (!cdsAmp.IsEmpty()) {
        cdsAmp.First();
        start = cdsAmp.Field(QStringLiteral("ADDRESS")).AsInt64() & ~qint64(1);
        // The highest ADDRESS + LENGTH, not that of the last row: a short
        // row may end before a long one below it.
        for (int i = 0; i < cdsAmp.RecordCount(); ++i) {
            const qint64 e = cdsAmp.ValueAt(i, cdsAmp.FieldIndex(QStringLiteral("ADDRESS"))).AsInt64()
                             + cdsAmp.ValueAt(i, cdsAmp.FieldIndex(QStringLiteral("LENGTH"))).AsInt64();
            end = std::max(end, e);
        }
        end = (end + 1) & ~qint64(1);
    }
    if (end <= start)
        return false;
    image.startAddress = qint32(start);
    image.words = QList<quint16>((end - start) / 2, 0);

    const int blocks = int((end - start + 7) / 8);
    if (progress)
        progress->Start(Tr("読み出し中"), Tr("読み出し中です。お待ちください。"), blocks);
    for (qint64 at = start; at < end; at += 8) {
        TDMTran::TWords words{};
        if (!dmTran.ReadWords8(axis, uint32_t(at), 4, words)) {
            if (progress)
                progress->Finish();
            return false;
        }
        const qint64 index = (at - start) / 2;
        for (int k = 0; k < 4; ++k)
            if (index + k < image.words.size())
                image.words[index + k] = words[size_t(k)];
        if (progress)
            progress->Step();
    }

    if (cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key))) {
        const TValue &va = cdsModel.Field(QStringLiteral("VERSION_ADDRESS"));
        if (!va.IsNull()) {
            const auto address = uint32_t(va.AsInteger());
            TDMTran::TWords w8{}, w4{};
            if (dmTran.ReadWords8(axis, address, 4, w8) && dmTran.ReadWords4(axis, address + 8, 2, w4)) {
                const quint16 block[6] = {w8[0], w8[1], w8[2], w8[3], w4[0], w4[1]};
                image.firmwareText = FirmwareText(block);
            } else {
                // Only a whole read is written: the old file stays.
                if (progress)
                    progress->Finish();
                return false;
            }
        }
    }
    const bool ok = dmMain.WriteParameterFile(image, fileName);
    if (progress)
        progress->Finish();
    return ok;
}
