#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

// One system-analysis result: what was measured (model, conditions,
// control-loop monitors, the 1024 recorded samples) and the frequency
// response the analyser found in it. Held by TDMMachine, saved to and
// loaded from system-analysis files.
struct TMachineResult {
    static constexpr int SampleCount = 1024;
    static constexpr int64_t NoData = std::numeric_limits<int64_t>::max();
    static constexpr int8_t NoDataBit = 127;

    struct TSample {
        int64_t analog = NoData;
        int8_t bit = NoDataBit;
        bool operator==(const TSample &) const = default;
    };
    struct TRow {
        double frequency = 0; // Hz
        double gain = 0;      // dB
        double phase = 0;     // degrees
        bool operator==(const TRow &) const = default;
    };

    int32_t AmpCode = -1; // -1: a rejected file
    QString AmpType, MotType;
    uint16_t TC = 0;
    uint16_t FREQUENCY = 0;
    uint16_t JRAT_MON = 0, KVP_MON = 0, TVI_MON = 0, TCFIL_MON = 0, TCNFILA_MON = 0, TCNFILB_MON = 0;
    int32_t MENP = 0;
    std::array<TSample, SampleCount> DATA1{};
    int32_t TriggerNo = 0;
    std::array<int32_t, 6> SW{};
    float T_LIM = 0;
    std::vector<TRow> DATA2;

    // Every sample no-data, no response rows.
    void ClearData()
    {
        DATA1.fill(TSample{});
        DATA2.clear();
    }

    // Mode-3 recorder memory into DATA1: sample k lies in slot
    // g = (k + ringStart) mod 1024, its word signed 16-bit and its bit
    // (k + ringStart) mod 8 of byte g div 8. Then the torque-limit rate over
    // the samples after the trigger sample.
    void Unpack(const uint16_t *words, const uint8_t *bits, int ringStart);
    void ComputeTorqueLimitRate();

    // The measurement-frequency table: code 1..7 and its text; an unknown
    // code gives an empty text, an unknown text code 0.
    static QString FrequencyText(int code);
    static int FrequencyCode(const QString &text);
    static constexpr int FrequencyCodes = 7;
};
