#include "params/DMParameterBase.h"

#include "app/Messenger.h"

#include "ZnLibs/ShiftJis.h"
#include "app/DMEnvironment.h"
#include "app/Progress.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "defdb/DefSchema.h"
#include "defdb/ValueCodec.h"
#include "params/DMUserParameterEdit.h"
#include "params/AreaRead.h"
#include "params/DMUserParameter.h"
#include "params/ParamRows.h"

#include <QFileInfo>

#include <algorithm>

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMParameterBase", text);
}

const QString None = QStringLiteral("-----");

struct TItem
{
    const char *page;
    const char *name;
    const char *field;
};

// The sixteen rows; the page numbers skip 07.
const TItem Items[16] = {
    {"--", QT_TRANSLATE_NOOP("TDMSystemParameter", "アンプ容量"), "AMPTYP_ADDRESS"},
    {"--", QT_TRANSLATE_NOOP("TDMSystemParameter", "モータ構造"), "MOTSTR_ADDRESS"},
    {"--", QT_TRANSLATE_NOOP("TDMSystemParameter", "制御電源入力電圧"), "CNTPWRVL_TEXT"},
    {"--", QT_TRANSLATE_NOOP("TDMSystemParameter", "制御電源入力種別"), "CNTPWRIN_TEXT"},
    {"--", QT_TRANSLATE_NOOP("TDMSystemParameter", "主回路電源入力電圧"), "MPWRVL_ADDRESS"},
    {"00", QT_TRANSLATE_NOOP("TDMSystemParameter", "主回路電源入力種別"), "MPWRIN_ADDRESS"},
    {"01", QT_TRANSLATE_NOOP("TDMSystemParameter", "モータエンコーダタイプ"), "ENCTYP_ADDRESS"},
    {"02", QT_TRANSLATE_NOOP("TDMSystemParameter", "インクリメンタルエンコーダ機能選択"), "INCSET_ADDRESS"},
    {"03", QT_TRANSLATE_NOOP("TDMSystemParameter", "インクリメンタルエンコーダ分解能"), "MOTENP_ADDRESS"},
    {"04", QT_TRANSLATE_NOOP("TDMSystemParameter", "アブソリュートエンコーダ機能選択"), "ABSSET_ADDRESS"},
    {"05", QT_TRANSLATE_NOOP("TDMSystemParameter", "アブソリュートエンコーダ分解能"), "MOTABF_ADDRESS"},
    {"06", QT_TRANSLATE_NOOP("TDMSystemParameter", "組合せモータ型番"), "MOTDAT_ADDRESS"},
    {"08", QT_TRANSLATE_NOOP("TDMSystemParameter", "制御モード"), "CNTTYP_ADDRESS"},
    {"09", QT_TRANSLATE_NOOP("TDMSystemParameter", "位置ループ制御・位置ループエンコーダ選択"), "PLMODE_ADDRESS"},
    {"0A", QT_TRANSLATE_NOOP("TDMSystemParameter", "外部エンコーダ分解能"), "EXTENP_ADDRESS"},
    {"0B", QT_TRANSLATE_NOOP("TDMSystemParameter", "回生抵抗選択"), "RESERVE1_ADDRESS"},
};

const QString MotorBlock = QStringLiteral("MOTDAT_ADDRESS");

} // namespace

TDMParameterBase::TDMParameterBase(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment,
                                   TDMTran &tran)
    : intf(loader), dmMain(mainTables), env(environment), dmTran(tran)
{
    TDefSchema::AddParameterLookups(cdsParameter, &cdsType);
    TDefSchema::AddAmpParaLookups(cdsAmp_Para, cdsParameter, nullptr, nullptr);
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
}

TDMParameterBase::~TDMParameterBase()
{
    CloseTables();
}

void TDMParameterBase::OpenTables()
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
    // Nothing is listed until the window chooses its rows.
    cdsAmp_Para.SetFilter(QStringLiteral("AMPLIFIER_ID=-1"));
    fNow = cdsAmp_Para.FieldIndex(QStringLiteral("NOW_VALUE"));
    fInput = cdsAmp_Para.FieldIndex(QStringLiteral("INPUT_VALUE"));

    definitions.clear();
    definitions.reserve(size_t(cdsAmp_Para.AllRowCount()));
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r)
        definitions.push_back(ParamRows::Definition(cdsAmp_Para, r));
    tableData = ParamRows::TableData(cdsTable_Data);
    TablesOpened();
}

void TDMParameterBase::CloseTables()
{
    for (TDataSet *t : {&cdsAmplifier, &cdsType, &cdsParameter, &cdsTable_Data, &cdsAmp_Para, &cdsModel, &cdsSystem})
        t->Close();
    definitions.clear();
    tableData.clear();
}

QString TDMParameterBase::ParameterIdsOfLevel(int level)
{
    const QString types = ParamRows::IdList(cdsType, QStringLiteral("LEVEL In (%1)").arg(level));
    const QString ids =
        types.isEmpty() ? QString() : ParamRows::IdList(cdsParameter, QStringLiteral("TYPE_ID In (%1)").arg(types));
    cdsType.ClearFilter();
    cdsParameter.ClearFilter();
    return ids;
}

int TDMParameterBase::ModelKeyOfCode(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    return cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
}

int TDMParameterBase::ModelKey(int source)
{
    if (source >= 1)
        return ModelKeyOfCode(env.AmpCode(source));
    if (source == 0)
        return ModelKeyOfCode(fileImage.ampCode);
    return -1;
}

bool TDMParameterBase::ReadText(int axis, const TValue &address, QString &text)
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

bool TDMParameterBase::ReadModelTexts(int source)
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

void TDMParameterBase::ReadDecimals(int axis)
{
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

void TDMParameterBase::StartProgress(const QString &title, const QString &text, int max)
{
    if (progress)
        progress->Start(title, text, max);
}

void TDMParameterBase::StepProgress()
{
    if (progress)
        progress->Step();
}

void TDMParameterBase::FinishProgress()
{
    if (progress)
        progress->Finish();
}

void TDMParameterBase::TakeImageValues(const TBuffer &image, bool showProgress)
{
    const int rows = cdsAmp_Para.RecordCount();
    if (rows == 0)
        return;
    if (showProgress)
        StartProgress(Tr("読み出し中"), Tr("読み出し中です。お待ちください。"), rows);
    for (int i = 0; i < rows; ++i) {
        const int r = cdsAmp_Para.RowIdAt(i);
        const TParamDef &def = Definition(r);
        const TValue v(qint64(ImageValue(image, def.address, def.length)));
        if (cdsAmp_Para.RowValue(r, fNow) != v)
            cdsAmp_Para.SetRowValue(r, fNow, v);
        if (showProgress)
            StepProgress();
    }
    if (showProgress)
        FinishProgress();
}

void TDMParameterBase::ClearInputs()
{
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r)
        if (!cdsAmp_Para.RowValue(r, fInput).IsNull())
            cdsAmp_Para.SetRowValue(r, fInput, TValue());
}

std::optional<qint32> TDMParameterBase::Optional(const TValue &v)
{
    if (v.IsNull())
        return std::nullopt;
    return qint32(v.AsInt64());
}

std::optional<qint32> TDMParameterBase::NowValue(int position) const
{
    return Optional(cdsAmp_Para.ValueAt(position, fNow));
}

std::optional<qint32> TDMParameterBase::InputValue(int position) const
{
    return Optional(cdsAmp_Para.ValueAt(position, fInput));
}

bool TDMParameterBase::InputChanged(int position) const
{
    const std::optional<qint32> input = InputValue(position);
    return input && input != NowValue(position);
}

QString TDMParameterBase::NowText(int rowId) const
{
    return ValueCodec::ValueText(TValueField::Now, Optional(cdsAmp_Para.RowValue(rowId, fNow)), Definition(rowId),
                                 decimals, tableData);
}

QString TDMParameterBase::InputText(int rowId) const
{
    return ValueCodec::ValueText(TValueField::Input, Optional(cdsAmp_Para.RowValue(rowId, fInput)),
                                 Definition(rowId), decimals, tableData);
}

int TDMParameterBase::RowIdAtAddress(const TValue &address) const
{
    if (address.IsNull())
        return -1;
    const qint64 a = address.AsInt64();
    for (int i = 0; i < RowCount(); ++i)
        if (Definition(RowIdAt(i)).address == a)
            return RowIdAt(i);
    return -1;
}

bool TDMParameterBase::EditRow(int rowId)
{
    if (rowId < 0 || !RunEditDialog)
        return false;
    const TParamDef &def = Definition(rowId);
    if (def.length != 1 && def.length != 2 && def.length != 4) {
        // No command writes such a value: refuse the input rather than
        // show it as written.
        TMessenger::Instance().Error(Tr("アンプ定義ファイルが壊れています。"));
        return false;
    }
    const std::optional<qint32> input = Optional(cdsAmp_Para.RowValue(rowId, fInput));
    const qint32 start = input ? *input : Optional(cdsAmp_Para.RowValue(rowId, fNow)).value_or(0);
    TDMUserParameterEdit edit(intf, env.Japanese);
    if (!edit.EditParameter(def.ampId, def.address, start, decimals, RunEditDialog))
        return false;
    if (input && *input == edit.Value())
        return false;
    cdsAmp_Para.SetRowValue(rowId, fInput, TValue(qint64(edit.Value())));
    return true;
}

bool TDMParameterBase::HasChanges() const
{
    for (int r = 0; r < cdsAmp_Para.AllRowCount(); ++r) {
        const TValue &input = cdsAmp_Para.RowValue(r, fInput);
        if (!input.IsNull() && input != cdsAmp_Para.RowValue(r, fNow))
            return true;
    }
    return false;
}

bool TDMParameterBase::WriteValue(int axis, int address, int length, qint32 value)
{
    const auto a = uint32_t(address);
    switch (length) {
    case 1: return dmTran.WriteByte(axis, a, uint8_t(value & 0xFF));
    case 2: return dmTran.WriteWord(axis, a, uint16_t(value & 0xFFFF));
    case 4: return dmTran.WriteLong(axis, a, uint32_t(value));
    default: return false; // nothing was sent: never report it as written
    }
}

bool TDMParameterBase::WriteInputs(int axis, bool always)
{
    const int remembered = cdsAmp_Para.RecNo();
    const int rows = RowCount();
    StartProgress(Tr("書き込み中"), Tr("書き込み中です。お待ちください。"), rows);
    bool ok = true;
    for (int i = 0; i < rows; ++i) {
        const int r = RowIdAt(i);
        const TValue input = cdsAmp_Para.RowValue(r, fInput);
        if (!input.IsNull()) {
            if (always || input != cdsAmp_Para.RowValue(r, fNow)) {
                const TParamDef &def = Definition(r);
                if (!WriteValue(axis, def.address, def.length, qint32(input.AsInt64()))) {
                    ok = false;
                    break;
                }
                cdsAmp_Para.SetRowValue(r, fNow, input);
            }
            cdsAmp_Para.SetRowValue(r, fInput, TValue());
        }
        StepProgress();
    }
    FinishProgress();
    if (remembered >= 0 && remembered < RowCount())
        cdsAmp_Para.SetRecNo(remembered);
    return ok;
}

bool TDMParameterBase::SaveToFile(const QString &fileName)
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
    StartProgress(Tr("書き込み中"), Tr("書き込み中です。お待ちください。"), rows);
    for (int i = 0; i < rows; ++i) {
        const int r = RowIdAt(i);
        const TValue &input = cdsAmp_Para.RowValue(r, fInput);
        if (!input.IsNull() && input != cdsAmp_Para.RowValue(r, fNow)) {
            const TParamDef &def = Definition(r);
            SetImageValue(image, def.address, qint32(input.AsInt64()), def.length);
        }
        StepProgress();
    }
    const bool ok = dmMain.WriteParameterFile(image, fileName);
    FinishProgress();
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

void TDMParameterBase::TransferFileToAmp(int source)
{
    if (RunTransfer)
        RunTransfer(TTransfer::FileToAmp, source);
}

void TDMParameterBase::TransferAmpToFile(int source)
{
    if (RunTransfer)
        RunTransfer(TTransfer::AmpToFile, source);
}

QString TDMParameterBase::SystemItemPage(int row)
{
    return row >= 1 && row <= SystemItemRows ? QString::fromLatin1(Items[row - 1].page) : QString();
}

QString TDMParameterBase::SystemItemName(int row)
{
    return row >= 1 && row <= SystemItemRows ? QCoreApplication::translate("TDMSystemParameter", Items[row - 1].name)
                                             : QString();
}

QString TDMParameterBase::SystemItemField(int row)
{
    return row >= 1 && row <= SystemItemRows ? QString::fromLatin1(Items[row - 1].field) : QString();
}

TValue TDMParameterBase::SystemField(const QString &field) const
{
    if (!systemRow)
        return TValue();
    return cdsSystem.Field(field);
}

int TDMParameterBase::ItemRow(const QString &field) const
{
    return RowIdAtAddress(SystemField(field));
}

bool TDMParameterBase::SystemItemPresent(int row) const
{
    const QString field = SystemItemField(row);
    if (field.endsWith(QLatin1String("_TEXT")))
        return true;
    return ItemRow(field) >= 0;
}

QString TDMParameterBase::SystemItemNow(int row, const QString &missing) const
{
    const QString field = SystemItemField(row);
    if (field.endsWith(QLatin1String("_TEXT")))
        return systemRow ? cdsSystem.Field(field).AsString() : None;
    if (field == MotorBlock)
        return CombinedMotorText();
    return ItemNowText(field, missing);
}

QString TDMParameterBase::ItemNowText(const QString &field, const QString &missing) const
{
    const int rowId = ItemRow(field);
    return rowId < 0 ? missing : NowText(rowId);
}

QString TDMParameterBase::CombinedMotorText() const
{
    const TValue base = SystemField(MotorBlock);
    const int codeRow = RowIdAtAddress(base);
    if (codeRow < 0)
        return None;
    auto now = [&](int offset) -> quint16 {
        const int r = RowIdAtAddress(TValue(base.AsInt64() + offset));
        return r < 0 ? 0 : quint16(cdsAmp_Para.RowValue(r, fNow).AsInt64() & 0xFFFF);
    };
    QByteArray bytes;
    for (int k = 0; k < 5; ++k) {
        const quint16 w = now(4 + 2 * k);
        bytes.append(char(w & 0xFF));
        bytes.append(char(w >> 8));
    }
    for (char &c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return QStringLiteral("%1(%2-%3)")
        .arg(ShiftJis::Decode(bytes))
        .arg(now(0), 4, 16, QLatin1Char('0'))
        .arg(now(2), 4, 16, QLatin1Char('0'));
}

QString TDMParameterBase::ReportLevelFilter()
{
    QString filter;
    const int shown = std::clamp(env.DisplayLevel, int(dlBasic), int(dlService));
    for (int level = 1; level <= shown + 1; ++level)
        filter = ParamRows::JoinLists(filter, ParameterIdsOfLevel(level));
    return filter.isEmpty() ? QStringLiteral("-1") : filter;
}

bool TDMParameterBase::PrepareReport(int source, const QString &fileName, TParameterReport &report)
{
    report = TParameterReport();
    int code = -1;
    if (source >= 1)
        code = env.AmpCode(source);
    else if (source == 0)
        code = fileImage.ampCode;
    const int key = ModelKeyOfCode(code);

    const QString oldFilter = cdsAmp_Para.Filter();
    const QString oldIndex = cdsAmp_Para.IndexName();
    const int oldRow = cdsAmp_Para.CurrentRowId();
    const bool oldSystemRow = systemRow;
    const int oldSystemPosition = cdsSystem.RecNo();
    auto restore = [&] {
        cdsAmp_Para.SetIndexName(oldIndex);
        cdsAmp_Para.SetFilter(oldFilter);
        cdsAmp_Para.First();
        for (int i = 0; oldRow >= 0 && i < cdsAmp_Para.RecordCount(); ++i)
            if (cdsAmp_Para.RowIdAt(i) == oldRow) {
                cdsAmp_Para.SetRecNo(i);
                break;
            }
        systemRow = oldSystemRow;
        if (oldSystemPosition >= 0)
            cdsSystem.SetRecNo(oldSystemPosition);
    };

    const QString modelFilter = QStringLiteral("(AMPLIFIER_ID=%1)").arg(key);
    cdsAmp_Para.SetIndexName(QStringLiteral("INDEX_ID_MODE_PAGE_NO"));
    cdsAmp_Para.SetFilter(modelFilter);
    cdsSystem.ClearFilter();
    const bool hasSystem = cdsSystem.Active() && cdsSystem.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key));
    if (cdsAmp_Para.IsEmpty() || !hasSystem) {
        restore();
        return true;
    }
    systemRow = true;

    if (source >= 1) {
        TBuffer image;
        image.ampCode = code;
        TDataSet &rows = cdsAmp_Para;
        rows.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
        const bool ok = AreaRead::Read(dmTran, progress, source, rows, image);
        rows.SetIndexName(QStringLiteral("INDEX_ID_MODE_PAGE_NO"));
        if (!ok) {
            restore();
            return false;
        }
        TakeImageValues(image, false);
    } else {
        if (!dmMain.ReadParameterFile(fileImage, fileName)) {
            restore();
            return false;
        }
        TakeImageValues(fileImage, true);
    }

    report.empty = false;
    report.motorModel = motorModel;
    report.ampModel = ampModel;
    report.fileName = fileName;
    report.fileDate = QFileInfo(fileName).lastModified();
    report.fileLine = source < 1;
    report.levelName = TDMUserParameter::LevelName(env.DisplayLevel);
    report.japanese = env.Japanese;
    report.systemTitles = {TDMUserParameter::ColumnTitle(TDMUserParameter::colPage),
                           TDMUserParameter::ColumnTitle(TDMUserParameter::colName),
                           TDMUserParameter::ColumnTitle(TDMUserParameter::colNow)};
    for (TDMUserParameter::TColumn c :
         {TDMUserParameter::colPage, TDMUserParameter::colSymbol, TDMUserParameter::colName, TDMUserParameter::colNow,
          TDMUserParameter::colUnit, TDMUserParameter::colMin, TDMUserParameter::colMax, TDMUserParameter::colStandard})
        report.generalTitles.append(TDMUserParameter::ColumnTitle(c));

    // The system items among the rows without a group; the control-power
    // rows come from the SYSTEM texts and are always there.
    cdsAmp_Para.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (MODE_NO IS NULL)").arg(key));
    for (int row = 1; row <= SystemItemRows; ++row)
        if (SystemItemPresent(row))
            report.systemRows.append(QStringList{SystemItemPage(row), SystemItemName(row), SystemItemNow(row, QString())});

    cdsAmp_Para.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (MODE_NO IS NOT NULL) and (PAGE_NO IS NOT NULL) and "
                                         "(PARAMETER_ID In (%2))")
                              .arg(key)
                              .arg(ReportLevelFilter()));
    const int fName = cdsAmp_Para.FieldIndex(QStringLiteral("NAME"));
    for (int i = 0; i < cdsAmp_Para.RecordCount(); ++i) {
        const int r = cdsAmp_Para.RowIdAt(i);
        const TParamDef &def = Definition(r);
        const int mode = def.modeNo.value_or(0);
        if (report.groups.isEmpty() || report.groups.last().modeNo != mode)
            report.groups.append(TParameterReport::TGroup{mode, {}});
        auto value = [&](TValueField field, std::optional<qint32> raw) {
            return ValueCodec::ValueText(field, raw, def, decimals, tableData);
        };
        report.groups.last().rows.append(QStringList{ValueCodec::PageText(def.pageNo), def.symbol,
                                          cdsAmp_Para.RowValue(r, fName).AsString(),
                                          value(TValueField::Now, Optional(cdsAmp_Para.RowValue(r, fNow))),
                                          ValueCodec::UnitText(def, decimals.unitSelector),
                                          value(TValueField::Min, def.minValue), value(TValueField::Max, def.maxValue),
                                          value(TValueField::Standard, def.standardValue)});
    }
    restore();
    return true;
}
