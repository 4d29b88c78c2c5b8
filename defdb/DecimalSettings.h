#pragma once

#include <optional>

struct TBuffer;

// The scale and unit of the forms whose decimal point the amplifier sets
// (DATAFORM 9 and 10). Each window that shows parameters keeps its own copy
// for the axis or file it shows.
struct TDecimalSettings
{
    // Amplifier addresses of the three setting bytes.
    static constexpr int kPlaces9Address = 0xF84A4;
    static constexpr int kPlaces10Address = 0xF84A5;
    static constexpr int kUnitAddress = 0xF84A6;

    // Where the bytes lie in a parameter file's image (area from 0xF8000).
    static constexpr int kPlaces9FileOffset = 1188;
    static constexpr int kPlaces10FileOffset = 1189;
    static constexpr int kUnitFileOffset = 1190;

    int places9 = 0;      // decimal places of DATAFORM 9, 0..10
    int places10 = 0;     // decimal places of DATAFORM 10, 0..10
    int unitSelector = 0; // 1 chooses UNIT2, 2 UNIT3, 0 UNIT

    // From the three bytes read from the amplifier; a failed read (nullopt)
    // gives 0. Places above 10 count as 0, a unit selector of 3 or more as 0.
    static TDecimalSettings FromAmplifier(std::optional<int> places9Byte,
                                          std::optional<int> places10Byte,
                                          std::optional<int> unitByte);

    // From a parameter file's image; bytes outside the image give 0.
    static TDecimalSettings FromImage(const TBuffer &image);

    bool operator==(const TDecimalSettings &) const = default;
};
