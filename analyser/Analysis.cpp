#include "analyser/Analysis.h"

#include "analyser/InputFile.h"
#include "analyser/Matrix.h"
#include "analyser/Recording.h"
#include "analyser/RespanaError.h"
#include "analyser/ResultFile.h"
#include "analyser/Smoothing.h"
#include "analyser/dtrend.h"
#include "analyser/refsig10.h"
#include "analyser/spav4.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace respana {

std::vector<double> frequencyGrid(double TSD)
{
    const double freqMax = 1.0 / TSD / 2.0;
    const double freqMin = freqMax * 0.005;
    const auto count = static_cast<std::size_t>(std::round(std::log10(freqMax / freqMin) * 200.0));
    const double lo = std::log10(2.0 * std::numbers::pi * freqMin);
    const double hi = std::log10(2.0 * std::numbers::pi * freqMax);
    std::vector<double> w(count);
    for (std::size_t k = 0; k + 1 < count; ++k)
        w[k] = std::pow(10.0, lo + static_cast<double>(k) * (hi - lo) / static_cast<double>(count - 1));
    if (count > 0)
        w[count - 1] = std::pow(10.0, hi);
    return w;
}

double wrapPhase(double phi)
{
    return phi - std::floor(phi / -360.0) * -360.0 + 180.0;
}

TResponseTable estimateResponse(const TRecording &rec, std::ostream &messages, std::size_t maxsize)
{
    const std::size_t n = rec.IDD.size();
    const std::vector<double> ref = refsig10(ReferenceLength);
    if (n > ref.size())
        throw std::invalid_argument("recording longer than the excitation sequence");

    // The amplifier adds the scaled sequence to the quantity it records, so
    // the input of the measured path is their sum.
    std::vector<double> u(n);
    for (std::size_t t = 0; t < n; ++t)
        u[t] = ref[t] * rec.MCMD + rec.IDD[t];
    const TMatrix z = dtrend(TMatrix::fromColumns({rec.IDD, u}));

    const std::vector<double> w = frequencyGrid(rec.TSD);
    const TSpaResult spa = spav4(z, FFTM, w, maxsize, rec.TSD, messages);

    TResponseTable table;
    table.reserve(spa.rows.size());
    for (const TSpaRow &row : spa.rows)
        table.push_back({row.omega / (2.0 * std::numbers::pi), 20.0 * std::log10(row.magnitude),
                         wrapPhase(row.phaseDegrees)});
    return table;
}

TResponseTable analyse(const TInputFile &input, std::ostream &messages)
{
    const TRecording rec = TRecording::fromInput(input);
    const TResponseTable table = smoothResponse(estimateResponse(rec, messages), rec.SMN);
    for (const TResponseRow &row : table) {
        // A recorded quantity that never moves gives zero gain (-inf dB); no
        // variation at all leaves 0/0. Neither is a response worth a file.
        if (!std::isfinite(row.frequency) || !std::isfinite(row.gain) || !std::isfinite(row.phase))
            throw TRespanaError(input.fileName() + ": no frequency response can be estimated (the estimate at " +
                                shortNumber(row.frequency) +
                                " Hz is not finite): the recorded quantity or the excitation does not vary after the trigger");
    }
    return table;
}

} // namespace respana
