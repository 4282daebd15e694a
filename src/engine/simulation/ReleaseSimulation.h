#pragma once

#include "engine/simulation/ReleaseDesign.h"

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

// Simulates settings.dataSetCount data sets of design fish by fish
// (simulateDesign) and fits each by maximum likelihood from the true values
// (fitReleaseChains), on settings.threadCount threads (at least one). Data
// set i always uses stream i and lands in fits[i], so the results depend on
// the seed alone. Throws std::invalid_argument, before any work, for a
// design that checkReleaseDesign refuses or a data set count below 1; an
// exception inside a worker stops the others and is thrown again here.
SimulationResults simulateReleaseDesign(const ReleaseDesign& design,
                                        const SimulationSettings& settings);
