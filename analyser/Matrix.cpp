#include "analyser/Matrix.h"

#include <algorithm>
#include <stdexcept>

namespace respana {

TMatrix TMatrix::fromColumns(const std::vector<std::vector<double>> &columns)
{
    const std::size_t n = columns.empty() ? 0 : columns.front().size();
    TMatrix m(n, columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].size() != n)
            throw std::invalid_argument("columns of different lengths");
        std::copy(columns[c].begin(), columns[c].end(), m.column(c));
    }
    return m;
}

} // namespace respana
