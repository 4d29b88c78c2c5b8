// The trace-file reader on arbitrary bytes: it never crashes, a rejection
// marks the trace, and whatever it accepts the writer writes in a form it
// accepts again with the same settings.
#include "trace/Trace.h"
#include "trace/TraceFile.h"
#include "trace/TraceTables.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TTrace trace;
    if (!TTraceFile::Read(bytes, trace)) {
        if (trace.AmpCode != -1)
            std::abort();
        return 0;
    }
    if (int(trace.Samples.size()) != TTrace::SampleCount(trace.Setting.Mode))
        std::abort();
    trace.EvaluateChannels(nullptr);
    static const TTraceTables tables;
    TTrace again;
    if (!TTraceFile::Read(TTraceFile::Write(trace, tables), again))
        std::abort();
    TTraceSetting a = again.Setting, b = trace.Setting;
    // Line 6 keeps only the low 32 bits of the level.
    b.TriggerLevel = int64_t(uint32_t(b.TriggerLevel));
    a.TriggerLevel = int64_t(uint32_t(a.TriggerLevel));
    if (!(a == b) || again.TriggerNo != trace.TriggerNo)
        std::abort();
    return 0;
}
