// The analyser's exchange-file reader and the analysis behind it: any bytes
// must end in a result table or a TRespanaError, nothing else.

#include "analyser/Analysis.h"
#include "analyser/InputFile.h"
#include "analyser/RespanaError.h"
#include "analyser/ResultFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    try {
        const respana::TInputFile input = respana::TInputFile::parse(text, "_sysan01.CSV");
        std::ostringstream messages;
        const respana::TResponseTable table = respana::analyse(input, messages);
        for (const respana::TResponseRow &row : table)
            if (!std::isfinite(row.gain) || !std::isfinite(row.phase) || row.phase <= -180.0 - 1e-9 ||
                row.phase > 180.0 + 1e-9)
                std::abort();
        (void)respana::formatResultFile(table);
    } catch (const respana::TRespanaError &) {
    }
    return 0;
}
