#pragma once

#include <vector>

namespace NR3 {

// Dense matrix of doubles used by the decompositions: rows stored one after
// the other in one contiguous block, row i reached by m[i][j].
class Matrix
{
public:
    Matrix() = default;
    Matrix(int rows, int cols);

    int nrows() const { return rowCount; }
    int ncols() const { return colCount; }

    double* operator[](int row) { return elements.data() + static_cast<long>(row) * colCount; }
    const double* operator[](int row) const
    {
        return elements.data() + static_cast<long>(row) * colCount;
    }

    // Changes the size. Only a real change of size reallocates, and then the
    // contents are not kept: every element becomes 0.
    void resize(int rows, int cols);

private:
    int rowCount = 0;
    int colCount = 0;
    std::vector<double> elements;
};

} // namespace NR3
