#include "studies/simulation/SimulationPower.h"

#include "numerics/NormalDistribution.h"
#include "studies/simulation/DesignSimulation.h"

#include <cmath>
#include <limits>

QList<SimulatedPower> simulatedPower(const SimulationCheck& check, const EffectTest& test)
{
    QList<SimulatedPower> powers;
    if (check.canceled())
        return powers;
    const double z = normalQuantile(test.twoSided ? 1.0 - test.alpha / 2.0 : 1.0 - test.alpha);
    for (int q = 0; q < check.quantities.size(); ++q) {
        const QString& name = check.quantities[q];
        if (!test.hasNullValue(name))
            continue;
        SimulatedPower power;
        power.quantity = name;
        power.nullValue = test.nullValueOf(name);
        const double trueValue = check.trueValues[std::size_t(q)];
        const double predictedSe = check.results.predictedStandardErrors[std::size_t(q)];
        power.predicted =
            waldPower(trueValue, predictedSe, power.nullValue, test.alpha, test.twoSided);
        // The one-sided test looks in the direction of the true effect.
        const double direction = trueValue >= power.nullValue ? 1.0 : -1.0;
        int rejected = 0;
        for (const SimulatedFit& fit : check.results.fits) {
            if (!fit.converged || fit.standardErrors.size() <= std::size_t(q) ||
                !(fit.standardErrors[std::size_t(q)] > 0))
                continue;
            const double statistic = (fit.estimates[std::size_t(q)] - power.nullValue) /
                                     fit.standardErrors[std::size_t(q)];
            rejected += (test.twoSided ? std::fabs(statistic) : direction * statistic) > z;
            ++power.tests;
        }
        if (power.tests == 0) {
            const double none = std::numeric_limits<double>::quiet_NaN();
            power.empirical = {none, none};
        } else {
            const double share = double(rejected) / power.tests;
            power.empirical = {share, std::sqrt(share * (1.0 - share) / power.tests)};
        }
        powers.append(power);
    }
    return powers;
}
