#pragma once

#include "engine/simulation/SimulationStream.h"

// The number of successes among n independent trials of probability p,
// drawn from stream in a time that grows with log n, not with n, so that a
// group of two billion fish is drawn as fast as one of a thousand.
//
// While n min(p, 1 - p) is large, the draw splits the trials at an order
// statistic (the method of order statistics in Knuth's Seminumerical
// Algorithms, 3.4.1): of n uniform numbers, the a-th smallest, a = n/2 + 1,
// is Beta(a, n + 1 - a), drawn as X = G_a / (G_a + G_b) from two gamma
// draws. When X > p, the successes are the a - 1 numbers below X that also
// fall below p, Binomial(a - 1, p / X); otherwise they are the a numbers up
// to X and those of the n - a above X that fall below p,
// a + Binomial(n - a, (p - X) / (1 - X)). Each step halves n; once the
// expected count is small the rest is drawn by inversion, walking up the
// probabilities from 0 until they exceed one uniform number.
//
// n = 0, p = 0 and p = 1 give 0, 0 and n without drawing. p must lie in
// [0, 1] and n must not be negative.
long long binomialDraw(long long n, double p, SimulationStream& stream);

// A uniform number in [0, 1) from the top 53 bits of the next number.
double uniformDraw(SimulationStream& stream);
