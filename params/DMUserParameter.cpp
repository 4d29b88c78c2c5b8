#include "params/DMUserParameter.h"

#include "ZnLibs/ShiftJis.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DefSchema.h"
#include "defdb/ValueCodec.h"
#include "params/DMUserParameterEdit.h"
#include "params/AreaRead.h"
#include "params/ParamRows.h"
#include "app/Progress.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMUserParameter", text);
}

const QString IndexAddress = QStringLiteral("INDEX_ID_ADDRESS");
const QString IndexModePage = QStringLiteral("INDEX_ID_MODE_PAGE_NO");

} // namespace

TDMUserParameter::TDMUserParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment,
                                   TDMTran &tran)
    : TDMParameterBase(loader, mainTables, environment, tran)
{
}

void TDMUserParameter::TablesOpened()
{
    cdsAmp_Para.SetIndexName(IndexModePage);
    BuildLevelFilter(true);
}

void TDMUserParameter::BuildLevelFilter(bool recompute)
{
    if (recompute) {
        for (int level = 1; level <= 4; ++level)
            levelLists[size_t(level - 1)] = ParameterIdsOfLevel(level);
    }
    QString filter = levelLists[0];
    const int shown = std::clamp(env.DisplayLevel, int(dlBasic), int(dlService));
    for (int level = 2; level <= shown + 1; ++level)
        filter = ParamRows::JoinLists(filter, levelLists[size_t(level - 1)]);
    levelFilter = filter.isEmpty() ? QStringLiteral("-1") : filter;
    levelIds.clear();
    for (const QString &id : levelFilter.split(u','))
        levelIds.insert(id.toLongLong());
}

QString TDMUserParameter::LevelName(int displayLevel)
{
    switch (displayLevel) {
    case dlStandard: return Tr("スタンダードレベル");
    case dlAdvanced: return Tr("アドバンスドレベル");
    case dlService: return Tr("メーカエンジニアレベル");
    default: return Tr("ベーシックレベル");
    }
}

QString TDMUserParameter::LevelName() const
{
    return LevelName(env.DisplayLevel);
}

void TDMUserParameter::FilterListed(int key, std::optional<int> group)
{
    QString filter = QStringLiteral("(AMPLIFIER_ID=%1)").arg(key);
    if (group)
        filter += QStringLiteral(" and (MODE_NO=%1)").arg(*group);
    filter += QStringLiteral(" and (MODE_NO IS NOT NULL) and (PAGE_NO IS NOT NULL) and (PARAMETER_ID In (%1))")
                  .arg(levelFilter);
    cdsAmp_Para.SetFilter(filter);
}

bool TDMUserParameter::ReadFromAmplifier(int axis)
{
    const int key = ModelKeyOfCode(env.AmpCode(axis));
    cdsAmp_Para.SetIndexName(IndexAddress);
    FilterListed(key, std::nullopt);

    const int fAddress = cdsAmp_Para.FieldIndex(QStringLiteral("ADDRESS"));
    const int fLength = cdsAmp_Para.FieldIndex(QStringLiteral("LENGTH"));
    const int fAmp = cdsAmp_Para.FieldIndex(QStringLiteral("AMPLIFIER_ID"));
    const int rows = cdsAmp_Para.RecordCount();

    // The read span covers the listed rows; the image the model's whole
    // area, so that every row of the model has its place in it.
    qint64 spanStart = 0, spanEnd = 0;
    if (rows > 0) {
        spanStart = cdsAmp_Para.ValueAt(0, fAddress).AsInt64() & ~qint64(1);
        for (int i = 0; i < rows; ++i)
            spanEnd = std::max(spanEnd, cdsAmp_Para.ValueAt(i, fAddress).AsInt64() + cdsAmp_Para.ValueAt(i, fLength).AsInt64());
        spanEnd = (spanEnd + 1) & ~qint64(1);
    }
    qint64 areaStart = -1, areaEnd = 0;
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r) {
        if (cdsAmp_Para.RowValue(r, fAmp).AsInt64() != key)
            continue;
        const qint64 a = cdsAmp_Para.RowValue(r, fAddress).AsInt64();
        areaStart = areaStart < 0 ? a : std::min(areaStart, a);
        areaEnd = std::max(areaEnd, a + cdsAmp_Para.RowValue(r, fLength).AsInt64());
    }
    ampImage = TBuffer();
    ampImage.ampCode = env.AmpCode(axis);
    if (areaStart >= 0) {
        areaStart &= ~qint64(1);
        areaEnd = (areaEnd + 1) & ~qint64(1);
        ampImage.startAddress = qint32(areaStart);
        ampImage.words = QList<quint16>((areaEnd - areaStart) / 2, 0);
    }

    const bool ok = AreaRead::ReadSpan(dmTran, progress, axis, spanStart, spanEnd, ampImage);

    if (ok)
        ReadDecimals(axis);

    for (int i = 0; i < rows; ++i) {
        const int r = cdsAmp_Para.RowIdAt(i);
        const TValue v(qint64(ImageValue(ampImage, cdsAmp_Para.RowValue(r, fAddress).AsInt64(),
                                         cdsAmp_Para.RowValue(r, fLength).AsInteger())));
        if (cdsAmp_Para.RowValue(r, fNow) != v)
            cdsAmp_Para.SetRowValue(r, fNow, v);
    }
    if (progress)
        progress->Finish();
    cdsAmp_Para.SetIndexName(IndexModePage);
    return ok;
}

bool TDMUserParameter::LoadFromFile(const QString &fileName)
{
    if (!dmMain.ReadParameterFile(fileImage, fileName))
        return false;
    decimals = TDecimalSettings::FromImage(fileImage);
    cdsAmp_Para.SetIndexName(IndexModePage);
    FilterListed(ModelKeyOfCode(fileImage.ampCode), std::nullopt);
    TakeImageValues(fileImage, true);
    return true;
}

bool TDMUserParameter::GroupExists(int source, int group)
{
    const qint64 key = ModelKey(source);
    const int fAmp = cdsAmp_Para.FieldIndex(QStringLiteral("AMPLIFIER_ID"));
    const int fMode = cdsAmp_Para.FieldIndex(QStringLiteral("MODE_NO"));
    const int fPage = cdsAmp_Para.FieldIndex(QStringLiteral("PAGE_NO"));
    const int fParameter = cdsAmp_Para.FieldIndex(QStringLiteral("PARAMETER_ID"));
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r) {
        const TValue &mode = cdsAmp_Para.RowValue(r, fMode);
        if (cdsAmp_Para.RowValue(r, fAmp).AsInt64() == key && !mode.IsNull() && mode.AsInt64() == group
            && !cdsAmp_Para.RowValue(r, fPage).IsNull()
            && levelIds.contains(cdsAmp_Para.RowValue(r, fParameter).AsInt64()))
            return true;
    }
    return false;
}

void TDMUserParameter::SelectGroup(int source, int group)
{
    ClearInputs();
    cdsAmp_Para.SetIndexName(IndexModePage);
    FilterListed(ModelKey(source), group);
    cdsAmp_Para.First();
}

bool TDMUserParameter::EditCurrentRow()
{
    if (cdsAmp_Para.IsEmpty())
        return false;
    return EditRow(cdsAmp_Para.CurrentRowId());
}

bool TDMUserParameter::WriteToAmplifier(int axis)
{
    if (axis < 1)
        return true;
    return WriteInputs(axis, false);
}

bool TDMUserParameter::ChangeLevel()
{
    if (!RunLevelDialog || !RunLevelDialog())
        return false;
    BuildLevelFilter(false);
    return true;
}

QString TDMUserParameter::CellText(int position, TColumn column) const
{
    if (position < 0 || position >= RowCount())
        return QString();
    const int r = RowIdAt(position);
    const TParamDef &def = Definition(r);
    auto value = [&](TValueField field, std::optional<qint32> raw) {
        return ValueCodec::ValueText(field, raw, def, decimals, tableData);
    };
    switch (column) {
    case colPage: return ValueCodec::PageText(def.pageNo);
    case colSymbol: return def.symbol;
    case colName: return cdsAmp_Para.RowValue(r, QStringLiteral("NAME")).AsString();
    case colNow: return value(TValueField::Now, NowValue(position));
    case colUnit: return ValueCodec::UnitText(def, decimals.unitSelector);
    case colInput: return value(TValueField::Input, InputValue(position));
    case colMin: return value(TValueField::Min, def.minValue);
    case colMax: return value(TValueField::Max, def.maxValue);
    case colStandard: return value(TValueField::Standard, def.standardValue);
    default: return QString();
    }
}

QString TDMUserParameter::StatusText() const
{
    if (!cdsAmp_Para.Active() || cdsAmp_Para.IsEmpty())
        return QString();
    const int r = cdsAmp_Para.CurrentRowId();
    const QString name = cdsAmp_Para.RowValue(r, QStringLiteral("NAME")).AsString();
    const TParamDef &def = Definition(r);
    if (def.dataForm == 6)
        return QStringLiteral("%1 [ %2 : %3 ]").arg(name, def.binaryHighName, def.binaryLowName);
    return name;
}

QString TDMUserParameter::ColumnTitle(TColumn column)
{
    switch (column) {
    case colPage: return Tr("ﾍﾟｰｼﾞ");
    case colSymbol: return Tr("シンボル");
    case colName: return Tr("名称");
    case colNow: return Tr("現在設定値");
    case colUnit: return Tr("単位");
    case colInput: return Tr("入力値");
    case colMin: return Tr("下限値");
    case colMax: return Tr("上限値");
    case colStandard: return Tr("標準設定値");
    default: return QString();
    }
}

TParameterGrid TDMUserParameter::Grid() const
{
    TParameterGrid g;
    for (int c = 0; c < ColumnCount; ++c)
        g.titles.push_back(ColumnTitle(TColumn(c)));
    const int right = int(Qt::AlignRight | Qt::AlignVCenter);
    g.alignment = {int(Qt::AlignCenter), 0, 0, right, 0, right, right, right, right};
    g.nowColumn = colNow;
    g.inputColumn = colInput;
    g.rows = [this] { return RowCount(); };
    g.text = [this](int row, int column) { return CellText(row, TColumn(column)); };
    g.inputRed = [this](int row) { return InputChanged(row); };
    return g;
}
