#include "engine/simulation/SimulationSummary.h"

#include "engine/likelihoods/LengthCheck.h"

#include <cmath>
#include <limits>

// The figures over the n converged fits with estimates x_i of a parameter
// whose true value is theta and predicted standard error is SE:
//   mean    xbar = sum x_i / n,                  MC error s / sqrt(n);
//   bias    xbar - theta,                        MC error s / sqrt(n);
//   SD      s = sqrt(sum (x_i - xbar)^2 / (n - 1)),
//           MC error sqrt(V) / (2 s) by the delta method, where
//           V = (m4 - m2^2 (n - 3) / (n - 1)) / n estimates the variance of
//           s^2 from the central moments m_k = sum (x_i - xbar)^k / n; for
//           normal estimates it is 2 s^4 / (n - 1), and it stays right for
//           the skewed, heavy-tailed estimates of small releases;
//   ratio   s / SE,                              MC error (that of s) / SE;
//   coverage p = the share of the n_c fits with standard errors se_i that
//           have |x_i - theta| <= z se_i,        MC error sqrt(p0 (1 - p0) / n_c)
//           at the nominal level p0 (0.90, 0.95): the spread of p were the
//           prediction to hold. The observed share's own error would vanish
//           at a coverage of 0 or 100%, which a few fits easily show.

namespace {

const char* const owner = "summarizeSimulation";
const double notGiven = std::numeric_limits<double>::quiet_NaN();

// The standard normal quantiles of 0.95 and 0.975.
constexpr double z90 = 1.6448536269514722;
constexpr double z95 = 1.9599639845400542;

MonteCarloFigure coverage(int hits, int count, double nominal)
{
    if (count == 0)
        return {notGiven, notGiven};
    return {static_cast<double>(hits) / count, std::sqrt(nominal * (1.0 - nominal) / count)};
}

ParameterSummary summarizeParameter(const SimulationResults& results, int parameter,
                                    double trueValue)
{
    ParameterSummary summary;
    summary.trueValue = trueValue;
    summary.predictedStandardError = results.predictedStandardErrors[parameter];

    double sum = 0.0;
    int n = 0;
    int withErrors = 0, within90 = 0, within95 = 0;
    for (const SimulatedFit& fit : results.fits) {
        if (!fit.converged)
            continue;
        const double x = fit.estimates[parameter];
        sum += x;
        ++n;
        if (fit.standardErrors.empty())
            continue;
        ++withErrors;
        const double distance = std::fabs(x - trueValue);
        within90 += distance <= z90 * fit.standardErrors[parameter];
        within95 += distance <= z95 * fit.standardErrors[parameter];
    }
    summary.coverage90 = coverage(within90, withErrors, 0.90);
    summary.coverage95 = coverage(within95, withErrors, 0.95);
    summary.coverageCount = withErrors;
    if (n < 2) {
        const double mean = n == 1 ? sum : notGiven;
        summary.meanEstimate = {mean, notGiven};
        summary.bias = {mean - trueValue, notGiven};
        summary.empiricalSd = summary.sdRatio = {notGiven, notGiven};
        return summary;
    }

    const double mean = sum / n;
    double m2 = 0.0, m4 = 0.0;
    for (const SimulatedFit& fit : results.fits) {
        if (!fit.converged)
            continue;
        const double d2 = (fit.estimates[parameter] - mean) * (fit.estimates[parameter] - mean);
        m2 += d2;
        m4 += d2 * d2;
    }
    m2 /= n;
    m4 /= n;
    const double sd = std::sqrt(m2 * n / (n - 1));
    const double varianceOfVariance = std::max(0.0, (m4 - m2 * m2 * (n - 3.0) / (n - 1.0)) / n);
    const double sdError = sd > 0.0 ? std::sqrt(varianceOfVariance) / (2.0 * sd) : 0.0;

    summary.meanEstimate = {mean, sd / std::sqrt(n)};
    summary.bias = {mean - trueValue, sd / std::sqrt(n)};
    summary.empiricalSd = {sd, sdError};
    summary.sdRatio = {sd / summary.predictedStandardError,
                       sdError / summary.predictedStandardError};
    return summary;
}

} // namespace

SimulationSummary summarizeSimulation(const SimulationResults& results,
                                      const std::vector<double>& trueValues)
{
    const int parameterCount = static_cast<int>(trueValues.size());
    requireLength(owner, results.predictedStandardErrors.size(), parameterCount,
                  "predicted standard errors");
    SimulationSummary summary;
    summary.dataSetCount = static_cast<int>(results.fits.size());
    for (const SimulatedFit& fit : results.fits) {
        requireLength(owner, fit.estimates.size(), parameterCount, "estimates");
        if (!fit.standardErrors.empty())
            requireLength(owner, fit.standardErrors.size(), parameterCount, "standard errors");
        if (!fit.converged) {
            ++summary.failedFits;
            continue;
        }
        summary.boundaryFits += fit.onBoundary;
        summary.fitsWithoutStandardErrors += fit.standardErrors.empty();
    }
    for (int i = 0; i < parameterCount; ++i)
        summary.parameters.push_back(summarizeParameter(results, i, trueValues[i]));
    return summary;
}
