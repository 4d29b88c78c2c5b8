#pragma once

#include <cstddef>
#include <vector>

namespace respana {

class TInputFile;

// What the analysis takes from the exchange file.
struct TRecording
{
    double TSD = 0.0;       // sampling period in seconds
    double MCMD = 0.0;      // excitation amplitude as a fraction
    std::size_t TRGP = 0;   // trigger sample number
    std::size_t SMN = 0;    // smoothing half-width (switch SW1)
    std::vector<double> IDD; // recorded quantity from the trigger on, scaled by 1/4096

    // Takes the values out of the file and checks that the analysis can use
    // them; throws TRespanaError naming the file and line otherwise.
    static TRecording fromInput(const TInputFile &input);

    static constexpr std::size_t HeaderRows = 14;
    static constexpr double AnalogScale = 4096.0;
};

} // namespace respana
