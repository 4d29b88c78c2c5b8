#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The print offset dialog: where the page lands on the paper, shifted by
// millimetres vertically and horizontally. Fields show "0.0mm"; leaving one
// keeps only its leading digits and points.
class TFMZnPrintOffset : public QDialog
{
    Q_OBJECT
public:
    explicit TFMZnPrintOffset(QWidget *owner = nullptr);

    // Opens the dialog with offsets in 0.1 mm; on "&Ok" stores the new ones
    // (round(millimetres * 10)) and returns true.
    static bool Execute(QWidget *owner, int &offsetX, int &offsetY);

    // The millimetres a field text stands for: its leading digits and points
    // as a number (the longest prefix that reads as one), 0 when it starts
    // with neither.
    static double FieldMillimetres(const QString &text);
    // The text a field shows for a value: "0.0mm".
    static QString FieldText(double millimetres);
    // Offset in 0.1 mm from a field text.
    static int FieldOffset(const QString &text);

    QLineEdit *edtVertical;
    QLineEdit *edtHorizontal;
    QPushButton *btnOk;
    QPushButton *btnCancel;

private:
    void Normalise(QLineEdit *edit);
};
