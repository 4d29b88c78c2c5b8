#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

struct TTraceModel;

// What the recorder is set to: written to and read from the amplifier, kept
// in trace files, and edited in the settings dialog.
struct TTraceSetting {
    int32_t Mode = 1;
    int32_t TriggerChannel = -1;  // 0..7 for CH1..CH8, -1 none
    int64_t TriggerLevel = 0;     // raw units of the trigger channel
    int32_t TriggerEdge = 0;
    int32_t TriggerPosition = 0;  // percent before the trigger
    int32_t Sampling = 1;         // multiplier of the model's base period
    std::array<int32_t, 4> Analog{{0, 1, 2, 5}};  // CH1..CH4 codes, negative: none
    std::array<int32_t, 4> Digital{{0, 1, 2, 3}}; // CH5..CH8 codes
    bool operator==(const TTraceSetting &) const = default;
};

// One sample of the eight channels, with two markers per kind: no data (not
// recorded, or not read yet) and gap (a monitor sample lost on the line).
struct TTraceSample {
    static constexpr int64_t NoData = std::numeric_limits<int64_t>::max();
    static constexpr int64_t Gap = std::numeric_limits<int64_t>::min();
    static constexpr int8_t NoDataBit = 127;
    static constexpr int8_t GapBit = -128;

    std::array<int64_t, 4> analog{{NoData, NoData, NoData, NoData}};
    std::array<int8_t, 4> digital{{NoDataBit, NoDataBit, NoDataBit, NoDataBit}};

    // Channel 0..7 as a number (digital channels 0/1 or a marker).
    int64_t Value(int channel) const { return channel < 4 ? analog[size_t(channel)] : digital[size_t(channel - 4)]; }
    bool IsGap(int channel) const { return channel < 4 ? analog[size_t(channel)] == Gap : digital[size_t(channel - 4)] == GapBit; }
    bool IsNoData(int channel) const
    {
        return channel < 4 ? analog[size_t(channel)] == NoData : digital[size_t(channel - 4)] == NoDataBit;
    }
    bool HasValue(int channel) const { return !IsGap(channel) && !IsNoData(channel); }
    static TTraceSample GapSample();
    bool operator==(const TTraceSample &) const = default;
};

// One operation trace: the unit that is captured, saved and loaded.
class TTrace
{
public:
    int32_t AmpCode = -1;   // -1: a failed file load
    QString AmpType, MotType;
    std::array<bool, 8> InUse{};     // drives the display
    std::array<bool, 8> Possible{};  // drives saving
    TTraceSetting Setting;
    std::vector<TTraceSample> Samples;
    int32_t TriggerNo = 0;
    std::array<int, 4> Length{{2, 2, 2, 2}};
    std::array<int, 4> DataForm{{1, 1, 1, 1}};
    int Start = 0; // ring index of the oldest sample (monitor mode moves it)

    // Samples of a recording in a mode: 1000 (monitor ring), 256, 512, 1024;
    // any other mode 1.
    static int SampleCount(int mode);
    // Monitor mode streams one sample at a time into a ring.
    static constexpr int MonitorMode = 0;
    static constexpr int MonitorRing = 1000;

    // Resizes Samples to the mode's count, all no-data, Start 0.
    void Reset();
    // The channel evaluation: lengths and data forms of CH1..CH4 from the
    // model's quantities, which channels the mode and widths leave room for
    // (Possible) and which of those have a valid code (InUse). Without a
    // model nothing is in use and the widths are 2.
    void EvaluateChannels(const TTraceModel *model);
    // Widens the 32-bit trigger level read from the amplifier or a file by
    // the trigger channel's quantity (unsigned or sign-extended).
    void WidenTriggerLevel(const TTraceModel *model);
    // Largest absolute value of an analog channel 0..3, markers ignored.
    int64_t MaxAbs(int channel) const;
    // The sample shown at position j counted from the oldest.
    const TTraceSample &At(int j) const { return Samples[size_t((Start + j) % int(Samples.size()))]; }

    // Raw recorder memory into Samples (recorder modes 1 to 3). words: 1024
    // analog words; bits: 128 digital bytes; ringStart: the oldest slot.
    void Unpack(const uint16_t *words, const uint8_t *bits, int ringStart);
    // A monitor record (four words: counter, CH1, CH2, bits) as a sample.
    TTraceSample DecodeMonitorRecord(const std::array<uint16_t, 4> &record) const;
    // Writes a sample at Start and moves Start on, wrapping.
    void Append(const TTraceSample &sample);

    // Sign extension of the low `length` bytes of a value (1, 2 or 4).
    static int64_t SignExtend(int64_t value, int length);
};
