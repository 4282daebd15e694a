#include "engine/likelihoods/PairedReleaseLayout.h"

#include "engine/likelihoods/DomainCheck.h"
#include "engine/likelihoods/LengthCheck.h"

#include <algorithm>

PairedReleaseLayout::PairedReleaseLayout(const char* owner, const std::vector<int>& survivalLabels,
                                         const std::vector<int>& detectionLabels,
                                         int leadingParameterCount)
    : controlSurvivals(survivalLabels, leadingParameterCount)
    , treatmentSurvivals(survivalLabels, controlSurvivals.nextIndex())
    , controlDetections(detectionLabels, treatmentSurvivals.nextIndex())
    , treatmentDetections(detectionLabels, controlDetections.nextIndex())
    , controlLambda(treatmentDetections.nextIndex())
{
    requireLength(owner, detectionLabels.size(), static_cast<int>(survivalLabels.size()) + 1,
                  "detection labels");
    requireLabels(owner, "survival label", survivalLabels);
    requireLabels(owner, "detection label", detectionLabels);
}

void PairedReleaseLayout::checkCase(const char* owner,
                                    const std::vector<double>& removalProportions,
                                    const std::vector<double>& survivalValues,
                                    const std::vector<double>& detectionValues, double lambda,
                                    int controlRelease, int treatmentRelease) const
{
    requireLength(owner, removalProportions.size(), downstreamReachCount() + 1,
                  "removal proportions");
    requireLength(owner, survivalValues.size(), controlSurvivals.createdCount(), "survival values");
    requireLength(owner, detectionValues.size(), controlDetections.createdCount(),
                  "detection values");

    requireRemovalProportions(owner, removalProportions);
    requireReleaseSize(owner, "control release size", controlRelease);
    requireReleaseSize(owner, "treatment release size", treatmentRelease);
    requireProbabilities(owner, "survival value", survivalValues);
    requireProbabilities(owner, "detection value", detectionValues);
    requireProbability(owner, "lambda", lambda);
}

void PairedReleaseLayout::checkFirstReach(const char* owner, double sc, double st)
{
    requireProbability(owner, "Sc", sc);
    requireInDomain(owner, "St", st, st >= 0.0, "a survival ratio must not be negative");
    requireProbability(owner, "Sc * St", sc * st);
}

void PairedReleaseLayout::writeGroupParameters(std::vector<double>& parametersOut,
                                               const std::vector<double>& survivalValues,
                                               const std::vector<double>& detectionValues,
                                               double lambda) const
{
    const auto at = [&parametersOut](int index) {
        return parametersOut.begin() + static_cast<std::ptrdiff_t>(index);
    };
    for (const ParameterMap* map : {&controlSurvivals, &treatmentSurvivals})
        std::copy(survivalValues.begin(), survivalValues.end(), at(map->firstIndex()));
    for (const ParameterMap* map : {&controlDetections, &treatmentDetections})
        std::copy(detectionValues.begin(), detectionValues.end(), at(map->firstIndex()));
    parametersOut[static_cast<std::size_t>(controlLambda)] = lambda;
    parametersOut[static_cast<std::size_t>(treatmentLambdaIndex())] = lambda;
}
