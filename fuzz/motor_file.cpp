// The motor-file reader on arbitrary bytes: it never crashes, a refused
// file leaves nothing behind, and an accepted one keeps its list in bounds.
#include "params/MotorFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TMotorFile file;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!TMotorFile::Parse(bytes, file)) {
        if (!file.values.isEmpty() || !file.motorType.isEmpty())
            std::abort();
        return 0;
    }
    if (file.values.size() > TMotorFile::MaxCount)
        std::abort();
    return 0;
}
