#pragma once

#include "printing/RPCustom.h"

#include <QDateTime>

class TFMMachine;

// The printed system-analysis window: one page with the title, print date,
// models, the file, conditions and monitors, legends, cursor readouts with
// the torque-limit rate, and both graphs with their scales.
class TRPMachine : public TRPCustom
{
    Q_DECLARE_TR_FUNCTIONS(TRPMachine)
public:
    explicit TRPMachine(TFMMachine &window);

    // "印刷日時 : yyyy/mm/dd hh:nn", in English "Print Date : Mon./dd/yyyy hh:nn".
    static QString DateText(const QString &japaneseLabel, const QString &englishLabel, const QDateTime &when,
                            bool japanese);

protected:
    void BuildPages(TZnPrinter &printer) override;

private:
    TFMMachine &window;
};
