#include "trace/DMTraceSetting.h"

#include <QCoreApplication>

namespace {
QString Tr(const char *text)
{
    return QCoreApplication::translate("TDMTraceSetting", text);
}
} // namespace

TDMTraceSetting::TDMTraceSetting(const TTraceTables &tables, int ampCode) : model(tables.ModelOfCode(ampCode))
{
    if (!model)
        return;
    auto names = [&](const std::map<int, TTraceTables::TName> &source, int lo, int hi, std::vector<TEntry> &out,
                     bool codeAsText) {
        for (const auto &[code, name] : source)
            if (lo <= code && code <= hi)
                out.push_back({code, codeAsText ? QString::number(code) : (tables.japanese ? name.j : name.e)});
    };
    names(tables.modes, model->modeMin, model->modeMax, modes, false);
    names(tables.edges, model->edgeMin, model->edgeMax, edges, false);
    names(tables.triggerChannels, model->trgChMin, model->trgChMax, triggerChannels, true);
    for (const auto &[code, q] : model->analog)
        if (model->AnalogValid(code))
            analog.push_back({code, (tables.japanese ? q.nameJ : q.nameE) + u'\t' + TTraceTables::UnitText(q.unit),
                              q.length, q.dataForm});
    for (const auto &[code, q] : model->digital)
        if (model->DigitalValid(code))
            digital.push_back({code, tables.japanese ? q.nameJ : q.nameE});
}

int TDMTraceSetting::IndexOf(const std::vector<TEntry> &list, int code)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].code == code)
            return int(i);
    return -1;
}

std::array<bool, 8> TDMTraceSetting::ChannelsOn(int mode)
{
    switch (mode) {
    case 0:
    case 2: return {true, true, false, false, true, true, false, false};
    case 3: return {true, false, false, false, true, false, false, false};
    default: return {true, true, true, true, true, true, true, true};
    }
}

bool TDMTraceSetting::TriggerAllowed(int mode, int channel) const
{
    return TriggerOn(mode) && ChannelsOn(mode)[size_t(channel)] && IndexOf(triggerChannels, channel) >= 0;
}

bool TDMTraceSetting::LevelRange(const TTraceSetting &s, int64_t &low, int64_t &high) const
{
    low = high = 0;
    if (!model || s.TriggerChannel < 0 || s.TriggerChannel > 3)
        return false;
    const TTraceQuantity *q = model->Analog(s.Analog[size_t(s.TriggerChannel)]);
    if (!q)
        return false;
    const int bits = 8 * (q->length == 1 || q->length == 2 ? q->length : 4);
    if (q->dataForm == 1) {
        high = (int64_t(1) << bits) - 1;
    } else {
        low = -(int64_t(1) << (bits - 1));
        high = (int64_t(1) << (bits - 1)) - 1;
    }
    return true;
}

bool TDMTraceSetting::Grey(int channel, int entryLength, const TTraceSetting &s) const
{
    auto lengthOf = [&](int c) {
        const TTraceQuantity *q = model ? model->Analog(s.Analog[size_t(c)]) : nullptr;
        return q ? q->length : 2;
    };
    const int m = s.Mode;
    switch (channel) {
    case 0: return m == 3 && entryLength == 4;
    case 1: return m == 3 || (m == 1 && lengthOf(0) == 4) || ((m == 0 || m == 2) && entryLength == 4);
    case 2: return m != 1 || lengthOf(1) == 4;
    case 3: return m != 1 || lengthOf(2) == 4 || entryLength == 4;
    default: return false;
    }
}

QString TDMTraceSetting::Validate(const TTraceSetting &s, bool samplingIsNumber, bool levelIsNumber,
                                  bool positionIsNumber) const
{
    QStringList lines;
    if (!samplingIsNumber || s.Sampling < SamplingMin(s.Mode) || s.Sampling > SamplingMax())
        lines << Tr("サンプリング周期が設定範囲外です。");
    int64_t low = 0, high = 0;
    if (TriggerOn(s.Mode) && LevelRange(s, low, high) &&
        (!levelIsNumber || s.TriggerLevel < low || s.TriggerLevel > high))
        lines << Tr("トリガレベルが設定範囲外です。");
    if (TriggerOn(s.Mode) && (!positionIsNumber || s.TriggerPosition < 0 || s.TriggerPosition > 100))
        lines << Tr("トリガ位置が設定範囲外です。");
    return lines.join(QStringLiteral("\r\n"));
}
