#pragma once

#include "trace/Trace.h"
#include "trace/TraceTables.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// What the trace settings dialog offers for one model: the choice lists
// filtered by the model's ranges, which controls each mode enables, the
// ranges of the sampling multiplier and the trigger level, and the check
// before the dialog closes.
class TDMTraceSetting
{
public:
    struct TEntry {
        int code = 0;
        QString text;  // analog: name + TAB + unit text
        int length = 2; // analog only
        int dataForm = 1;
    };

    // Lists for the model of the amplifier code; empty without a TRACE row.
    TDMTraceSetting(const TTraceTables &tables, int ampCode);

    bool HasModel() const { return model != nullptr; }
    const TTraceModel *Model() const { return model; }
    std::vector<TEntry> modes, edges, triggerChannels, analog, digital;
    // The entry of a code in a list, -1 when it is not there.
    static int IndexOf(const std::vector<TEntry> &list, int code);

    static int SamplingMin(int mode) { return mode == TTrace::MonitorMode ? 200 : 1; }
    static int SamplingMax() { return 65535; }
    // Channels CH1..CH8 a mode records; the trigger group is on outside mode 0.
    static std::array<bool, 8> ChannelsOn(int mode);
    static bool TriggerOn(int mode) { return mode != TTrace::MonitorMode; }
    // A trigger radio button: its channel is on and its index is a TRIGGERCH code.
    bool TriggerAllowed(int mode, int channel) const;
    // The level range of the trigger channel's quantity; false when the level
    // does not apply (no trigger, a digital channel, an unknown code).
    bool LevelRange(const TTraceSetting &s, int64_t &low, int64_t &high) const;
    // An entry drawn grey: the chosen widths leave it no room.
    bool Grey(int channel, int entryLength, const TTraceSetting &s) const;
    double SamplingBase() const { return model ? model->samplingBase : 1.0; }

    // The warnings for OK, joined by CR LF; empty when the setting may go.
    QString Validate(const TTraceSetting &s, bool samplingIsNumber = true, bool levelIsNumber = true,
                     bool positionIsNumber = true) const;

private:
    const TTraceModel *model = nullptr;
};
