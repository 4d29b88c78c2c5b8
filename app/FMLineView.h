#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;
class TDMEnvironment;
class TDMMain;

// The main window's client area: one row per axis selected for use, with its
// state and model name as the last axes check left them, so the engineer sees
// what is connected without opening the check window. Reads the settings
// module and the main tables only; sends nothing.
class TFMLineView : public QWidget
{
    Q_OBJECT
public:
    TFMLineView(TDMEnvironment &environment, TDMMain &mainTables, QWidget *parent = nullptr);

    // Rebuilds the rows from the settings module.
    void Refresh(bool online);

    QTableWidget *grdLine;
    QLabel *lblLine;

private:
    QString ModelName(int code) const;

    TDMEnvironment &env;
    TDMMain &dmMain;
};
