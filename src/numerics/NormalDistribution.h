#pragma once

// The standard normal distribution: its cumulative distribution function and
// its quantile (the inverse of the former), for tests of estimates that are
// normal for large releases.

// Φ(x), the probability that a standard normal variable is at most x; 0 and 1
// at minus and plus infinity.
double normalCdf(double x);

// The x with Φ(x) = p, for p in [0, 1]: minus infinity at 0, plus infinity at
// 1, NaN outside [0, 1]. Accurate to a few units in the last place of x.
double normalQuantile(double p);
