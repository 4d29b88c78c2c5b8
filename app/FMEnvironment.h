#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;
class TDMEnvironment;

// "パラメータ表示レベル": chooses the display level of the parameter windows.
// The service level is offered only while it is the current level (it can
// only be entered through the settings file). The language group is kept
// hidden; nothing reads it.
class TFMEnvironment : public QDialog
{
    Q_OBJECT

public:
    TFMEnvironment(TDMEnvironment &environment, QWidget *owner = nullptr);

    // Shows the dialog modally; true when the user pressed OK.
    static bool Execute(TDMEnvironment &environment, QWidget *owner);

    QGroupBox *grpLevel;
    QComboBox *cmbLevel;
    QGroupBox *grpLanguage;
    QComboBox *cmbLanguage;
    QPushButton *btnOk;
    QPushButton *btnCancel;

public slots:
    void accept() override;

private:
    TDMEnvironment &environment;
};
