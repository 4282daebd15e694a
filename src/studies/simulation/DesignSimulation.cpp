#include "studies/simulation/DesignSimulation.h"

#include "studies/simulation/ReleaseRecaptureSimulation.h"
#include "studies/simulation/ReturnRatioSimulation.h"
#include "studies/simulation/SimulationVerdict.h"
#include "studies/simulation/VirtualReleaseSimulation.h"

#include <stdexcept>
#include <string>

std::vector<double> SimulationCheck::estimatesOf(int q) const
{
    std::vector<double> estimates;
    for (const SimulatedFit& fit : results.fits)
        if (fit.converged)
            estimates.push_back(fit.estimates[static_cast<std::size_t>(q)]);
    return estimates;
}

namespace {

std::unique_ptr<DesignSimulation> simulationOf(const Design& design)
{
    switch (design.kind) {
    case Design::SingleRelease:
        return singleReleaseSimulation(design);
    case Design::PairedRelease:
        return pairedReleaseSimulation(design);
    case Design::TIRR:
        return transportSimulation(design);
    case Design::BTPS:
        return balloonTagSimulation(design);
    case Design::VWP:
        return std::make_unique<VirtualReleaseSimulation>(design);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<DesignSimulation> DesignSimulation::of(const Design& design)
{
    std::unique_ptr<DesignSimulation> simulation = simulationOf(design);
    if (simulation)
        simulation->effect = design.options.effect;
    return simulation;
}

SimulationCheck DesignSimulation::check(int point, const SimulationSettings& settings) const
{
    if (point < 0 || point >= pointCount())
        throw std::invalid_argument("DesignSimulation: point " + std::to_string(point) +
                                    " is not a point of the design");
    const Model model = modelAt(point);

    SimulationCheck check;
    check.point = point;
    check.rangeName = rangeName();
    check.x = xAt(point);
    check.seed = settings.seed;
    check.quantities = quantityNames();
    check.trueValues = model.trueValues;
    check.results = simulateDataSets(settings, model.fitDataSet);
    check.results.predictedStandardErrors = model.predictedStandardErrors;
    if (check.canceled())
        return check;
    check.summary = summarizeSimulation(check.results, check.trueValues);
    for (int q = 0; q < static_cast<int>(check.summary.parameters.size()); ++q)
        check.verdicts << precisionVerdict(check.summary, q);
    return check;
}
