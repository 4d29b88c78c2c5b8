#pragma once

#include "params/DMUserParameterEdit.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;
class TFMChoiceBox;

// "パラメータ編集": sets one parameter. The panel follows the DATAFORM: a
// number box with spin buttons, a numerator/denominator pair, two digit
// lists or one code list. OK checks the input through the module and stays
// open on a rejection.
class TFMUserParameterEdit : public QDialog
{
    Q_OBJECT
public:
    TFMUserParameterEdit(TDMUserParameterEdit &module, QWidget *owner = nullptr);

    // Runs the dialog modally; true when it closed with OK (the module's
    // Value() is then the new raw value).
    static bool Execute(TDMUserParameterEdit &module, QWidget *owner);

    // What the user has entered, as ParseValue takes it.
    TParseInput Input() const;

    QLabel *lblSymbol;
    QLabel *lblName;
    QLabel *lblPosition;

    QWidget *pnlNumber;
    QLabel *lblRange;
    QLineEdit *edtValue;
    QToolButton *btnValueUp;
    QToolButton *btnValueDown;
    QLabel *lblUnit;

    QWidget *pnlFraction;
    QLineEdit *edtNumerator;
    QToolButton *btnNumeratorUp;
    QToolButton *btnNumeratorDown;
    QLineEdit *edtDenominator;
    QToolButton *btnDenominatorUp;
    QToolButton *btnDenominatorDown;
    QLabel *lblFractionUnit;

    QWidget *pnlDigits;
    QLabel *lblHighName;
    TFMChoiceBox *cboHigh;
    QLabel *lblLowName;
    TFMChoiceBox *cboLow;

    QWidget *pnlCode;
    TFMChoiceBox *cboTable;

    QLabel *imgHelp;
    QPlainTextEdit *memHelp;
    QPushButton *btnOk;
    QPushButton *btnCancel;

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *BuildNumberPanel();
    QWidget *BuildFractionPanel();
    QWidget *BuildDigitsPanel();
    QWidget *BuildCodePanel();
    void Fill();
    void StepBox(QLineEdit *box, TStepDirection direction, bool fractionPart);

    TDMUserParameterEdit &dm;
};
