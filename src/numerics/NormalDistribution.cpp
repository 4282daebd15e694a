#include "numerics/NormalDistribution.h"

#include <cmath>
#include <limits>

namespace {

constexpr double sqrt2 = 1.41421356237309504880;
// 1 / sqrt(2π), the density's height at 0.
constexpr double densityAtZero = 0.39894228040143267794;

double density(double x)
{
    return densityAtZero * std::exp(-0.5 * x * x);
}

// The upper tail Q(x) = 1 - Φ(x) without the cancellation of 1 - Φ(x).
double upperTail(double x)
{
    return 0.5 * std::erfc(x / sqrt2);
}

// A first guess of the upper-tail quantile x with Q(x) = q for q in (0, 0.5]:
// the rational function of t = sqrt(-2 ln q) fitted to the tail in the
// classic tables of the normal distribution, good to about 4.5e-4 in x.
double tailGuess(double q)
{
    const double t = std::sqrt(-2.0 * std::log(q));
    return t - (2.515517 + t * (0.802853 + t * 0.010328)) /
                   (1.0 + t * (1.432788 + t * (0.189269 + t * 0.001308)));
}

} // namespace

double normalCdf(double x)
{
    if (std::isnan(x))
        return x;
    return 0.5 * std::erfc(-x / sqrt2);
}

double normalQuantile(double p)
{
    if (std::isnan(p) || p < 0.0 || p > 1.0)
        return std::numeric_limits<double>::quiet_NaN();
    if (p == 0.0)
        return -std::numeric_limits<double>::infinity();
    if (p == 1.0)
        return std::numeric_limits<double>::infinity();
    // The quantile is odd about p = 1/2: solve in the upper tail, where
    // Q(x) = q is computed to full relative precision, and mirror.
    const bool lower = p < 0.5;
    const double q = lower ? p : 1.0 - p;
    if (q == 0.5)
        return 0.0;
    double x = tailGuess(q);
    // Halley's iteration on f(x) = Q(x) - q, with f' = -φ(x) and
    // f'' = xφ(x): cubic convergence from a guess this close, so three steps
    // reach the last place.
    for (int step = 0; step < 3; ++step) {
        const double phi = density(x);
        if (phi == 0.0)
            break;
        const double u = (upperTail(x) - q) / phi;
        x += u / (1.0 - 0.5 * x * u);
    }
    return lower ? -x : x;
}
