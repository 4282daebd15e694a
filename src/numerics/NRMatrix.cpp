#include "numerics/NRMatrix.h"

#include "numerics/NRError.h"

namespace NR3 {

Matrix::Matrix(int rows, int cols)
{
    resize(rows, cols);
}

void Matrix::resize(int rows, int cols)
{
    if (rows < 0 || cols < 0)
        throw NRError("NR3::Matrix negative size");
    if (rows == rowCount && cols == colCount)
        return;
    rowCount = rows;
    colCount = cols;
    elements.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0);
}

} // namespace NR3
