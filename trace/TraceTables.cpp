#include "trace/TraceTables.h"

#include "defdb/DMInterface.h"
#include "defdb/DataSet.h"

namespace {

const TValue &Cell(const TDataSet &t, int row, const char *field)
{
    static const TValue null;
    const int f = t.FieldIndex(QString::fromLatin1(field));
    return f < 0 ? null : t.RowValue(row, f);
}

int Int(const TDataSet &t, int row, const char *field, int otherwise = 0)
{
    const TValue &v = Cell(t, row, field);
    return v.IsNull() ? otherwise : int(v.AsInt64());
}

std::optional<uint32_t> Address(const TDataSet &t, int row, const char *field)
{
    const TValue &v = Cell(t, row, field);
    if (v.IsNull())
        return std::nullopt;
    return uint32_t(v.AsInt64());
}

void LoadNames(TDMInterface &intf, const char *stream, std::map<int, TTraceTables::TName> &names)
{
    TDataSet t;
    names.clear();
    if (!intf.LoadTable(t, QString::fromLatin1(stream)))
        return;
    for (int r = 0; r < t.AllRowCount(); ++r)
        names[Int(t, r, "CODE")] = {Cell(t, r, "NAME_J").AsString(), Cell(t, r, "NAME_E").AsString()};
}

} // namespace

const TTraceQuantity *TTraceModel::Analog(int code) const
{
    auto it = analog.find(code);
    return it == analog.end() ? nullptr : &it->second;
}

const TTraceQuantity *TTraceModel::Digital(int code) const
{
    auto it = digital.find(code);
    return it == digital.end() ? nullptr : &it->second;
}

void TTraceTables::Load(TDMInterface &intf)
{
    models.clear();
    idOfCode.clear();
    TDataSet amplifier, trace, analog, digital, model;
    if (intf.LoadTable(amplifier, QStringLiteral("0_AMPLIFIER.cds")))
        for (int r = 0; r < amplifier.AllRowCount(); ++r)
            idOfCode[Int(amplifier, r, "CODE", -1)] = Int(amplifier, r, "ID", -1);
    intf.LoadTable(analog, QStringLiteral("3_ANALOG_DATA.cds"));
    intf.LoadTable(digital, QStringLiteral("3_DIGITAL_DATA.cds"));
    intf.LoadTable(model, QStringLiteral("3_MODEL.cds"));
    if (intf.LoadTable(trace, QStringLiteral("3_TRACE.cds"))) {
        for (int r = 0; r < trace.AllRowCount(); ++r) {
            TTraceModel m;
            m.id = Int(trace, r, "AMPLIFIER_ID", -1);
            m.traceAddress = Address(trace, r, "TRACE_ADDRESS").value_or(0);
            m.settingAddress = Address(trace, r, "SETTING_ADDRESS").value_or(0);
            m.analogAddress = Address(trace, r, "ANALOG_ADDRESS").value_or(0);
            m.digitalAddress = Address(trace, r, "DIGITAL_ADDRESS").value_or(0);
            m.samplingBase = Cell(trace, r, "SAMPLING_BASE").IsNull() ? 1.0 : Cell(trace, r, "SAMPLING_BASE").AsFloat();
            m.modeMin = Int(trace, r, "TRACEMODE_MIN");
            m.modeMax = Int(trace, r, "TRACEMODE_MAX");
            m.edgeMin = Int(trace, r, "TRGEG_MIN");
            m.edgeMax = Int(trace, r, "TRGEG_MAX");
            m.trgChMin = Int(trace, r, "TRGCH_MIN");
            m.trgChMax = Int(trace, r, "TRGCH_MAX");
            m.analogMin = Int(trace, r, "ANALOG_MIN");
            m.analogMax = Int(trace, r, "ANALOG_MAX");
            m.digitalMin = Int(trace, r, "DIGITAL_MIN");
            m.digitalMax = Int(trace, r, "DIGITAL_MAX");
            const int analogId = Int(trace, r, "ANALOG_ID", -1);
            const int digitalId = Int(trace, r, "DIGITAL_ID", -1);
            for (int a = 0; a < analog.AllRowCount(); ++a) {
                if (Int(analog, a, "ANALOG_ID", -2) != analogId)
                    continue;
                TTraceQuantity q;
                q.length = Int(analog, a, "LENGTH", 2);
                q.dataForm = Int(analog, a, "DATAFORM", 1);
                q.nameJ = Cell(analog, a, "NAME_J").AsString();
                q.nameE = Cell(analog, a, "NAME_E").AsString();
                q.unit = Cell(analog, a, "UNIT").AsString();
                m.analog[Int(analog, a, "VALUE")] = q;
            }
            for (int d = 0; d < digital.AllRowCount(); ++d) {
                if (Int(digital, d, "DIGITAL_ID", -2) != digitalId)
                    continue;
                TTraceQuantity q;
                q.nameJ = Cell(digital, d, "NAME_J").AsString();
                q.nameE = Cell(digital, d, "NAME_E").AsString();
                m.digital[Int(digital, d, "VALUE")] = q;
            }
            for (int k = 0; k < model.AllRowCount(); ++k)
                if (Int(model, k, "AMPLIFIER_ID", -2) == m.id) {
                    m.motorAddress = Address(model, k, "MOTOR_ADDRESS");
                    m.amplifierAddress = Address(model, k, "AMPLIFIER_ADDRESS");
                }
            models[m.id] = m;
        }
    }
    LoadNames(intf, "3_TRACEMODE.cds", modes);
    LoadNames(intf, "3_TRIGGEREDGE.cds", edges);
    LoadNames(intf, "3_TRIGGERCH.cds", triggerChannels);
}

const TTraceModel *TTraceTables::ModelOfCode(int ampCode) const
{
    auto id = idOfCode.find(ampCode);
    if (id == idOfCode.end())
        return nullptr;
    auto m = models.find(id->second);
    return m == models.end() ? nullptr : &m->second;
}

QString TTraceTables::Pick(const std::map<int, TName> &names, int code) const
{
    auto it = names.find(code);
    return it == names.end() ? QString() : Pick(it->second);
}

QString TTraceTables::AnalogName(const TTraceModel *m, int code) const
{
    const TTraceQuantity *q = m ? m->Analog(code) : nullptr;
    return q ? Pick(TName{q->nameJ, q->nameE}) : QString();
}

QString TTraceTables::AnalogUnit(const TTraceModel *m, int code) const
{
    const TTraceQuantity *q = m ? m->Analog(code) : nullptr;
    return q ? q->unit : QString();
}

QString TTraceTables::DigitalName(const TTraceModel *m, int code) const
{
    const TTraceQuantity *q = m ? m->Digital(code) : nullptr;
    return q ? Pick(TName{q->nameJ, q->nameE}) : QString();
}
