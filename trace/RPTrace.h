#pragma once

#include "printing/RPCustom.h"

class TFMTrace;

// The printed operation trace (report key "TraceOperation"): the page header
// with title, date, page and models (and the file for a file), the sampling
// and trigger fields, each channel with its range and value at t1 in its
// colour, the time range and cursor readouts, and the plot drawn by the
// same routine as the screen.
class TRPTrace : public TRPCustom
{
    Q_DECLARE_TR_FUNCTIONS(TRPTrace)
public:
    explicit TRPTrace(TFMTrace &window);

protected:
    void BuildPages(TZnPrinter &printer) override;

private:
    TFMTrace &window;
};
