#pragma once

#include "engine/simulation/ReleaseDesign.h"
#include "engine/simulation/SimulationStream.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// How a simulation of a design runs.
struct SimulationSettings
{
    int dataSetCount = 1000;
    std::uint64_t seed = 1;
    // Worker threads; the data sets and their results do not depend on it.
    int threadCount = 1;
    // Read before each data set; once set, the workers stop. Belongs to the
    // caller and may be null.
    const std::atomic<bool>* cancelFlag = nullptr;
    // Called with the number of data sets done after each one. It is called
    // from the threads that do the work (the calling thread is one of them),
    // possibly from several at once and not always with rising numbers, so
    // it must be thread-safe and quick: post the number to the thread that
    // shows it. May be empty.
    std::function<void(int done)> progress;
};

// The fit of one simulated data set.
struct SimulatedFit
{
    std::vector<double> estimates;
    // The square roots of the diagonal of the fit's own covariance (see
    // ReleaseFit); empty when its information is not positive definite.
    std::vector<double> standardErrors;
    int iterations = 0;
    bool converged = false;
    bool onBoundary = false;
};

struct SimulationResults
{
    // fits[i] belongs to data set i, drawn from simulationStream(seed, i).
    // Empty when the run was canceled.
    std::vector<SimulatedFit> fits;
    // The standard errors that the exact information predicts at the true
    // values, NaN throughout when it is not positive definite.
    std::vector<double> predictedStandardErrors;
    bool canceled = false;
};

// Draws one data set from stream and fits it. Called from several threads at
// once, so it must not change anything it shares.
using DataSetFit = std::function<SimulatedFit(SimulationStream& stream)>;

// Draws one data set of design from stream (simulateDesign) and fits it by
// maximum likelihood from the true values (fitReleaseChains).
SimulatedFit simulateAndFit(const ReleaseDesign& design, SimulationStream& stream);

// The standard errors that the exact information of design predicts at its
// true values, NaN throughout when it is not positive definite.
std::vector<double> predictedStandardErrors(const ReleaseDesign& design);

// Draws and fits settings.dataSetCount data sets with fitDataSet on
// settings.threadCount threads (at least one): data set i always uses
// simulationStream(seed, i) and lands in fits[i], so the results depend on
// the seed alone. The predicted standard errors are left to the caller.
// Throws std::invalid_argument, before any work, for a data set count below
// 1; an exception inside a worker stops the others and is thrown again here.
SimulationResults simulateDataSets(const SimulationSettings& settings,
                                   const DataSetFit& fitDataSet);

// Simulates settings.dataSetCount data sets of design (simulateDesign) and
// fits each by maximum likelihood from the true values (fitReleaseChains)
// through simulateDataSets, with the standard errors the exact information
// predicts. Throws std::invalid_argument, before any work, for a design that
// checkReleaseDesign refuses, and what simulateDataSets throws.
SimulationResults simulateReleaseDesign(const ReleaseDesign& design,
                                        const SimulationSettings& settings);
