#pragma once

#include "sysanalysis/MachineResult.h"
#include "trace/DMTrace.h"

#include <QString>

#include <functional>

struct TAppContext;
class TDMJog;
class TProgress;

// The wait for the analyser: Begin before the first step, Step every
// 100 ms with the seconds so far (false: the user cancelled), End after.
class TAnalyserWait
{
public:
    virtual ~TAnalyserWait() = default;
    virtual void Begin() {}
    virtual bool Step(int seconds) { return true; }
    virtual void End() {}
};

// One system-analysis result and everything that makes one: the
// measurement test run on an axis, the read-back of its recording, the run
// of the analyser program on it, and the system-analysis files.
class TDMMachine
{
public:
    explicit TDMMachine(TAppContext &context);
    TDMMachine(const TDMMachine &) = delete;
    TDMMachine &operator=(const TDMMachine &) = delete;

    // The trace, model and amplifier tables.
    void OpenTables();

    // Model names of the axis (as the trace reads them); also makes its
    // recorder the current one. False after a communication failure.
    bool ReadModelNames(int axis);
    // The recorder's base period of the current model in ms (1 unknown).
    double SamplingBase() const;

    // How a measurement ended. The warnings belong to the caller.
    enum class TEnd { Done, Cancelled, ServoOff, Failed, NotReady, Alarm, Overtravel, Abnormal, Refused };
    // The settings and monitors the dialog shows, handed to the result.
    struct TConditions {
        int torque = 0;
        int frequency = 0;
        uint16_t jrat = 0, kvp = 0, tvi = 0, tcfil = 0, tcnfila = 0, tcnfilb = 0;
    };
    // The measurement after WB4 answered 0: writes the torque and the
    // frequency code, polls the progress until the recording is complete,
    // reads it back and polls once more. progress (may be null) shows it
    // under title and carries the cancel and servo-off buttons.
    TEnd Measure(TDMJog &jog, int axis, const TConditions &conditions, TProgress *progress, const QString &title);
    // The warning for an end (empty for Done, Cancelled, ServoOff, Failed).
    static QString EndText(TEnd end);
    // What a progress reply (WB6) means: 11 running, 12 complete, others end.
    static TEnd ProgressEnd(uint32_t reply);

    // The recording: ring start, trigger number, 1024 words and 128 bytes
    // (274 reads); the progress position moves from start to 100. False on
    // a failed read or a press of a progress button (checked before each
    // read). Then the torque-limit rate and the switches.
    bool ReadMeasurementData(int axis, TProgress *progress = nullptr, int start = 0);

    // The analyser: its path (ExeName, relative to the program's folder),
    // the folder the exchange files lie in (its own folder when that can
    // be written, else a folder of the user's), the two exchange files.
    QString AnalyserProgram() const;
    QString ExchangeFolder() const;
    QString InputFile() const;
    QString OutputFile() const;
    static constexpr const char *InputName = "_sysan01.CSV";
    static constexpr const char *OutputName = "_sysan02.CSV";

    bool WriteExchangeFile(const QString &fileName);
    // Writes the input (unless reuse), starts the analyser detached in the
    // exchange folder, waits through wait, reads its output. True when a
    // result was read; every failure has been warned about.
    bool RunAnalyser(bool reuse, TAnalyserWait *wait = nullptr);
    // The analyser's output into DATA2; a malformed file warns, marks the
    // result rejected (AmpCode -1) and keeps the rows.
    bool ReadResultFile(const QString &fileName);
    // "%d時間%d分%d秒", each part only when not zero.
    static QString ElapsedText(int seconds);
    static QString WaitText(int seconds);

    void ClearData() { result.ClearData(); }
    bool SaveAnalysisFile(const QString &fileName, QString *error = nullptr) const;
    // False when the file was rejected (warned, AmpCode -1) or unreadable.
    bool LoadAnalysisFile(const QString &fileName);

    static QString NotAnalysisFileText();

    TMachineResult result;
    // Where relative analyser paths start; empty: the program's folder.
    QString programDir;
    // Waits between the analyser's end and the look for its output.
    int settleMs = 300;

    TDMTrace &Trace() { return trace; }

private:
    TAppContext &ctx;
    TDMTrace trace;
};
