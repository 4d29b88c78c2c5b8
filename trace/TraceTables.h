#pragma once

#include <QString>

#include <map>
#include <optional>

class TDMInterface;
class TDataSet;

// One selectable recorder quantity (analog) or signal (digital).
struct TTraceQuantity {
    int length = 2;   // bytes: 1, 2 or 4 (analog only)
    int dataForm = 1; // 1 unsigned, 2 signed (analog only)
    QString nameJ, nameE, unit;
};

// The recorder of one amplifier model, from its TRACE row and the rows of
// the quantity tables that belong to it.
struct TTraceModel {
    int id = -1; // AMPLIFIER.ID
    uint32_t traceAddress = 0, settingAddress = 0, analogAddress = 0, digitalAddress = 0;
    double samplingBase = 1; // ms
    int modeMin = 0, modeMax = 3, edgeMin = 0, edgeMax = 0, trgChMin = 0, trgChMax = 7;
    int analogMin = 0, analogMax = 0, digitalMin = 0, digitalMax = 0;
    std::map<int, TTraceQuantity> analog;  // by VALUE, rows of the model's ANALOG_ID
    std::map<int, TTraceQuantity> digital; // by VALUE, rows of the model's DIGITAL_ID
    std::optional<uint32_t> motorAddress, amplifierAddress; // MODEL row

    // A code that is a row of the table and lies in the allowed range.
    bool AnalogValid(int code) const { return code >= analogMin && code <= analogMax && analog.count(code); }
    bool DigitalValid(int code) const { return code >= digitalMin && code <= digitalMax && digital.count(code); }
    const TTraceQuantity *Analog(int code) const;
    const TTraceQuantity *Digital(int code) const;
};

// The trace tables of the definition database, read once into plain values:
// the recorders of every model, and the names of modes, edges and trigger
// channels. The settings dialog, the trace module and the file reader all
// look up here.
class TTraceTables
{
public:
    struct TName {
        QString j, e;
    };

    // Loads 0_AMPLIFIER, 3_TRACE, 3_TRACEMODE, 3_TRIGGEREDGE, 3_TRIGGERCH,
    // 3_ANALOG_DATA, 3_DIGITAL_DATA and 3_MODEL. Missing tables leave their
    // part empty.
    void Load(TDMInterface &intf);

    // The recorder of the model with this amplifier code; nullptr when the
    // code or its TRACE row is unknown.
    const TTraceModel *ModelOfCode(int ampCode) const;

    bool japanese = true;
    std::map<int, TTraceModel> models; // by AMPLIFIER.ID
    std::map<int, int> idOfCode;       // AMPLIFIER.CODE -> ID
    std::map<int, TName> modes, edges, triggerChannels;

    // Names by code in the display language; empty when not found.
    QString ModeName(int code) const { return Pick(modes, code); }
    QString EdgeName(int code) const { return Pick(edges, code); }
    QString TriggerChannelName(int code) const { return Pick(triggerChannels, code); }
    QString AnalogName(const TTraceModel *m, int code) const;
    QString AnalogUnit(const TTraceModel *m, int code) const;
    QString DigitalName(const TTraceModel *m, int code) const;
    // "[" + unit + "]", or nothing for an empty unit.
    static QString UnitText(const QString &unit) { return unit.isEmpty() ? QString() : "[" + unit + "]"; }

private:
    QString Pick(const std::map<int, TName> &names, int code) const;
    QString Pick(const TName &name) const { return japanese ? name.j : name.e; }
};
