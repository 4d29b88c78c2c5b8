#include "params/DMUserParameterEdit.h"

#include "app/Messenger.h"
#include "defdb/DMInterface.h"
#include "defdb/DefSchema.h"
#include "params/ParamRows.h"

#include <QCoreApplication>

TDMUserParameterEdit::TDMUserParameterEdit(TDMInterface &loader, bool japaneseTexts)
    : intf(loader), japanese(japaneseTexts)
{
    TDefSchema::AddAmpParaLookups(cdsAmp_Para, cdsParameter, &cdsFraction, &cdsHelp);
    for (TDataSet *t : {&cdsAmp_Para, &cdsParameter, &cdsBinary_Data, &cdsTable_Data, &cdsHelp, &cdsFraction})
        t->SetJapanese(japanese);
}

TDMUserParameterEdit::~TDMUserParameterEdit()
{
    Close();
}

bool TDMUserParameterEdit::Open(int ampId, int address, qint32 raw, const TDecimalSettings &decimals)
{
    Close();
    // The lookup sources first, so that the parameter rows see them; a
    // table that does not load is left out.
    intf.LoadTable(cdsParameter, QStringLiteral("1_PARAMETER.cds"));
    intf.LoadTable(cdsBinary_Data, QStringLiteral("1_BINARY_DATA.cds"));
    intf.LoadTable(cdsTable_Data, QStringLiteral("1_TABLE_DATA.cds"));
    intf.LoadTable(cdsHelp, QStringLiteral("1_HELP.cds"));
    intf.LoadTable(cdsFraction, QStringLiteral("1_FRACTION.cds"));
    intf.LoadTable(cdsAmp_Para, QStringLiteral("1_AMP_PARA.cds"));
    cdsAmp_Para.RefreshLookups();

    if (!cdsAmp_Para.Locate(QStringLiteral("AMPLIFIER_ID;ADDRESS"), {TValue(ampId), TValue(address)}))
        return false;
    const int row = cdsAmp_Para.CurrentRowId();
    def = ParamRows::Definition(cdsAmp_Para, row);
    helpText = cdsAmp_Para.RowValue(row, QStringLiteral("HELP_TEXT_J")).AsString();
    settings = decimals;
    value = raw;
    fractions = ParamRows::Fractions(cdsFraction);
    tableChoices = {};
    nibbleChoices = {};
    if (def.dataForm == 7)
        tableChoices = ValueCodec::TableChoices(def, raw, ParamRows::TableData(cdsTable_Data), japanese);
    else if (def.dataForm == 6)
        nibbleChoices = ValueCodec::NibbleChoices(def, raw, ParamRows::BinaryData(cdsBinary_Data), japanese);
    return true;
}

void TDMUserParameterEdit::Close()
{
    cdsAmp_Para.Close();
    cdsParameter.Close();
    cdsBinary_Data.Close();
    cdsTable_Data.Close();
    cdsHelp.Close();
    cdsFraction.Close();
}

bool TDMUserParameterEdit::EditParameter(int ampId, int address, qint32 raw, const TDecimalSettings &decimals,
                                         const TRunner &run)
{
    bool ok = false;
    if (Open(ampId, address, raw, decimals) && run)
        ok = run(*this);
    Close();
    return ok;
}

TDMUserParameterEdit::TPanel TDMUserParameterEdit::Panel() const
{
    switch (def.dataForm) {
    case 5: return TPanel::Fraction;
    case 6: return TPanel::Digits;
    case 7: return TPanel::Code;
    default: return TPanel::Number;
    }
}

QString TDMUserParameterEdit::Position() const
{
    return ValueCodec::PositionText(def.modeNo, def.pageNo);
}

QString TDMUserParameterEdit::Unit() const
{
    return ValueCodec::BracketedUnitText(def, settings.unitSelector);
}

QString TDMUserParameterEdit::Range() const
{
    return ValueCodec::RangeText(def, settings);
}

TEditTexts TDMUserParameterEdit::StartTexts() const
{
    return ValueCodec::EditText(value, def, settings);
}

QString TDMUserParameterEdit::Step(const QString &text, TStepDirection direction) const
{
    return ValueCodec::StepValue(def, text, direction);
}

QString TDMUserParameterEdit::StepFractionPart(const QString &text, TStepDirection direction)
{
    return ValueCodec::StepFractionPart(text, direction);
}

bool TDMUserParameterEdit::KeyAccepted(int dataForm, TBox box, QChar c)
{
    const char16_t u = c.unicode();
    // Editing keys (backspace, and the control codes of cut and paste) pass
    // everywhere; Enter is the dialog's.
    if (u < 0x20 || u == 0x7F)
        return u != u'\r';
    const bool digit = u >= u'0' && u <= u'9';
    if (box == TBox::FractionPart)
        return digit;
    switch (dataForm) {
    case 2: return digit || u == u'+' || u == u'-';
    case 3: return digit || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
    case 4: return digit || u == u'.';
    case 8:
    case 9:
    case 10: return digit || u == u'-' || u == u'.';
    default: return digit;
    }
}

bool TDMUserParameterEdit::Confirm(const TParseInput &input)
{
    const std::optional<qint32> parsed =
        ValueCodec::ParseValue(def, settings, value, input, tableChoices, nibbleChoices, fractions);
    if (!parsed) {
        TMessenger::Instance().Warning(QCoreApplication::translate("TDMUserParameterEdit", "設定範囲外です。"));
        return false;
    }
    value = *parsed;
    return true;
}
