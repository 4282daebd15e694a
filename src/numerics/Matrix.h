#pragma once

#include <vector>

// Dense matrix of doubles in one row-major array: element (i, j) lies at
// position j + i·cols. It carries covariance and Hessian matrices out of the
// engine, and the variance tables of the results to the report and the plot.
class Matrix
{
public:
    Matrix() = default;
    // A rows × cols matrix of zeros.
    Matrix(int rows, int cols);

    int rows() const { return rowCount; }
    int cols() const { return colCount; }

    double& operator()(int row, int col) { return elements[index(row, col)]; }
    double operator()(int row, int col) const { return elements[index(row, col)]; }

    const double* data() const { return elements.data(); }
    double* data() { return elements.data(); }

    // A rows × cols matrix of zeros in place of the old contents.
    void resize(int rows, int cols);

private:
    std::size_t index(int row, int col) const
    {
        return static_cast<std::size_t>(col) +
               static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount);
    }

    int rowCount = 0;
    int colCount = 0;
    std::vector<double> elements;
};
