#pragma once

#include "defdb/DataSet.h"
#include "defdb/DecimalSettings.h"
#include "defdb/ParamDef.h"
#include "defdb/ValueCodec.h"

#include <QString>
#include <functional>

class TDMInterface;

// The data behind the parameter edit dialog: its own copies of the
// definition tables, the parameter's row and the working value. It never
// writes anywhere; EditParameter hands the new raw value back.
//
//     TDMUserParameterEdit edit(intf, japanese);
//     if (edit.EditParameter(ampId, address, raw, settings,
//                            [&](TDMUserParameterEdit &m) { return TFMUserParameterEdit::Execute(m, owner); }))
//         raw = edit.Value();
class TDMUserParameterEdit
{
public:
    // Which input the parameter's DATAFORM gets.
    enum class TPanel { Number, Fraction, Digits, Code };
    // The boxes whose keys are filtered.
    enum class TBox { Value, FractionPart };

    static constexpr int ValueMaxLength = 12;
    static constexpr int FractionMaxLength = 10;

    TDMUserParameterEdit(TDMInterface &loader, bool japanese);
    ~TDMUserParameterEdit();
    TDMUserParameterEdit(const TDMUserParameterEdit &) = delete;
    TDMUserParameterEdit &operator=(const TDMUserParameterEdit &) = delete;

    using TRunner = std::function<bool(TDMUserParameterEdit &)>;
    // Loads the tables, finds the row of the model and address, builds the
    // choice lists, runs the dialog and closes the tables. True when the
    // dialog ended with OK; Value() is then the new raw value. False without
    // running anything when the row does not exist.
    bool EditParameter(int ampId, int address, qint32 raw, const TDecimalSettings &settings, const TRunner &run);

    // The steps of EditParameter, for callers that hold the module open.
    bool Open(int ampId, int address, qint32 raw, const TDecimalSettings &settings);
    void Close();

    // --- What the dialog shows -----------------------------------------
    const TParamDef &Definition() const { return def; }
    TPanel Panel() const;
    bool SymbolShown() const { return def.modeNo.has_value(); }
    QString Symbol() const { return def.symbol; }
    QString Name() const { return def.nameJ; }          // always Japanese
    QString Position() const;                            // "Group 1 - 0A" / "0A"
    QString HelpText() const { return helpText; }        // always Japanese
    QString Unit() const;                                // "[ms]" or empty
    QString Range() const;
    TEditTexts StartTexts() const;
    QString HighName() const { return def.binaryHighName; } // by display language
    QString LowName() const { return def.binaryLowName; }
    const TChoiceList &TableChoices() const { return tableChoices; }
    const TNibbleChoiceLists &NibbleChoices() const { return nibbleChoices; }

    // --- What the dialog calls back --------------------------------------
    QString Step(const QString &text, TStepDirection direction) const;
    static QString StepFractionPart(const QString &text, TStepDirection direction);
    // Whether a typed character belongs in the box of this parameter. Upper
    // and lower case are alike (the box turns letters to upper case).
    static bool KeyAccepted(int dataForm, TBox box, QChar c);
    bool KeyAccepted(TBox box, QChar c) const { return KeyAccepted(def.dataForm, box, c); }

    // Checks the input; on acceptance Value() becomes the new value. A
    // rejection warns "設定範囲外です。" and leaves Value() alone.
    bool Confirm(const TParseInput &input);

    qint32 Value() const { return value; }
    bool Japanese() const { return japanese; }

    TDataSet cdsAmp_Para;
    TDataSet cdsParameter;
    TDataSet cdsBinary_Data;
    TDataSet cdsTable_Data;
    TDataSet cdsHelp;
    TDataSet cdsFraction;

private:
    TDMInterface &intf;
    bool japanese;
    TParamDef def;
    TDecimalSettings settings;
    QString helpText;
    qint32 value = 0;
    TChoiceList tableChoices;
    TNibbleChoiceLists nibbleChoices;
    TFractionRows fractions;
};
