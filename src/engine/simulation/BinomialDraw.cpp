#include "engine/simulation/BinomialDraw.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this expected count of the rarer outcome the draw is by inversion,
// whose steps grow with it.
constexpr double inversionLimit = 30.0;

// A standard normal number by the polar method: a point uniform in the unit
// disc, (u, v) with s = u² + v² < 1, gives u·sqrt(−2 ln s / s).
double normalDraw(SimulationStream& stream)
{
    for (;;) {
        const double u = 2.0 * uniformDraw(stream) - 1.0;
        const double v = 2.0 * uniformDraw(stream) - 1.0;
        const double s = u * u + v * v;
        if (s > 0.0 && s < 1.0)
            return u * std::sqrt(-2.0 * std::log(s) / s);
    }
}

// A Gamma(a, 1) number for a >= 1 by Marsaglia and Tsang's rejection from a
// transformed normal: with d = a − 1/3 and c = 1/sqrt(9d), a normal x gives
// the candidate d·v, v = (1 + c x)³, accepted when a uniform u satisfies
// ln u < x²/2 + d (1 − v + ln v). The bracket is formed from t = c x
// directly, since for a near 10⁹ it is the small difference of numbers near
// 1.
double gammaDraw(double a, SimulationStream& stream)
{
    const double d = a - 1.0 / 3.0;
    const double c = 1.0 / std::sqrt(9.0 * d);
    for (;;) {
        const double x = normalDraw(stream);
        const double t = c * x;
        if (t <= -1.0)
            continue;
        const double oneMinusV = -t * (3.0 + t * (3.0 + t));
        const double logV = 3.0 * std::log1p(t);
        const double u = uniformDraw(stream);
        if (u > 0.0 && std::log(u) < 0.5 * x * x + d * (oneMinusV + logV))
            return d * (1.0 - oneMinusV);
    }
}

// Inversion for a small expected count n q, q <= 1/2: the probabilities
// f(0) = (1 − q)^n, f(k + 1) = f(k) (n − k) q / ((k + 1)(1 − q)) are added
// until their sum passes a uniform number. Past the mode, once the terms no
// longer change the sum, the walk stops where it is.
long long invertedDraw(long long n, double q, SimulationStream& stream)
{
    const double u = uniformDraw(stream);
    const double ratio = q / (1.0 - q);
    double term = std::exp(static_cast<double>(n) * std::log1p(-q));
    double sum = term;
    long long k = 0;
    const double mean = static_cast<double>(n) * q;
    while (u >= sum && k < n) {
        term *= static_cast<double>(n - k) / static_cast<double>(k + 1) * ratio;
        ++k;
        sum += term;
        if (static_cast<double>(k) > mean && sum + term == sum)
            break;
    }
    return k;
}

} // namespace

double uniformDraw(SimulationStream& stream)
{
    return static_cast<double>(stream() >> 11) * (1.0 / 9007199254740992.0);
}

long long binomialDraw(long long n, double p, SimulationStream& stream)
{
    if (n <= 0 || p <= 0.0)
        return 0;
    if (p >= 1.0)
        return n;
    long long successes = 0;
    while (static_cast<double>(n) * std::min(p, 1.0 - p) >= inversionLimit) {
        const long long a = n / 2 + 1;
        const long long b = n + 1 - a;
        const double ga = gammaDraw(static_cast<double>(a), stream);
        const double gb = gammaDraw(static_cast<double>(b), stream);
        const double x = ga / (ga + gb);
        if (p < x) {
            n = a - 1;
            p = p / x;
        } else {
            successes += a;
            n = b - 1;
            p = (p - x) / (1.0 - x);
        }
        p = std::clamp(p, 0.0, 1.0);
    }
    if (p <= 0.5)
        return successes + invertedDraw(n, p, stream);
    return successes + n - invertedDraw(n, 1.0 - p, stream);
}
