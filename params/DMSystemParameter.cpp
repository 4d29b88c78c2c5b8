#include "params/DMSystemParameter.h"

#include "ZnLibs/ShiftJis.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "defdb/DMMain.h"
#include "params/DMUserParameter.h"

#include <QCoreApplication>

namespace {


const QString IndexAddress = QStringLiteral("INDEX_ID_ADDRESS");
const QString MotorBlock = QStringLiteral("MOTDAT_ADDRESS");
const QString None = QStringLiteral("-----");

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

bool TDMSystemParameter::Editable(int row)
{
    return row >= 6 && row <= 16 && row != 12;
}

QString TDMSystemParameter::GridText(int row, int column) const
{
    if (RowCount() == 0 || row < 1 || row > ItemRows)
        return QString();
    const QString field = SystemItemField(row);
    switch (column) {
    case colPage: return SystemItemPage(row);
    case colName: return SystemItemName(row);
    case colNow: return SystemItemNow(row, None);
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
    const int rowId = ItemRow(SystemItemField(row));
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
    return EditRow(ItemRow(SystemItemField(row)));
}
