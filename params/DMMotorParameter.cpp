#include "params/DMMotorParameter.h"

#include "app/Messenger.h"
#include "params/DMUserParameter.h"
#include "params/MotorFile.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMMotorParameter", text);
}

const char *const SystemRows[][2] = {
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "アンプ容量"), "AMPTYP_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "モータ構造"), "MOTSTR_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "主回路電源入力電圧"), "MPWRVL_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "モータエンコーダタイプ"), "ENCTYP_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "インクリメンタルエンコーダ機能選択"), "INCSET_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "インクリメンタルエンコーダ分解能"), "MOTENP_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "アブソリュートエンコーダ機能選択"), "ABSSET_ADDRESS"},
    {QT_TRANSLATE_NOOP("TDMMotorParameter", "アブソリュートエンコーダ分解能"), "MOTABF_ADDRESS"},
};
constexpr int SystemRowCount = int(std::size(SystemRows));

} // namespace

class TDMMotorParameter::TMotorRows
{
public:
    explicit TMotorRows(TDMMotorParameter &module) : dm(module), filter(module.cdsAmp_Para.Filter())
    {
        const QString list = dm.motorList.isEmpty() ? QStringLiteral("-1") : dm.motorList;
        dm.cdsAmp_Para.SetFilter(QStringLiteral("%1 and (PARAMETER_ID In (%2))").arg(filter, list));
    }
    ~TMotorRows() { dm.cdsAmp_Para.SetFilter(filter); }
    TMotorRows(const TMotorRows &) = delete;
    TMotorRows &operator=(const TMotorRows &) = delete;

private:
    TDMMotorParameter &dm;
    QString filter;
};

TDMMotorParameter::TDMMotorParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment,
                                     TDMTran &tran)
    : TDMSystemParameter(loader, mainTables, environment, tran)
{
}

void TDMMotorParameter::TablesOpened()
{
    TDMSystemParameter::TablesOpened();
    motorList = ParameterIdsOfLevel(200);
}

QString TDMMotorParameter::ModelFilter(int key) const
{
    return QStringLiteral("(AMPLIFIER_ID=%1) and (MODE_NO IS NULL)").arg(key);
}

QStringList TDMMotorParameter::ReadOrder() const
{
    return {QStringLiteral("AMPTYP_ADDRESS"), QStringLiteral("MOTSTR_ADDRESS"), QStringLiteral("MPWRVL_ADDRESS"),
            QStringLiteral("ENCTYP_ADDRESS"), QStringLiteral("INCSET_ADDRESS"), QStringLiteral("MOTENP_ADDRESS"),
            QStringLiteral("ABSSET_ADDRESS"), QStringLiteral("MOTABF_ADDRESS"), QStringLiteral("MOTDAT_ADDRESS")};
}

bool TDMMotorParameter::ReadFromAmplifier(int axis)
{
    const bool ok = TDMSystemParameter::ReadFromAmplifier(axis);
    motorType.clear();
    return ok;
}

bool TDMMotorParameter::LoadFromFile(const QString &fileName)
{
    const bool ok = TDMSystemParameter::LoadFromFile(fileName);
    ClearInputs();
    motorType.clear();
    return ok;
}

bool TDMMotorParameter::HasChanges() const
{
    if (!motorType.isEmpty())
        return true;
    return TDMSystemParameter::HasChanges();
}

int TDMMotorParameter::MotorParameterCount()
{
    const TMotorRows motor(*this);
    return RowCount();
}

bool TDMMotorParameter::LoadMotorFile(const QString &fileName)
{
    TMotorFile file;
    if (!TMotorFile::Load(fileName, file)) {
        TMessenger::Instance().Warning(Tr("モータパラメータファイルが壊れています。"));
        return false;
    }
    const TMotorRows motor(*this);
    if (RowCount() != file.values.size()) {
        TMessenger::Instance().Information(Tr("選択されたモータパラメータファイルは種類が異なります。"));
        return false;
    }
    for (int i = 0; i < RowCount(); ++i)
        cdsAmp_Para.SetRowValue(RowIdAt(i), fInput, TValue(qint64(file.values[i])));
    // A file without a type still marks that a motor was taken.
    motorType = file.motorType.isEmpty() ? QStringLiteral(" ") : file.motorType;
    return true;
}

bool TDMMotorParameter::WriteToAmplifier(int axis)
{
    if (axis < 1)
        return true;
    bool ok;
    {
        const TMotorRows motor(*this);
        ok = WriteInputs(axis, true);
    }
    motorType.clear();
    return ok;
}

bool TDMMotorParameter::SaveToFile(const QString &fileName)
{
    if (!TDMSystemParameter::SaveToFile(fileName))
        return false;
    motorType.clear();
    return true;
}

QString TDMMotorParameter::PreselectedFile() const
{
    const QString input = motorType.trimmed();
    const QString base = input.isEmpty() ? CombinedMotorText() : input;
    return base.left(10).trimmed() + QStringLiteral(".mp0");
}

TParameterGrid TDMMotorParameter::SystemGrid() const
{
    TParameterGrid g;
    g.titles = {TDMUserParameter::ColumnTitle(TDMUserParameter::colName),
                TDMUserParameter::ColumnTitle(TDMUserParameter::colNow)};
    g.nowColumn = 1;
    g.rows = [this] { return RowCount() == 0 ? 1 : SystemRowCount; };
    g.text = [this](int row, int column) {
        if (RowCount() == 0 || row < 0 || row >= SystemRowCount)
            return QString();
        if (column == 0)
            return Tr(SystemRows[row][0]);
        return ItemNowText(QString::fromLatin1(SystemRows[row][1]), QString());
    };
    g.inputRed = [](int) { return false; };
    return g;
}

TParameterGrid TDMMotorParameter::MotorGrid() const
{
    TParameterGrid g;
    g.titles = {TDMUserParameter::ColumnTitle(TDMUserParameter::colName),
                TDMUserParameter::ColumnTitle(TDMUserParameter::colNow),
                TDMUserParameter::ColumnTitle(TDMUserParameter::colInput)};
    g.nowColumn = 1;
    g.inputColumn = 2;
    g.rows = [] { return 1; };
    g.text = [this](int row, int column) {
        if (RowCount() == 0 || row != 0)
            return QString();
        switch (column) {
        case 0: return Tr("組合せモータ型番");
        case 1: return CombinedMotorText();
        default: return motorType.trimmed();
        }
    };
    g.inputRed = [this](int) {
        const QString input = motorType.trimmed();
        return RowCount() > 0 && !input.isEmpty() && input != CombinedMotorText();
    };
    return g;
}
