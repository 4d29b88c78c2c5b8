#include "trace/Trace.h"

#include "trace/TraceTables.h"

#include <algorithm>

TTraceSample TTraceSample::GapSample()
{
    TTraceSample s;
    s.analog.fill(Gap);
    s.digital.fill(GapBit);
    return s;
}

int TTrace::SampleCount(int mode)
{
    switch (mode) {
    case 0: return MonitorRing;
    case 1: return 256;
    case 2: return 512;
    case 3: return 1024;
    default: return 1;
    }
}

void TTrace::Reset()
{
    Samples.assign(size_t(SampleCount(Setting.Mode)), TTraceSample{});
    Start = 0;
}

int64_t TTrace::SignExtend(int64_t value, int length)
{
    switch (length) {
    case 1: return int8_t(uint8_t(value));
    case 2: return int16_t(uint16_t(value));
    case 4: return int32_t(uint32_t(value));
    default: return value;
    }
}

void TTrace::EvaluateChannels(const TTraceModel *model)
{
    const TTraceSetting &s = Setting;
    for (int c = 0; c < 4; ++c) {
        const TTraceQuantity *q = model ? model->Analog(s.Analog[size_t(c)]) : nullptr;
        Length[size_t(c)] = q ? q->length : 2;
        DataForm[size_t(c)] = q ? q->dataForm : 1;
    }
    const int m = s.Mode;
    const auto &L = Length;
    Possible[0] = !(m == 3 && L[0] == 4);
    Possible[1] = L[0] != 4 && m != 3 && !(m != 1 && L[1] == 4);
    Possible[2] = L[1] != 4 && m == 1;
    Possible[3] = L[2] != 4 && L[3] != 4 && m == 1;
    Possible[4] = true;
    Possible[5] = m == 0 || m == 1 || m == 2;
    Possible[6] = Possible[7] = m == 1;
    for (int c = 0; c < 8; ++c) {
        bool valid = false;
        if (model)
            valid = c < 4 ? model->AnalogValid(s.Analog[size_t(c)]) : model->DigitalValid(s.Digital[size_t(c - 4)]);
        InUse[size_t(c)] = Possible[size_t(c)] && valid;
    }
}

void TTrace::WidenTriggerLevel(const TTraceModel *model)
{
    const int ch = Setting.TriggerChannel;
    if (!model || ch < 0 || ch > 3)
        return;
    const TTraceQuantity *q = model->Analog(Setting.Analog[size_t(ch)]);
    if (!q)
        return;
    const int64_t low = int64_t(uint32_t(Setting.TriggerLevel));
    Setting.TriggerLevel = q->dataForm == 1 ? low : SignExtend(low, q->length);
}

int64_t TTrace::MaxAbs(int channel) const
{
    int64_t best = 0;
    for (const TTraceSample &s : Samples) {
        const int64_t v = s.analog[size_t(channel)];
        if (v == TTraceSample::NoData || v == TTraceSample::Gap)
            continue;
        best = std::max(best, v < 0 ? -v : v);
    }
    return best;
}

void TTrace::Unpack(const uint16_t *w, const uint8_t *d, int ringStart)
{
    const int n = SampleCount(Setting.Mode);
    Samples.assign(size_t(n), TTraceSample{});
    Start = 0;
    const auto &a = Setting.Analog;
    const auto &dg = Setting.Digital;
    auto wide = [&](int ch, int index) {
        int64_t v = w[index];
        if (Length[size_t(ch)] == 4)
            v |= int64_t(w[index + 1]) << 16;
        return v;
    };
    for (int i = 0; i < n; ++i) {
        // Modes 1 to 3 have power-of-two sizes, so the mask is the wrap.
        const int g = (i + ringStart) & (n - 1);
        TTraceSample &s = Samples[size_t(i)];
        switch (Setting.Mode) {
        case 1:
            for (int c = 0; c < 4; ++c)
                if (a[size_t(c)] >= 0)
                    s.analog[size_t(c)] = c < 3 ? wide(c, 4 * g + c) : int64_t(w[4 * g + c]);
            for (int c = 0; c < 4; ++c)
                if (dg[size_t(c)] >= 0)
                    s.digital[size_t(c)] = int8_t((d[g / 2] >> (4 * (g % 2) + c)) & 1);
            break;
        case 2:
            if (a[0] >= 0)
                s.analog[0] = wide(0, 2 * g);
            if (a[1] >= 0)
                s.analog[1] = w[2 * g + 1];
            for (int c = 0; c < 2; ++c)
                if (dg[size_t(c)] >= 0)
                    s.digital[size_t(c)] = int8_t((d[g / 4] >> (2 * (g % 4) + c)) & 1);
            break;
        case 3:
            if (a[0] >= 0)
                s.analog[0] = w[g];
            if (dg[0] >= 0)
                s.digital[0] = int8_t((d[g / 8] >> (g % 8)) & 1);
            break;
        default:
            break;
        }
        for (int c = 0; c < 4; ++c)
            if (DataForm[size_t(c)] == 2 && s.analog[size_t(c)] != TTraceSample::NoData)
                s.analog[size_t(c)] = SignExtend(s.analog[size_t(c)], Length[size_t(c)]);
    }
}

TTraceSample TTrace::DecodeMonitorRecord(const std::array<uint16_t, 4> &r) const
{
    TTraceSample s;
    const auto &a = Setting.Analog;
    const auto &dg = Setting.Digital;
    if (a[0] >= 0)
        s.analog[0] = Length[0] >= 4 ? int64_t(r[1]) | int64_t(r[2]) << 16 : int64_t(r[1]);
    if (a[1] >= 0)
        s.analog[1] = r[2];
    if (dg[0] >= 0)
        s.digital[0] = int8_t(r[3] & 1);
    if (dg[1] >= 0)
        s.digital[1] = int8_t((r[3] >> 1) & 1);
    for (int c = 0; c < 2; ++c)
        if (DataForm[size_t(c)] == 2 && s.analog[size_t(c)] != TTraceSample::NoData)
            s.analog[size_t(c)] = SignExtend(s.analog[size_t(c)], Length[size_t(c)]);
    return s;
}

void TTrace::Append(const TTraceSample &sample)
{
    if (Samples.empty())
        return;
    TTraceSample &slot = Samples[size_t(Start)];
    slot.analog[0] = sample.analog[0];
    slot.analog[1] = sample.analog[1];
    slot.digital[0] = sample.digital[0];
    slot.digital[1] = sample.digital[1];
    Start = (Start + 1) % int(Samples.size());
}
