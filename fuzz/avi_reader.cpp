// Feeds arbitrary bytes to the AVI reader of the online animation.
#include "app/AviReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TAviReader avi;
    if (avi.LoadData(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)))) {
        // Every decoded frame has the advertised size.
        for (int i = 0; i < avi.FrameCount(); ++i)
            if (avi.Frame(i).size() != size_t(avi.Width()) * size_t(avi.Height()))
                __builtin_trap();
    }
    return 0;
}
