#pragma once

#include "params/RPParameterBase.h"

class TDMVerify;

// "パラメータ照合結果一覧": the difference list of a verification, the
// amplifier's side on the left and the file's on the right.
class TRPVerify : public TRPParameterBase
{
    Q_DECLARE_TR_FUNCTIONS(TRPVerify)
public:
    explicit TRPVerify(QWidget *owner = nullptr);

    // Copies the list's display texts, the file's name, date and model.
    void SetContent(const TDMVerify &verify, bool japanese);
    int RowCount() const { return int(rows.size()); }

protected:
    void BuildPages(TZnPrinter &p) override;

private:
    void DrawHeader(TZnPrinter &p, int page);

    // Twelve texts a row: group, page, name, value, unit, level of the
    // amplifier, then of the file.
    QList<QStringList> rows;
    QString ampMotor, ampModel, diskMotor, diskModel;
    QString fileName;
    QDateTime fileDate;
};
