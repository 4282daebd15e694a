#include "engine/simulation/ReleaseSimulation.h"

#include "engine/likelihoods/DomainCheck.h"
#include "engine/simulation/FishSimulation.h"
#include "engine/simulation/ReleaseFit.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

namespace {

const char* const owner = "simulateReleaseDesign";

// The workers share the data sets out by taking the next index in turn.
class Workers
{
public:
    Workers(const DataSetFit& fitDataSet, const SimulationSettings& settings,
            std::vector<SimulatedFit>& fits)
        : fitDataSet(fitDataSet)
        , settings(settings)
        , fits(fits)
    {}

    void run();
    bool canceled() const { return stopped; }

private:
    void work();
    bool cancelRequested() const
    {
        return settings.cancelFlag != nullptr && settings.cancelFlag->load();
    }

    const DataSetFit& fitDataSet;
    const SimulationSettings& settings;
    std::vector<SimulatedFit>& fits;
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::atomic<bool> stopped{false};
    std::mutex errorMutex;
    std::exception_ptr error;
};

void Workers::run()
{
    std::vector<std::thread> threads;
    const int count = std::max(1, std::min(settings.threadCount, settings.dataSetCount));
    for (int t = 1; t < count; ++t)
        threads.emplace_back(&Workers::work, this);
    work();
    for (std::thread& thread : threads)
        thread.join();
    if (error)
        std::rethrow_exception(error);
}

void Workers::work()
{
    try {
        for (int index = next++; index < settings.dataSetCount && !stopped; index = next++) {
            if (cancelRequested()) {
                stopped = true;
                return;
            }
            SimulationStream stream =
                simulationStream(settings.seed, static_cast<std::uint64_t>(index));
            fits[index] = fitDataSet(stream);
            const int finished = ++done;
            if (settings.progress)
                settings.progress(finished);
        }
    } catch (...) {
        const std::lock_guard<std::mutex> lock(errorMutex);
        if (!error)
            error = std::current_exception();
        stopped = true;
    }
}

} // namespace

std::vector<double> predictedStandardErrors(const ReleaseDesign& design)
{
    Matrix covariance;
    std::vector<double> errors(design.trueValues.size(), std::numeric_limits<double>::quiet_NaN());
    if (expectedCovariance(design.chains, design.trueValues, covariance))
        for (std::size_t i = 0; i < errors.size(); ++i)
            errors[i] = std::sqrt(covariance(static_cast<int>(i), static_cast<int>(i)));
    return errors;
}

SimulatedFit simulateAndFit(const ReleaseDesign& design, SimulationStream& stream)
{
    const std::vector<SegmentCounts> data = simulateDesign(design, stream);
    const ReleaseFit fit = fitReleaseChains(design.chains, data, design.trueValues);

    SimulatedFit result;
    result.estimates = fit.estimates;
    for (int i = 0; i < fit.covariance.rows(); ++i)
        result.standardErrors.push_back(std::sqrt(fit.covariance(i, i)));
    result.iterations = fit.iterations;
    result.converged = fit.converged;
    result.onBoundary = fit.onBoundary;
    return result;
}

SimulationResults simulateDataSets(const SimulationSettings& settings, const DataSetFit& fitDataSet)
{
    requireInDomain("simulateDataSets", "data set count", settings.dataSetCount,
                    settings.dataSetCount >= 1, "a simulation needs at least one data set");

    SimulationResults results;
    results.fits.resize(static_cast<std::size_t>(settings.dataSetCount));
    Workers workers(fitDataSet, settings, results.fits);
    workers.run();
    if (workers.canceled()) {
        results.fits.clear();
        results.canceled = true;
    }
    return results;
}

SimulationResults simulateReleaseDesign(const ReleaseDesign& design,
                                        const SimulationSettings& settings)
{
    checkReleaseDesign(owner, design);
    requireInDomain(owner, "data set count", settings.dataSetCount, settings.dataSetCount >= 1,
                    "a simulation needs at least one data set");

    SimulationResults results = simulateDataSets(
        settings, [&design](SimulationStream& stream) { return simulateAndFit(design, stream); });
    results.predictedStandardErrors = predictedStandardErrors(design);
    return results;
}
