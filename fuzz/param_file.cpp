// The parameter-file reader on arbitrary bytes: it never crashes, refuses
// with an empty image, and what it accepts the writer gives back unchanged.
#include "params/ParameterFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TBuffer image;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!TParameterFile::Parse(bytes, image)) {
        if (image.ampCode != -1 || !image.words.isEmpty())
            std::abort();
        return 0;
    }
    TBuffer again;
    if (!TParameterFile::Parse(TParameterFile::Format(image, QStringLiteral("Version 0")), again))
        std::abort();
    if (again.ampCode != image.ampCode || again.modelText != image.modelText
        || again.firmwareText != image.firmwareText || again.words != image.words)
        std::abort();
    return 0;
}
