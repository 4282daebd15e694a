#include "engine/PairedReleaseBaseLikelihoodFunc.h"

#include <algorithm>

PairedReleaseBaseLikelihoodFunc::PairedReleaseBaseLikelihoodFunc(
    const std::vector<int>& survivalLabels, const std::vector<int>& detectionLabels,
    int leadingParameterCount)
    : leading(leadingParameterCount)
    , controlSurvivals(survivalLabels, leadingParameterCount)
    , treatmentSurvivals(survivalLabels, controlSurvivals.nextIndex())
    , controlDetections(detectionLabels, treatmentSurvivals.nextIndex())
    , treatmentDetections(detectionLabels, controlDetections.nextIndex())
    , controlLambda(treatmentDetections.nextIndex())
    , parameters(controlLambda + 2)
{
    requireLength("PairedReleaseLikelihoodFunc", detectionLabels.size(),
                  static_cast<int>(survivalLabels.size()) + 1, "detection labels");
}

void PairedReleaseBaseLikelihoodFunc::setGroups(const char* owner,
                                                const std::vector<double>& removalProportions,
                                                std::vector<double>& parametersOut,
                                                int controlRelease, int treatmentRelease,
                                                const std::vector<double>& survivalValues,
                                                const std::vector<double>& detectionValues,
                                                double lambda)
{
    requireLength(owner, removalProportions.size(), chiSize() - 1, "removal proportions");
    requireLength(owner, survivalValues.size(), controlSurvivals.createdCount(), "survival values");
    requireLength(owner, detectionValues.size(), controlDetections.createdCount(),
                  "detection values");
    requireLength(owner, parametersOut.size(), parameters, "parameters");

    clear();
    removals = removalProportions;
    const auto at = [&parametersOut](int index) {
        return parametersOut.begin() + static_cast<std::ptrdiff_t>(index);
    };
    for (const ParameterMap* map : {&controlSurvivals, &treatmentSurvivals})
        std::copy(survivalValues.begin(), survivalValues.end(), at(map->firstIndex()));
    for (const ParameterMap* map : {&controlDetections, &treatmentDetections})
        std::copy(detectionValues.begin(), detectionValues.end(), at(map->firstIndex()));
    parametersOut[static_cast<std::size_t>(controlLambda)] = lambda;
    parametersOut[static_cast<std::size_t>(treatmentLambdaIndex())] = lambda;

    buildChi(controlChis, chiSize(), controlSurvivals, controlDetections, controlLambda);
    buildChi(treatmentChis, chiSize(), treatmentSurvivals, treatmentDetections,
             treatmentLambdaIndex());

    std::vector<int> releases(static_cast<std::size_t>(chiSize()), 0);
    releases[0] = controlRelease;
    addCells(releases, controlChis, controlSurvivals, controlDetections, controlLambda,
             parametersOut);
    releases[0] = treatmentRelease;
    addCells(releases, treatmentChis, treatmentSurvivals, treatmentDetections,
             treatmentLambdaIndex(), parametersOut);
}

double PairedReleaseBaseLikelihoodFunc::removalProportion(int reach) const
{
    return removals[static_cast<std::size_t>(reach)];
}

void PairedReleaseBaseLikelihoodFunc::clear()
{
    ReleaseRecaptureLikelihoodFunc::clear();
    controlChis.clear();
    treatmentChis.clear();
}
