#pragma once

#include <cstddef>
#include <iosfwd>
#include <vector>

namespace respana {

class TInputFile;
struct TRecording;

struct TResponseRow
{
    double frequency; // Hz
    double gain;      // dB
    double phase;     // degrees, in (-180, 180]
};
using TResponseTable = std::vector<TResponseRow>;

// Length of the excitation sequence, and so the most samples one analysis takes.
constexpr std::size_t ReferenceLength = 1023;
// Fewest samples the estimator can work with (one lag of covariance).
constexpr std::size_t MinSamples = 2;
// Resolution (covariance lags) and memory bound handed to the estimator.
constexpr std::size_t FFTM = 256;
constexpr std::size_t MaxSize = 65536;

// Angular frequencies (rad/s), evenly spaced in log10 from 0.5 % of the
// Nyquist frequency up to it, 200 points per decade rounded (always 460).
std::vector<double> frequencyGrid(double TSD);

// mod(phi, -360) + 180 with the floor convention: phases of the estimate
// turned into (-180, 180] the way the result file carries them.
double wrapPhase(double phiDegrees);

// The unsmoothed table: excitation rebuilt from the reference sequence,
// means removed, spectral estimate, gain in dB and phase in degrees.
TResponseTable estimateResponse(const TRecording &recording, std::ostream &messages,
                                std::size_t maxsize = MaxSize);

// The whole calculation from the file's matrix to the table that is written.
// Throws TRespanaError when the file cannot be used or gives no finite response.
TResponseTable analyse(const TInputFile &input, std::ostream &messages);

} // namespace respana
