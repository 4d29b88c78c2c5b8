// Respana on one recording of 1023 samples after the trigger: the whole run
// (read, estimate, smooth, write) and the estimator alone.

#include "analyser/RecordingMaker.h"

#include "analyser/Analysis.h"
#include "analyser/InputFile.h"
#include "analyser/Matrix.h"
#include "analyser/Recording.h"
#include "analyser/Respana.h"
#include "analyser/dtrend.h"
#include "analyser/refsig10.h"
#include "analyser/spav4.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace respana;

namespace {

const testing::TSyntheticRecording &recording()
{
    static const testing::TSyntheticRecording rec = [] {
        testing::TSyntheticRecording r = testing::resonanceRecording(testing::TResonance{});
        r.sw1 = 3;
        return r;
    }();
    return rec;
}

TMatrix estimatorData(const TRecording &rec)
{
    const std::vector<double> ref = refsig10();
    std::vector<double> u(rec.IDD.size());
    for (std::size_t t = 0; t < u.size(); ++t)
        u[t] = ref[t] * rec.MCMD + rec.IDD[t];
    return dtrend(TMatrix::fromColumns({rec.IDD, u}));
}

void BM_RespanaWholeRun(benchmark::State &state)
{
    const fs::path dir = fs::temp_directory_path() / ("bench_respana_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "_sysan01.CSV", std::ios::binary) << recording().exchangeText();
    const std::vector<std::string> args = {(dir / "_sysan01").string()};
    std::ostringstream messages, errors;
    for (auto _ : state) {
        if (runRespana(args, messages, errors) != 0) {
            state.SkipWithError(errors.str().c_str());
            break;
        }
    }
    fs::remove_all(dir);
}

void BM_RespanaEstimator(benchmark::State &state)
{
    const TRecording rec = TRecording::fromInput(TInputFile::parse(recording().exchangeText(), "_sysan01.CSV"));
    const TMatrix z = estimatorData(rec);
    const std::vector<double> w = frequencyGrid(rec.TSD);
    const auto maxsize = static_cast<std::size_t>(state.range(0));
    std::ostringstream messages;
    for (auto _ : state) {
        TSpaResult r = spav4(z, FFTM, w, maxsize, rec.TSD, messages);
        benchmark::DoNotOptimize(r);
    }
}

} // namespace

BENCHMARK(BM_RespanaWholeRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
// 65536: the covariances by FFT, as Respana runs; 8: by direct sums.
BENCHMARK(BM_RespanaEstimator)->Arg(65536)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
