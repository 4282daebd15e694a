#pragma once

#include "numerics/NRMatrix.h"

#include <initializer_list>

// A rows × cols matrix filled row by row from values.
inline NR3::Matrix makeMatrix(int rows, int cols, std::initializer_list<double> values)
{
    NR3::Matrix m(rows, cols);
    auto it = values.begin();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            m[i][j] = *it++;
    return m;
}
