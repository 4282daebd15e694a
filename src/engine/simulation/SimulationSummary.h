#pragma once

#include "engine/simulation/ReleaseSimulation.h"

#include <vector>

// A figure estimated from the simulated data sets, with its Monte Carlo
// standard error: the standard deviation of the figure over repeated
// simulations of the same size. NaN where too few fits give it.
struct MonteCarloFigure
{
    double value;
    double monteCarloError;
};

// How the estimates of one parameter behaved over the converged fits.
struct ParameterSummary
{
    double trueValue;
    // From the exact information at the true values.
    double predictedStandardError;
    MonteCarloFigure meanEstimate;
    // meanEstimate - trueValue.
    MonteCarloFigure bias;
    MonteCarloFigure empiricalSd;
    // empiricalSd / predictedStandardError.
    MonteCarloFigure sdRatio;
    // The share of the fits with standard errors whose interval
    // estimate +- z se holds the true value, z = 1.645 and 1.960; the Monte
    // Carlo error is that of a share at the nominal 90% and 95%.
    MonteCarloFigure coverage90;
    MonteCarloFigure coverage95;
    // The fits the coverages count: those with standard errors.
    int coverageCount = 0;
};

struct SimulationSummary
{
    int dataSetCount = 0;
    // Fits that did not converge; they take no part in the figures.
    int failedFits = 0;
    // Converged fits on a bound of the domain or with an information that is
    // not positive definite; they take part in the figures.
    int boundaryFits = 0;
    // Converged fits without standard errors; they take no part in the
    // coverages.
    int fitsWithoutStandardErrors = 0;
    std::vector<ParameterSummary> parameters;
};

// The figures of results, whose design has the true values trueValues.
// Throws std::invalid_argument when a fit or the predicted standard errors
// have a different number of parameters.
SimulationSummary summarizeSimulation(const SimulationResults& results,
                                      const std::vector<double>& trueValues);
