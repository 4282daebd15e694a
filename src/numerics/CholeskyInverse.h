#pragma once

#include "numerics/Matrix.h"

// The inverse of a symmetric positive definite matrix (only its lower
// triangle is read) by its Cholesky factor: A = L L^T with L lower
// triangular, M = L^-1 by forward substitution, and A^-1 = M^T M. About n^3
// operations, a third of an inverse by LU decomposition, and stable for
// every positive definite matrix without pivoting. The exact covariance
// computation inverts its Hessians with it, through positiveDefiniteInverse.
//
// Throws NR3::NRError "Matrix not positive definite in CholeskyInverse" when a
// pivot is not positive (the matrix is not positive definite to working
// precision) and leaves inverse as it was; throws NR3::NRError for a matrix
// that is not square.
void choleskyInverse(const Matrix& a, Matrix& inverse);
