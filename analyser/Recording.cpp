#include "analyser/Recording.h"

#include "analyser/Analysis.h"
#include "analyser/InputFile.h"
#include "analyser/ResultFile.h"
#include "analyser/RespanaError.h"
#include "analyser/Smoothing.h"

#include <cmath>
#include <string>

namespace respana {

namespace {

bool isWholeNumber(double v)
{
    return std::isfinite(v) && v == std::floor(v);
}

// Values quoted in messages read as they stand in the file.
std::string number(double v)
{
    return shortNumber(v);
}

} // namespace

TRecording TRecording::fromInput(const TInputFile &input)
{
    const std::string &name = input.fileName();
    const std::size_t rows = input.rowCount();
    if (rows < HeaderRows)
        throw TRespanaError(name + " ends at line " + std::to_string(input.lastLine()) + " after " +
                            std::to_string(rows) + " rows: the " + std::to_string(HeaderRows) +
                            " rows of measurement conditions are incomplete and no samples follow");

    TRecording rec;
    const double base = input.value(1, 1);
    const double code = input.value(3, 1);
    rec.TSD = base * 0.001 * std::pow(2.0, code - 1.0);
    if (!(rec.TSD > 0.0) || !std::isfinite(rec.TSD) || !std::isfinite(1.0 / rec.TSD))
        throw TRespanaError(input.where(1) + "sampling base " + number(base) + " ms with frequency code " +
                            number(code) + " (line " + std::to_string(input.lineOf(3)) +
                            ") gives no usable sampling period");
    rec.MCMD = input.value(2, 1) * 0.01;

    const double smn = input.value(11, 1);
    const std::size_t maxSmn = maxSmoothingHalfWidth(frequencyGrid(rec.TSD).size());
    if (!isWholeNumber(smn) || smn < 0 || smn > static_cast<double>(maxSmn))
        throw TRespanaError(input.where(11) + "smoothing half-width SW1 is " + number(smn) +
                            "; it must be a whole number from 0 to " + std::to_string(maxSmn));
    rec.SMN = static_cast<std::size_t>(smn);

    const double trgp = input.value(13, 1);
    if (!isWholeNumber(trgp) || trgp < 0)
        throw TRespanaError(input.where(13) + "TRIGGER-NO is " + number(trgp) + "; it must be a whole sample number");
    // Samples start on row 15 with sample 0; the analysis uses the trigger
    // sample and all after it.
    const std::size_t trigger = trgp < static_cast<double>(rows) ? static_cast<std::size_t>(trgp) : rows;
    const std::size_t first = HeaderRows + 1 + trigger; // 1-based row of the trigger sample
    const std::size_t count = first <= rows ? rows - first + 1 : 0;
    const std::size_t maxCount = ReferenceLength;
    if (count > maxCount)
        throw TRespanaError(input.where(13) + "TRIGGER-NO " + number(trgp) + " leaves " + std::to_string(count) +
                            " samples (lines " + std::to_string(input.lineOf(first)) + " to " +
                            std::to_string(input.lastLine()) + "), more than the " + std::to_string(maxCount) +
                            " of the excitation sequence");
    if (count < MinSamples)
        throw TRespanaError(input.where(13) + "TRIGGER-NO " + number(trgp) + " leaves " + std::to_string(count) +
                            (count == 1 ? " sample" : " samples") + " before the file ends at line " +
                            std::to_string(input.lastLine()) + "; at least " + std::to_string(MinSamples) +
                            " are needed");
    rec.TRGP = static_cast<std::size_t>(trgp);
    rec.IDD.reserve(count);
    for (std::size_t r = first; r <= rows; ++r)
        rec.IDD.push_back(input.value(r, 2) / AnalogScale);
    return rec;
}

} // namespace respana
