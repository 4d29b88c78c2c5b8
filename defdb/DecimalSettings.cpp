#include "defdb/DecimalSettings.h"

#include "defdb/Buffer.h"

namespace {

int ValidPlaces(std::optional<int> b)
{
    return b && *b >= 1 && *b <= 10 ? *b : 0;
}

int ValidUnit(std::optional<int> b)
{
    return b && *b >= 0 && *b < 3 ? *b : 0;
}

} // namespace

TDecimalSettings TDecimalSettings::FromAmplifier(std::optional<int> places9Byte,
                                                 std::optional<int> places10Byte,
                                                 std::optional<int> unitByte)
{
    return {ValidPlaces(places9Byte), ValidPlaces(places10Byte), ValidUnit(unitByte)};
}

TDecimalSettings TDecimalSettings::FromImage(const TBuffer &image)
{
    const auto byteAt = [&image](int offset) {
        return ImageValue(image, qint64(image.startAddress) + offset, 1);
    };
    return {ValidPlaces(byteAt(kPlaces9FileOffset)), ValidPlaces(byteAt(kPlaces10FileOffset)),
            ValidUnit(byteAt(kUnitFileOffset))};
}
