#pragma once

#include "printing/RPCustom.h"

#include <QDateTime>
#include <QStringList>

#include <array>

class TDMAlarm;

// "アラーム履歴一覧": the alarm window's content on paper, headed by the
// print date, the page number, the motor and amplifier models and, for a
// parameter file, its name and date.
class TRPAlarm : public TRPCustom
{
    Q_DECLARE_TR_FUNCTIONS(TRPAlarm)
public:
    explicit TRPAlarm(QWidget *owner = nullptr);

    // Copies what the window shows; fileView adds the file's name and date.
    void SetContent(const TDMAlarm &alarm, bool fileView);
    // The date printed; the time of building the pages when not set.
    void SetPrintDate(const QDateTime &when) { printDate = when; }

protected:
    void BuildPages(TZnPrinter &p) override;

private:
    QString motorModel, ampModel, fileName;
    QDateTime fileDate, printDate;
    bool fileView = false;
    // Rows of four cells: the "Now" row, and Last1 .. Last7.
    QStringList nowRow;
    QString elapsed;
    std::array<QStringList, 7> historyRows;
};
