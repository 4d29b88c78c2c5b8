#include "params/DMVerify.h"

#include "app/DMEnvironment.h"
#include "app/Messenger.h"
#include "app/Progress.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DefSchema.h"
#include "defdb/ValueCodec.h"
#include "params/AreaRead.h"
#include "params/ParamRows.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMVerify", text);
}

const QString IndexIdAddress = QStringLiteral("INDEX_ID_ADDRESS");

// The fields each side of the list looks up from PARAMETER.
const char *const SideLookups[] = {"CODE",  "LENGTH", "DATAFORM", "PER_POWEROF10", "TABLE_ID",
                                   "LEVEL", "NAME",   "UNIT",     "UNIT2",         "UNIT3"};

QString Side(TDMVerify::TSide side)
{
    return side == TDMVerify::sdAmp ? QStringLiteral("AMP_") : QStringLiteral("DSK_");
}

std::optional<qint32> Optional(const TValue &v)
{
    if (v.IsNull())
        return std::nullopt;
    return qint32(v.AsInt64());
}

} // namespace

TDMVerify::TDMVerify(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran)
    : intf(loader), dmMain(mainTables), env(environment), dmTran(tran)
{
    TDefSchema::AddParameterLookups(cdsParameter, &cdsType);
    for (TDataSet *t : {&cdsAmp_Para, &cdsDsk_Para}) {
        t->AddLookupField(QStringLiteral("LENGTH"), QStringLiteral("PARAMETER_ID"), &cdsParameter, QStringLiteral("ID"));
        t->AddLookupField(QStringLiteral("LEVEL"), QStringLiteral("PARAMETER_ID"), &cdsParameter, QStringLiteral("ID"));
    }

    for (TSide side : {sdAmp, sdDisk})
        for (const char *field : SideLookups)
            cdsList.AddLookupField(Side(side) + QLatin1String(field), Side(side) + QStringLiteral("PARA_ID"),
                                   &cdsParameter, QStringLiteral("ID"), QLatin1String(field));
}

TDMVerify::~TDMVerify()
{
    CloseTables();
}

void TDMVerify::OpenTables()
{
    CloseTables();
    for (TDataSet *t : {&cdsTable_Data, &cdsType, &cdsParameter, &cdsAmp_Para, &cdsDsk_Para, &cdsList})
        t->SetJapanese(env.Japanese);
    // A table that fails to load stays empty: it selects nothing.
    intf.LoadTable(cdsTable_Data, QStringLiteral("1_TABLE_DATA.cds"));
    intf.LoadTable(cdsType, QStringLiteral("1_TYPE.cds"));
    intf.LoadTable(cdsParameter, QStringLiteral("1_PARAMETER.cds"));
    intf.LoadTable(cdsAmp_Para, QStringLiteral("1_AMP_PARA.cds"));
    intf.LoadTable(cdsDsk_Para, QStringLiteral("1_AMP_PARA.cds"));
    cdsParameter.RefreshLookups();
    for (TDataSet *t : {&cdsAmp_Para, &cdsDsk_Para}) {
        t->RefreshLookups();
        t->SetIndexName(IndexIdAddress);
    }
    tableData = ParamRows::TableData(cdsTable_Data);
    CreateList();
    cdsList.SetIndexName(QStringLiteral("INDEX_PATTERN_ADDRESS"));
}

void TDMVerify::CreateList()
{
    // The difference list: ordered by the two patterns, then the address.
    const TFieldType i = TFieldType::Integer;
    cdsList.AddField(QStringLiteral("ADDRESS"), i, 0, true);
    for (TSide side : {sdAmp, sdDisk}) {
        const QString s = Side(side);
        cdsList.AddField(s + QStringLiteral("PATTERN"), i, 0, true);
        cdsList.AddField(s + QStringLiteral("MODE_NO"), i);
        cdsList.AddField(s + QStringLiteral("PAGE_NO"), i);
        cdsList.AddField(s + QStringLiteral("PARA_ID"), i, 0, side == sdAmp);
        cdsList.AddField(s + QStringLiteral("NOW_VALUE"), i);
    }
    // Several rows of one model at one place (broken definition data) may
    // meet the same partner twice: the index orders them, both are kept.
    cdsList.AddIndex(QStringLiteral("INDEX_PATTERN_ADDRESS"), QStringLiteral("AMP_PATTERN;DSK_PATTERN;ADDRESS"), true);
    cdsList.CreateDataSet();
}

void TDMVerify::CloseTables()
{
    for (TDataSet *t : {&cdsList, &cdsTable_Data, &cdsType, &cdsParameter, &cdsAmp_Para, &cdsDsk_Para})
        t->Close();
    tableData.clear();
}

TDMVerify::TPattern TDMVerify::PatternOfLevel(const TValue &level)
{
    if (level.IsNull())
        return ptOrdinary;
    switch (level.AsInt64()) {
    case 4:
    case 300: return ptMaker;
    case 500:
    case 510:
    case 600:
    case 800:
    case 900: return ptPeculiar;
    case 1000: return ptReserve;
    default: return ptOrdinary;
    }
}

bool TDMVerify::CompareWithFile(int axis, const QString &name)
{
    const bool ok = Compare(axis, name);
    if (compared) {
        cdsList.First();
        if (RunWindow)
            RunWindow(*this);
    }
    CloseTables();
    return ok;
}

bool TDMVerify::Compare(int axis, const QString &name)
{
    compared = false;
    outcome = TOutcome::NoAxis;
    if (axis <= 0)
        return true;
    CloseTables();
    outcome = TOutcome::Unreadable;
    if (!dmMain.ReadParameterFile(fileImage, name))
        return true;
    fileName = name;
    fileDate = QFileInfo(name).lastModified();
    OpenTables();
    const int ampCode = env.AmpCode(axis);
    // A model the database lacks has no rows: comparing nothing would
    // report two unknown amplifiers as equal.
    const bool unknown = dmMain.ModelKey(ampCode) < 0;
    if (fileImage.ampCode != ampCode || unknown) {
        const int ampGroup = dmMain.ModelGroup(ampCode), fileGroup = dmMain.ModelGroup(fileImage.ampCode);
        TMessenger &msg = TMessenger::Instance();
        if (unknown || ampGroup != fileGroup || ampGroup == -1 || fileGroup == -1) {
            msg.Information(Tr("サーボアンプの種類が異なります。\r\n照合できません。"));
            outcome = TOutcome::Refused;
            CloseTables();
            return true;
        }
        if (!msg.AskOkCancel(Tr("サーボアンプのソフトウェアバージョンが異なります。\r\n照合を行いますか?"))) {
            outcome = TOutcome::Declined;
            CloseTables();
            return true;
        }
    }
    if (!ReadAmplifierImage(axis)) {
        outcome = TOutcome::ReadFailed;
        CloseTables();
        return false;
    }
    Walk();
    compared = true;
    outcome = TOutcome::Done;
    return true;
}

bool TDMVerify::ReadAmplifierImage(int axis)
{
    ampImage = TBuffer();
    ampImage.ampCode = env.AmpCode(axis);
    ampModel = dmMain.ModelKey(ampImage.ampCode);
    diskModel = dmMain.ModelKey(fileImage.ampCode);

    cdsAmp_Para.SetIndexName(IndexIdAddress);
    cdsAmp_Para.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(ampModel));
    const bool ok = AreaRead::Read(dmTran, progress, axis, cdsAmp_Para, ampImage);
    cdsDsk_Para.SetIndexName(IndexIdAddress);
    cdsDsk_Para.SetFilter(QStringLiteral("AMPLIFIER_ID=%1").arg(diskModel));
    cdsDsk_Para.First();
    return ok;
}

void TDMVerify::Walk()
{
    const int fAddress = cdsAmp_Para.FieldIndex(QStringLiteral("ADDRESS"));
    const int fLength = cdsAmp_Para.FieldIndex(QStringLiteral("LENGTH"));
    const int fdAddress = cdsDsk_Para.FieldIndex(QStringLiteral("ADDRESS"));
    const int fdLength = cdsDsk_Para.FieldIndex(QStringLiteral("LENGTH"));
    const int ampRows = cdsAmp_Para.RecordCount(), diskRows = cdsDsk_Para.RecordCount();
    if (progress)
        progress->Start(Tr("照合中"), Tr("照合中です。お待ちください。"), ampRows);
    int a = 0, d = 0;
    while (a < ampRows && d < diskRows) {
        const qint64 A = cdsAmp_Para.ValueAt(a, fAddress).AsInt64();
        const qint64 LA = cdsAmp_Para.ValueAt(a, fLength).AsInt64();
        const qint64 D = cdsDsk_Para.ValueAt(d, fdAddress).AsInt64();
        const qint64 LD = cdsDsk_Para.ValueAt(d, fdLength).AsInt64();
        if (D == A || (A < D && D < A + LA) || (D < A && A < D + LD))
            CompareRows(cdsAmp_Para.RowIdAt(a), cdsDsk_Para.RowIdAt(d));
        const qint64 ampEnd = A + LA, diskEnd = D + LD;
        if (diskEnd <= ampEnd)
            ++d;
        if (ampEnd <= diskEnd) {
            ++a;
            if (progress)
                progress->Step();
        }
    }
    cdsList.Refresh();
    if (progress)
        progress->Finish();
}

void TDMVerify::CompareRows(int ampRow, int diskRow)
{
    const TPattern ampPattern = PatternOfLevel(cdsAmp_Para.RowValue(ampRow, QStringLiteral("LEVEL")));
    const TPattern diskPattern = PatternOfLevel(cdsDsk_Para.RowValue(diskRow, QStringLiteral("LEVEL")));
    const auto quiet = [](TPattern p) { return p == ptPeculiar || p == ptReserve; };
    if (quiet(ampPattern) && quiet(diskPattern))
        return;
    const qint64 A = cdsAmp_Para.RowValue(ampRow, QStringLiteral("ADDRESS")).AsInt64();
    const qint64 D = cdsDsk_Para.RowValue(diskRow, QStringLiteral("ADDRESS")).AsInt64();
    const int LD = cdsDsk_Para.RowValue(diskRow, QStringLiteral("LENGTH")).AsInteger();
    // A short file (written by hand or cut off) has no value for the rows
    // beyond its words: comparing them with 0 would list differences the
    // file does not hold.
    if (LD > 0 && !fileImage.Contains(D, LD))
        return;
    const qint32 ampValue = ImageValue(ampImage, A, cdsAmp_Para.RowValue(ampRow, QStringLiteral("LENGTH")).AsInteger());
    const qint32 diskValue = ImageValue(fileImage, D, LD);
    const TValue ampId = cdsAmp_Para.RowValue(ampRow, QStringLiteral("PARAMETER_ID"));
    const TValue diskId = cdsDsk_Para.RowValue(diskRow, QStringLiteral("PARAMETER_ID"));
    if (ampId == diskId && ampValue == diskValue)
        return;
    const int r = cdsList.AppendRow();
    cdsList.SetRowValue(r, QStringLiteral("ADDRESS"), TValue(std::max(A, D)));
    cdsList.SetRowValue(r, QStringLiteral("AMP_PATTERN"), TValue(int(ampPattern)));
    cdsList.SetRowValue(r, QStringLiteral("AMP_MODE_NO"), cdsAmp_Para.RowValue(ampRow, QStringLiteral("MODE_NO")));
    cdsList.SetRowValue(r, QStringLiteral("AMP_PAGE_NO"), cdsAmp_Para.RowValue(ampRow, QStringLiteral("PAGE_NO")));
    cdsList.SetRowValue(r, QStringLiteral("AMP_PARA_ID"), ampId);
    cdsList.SetRowValue(r, QStringLiteral("AMP_NOW_VALUE"), TValue(qint64(ampValue)));
    cdsList.SetRowValue(r, QStringLiteral("DSK_PATTERN"), TValue(int(diskPattern)));
    cdsList.SetRowValue(r, QStringLiteral("DSK_MODE_NO"), cdsDsk_Para.RowValue(diskRow, QStringLiteral("MODE_NO")));
    cdsList.SetRowValue(r, QStringLiteral("DSK_PAGE_NO"), cdsDsk_Para.RowValue(diskRow, QStringLiteral("PAGE_NO")));
    cdsList.SetRowValue(r, QStringLiteral("DSK_PARA_ID"), diskId);
    cdsList.SetRowValue(r, QStringLiteral("DSK_NOW_VALUE"), TValue(qint64(diskValue)));
}

TParamDef TDMVerify::ListDefinition(int position, TSide side) const
{
    const int r = cdsList.RowIdAt(position);
    const QString s = Side(side);
    auto field = [&](const char *name) -> const TValue & { return cdsList.RowValue(r, s + QLatin1String(name)); };
    TParamDef def;
    def.parameterId = field("PARA_ID").IsNull() ? -1 : field("PARA_ID").AsInteger();
    def.modeNo = Optional(field("MODE_NO"));
    def.pageNo = Optional(field("PAGE_NO"));
    def.code = field("CODE").IsNull() ? 0 : field("CODE").AsInteger();
    def.length = field("LENGTH").IsNull() ? 0 : field("LENGTH").AsInteger();
    def.dataForm = field("DATAFORM").IsNull() ? 0 : field("DATAFORM").AsInteger();
    if (!field("PER_POWEROF10").IsNull())
        def.perPowerOf10 = field("PER_POWEROF10").AsInteger();
    def.tableId = Optional(field("TABLE_ID"));
    def.name = field("NAME").AsString();
    def.unit = field("UNIT").AsString();
    def.unit2 = field("UNIT2").AsString();
    def.unit3 = field("UNIT3").AsString();
    return def;
}

QString TDMVerify::CellText(int position, TSide side, TColumn column) const
{
    if (position < 0 || position >= cdsList.RecordCount())
        return QString();
    const int r = cdsList.RowIdAt(position);
    const QString s = Side(side);
    const auto pattern = TPattern(cdsList.RowValue(r, s + QStringLiteral("PATTERN")).AsInteger());
    const TParamDef def = ListDefinition(position, side);
    switch (column) {
    case colGroup:
        return pattern == ptOrdinary && def.modeNo ? QString::number(quint32(*def.modeNo), 16).toUpper() : QString();
    case colPage: return pattern == ptOrdinary ? ValueCodec::PageText(def.pageNo) : QString();
    case colName:
        switch (pattern) {
        case ptMaker: return QStringLiteral("Maker Parameter[%1]").arg(def.code, 4, 10, QLatin1Char('0'));
        case ptPeculiar: return QStringLiteral("Peculiar Data[%1]").arg(def.code, 4, 10, QLatin1Char('0'));
        case ptReserve: return QStringLiteral("Reserve Area");
        default: return def.name;
        }
    case colValue: {
        const std::optional<qint32> raw = Optional(cdsList.RowValue(r, s + QStringLiteral("NOW_VALUE")));
        if (def.length == 0 || pattern == ptReserve || !raw)
            return QString();
        if (pattern == ptOrdinary) {
            TDecimalSettings settings;
            settings.unitSelector = unitSelector;
            return ValueCodec::ValueText(TValueField::Now, raw, def, settings, tableData,
                                         TValueTextOptions::Verification());
        }
        return QString::number(quint64(ValueCodec::WidenUnsigned(*raw, def.length)), 16)
                   .toUpper()
                   .rightJustified(2 * def.length, u'0')
            + QStringLiteral(" H");
    }
    case colUnit:
        if (def.dataForm == 9 || def.dataForm == 10)
            return ValueCodec::UnitText(def, unitSelector);
        return pattern == ptOrdinary ? def.unit : QString();
    case colLevel: return LevelName(cdsList.RowValue(r, s + QStringLiteral("LEVEL")));
    default: return QString();
    }
}

QString TDMVerify::LevelName(const TValue &level)
{
    if (level.IsNull())
        return QString();
    switch (level.AsInt64()) {
    case 1: return Tr("ベーシックレベル");
    case 2: return Tr("スタンダードレベル");
    case 3: return Tr("アドバンスドレベル");
    default: return QString();
    }
}

QString TDMVerify::ColumnTitle(TColumn column)
{
    switch (column) {
    case colPage: return Tr("ﾍﾟｰｼﾞ");
    case colName: return Tr("名称");
    case colValue: return Tr("現在設定値");
    case colUnit: return Tr("単位");
    case colLevel: return Tr("パラメータレベル");
    default: return QString();
    }
}

bool TDMVerify::RowRed(int position) const
{
    const int r = cdsList.RowIdAt(position);
    return cdsList.RowValue(r, QStringLiteral("AMP_PARA_ID")) != cdsList.RowValue(r, QStringLiteral("DSK_PARA_ID"));
}

bool TDMVerify::ValueRed(int position) const
{
    const int r = cdsList.RowIdAt(position);
    return cdsList.RowValue(r, QStringLiteral("AMP_NOW_VALUE")) != cdsList.RowValue(r, QStringLiteral("DSK_NOW_VALUE"));
}

qint32 TDMVerify::AddressAt(int position) const
{
    return cdsList.RowValue(cdsList.RowIdAt(position), QStringLiteral("ADDRESS")).AsInteger();
}
