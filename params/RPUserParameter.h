#pragma once

#include "params/ParameterReport.h"
#include "params/RPParameterBase.h"

// "パラメータ一覧": the system items and the visible general parameters of
// one amplifier or parameter file, group by group.
class TRPUserParameter : public TRPParameterBase
{
    Q_DECLARE_TR_FUNCTIONS(TRPUserParameter)
public:
    explicit TRPUserParameter(QWidget *owner = nullptr);

    void SetContent(const TParameterReport &report);

protected:
    void BuildPages(TZnPrinter &p) override;

private:
    void DrawHeader(TZnPrinter &p, int page);

    TParameterReport content;
};
