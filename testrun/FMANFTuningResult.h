#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The result of an automatic tuning: the message, the result's name, value
// and unit, and (when the opener asks) the note that OK turns the servo off.
// Both tunings show their result in it.
class TFMANFTuningResult : public QDialog
{
    Q_OBJECT
public:
    struct TContent {
        QString title;
        QString text;
        QString name;
        QString unit;
        int value = 0;
        bool note = false;
    };

    explicit TFMANFTuningResult(const TContent &content, QWidget *owner = nullptr);

    QLabel *lblText = nullptr;
    QLabel *lblName = nullptr;
    QLineEdit *edtValue = nullptr;
    QLabel *lblUnit = nullptr;
    QLabel *lblNote = nullptr;
    QPushButton *btnOk = nullptr;
};
