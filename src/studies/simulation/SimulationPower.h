#pragma once

#include "engine/simulation/SimulationSummary.h"
#include "studies/common/EffectTest.h"

#include <QList>
#include <QString>

struct SimulationCheck;

// The power of a quantity's test in a check by simulation: as the design's
// computation predicts it (the power at the true value and the predicted SE),
// and as the data sets show it: the share of the fits with standard errors
// whose Wald test, |estimate − q0| / SE against z, rejects the null value q0
// (one-sided: in the direction of the true effect). The Monte Carlo error of
// that share p over n fits is √(p(1 − p)/n).
struct SimulatedPower
{
    QString quantity;
    double nullValue = 0.0;
    double predicted = 0.0;
    MonteCarloFigure empirical{0.0, 0.0};
    // The fits tested.
    int tests = 0;
};

// The power of every quantity of check with a null value under test; none
// for a cancelled check.
QList<SimulatedPower> simulatedPower(const SimulationCheck& check, const EffectTest& test);
