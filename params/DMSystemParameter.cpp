#include "params/DMSystemParameter.h"

#include "ZnLibs/ShiftJis.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "defdb/DMMain.h"
#include "params/DMUserParameter.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMSystemParameter", text);
}

const QString None = QStringLiteral("-----");

struct TItem
{
    const char *page;
    const char *name;
    const char *field;
};

// The sixteen rows; the page numbers skip 07.
const TItem Items[TDMSystemParameter::ItemRows] = {
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

const QString IndexAddress = QStringLiteral("INDEX_ID_ADDRESS");
const QString MotorBlock = QStringLiteral("MOTDAT_ADDRESS");

} // namespace

TDMSystemParameter::TDMSystemParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment,
                                       TDMTran &tran)
    : TDMParameterBase(loader, mainTables, environment, tran)
{
}

void TDMSystemParameter::TablesOpened()
{
    cdsAmp_Para.SetIndexName(IndexAddress);
    systemRow = false;
}

QString TDMSystemParameter::ModelFilter(int key) const
{
    return QStringLiteral("(AMPLIFIER_ID=%1)").arg(key);
}

QStringList TDMSystemParameter::ReadOrder() const
{
    return {QStringLiteral("AMPTYP_ADDRESS"), QStringLiteral("MOTSTR_ADDRESS"), QStringLiteral("MPWRVL_ADDRESS"),
            QStringLiteral("MPWRIN_ADDRESS"), QStringLiteral("ENCTYP_ADDRESS"), QStringLiteral("INCSET_ADDRESS"),
            QStringLiteral("MOTENP_ADDRESS"), QStringLiteral("ABSSET_ADDRESS"), QStringLiteral("MOTABF_ADDRESS"),
            MotorBlock,                        QStringLiteral("CNTTYP_ADDRESS"), QStringLiteral("PLMODE_ADDRESS"),
            QStringLiteral("EXTENP_ADDRESS"), QStringLiteral("RESERVE1_ADDRESS")};
}

void TDMSystemParameter::SelectModel(int key)
{
    cdsAmp_Para.SetIndexName(IndexAddress);
    cdsAmp_Para.SetFilter(ModelFilter(key));
    cdsSystem.ClearFilter();
    systemRow = cdsSystem.Active() && cdsSystem.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key));
}

TValue TDMSystemParameter::SystemField(const QString &field) const
{
    if (!systemRow)
        return TValue();
    return cdsSystem.Field(field);
}

int TDMSystemParameter::ItemRow(const QString &field) const
{
    return RowIdAtAddress(SystemField(field));
}

bool TDMSystemParameter::ReadItem(int axis, qint64 address)
{
    const int rowId = RowIdAtAddress(TValue(address));
    if (rowId < 0)
        return true;
    const TParamDef &def = Definition(rowId);
    // R reads whole words: a byte at an odd address is the high half of the
    // word below it; a 4-byte item takes two words.
    TBuffer words;
    words.startAddress = qint32(address & ~qint64(1));
    const int count = def.length == 4 ? 2 : 1;
    TDMTran::TWords w{};
    if (!dmTran.ReadWords4(axis, uint32_t(words.startAddress), count, w))
        return false;
    for (int k = 0; k < count; ++k)
        words.words.append(w[size_t(k)]);
    const TValue v(qint64(ImageValue(words, address, def.length)));
    if (cdsAmp_Para.RowValue(rowId, fNow) != v)
        cdsAmp_Para.SetRowValue(rowId, fNow, v);
    return true;
}

bool TDMSystemParameter::ReadFromAmplifier(int axis)
{
    SelectModel(ModelKeyOfCode(env.AmpCode(axis)));
    if (!systemRow)
        return true;
    QList<qint64> addresses;
    for (const QString &field : ReadOrder()) {
        const TValue a = SystemField(field);
        const int words = field == MotorBlock ? 7 : 1;
        for (int k = 0; k < words; ++k)
            addresses.append(a.IsNull() ? -1 : a.AsInt64() + 2 * k);
    }
    StartProgress(QCoreApplication::translate("TDMParameterBase", "読み出し中"),
                  QCoreApplication::translate("TDMParameterBase", "読み出し中です。お待ちください。"),
                  int(addresses.size()));
    bool ok = true;
    for (qint64 a : addresses) {
        if (a >= 0 && !ReadItem(axis, a)) {
            ok = false;
            break;
        }
        StepProgress();
    }
    FinishProgress();
    if (ok)
        ReadDecimals(axis);
    ClearInputs();
    return ok;
}

bool TDMSystemParameter::LoadFromFile(const QString &fileName)
{
    if (!dmMain.ReadParameterFile(fileImage, fileName))
        return false;
    decimals = TDecimalSettings::FromImage(fileImage);
    SelectModel(ModelKeyOfCode(fileImage.ampCode));
    if (systemRow)
        TakeImageValues(fileImage, true);
    return true;
}

bool TDMSystemParameter::WriteToAmplifier(int axis)
{
    if (axis < 1)
        return true;
    return WriteInputs(axis, false);
}

QString TDMSystemParameter::ItemNowText(const QString &field, const QString &missing) const
{
    const int rowId = ItemRow(field);
    return rowId < 0 ? missing : NowText(rowId);
}

QString TDMSystemParameter::CombinedMotorText() const
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

bool TDMSystemParameter::Editable(int row)
{
    return row >= 6 && row <= 16 && row != 12;
}

QString TDMSystemParameter::GridText(int row, int column) const
{
    if (RowCount() == 0 || row < 1 || row > ItemRows)
        return QString();
    const TItem &item = Items[row - 1];
    const QString field = QString::fromLatin1(item.field);
    switch (column) {
    case colPage: return QString::fromLatin1(item.page);
    case colName: return Tr(item.name);
    case colNow:
        if (field.endsWith(QLatin1String("_TEXT")))
            return systemRow ? cdsSystem.Field(field).AsString() : None;
        if (field == MotorBlock)
            return CombinedMotorText();
        return ItemNowText(field, None);
    case colInput: {
        if (!Editable(row))
            return None;
        const int rowId = ItemRow(field);
        return rowId < 0 ? None : InputText(rowId);
    }
    default: return QString();
    }
}

bool TDMSystemParameter::GridInputRed(int row) const
{
    if (!Editable(row) || RowCount() == 0)
        return false;
    const int rowId = ItemRow(QString::fromLatin1(Items[row - 1].field));
    if (rowId < 0 || cdsAmp_Para.RowValue(rowId, fInput).IsNull())
        return false;
    return InputText(rowId) != NowText(rowId);
}

TParameterGrid TDMSystemParameter::Grid() const
{
    TParameterGrid g;
    g.titles = {TDMUserParameter::ColumnTitle(TDMUserParameter::colPage),
                TDMUserParameter::ColumnTitle(TDMUserParameter::colName),
                TDMUserParameter::ColumnTitle(TDMUserParameter::colNow),
                TDMUserParameter::ColumnTitle(TDMUserParameter::colInput)};
    g.alignment = {int(Qt::AlignCenter)};
    g.nowColumn = colNow;
    g.inputColumn = colInput;
    // The grid's rows count from 0; the item rows from 1.
    g.rows = [this] { return GridRowCount(); };
    g.text = [this](int row, int column) { return GridText(row + 1, column); };
    g.inputRed = [this](int row) { return GridInputRed(row + 1); };
    return g;
}

bool TDMSystemParameter::EditItem(int row)
{
    if (!Editable(row) || RowCount() == 0)
        return false;
    return EditRow(ItemRow(QString::fromLatin1(Items[row - 1].field)));
}
