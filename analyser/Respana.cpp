#include "analyser/Respana.h"

#include "analyser/Analysis.h"
#include "analyser/AtomicFile.h"
#include "analyser/InputFile.h"
#include "analyser/RespanaError.h"
#include "analyser/ResultFile.h"

#include <filesystem>
#include <new>
#include <ostream>
#include <system_error>

namespace respana {

std::string inputFileName(const std::string &dataName)
{
    return dataName + ".CSV";
}

std::string outputFileName(const std::string &dataName)
{
    return dataName.substr(0, dataName.empty() ? 0 : dataName.size() - 1) + "2.CSV";
}

namespace {

bool sameFile(const std::string &a, const std::string &b)
{
    if (a == b)
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

void run(const std::string &dataName, std::ostream &messages)
{
    if (dataName.empty())
        throw TRespanaError("DataName is empty: give the input file's name without \".CSV\", e.g. Respana _sysan01");
    const std::string in = inputFileName(dataName);
    const std::string out = outputFileName(dataName);
    // A name ending in "2" would have the result replace the recording.
    if (sameFile(in, out))
        throw TRespanaError("the output " + out + " would overwrite the input " + in +
                            "; the input name must not end in \"2\"");

    const TInputFile input = TInputFile::read(in);
    const TResponseTable table = analyse(input, messages);
    writeFileAtomically(out, formatResultFile(table));
}

} // namespace

int runRespana(const std::vector<std::string> &args, std::ostream &messages, std::ostream &errors)
{
    if (args.size() > 1) {
        errors << "Run-time Error: File: Respana Line: 6 Column: 1 The function \"Respana\" was called with more "
                  "than the declared number of inputs (1)."
               << std::endl;
        return 1;
    }
    if (args.empty()) {
        errors << "DataName is undefined: give the input file's name without \".CSV\", e.g. Respana _sysan01"
               << std::endl;
        return 1;
    }
    try {
        run(args.front(), messages);
        messages.flush();
        return 0;
    } catch (const TRespanaError &e) {
        messages.flush();
        errors << e.what() << std::endl;
    } catch (const std::bad_alloc &) {
        errors << "out of memory while analysing " << inputFileName(args.front()) << std::endl;
    } catch (const std::exception &e) {
        errors << inputFileName(args.front()) << ": " << e.what() << std::endl;
    }
    return 1;
}

} // namespace respana
