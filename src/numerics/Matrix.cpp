#include "numerics/Matrix.h"

#include <stdexcept>

Matrix::Matrix(int rows, int cols)
{
    resize(rows, cols);
}

void Matrix::resize(int rows, int cols)
{
    if (rows < 0 || cols < 0)
        throw std::invalid_argument("Matrix: negative size");
    rowCount = rows;
    colCount = cols;
    elements.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0);
}
