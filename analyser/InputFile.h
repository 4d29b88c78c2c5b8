#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace respana {

// The system-analysis exchange file as a numeric matrix: one row of three
// comma-separated numbers per line; blank lines may only trail. Every row
// remembers its line so that complaints can name it.
class TInputFile
{
public:
    // Both throw TRespanaError with a one-line text naming the file (and the
    // line) on anything that is not such a matrix.
    static TInputFile read(const std::string &fileName);
    static TInputFile parse(std::string_view text, const std::string &fileName);

    // Files longer than this are refused before they are read.
    static constexpr std::size_t MaxFileSize = 4u << 20;

    const std::string &fileName() const { return FFileName; }
    std::size_t rowCount() const { return FRows.size(); }
    // Rows and columns count from 1 as in the file.
    double value(std::size_t row, std::size_t col) const { return FRows[row - 1][col - 1]; }
    std::size_t lineOf(std::size_t row) const { return FLines[row - 1]; }
    std::size_t lastLine() const { return FLines.empty() ? 0 : FLines.back(); }

    // "NAME line L: " for messages about one row.
    std::string where(std::size_t row) const;

private:
    std::string FFileName;
    std::vector<std::array<double, 3>> FRows;
    std::vector<std::size_t> FLines;
};

} // namespace respana
