#pragma once

#include "numerics/Matrix.h"

#include <vector>

// The eigenvalues of a real symmetric matrix (only its lower triangle is
// read), in no particular order. A row that is exactly zero gives the
// eigenvalue 0 exactly and is left out of the rest of the work. The matrix is reduced to
// tridiagonal form by Householder reflections and the tridiagonal matrix is
// diagonalised by implicit QR steps with Wilkinson shifts. No eigenvectors are
// formed, so the cost is about (4/3) n^3 operations, a small part of a
// singular value decomposition's. For a symmetric matrix the singular values
// are the absolute eigenvalues.
//
// Throws NR3::NRError when the iteration does not converge.
std::vector<double> symmetricEigenvalues(const Matrix& matrix);

// The rank test of the covariance computation for a symmetric matrix (see
// RankThreshold.h): full rank when the absolute value of every eigenvalue is
// above the threshold of an n × n matrix.
bool symmetricHasFullRank(const Matrix& matrix);

// The same threshold applied to the signed eigenvalues: true when every
// eigenvalue is positive and above it. The expected information of a design
// whose parameters can all be estimated passes; a matrix of full rank with a
// negative eigenvalue does not.
bool symmetricIsPositiveDefinite(const Matrix& matrix);
