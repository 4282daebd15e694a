#include "studies/simulation/VirtualReleaseSimulation.h"

#include "engine/information/SingleReleaseInformation.h"
#include "engine/simulation/ReleaseDesign.h"
#include "studies/vwp/VWPComputation.h"

#include <array>
#include <cmath>
#include <memory>

namespace {

using Releases = std::array<ReleaseDesign, 3>;

SimulatedFit fitReleases(const Releases& releases, SimulationStream& stream)
{
    std::array<SimulatedFit, 3> fits;
    for (std::size_t r = 0; r < releases.size(); ++r)
        fits[r] = simulateAndFit(releases[r], stream);

    SimulatedFit fit;
    fit.converged = fits[0].converged && fits[1].converged && fits[2].converged;
    fit.onBoundary = fits[0].onBoundary || fits[1].onBoundary || fits[2].onBoundary;
    const VWPSurvivals s = {fits[0].estimates[0], fits[1].estimates[0], fits[2].estimates[0]};
    fit.estimates = {s.s1 * s.s3 / s.s2, s.s1, s.s2, s.s3};
    for (const SimulatedFit& release : fits) {
        fit.iterations += release.iterations;
        if (release.standardErrors.empty())
            return fit;
    }
    const double v1 = fits[0].standardErrors[0] * fits[0].standardErrors[0];
    const double v2 = fits[1].standardErrors[0] * fits[1].standardErrors[0];
    const double v3 = fits[2].standardErrors[0] * fits[2].standardErrors[0];
    fit.standardErrors = {std::sqrt(sdamVariance(s, v1, v2, v3)), std::sqrt(v1), std::sqrt(v2),
                          std::sqrt(v3)};
    return fit;
}

} // namespace

VirtualReleaseSimulation::VirtualReleaseSimulation(const Design& design)
    : record(takeVWPRecord(design.inputs))
{}

QStringList VirtualReleaseSimulation::quantityNames() const
{
    return {QStringLiteral("Sdam"), QStringLiteral("S1"), QStringLiteral("S2"),
            QStringLiteral("S3")};
}

DesignSimulation::Model VirtualReleaseSimulation::modelAt(int i) const
{
    const QString invalid = vwpInputError(record, i);
    if (!invalid.isEmpty())
        throw invalid;
    const VWPSurvivals s = vwpSurvivals(record, i);
    const double p2 = record.p2[i];
    const double lambda = record.lambda[i];
    auto releases = std::make_shared<const Releases>(Releases{
        releaseDesignOf(
            *vwpReleaseModel(record.v1[i], {s.s1, record.s12[i]}, {record.p1[i], p2}, lambda)),
        releaseDesignOf(*vwpReleaseModel(record.r2[i], {s.s2}, {p2}, lambda)),
        releaseDesignOf(*vwpReleaseModel(record.r3[i], {s.s3}, {p2}, lambda)),
    });
    for (const ReleaseDesign& release : *releases)
        checkReleaseDesign("VirtualReleaseSimulation", release);

    const VWPPointResult predicted = computeVWPPoint(record, i);
    Model model;
    model.trueValues = {record.sDam[i], s.s1, s.s2, s.s3};
    model.predictedStandardErrors = {predicted.seSdam, std::sqrt(predicted.varS1),
                                     std::sqrt(predicted.varS2), std::sqrt(predicted.varS3)};
    model.fitDataSet = [releases](SimulationStream& stream) {
        return fitReleases(*releases, stream);
    };
    return model;
}
