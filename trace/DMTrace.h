#pragma once

#include "trace/Trace.h"
#include "trace/TraceTables.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

struct TAppContext;
class TProgress;
class TTraceWaitView;

// Everything between one trace window (or the command line) and an
// amplifier's recorder: its settings in amplifier memory, starting, waiting
// for and reading back a recording, the continuous monitor capture, and the
// trace files. An axis below 1 makes every amplifier operation a no-op that
// succeeds. Operations return false after a communication failure (the
// transaction layer has said so); the caller ends its sequence.
class TDMTrace
{
public:
    using TRecord = std::array<uint16_t, 4>;

    explicit TDMTrace(TAppContext &context);
    TDMTrace(const TDMTrace &) = delete;
    TDMTrace &operator=(const TDMTrace &) = delete;

    // The trace tables of the definition database, in the display language.
    void OpenTables();

    void SetProgress(TProgress *view) { progress = view; }
    void SetWaitView(TTraceWaitView *view) { waitView = view; }

    // W01: usable when the amplifier answers 0; otherwise a warning.
    bool CheckTraceUsable(int axis, bool &usable);
    bool StartTrace(int axis);        // L01
    bool ClearTrace(int axis);        // L04, then 300 ms
    bool ReadTraceSetting(int axis);
    bool WriteTraceSetting(int axis);
    bool ReadModelNames(int axis);
    // Waits for the recording (status polls, stop and cancel through the
    // wait view), then reads it back. read false: cancelled or no data.
    bool WaitAndReadTrace(int axis, bool &read);
    // The recorder areas into Samples; a failed read leaves them untouched.
    bool ReadTraceData(int axis);

    // Monitor capture (mode 0).
    bool ReadMonitorRecord(int axis, TRecord &record);
    void AppendMonitorRecord(const TRecord &record);
    void AppendGap(int count);
    // The counter step between two monitor records: the amplifier counts
    // 0 .. 65534 and wraps.
    static int CounterDifference(uint16_t previous, uint16_t current);
    enum class TMonitorEnd { Stopped, Failed, TooManyLost };
    // The monitor loop: runs while running() says so, calls appended() after
    // every append (the window redraws there).
    TMonitorEnd Monitor(int axis, const std::function<bool()> &running, const std::function<void()> &appended);

    // Local clear of the monitor ring: zeros, Start 0.
    void ClearLocal();

    double SamplingTime() const; // ms
    // The recorder of the trace's model (by AmpCode), nullptr when unknown.
    const TTraceModel *Model() const { return tables.ModelOfCode(trace.AmpCode); }
    int64_t MaxAbs(int channel) const { return trace.MaxAbs(channel); }

    // Names by code in the display language (empty when unknown).
    QString ModeName(int code) const { return tables.ModeName(code); }
    QString TriggerChannelName(int code) const { return tables.TriggerChannelName(code); }
    QString EdgeName(int code) const { return tables.EdgeName(code); }
    QString AnalogName(int code) const { return tables.AnalogName(Model(), code); }
    QString AnalogUnit(int code) const { return tables.AnalogUnit(Model(), code); }
    QString DigitalName(int code) const { return tables.DigitalName(Model(), code); }

    // Files. Save: false with error set (the old file stays). Load: false
    // when the file is rejected (warned, AmpCode -1) or unreadable.
    bool SaveToFile(const QString &fileName, QString *error = nullptr) const;
    bool SaveCsv(const QString &fileName, QString *error = nullptr) const;
    bool LoadFromFile(const QString &fileName);
    bool ReadSettingFromFile(const QString &fileName, TTraceSetting &setting);

    // Re-evaluates channels and the trigger level for the trace's model.
    void Evaluate();

    TTraceTables tables;
    TTrace trace;

private:
    bool Follow(int axis);

    TAppContext &ctx;
    TProgress *progress = nullptr;
    TTraceWaitView *waitView = nullptr;
};
