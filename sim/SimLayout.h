#pragma once

#include "sim/SimMotion.h"
#include "sim/SimTraceLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TSimMemory;

// Bytes that lie at an address when the amplifier starts.
struct TSimSegment {
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
};

// A monitor item whose value the simulator keeps up to date.
struct TSimMonitorItem {
    uint32_t address = 0;
    int length = 2;
    std::string symbol;
    TSimQuantity quantity = TSimQuantity::None;
    int decimals = 0;     // the raw value is the quantity times 10^decimals
    bool isSigned = true;
    int64_t minValue = INT32_MIN;
    int64_t maxValue = INT32_MAX;
    // Decimals set in the amplifier (the byte at this address, 0..10)
    // instead of fixed ones.
    std::optional<uint32_t> decimalsAddress;
};

// The memory layout of one model: what the amplifier holds at start and
// where the parts that change while it runs lie. Built from the definition
// database, or by hand in tests.
struct TSimLayout {
    bool known = false;       // the database knows the model code
    std::string modelName;    // for the status output

    std::vector<TSimSegment> segments; // applied in order; later ones win
    std::vector<TSimMonitorItem> monitorItems;

    std::optional<uint32_t> nowAlarmAddress;     // 8-byte current-alarm block
    std::optional<uint32_t> historyAlarmAddress; // 16-byte history ring
    std::optional<uint32_t> amplifierTextAddress;
    std::optional<uint32_t> motorTextAddress;
    std::optional<uint32_t> versionAddress;
    std::optional<uint32_t> commonAddress;       // test-run common area
    std::optional<uint32_t> traceAddress;
    std::optional<uint32_t> traceSettingAddress;
    TSimTraceLayout traceRecorder;

    // Spans of the parameter and monitor areas ([first, end)), for status.
    uint32_t parameterFirst = 0, parameterEnd = 0;
    uint32_t monitorFirst = 0, monitorEnd = 0;

    void AddBytes(uint32_t address, std::vector<uint8_t> bytes);
    // length 1, 2 or 4; least significant byte at the address.
    void AddValue(uint32_t address, uint32_t value, int length);
    // Single-byte characters, cut or padded with spaces to length.
    void AddText(uint32_t address, const std::string &text, int length);

    // The version block: the 8 bytes s0..s3 at the address, then u0 (the
    // digits, 0x1234 for "1.23.4") and u1 (the letter in its low byte).
    void AddVersion(uint32_t address, char letter, uint16_t digits, const uint16_t (&words)[4]);

    void ApplyTo(TSimMemory &memory) const;
};
