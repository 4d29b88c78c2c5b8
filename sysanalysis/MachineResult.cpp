#include "sysanalysis/MachineResult.h"

namespace {
const char *const FrequencyTexts[] = {"10.0 to 2000 [Hz]", " 5.0 to 1000 [Hz]", " 2.5 to 500 [Hz]", "1.25 to 250 [Hz]",
                                      " 1.0 to 125 [Hz]",  " 1.0 to 60 [Hz]",   " 1.0 to 30 [Hz]"};
}

void TMachineResult::Unpack(const uint16_t *words, const uint8_t *bits, int ringStart)
{
    DATA1.fill(TSample{});
    for (int k = 0; k < SampleCount; ++k) {
        const int g = (k + ringStart) & (SampleCount - 1);
        TSample &s = DATA1[size_t(k)];
        s.analog = int16_t(words[g]);
        s.bit = int8_t((bits[g / 8] >> ((k + ringStart) % 8)) & 1);
    }
}

void TMachineResult::ComputeTorqueLimitRate()
{
    // The samples from the one after the trigger to the last; a trigger at
    // the end leaves none, and the rate is 0 rather than a division by zero.
    const int first = TriggerNo + 1;
    const int count = 1023 - TriggerNo;
    if (first < 0 || count <= 0) {
        T_LIM = 0;
        return;
    }
    int set = 0;
    for (int k = first; k < SampleCount; ++k)
        if (DATA1[size_t(k)].bit == 1)
            ++set;
    T_LIM = float(100.0 * set / count);
}

QString TMachineResult::FrequencyText(int code)
{
    return code >= 1 && code <= FrequencyCodes ? QString::fromLatin1(FrequencyTexts[code - 1]) : QString();
}

int TMachineResult::FrequencyCode(const QString &text)
{
    for (int c = 1; c <= FrequencyCodes; ++c)
        if (text == QLatin1String(FrequencyTexts[c - 1]))
            return c;
    return 0;
}
