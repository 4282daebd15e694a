#pragma once

#include "numerics/Matrix.h"

// The inverse of a symmetric matrix (only its lower triangle is read) that
// the covariance computation accepts: every eigenvalue positive and above the
// rank threshold, the rule of symmetricIsPositiveDefinite. Returns true with
// inverse set to the Cholesky inverse (choleskyInverse) when the rule accepts
// a, and false with inverse as it was when the rule refuses it. The decision
// is always the rule's; the eigenvalues are computed only when the bound of
// certainlyAboveInverse leaves it open, for a matrix near the threshold.
//
// Throws NR3::NRError as choleskyInverse does when the rule accepts a matrix
// whose Cholesky factorisation rounding breaks down, and for a matrix that is
// not square.
bool positiveDefiniteInverse(const Matrix& a, Matrix& inverse);

// The largest absolute row sum of a symmetric matrix (lower triangle read),
// its infinity norm: no eigenvalue exceeds it in absolute value.
double symmetricRowSumNorm(const Matrix& a);

// Inverts the symmetric matrix a by its Cholesky factor and returns true
// when the inverse shows that every eigenvalue of a lies above threshold by a
// margin wide enough that the eigenvalue computation could not find
// otherwise. Returns false, inverse then unspecified, when the factorisation
// fails or the bound is inconclusive: a is then near or below the threshold,
// or not positive definite, and only its eigenvalues can tell.
//
// The bound: the eigenvalues of A^-1 are the reciprocals 1/lambda_i of A's, all
// positive, so trace(A^-1) = sum 1/lambda_i >= 1/lambda_min, and
// lambda_min >= 1/trace(A^-1), within a factor n of lambda_min. The margin,
// 64 (n + 1), covers two roundings: computed eigenvalues are exact for A + E
// with |E| a modest multiple of n eps |A|, and the computed trace is off by
// about n eps cond(A), which the margin itself keeps to a few percent (a
// matrix that passes the rank threshold of RankThreshold.h this way has
// cond(A) <= |A| trace(A^-1) < 1 / (margin eps)).
bool certainlyAboveInverse(const Matrix& a, Matrix& inverse, double threshold);

// The bound of certainlyAboveInverse from the trace of the computed inverse
// of an n x n matrix: true when it shows every eigenvalue above threshold by
// the margin. A caller that knows the inverse of a multiple of its matrix
// tests the matrix with the trace scaled to it.
bool traceShowsAbove(double inverseTrace, int n, double threshold);
