// Any text given to the evaluator ends in a value or in one of its errors
// (or the value type's), never in a crash, a hang or a stack overflow.
#include "ZnLibs/ShiftJis.h"
#include "ZnLibs/ZnEvals.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks how the rest is read: as the Shift-JIS of a stored
    // condition, or as UTF-8 for characters Shift-JIS has no code for.
    const auto *text = reinterpret_cast<const char *>(data + 1);
    const auto n = qsizetype(size - 1);
    const QString source = (data[0] & 1) ? QString::fromUtf8(text, n)
                                         : ShiftJis::Decode(QByteArrayView(text, n));
    TZnEvals evals;
    evals.Source = source.split(u'\n');
    // Handlers that answer some names, so that those paths run too.
    evals.OnGetVariable = [](TZnEvals *, const QString &name, bool &exist, TZnVariant &value) {
        if (name.startsWith(u'v')) {
            exist = true;
            value = TZnVariant(qint64(name.size()));
        }
    };
    evals.OnFunctionCall = [](TZnEvals *, const QString &name, const TZnVariantList &args,
                              bool &exist, TZnVariant &value) {
        if (name == u"f") {
            exist = true;
            value = args.isEmpty() ? TZnVariant::Null() : args.back();
        }
    };
    try {
        TZnVariant result;
        evals.Evaluate(result);
        // Every conversion of a result either works or raises the value error.
        try {
            (void)result.ToString();
            (void)result.ToBool();
            (void)result.ToReal();
        } catch (const EZnVariantError &) {
        }
    } catch (const EZnEvalsErr &) {
    } catch (const EZnVariantError &) {
    }
    // Anything else escapes and libFuzzer reports it.
    return 0;
}
