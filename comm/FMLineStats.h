#pragma once

#include <QDialog>
#include <QTimer>

class QPushButton;
class QTableWidget;
class TTranAmp;

// "回線統計": what the protocol engine counted per axis (transactions,
// failures, tries, NAKs, time-outs, check errors), for an engineer chasing a
// noisy line. Reads the engine's counters once a second; sends nothing.
class TFMLineStats : public QDialog
{
    Q_OBJECT
public:
    TFMLineStats(TTranAmp &engine, QWidget *owner = nullptr);

    void Refresh();

    QTableWidget *grdStats;
    QPushButton *btnReset;
    QPushButton *btnClose;

private:
    TTranAmp &amp;
    QTimer tmrRefresh;
};
