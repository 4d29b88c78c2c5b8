#pragma once

#include <cstddef>
#include <vector>

namespace respana {

// A dense real matrix stored column by column, the natural layout for data
// whose columns are signals (output first, input second).
class TMatrix
{
public:
    TMatrix() = default;
    TMatrix(std::size_t rows, std::size_t cols, double fill = 0.0)
        : FRows(rows), FCols(cols), FValues(rows * cols, fill) {}

    std::size_t rows() const { return FRows; }
    std::size_t cols() const { return FCols; }
    bool empty() const { return FValues.empty(); }

    // Indices count from 0 here; the file and the formulas count from 1.
    double &operator()(std::size_t r, std::size_t c) { return FValues[c * FRows + r]; }
    double operator()(std::size_t r, std::size_t c) const { return FValues[c * FRows + r]; }

    double *column(std::size_t c) { return FValues.data() + c * FRows; }
    const double *column(std::size_t c) const { return FValues.data() + c * FRows; }

    // Builds an N x k matrix from k equally long columns.
    static TMatrix fromColumns(const std::vector<std::vector<double>> &columns);

private:
    std::size_t FRows = 0;
    std::size_t FCols = 0;
    std::vector<double> FValues;
};

} // namespace respana
