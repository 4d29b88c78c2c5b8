#pragma once

#include "sysanalysis/MachineResult.h"

#include <QByteArray>
#include <QString>

// The texts a system-analysis result travels in: the saved system-analysis
// file (model, conditions, monitors, response rows and samples, read back
// by the window), the analyser's input file and its result file.
class TMachineFile
{
public:
    // The saved file; samplingMs is informational (not read back).
    static QByteArray Write(const TMachineResult &result, double samplingMs);
    // Reads a saved file into result without clearing it first. False on
    // rejection (AmpCode -1, reading stopped at the bad line).
    static bool Read(const QByteArray &bytes, TMachineResult &result);

    // The analyser's input: conditions, switches, trigger and samples.
    static QByteArray WriteExchange(const TMachineResult &result, double samplingMs);
    // The analyser's output: a row count, then frequency, gain and phase
    // rows. False (rows untouched) when the count or a field of the counted
    // rows is not a number or a counted row is missing.
    static bool ReadResult(const QByteArray &bytes, std::vector<TMachineResult::TRow> &rows);

    // Through a temporary file and a rename: the old file stays on failure.
    static bool Save(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);
    static bool Load(const QString &fileName, QByteArray &bytes, QString *error = nullptr);
};
