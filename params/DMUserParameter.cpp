#include "params/DMUserParameter.h"

#include "ZnLibs/ShiftJis.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DefSchema.h"
#include "defdb/ValueCodec.h"
#include "params/DMUserParameterEdit.h"
#include "params/ParamRows.h"
#include "app/Messenger.h"
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
    : intf(loader), dmMain(mainTables), env(environment), dmTran(tran)
{
    TDefSchema::AddParameterLookups(cdsParameter, &cdsType);
    TDefSchema::AddAmpParaLookups(cdsAmp_Para, cdsParameter, nullptr, nullptr);
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
}

TDMUserParameter::~TDMUserParameter()
{
    CloseTables();
}

void TDMUserParameter::OpenTables()
{
    CloseTables();
    for (TDataSet *t : {&cdsAmplifier, &cdsType, &cdsParameter, &cdsTable_Data, &cdsAmp_Para, &cdsModel, &cdsSystem})
        t->SetJapanese(env.Japanese);
    intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds"));
    intf.LoadTable(cdsType, QStringLiteral("1_TYPE.cds"));
    intf.LoadTable(cdsParameter, QStringLiteral("1_PARAMETER.cds"));
    intf.LoadTable(cdsTable_Data, QStringLiteral("1_TABLE_DATA.cds"));
    intf.LoadTable(cdsAmp_Para, QStringLiteral("1_AMP_PARA.cds"));
    intf.LoadTable(cdsModel, QStringLiteral("3_MODEL.cds"));
    intf.LoadTable(cdsSystem, QStringLiteral("3_SYSTEM.cds"));
    cdsParameter.RefreshLookups();
    cdsAmp_Para.RefreshLookups();
    cdsAmp_Para.SetIndexName(IndexModePage);
    // Nothing is listed until a group is selected.
    cdsAmp_Para.SetFilter(QStringLiteral("AMPLIFIER_ID=-1"));
    fNow = cdsAmp_Para.FieldIndex(QStringLiteral("NOW_VALUE"));
    fInput = cdsAmp_Para.FieldIndex(QStringLiteral("INPUT_VALUE"));

    definitions.clear();
    definitions.reserve(size_t(cdsAmp_Para.AllRowCount()));
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r)
        definitions.push_back(ParamRows::Definition(cdsAmp_Para, r));
    tableData = ParamRows::TableData(cdsTable_Data);
    BuildLevelFilter(true);
}

void TDMUserParameter::CloseTables()
{
    for (TDataSet *t : {&cdsAmplifier, &cdsType, &cdsParameter, &cdsTable_Data, &cdsAmp_Para, &cdsModel, &cdsSystem})
        t->Close();
    definitions.clear();
    tableData.clear();
}

void TDMUserParameter::BuildLevelFilter(bool recompute)
{
    if (recompute) {
        for (int level = 1; level <= 4; ++level) {
            const QString types = ParamRows::IdList(cdsType, QStringLiteral("LEVEL In (%1)").arg(level));
            levelLists[size_t(level - 1)] =
                types.isEmpty() ? QString() : ParamRows::IdList(cdsParameter, QStringLiteral("TYPE_ID In (%1)").arg(types));
        }
        cdsType.ClearFilter();
        cdsParameter.ClearFilter();
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

int TDMUserParameter::ModelKeyOfCode(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    return cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
}

int TDMUserParameter::ModelKey(int source)
{
    if (source >= 1)
        return ModelKeyOfCode(env.AmpCode(source));
    if (source == 0)
        return ModelKeyOfCode(fileImage.ampCode);
    return -1;
}

bool TDMUserParameter::ReadText(int axis, const TValue &address, QString &text)
{
    const auto a = uint32_t(address.AsInteger());
    QByteArray first, second;
    if (!dmTran.ReadBytes8(axis, a, first) || !dmTran.ReadBytes8(axis, a + 8, second))
        return false;
    QByteArray bytes = first.left(8) + second.left(2);
    for (char &c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    text = ShiftJis::Decode(bytes);
    return true;
}

bool TDMUserParameter::ReadModelTexts(int source)
{
    if (source <= 0) {
        motorModel.clear();
        ampModel.clear();
        return true;
    }
    const int key = ModelKeyOfCode(env.AmpCode(source));
    cdsModel.ClearFilter();
    if (!cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)))
        return true;
    // The motor block starts with its code words; its text follows them.
    const TValue motor = cdsModel.Field(QStringLiteral("MOTOR_ADDRESS"));
    const TValue amp = cdsModel.Field(QStringLiteral("AMPLIFIER_ADDRESS"));
    if (!motor.IsNull() && !ReadText(source, TValue(motor.AsInt64() + 4), motorModel))
        return false;
    if (!amp.IsNull() && !ReadText(source, amp, ampModel))
        return false;
    return true;
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

    if (progress)
        progress->Start(Tr("読み出し中"), Tr("読み出し中です。お待ちください。"), int((spanEnd - spanStart + 7) / 8));
    bool ok = true;
    for (qint64 a = spanStart; a < spanEnd; a += 8) {
        TDMTran::TWords words{};
        if (!dmTran.ReadWords8(axis, uint32_t(a), 4, words)) {
            ok = false;
            break;
        }
        const qint64 index = (a - ampImage.startAddress) / 2;
        for (int k = 0; k < 4; ++k)
            if (index + k >= 0 && index + k < ampImage.words.size())
                ampImage.words[index + k] = words[size_t(k)];
        if (progress)
            progress->Step();
    }

    if (ok) {
        // A failed settings read counts as 0 (the transaction layer has
        // reported it); each byte is read at its own address.
        auto readByte = [&](int address) -> std::optional<int> {
            TDMTran::TWords w{};
            if (!dmTran.ReadWords4(axis, uint32_t(address), 1, w))
                return std::nullopt;
            return w[0] & 0xFF;
        };
        const std::optional<int> p9 = readByte(TDecimalSettings::kPlaces9Address);
        const std::optional<int> p10 = readByte(TDecimalSettings::kPlaces10Address);
        const std::optional<int> unit = readByte(TDecimalSettings::kUnitAddress);
        decimals = TDecimalSettings::FromAmplifier(p9, p10, unit);
    }

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
    const int rows = cdsAmp_Para.RecordCount();
    if (rows == 0)
        return true;
    const int fAddress = cdsAmp_Para.FieldIndex(QStringLiteral("ADDRESS"));
    const int fLength = cdsAmp_Para.FieldIndex(QStringLiteral("LENGTH"));
    if (progress)
        progress->Start(Tr("読み出し中"), Tr("読み出し中です。お待ちください。"), rows);
    for (int i = 0; i < rows; ++i) {
        const int r = cdsAmp_Para.RowIdAt(i);
        const TValue v(qint64(ImageValue(fileImage, cdsAmp_Para.RowValue(r, fAddress).AsInt64(),
                                         cdsAmp_Para.RowValue(r, fLength).AsInteger())));
        if (cdsAmp_Para.RowValue(r, fNow) != v)
            cdsAmp_Para.SetRowValue(r, fNow, v);
        if (progress)
            progress->Step();
    }
    if (progress)
        progress->Finish();
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

void TDMUserParameter::ClearInputs()
{
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r)
        if (!cdsAmp_Para.RowValue(r, fInput).IsNull())
            cdsAmp_Para.SetRowValue(r, fInput, TValue());
}

void TDMUserParameter::SelectGroup(int source, int group)
{
    ClearInputs();
    cdsAmp_Para.SetIndexName(IndexModePage);
    FilterListed(ModelKey(source), group);
    cdsAmp_Para.First();
}

std::optional<qint32> TDMUserParameter::Optional(const TValue &v)
{
    if (v.IsNull())
        return std::nullopt;
    return qint32(v.AsInt64());
}

std::optional<qint32> TDMUserParameter::NowValue(int position) const
{
    return Optional(cdsAmp_Para.ValueAt(position, fNow));
}

std::optional<qint32> TDMUserParameter::InputValue(int position) const
{
    return Optional(cdsAmp_Para.ValueAt(position, fInput));
}

bool TDMUserParameter::InputChanged(int position) const
{
    const std::optional<qint32> input = InputValue(position);
    return input && input != NowValue(position);
}

bool TDMUserParameter::EditCurrentRow()
{
    if (cdsAmp_Para.IsEmpty() || !RunEditDialog)
        return false;
    const int position = cdsAmp_Para.RecNo();
    const int rowId = cdsAmp_Para.CurrentRowId();
    const TParamDef &def = Definition(rowId);
    if (def.length != 1 && def.length != 2 && def.length != 4) {
        // No command writes such a value: refuse the input rather than
        // show it as written.
        TMessenger::Instance().Error(Tr("アンプ定義ファイルが壊れています。"));
        return false;
    }
    const std::optional<qint32> input = InputValue(position);
    const qint32 start = input ? *input : NowValue(position).value_or(0);
    TDMUserParameterEdit edit(intf, env.Japanese);
    if (!edit.EditParameter(def.ampId, def.address, start, decimals, RunEditDialog))
        return false;
    if (input && *input == edit.Value())
        return false;
    cdsAmp_Para.SetRowValue(rowId, fInput, TValue(qint64(edit.Value())));
    return true;
}

bool TDMUserParameter::HasChanges() const
{
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r) {
        const TValue &input = cdsAmp_Para.RowValue(r, fInput);
        if (!input.IsNull() && input != cdsAmp_Para.RowValue(r, fNow))
            return true;
    }
    return false;
}

bool TDMUserParameter::WriteValue(int axis, int address, int length, qint32 value)
{
    const auto a = uint32_t(address);
    switch (length) {
    case 1: return dmTran.WriteByte(axis, a, uint8_t(value & 0xFF));
    case 2: return dmTran.WriteWord(axis, a, uint16_t(value & 0xFFFF));
    case 4: return dmTran.WriteLong(axis, a, uint32_t(value));
    default: return false; // nothing was sent: never report it as written
    }
}

bool TDMUserParameter::WriteToAmplifier(int axis)
{
    if (axis < 1)
        return true;
    const int remembered = cdsAmp_Para.RecNo();
    const int rows = RowCount();
    if (progress)
        progress->Start(Tr("書き込み中"), Tr("書き込み中です。お待ちください。"), rows);
    bool ok = true;
    for (int i = 0; i < rows; ++i) {
        const int r = RowIdAt(i);
        const TValue input = cdsAmp_Para.RowValue(r, fInput);
        if (!input.IsNull()) {
            if (input != cdsAmp_Para.RowValue(r, fNow)) {
                const TParamDef &def = Definition(r);
                if (!WriteValue(axis, def.address, def.length, qint32(input.AsInt64()))) {
                    ok = false;
                    break;
                }
                cdsAmp_Para.SetRowValue(r, fNow, input);
            }
            cdsAmp_Para.SetRowValue(r, fInput, TValue());
        }
        if (progress)
            progress->Step();
    }
    if (progress)
        progress->Finish();
    if (remembered >= 0)
        cdsAmp_Para.SetRecNo(remembered);
    return ok;
}

bool TDMUserParameter::SaveToFile(const QString &fileName)
{
    const int rows = RowCount();
    // A short file has no place for some rows: an input there would be
    // dropped while the grid showed it as saved.
    QStringList outside;
    for (int i = 0; i < rows; ++i) {
        const int r = RowIdAt(i);
        const TValue &input = cdsAmp_Para.RowValue(r, fInput);
        if (input.IsNull() || input == cdsAmp_Para.RowValue(r, fNow))
            continue;
        const TParamDef &def = Definition(r);
        if (!fileImage.Contains(def.address, def.length))
            outside.append(def.symbol);
    }
    if (!outside.isEmpty()) {
        TMessenger::Instance().Warning(
            Tr("%1\r\nファイルに含まれていないパラメータのため、保存できません。").arg(outside.join(QStringLiteral(", "))));
        return false;
    }
    TBuffer image = fileImage;
    if (progress)
        progress->Start(Tr("書き込み中"), Tr("書き込み中です。お待ちください。"), rows);
    for (int i = 0; i < rows; ++i) {
        const int r = RowIdAt(i);
        const TValue &input = cdsAmp_Para.RowValue(r, fInput);
        if (!input.IsNull() && input != cdsAmp_Para.RowValue(r, fNow)) {
            const TParamDef &def = Definition(r);
            SetImageValue(image, def.address, qint32(input.AsInt64()), def.length);
        }
        if (progress)
            progress->Step();
    }
    const bool ok = dmMain.WriteParameterFile(image, fileName);
    if (progress)
        progress->Finish();
    if (!ok)
        return false;
    fileImage = std::move(image);
    for (int i = 0; i < rows; ++i) {
        const int r = RowIdAt(i);
        const TValue input = cdsAmp_Para.RowValue(r, fInput);
        if (input.IsNull())
            continue;
        if (input != cdsAmp_Para.RowValue(r, fNow))
            cdsAmp_Para.SetRowValue(r, fNow, input);
        cdsAmp_Para.SetRowValue(r, fInput, TValue());
    }
    return true;
}

bool TDMUserParameter::ChangeLevel()
{
    if (!RunLevelDialog || !RunLevelDialog())
        return false;
    BuildLevelFilter(false);
    return true;
}

void TDMUserParameter::TransferFileToAmp(int source)
{
    if (RunTransfer)
        RunTransfer(TTransfer::FileToAmp, source);
}

void TDMUserParameter::TransferAmpToFile(int source)
{
    if (RunTransfer)
        RunTransfer(TTransfer::AmpToFile, source);
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
