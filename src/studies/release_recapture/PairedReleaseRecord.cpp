#include "studies/release_recapture/PairedReleaseRecord.h"

#include "engine/likelihoods/PairedReleaseLayout.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "studies/release_recapture/PairedReleaseResults.h"
#include "studies/release_recapture/ReleaseRecaptureColumns.h"

using namespace PairedReleaseInputs;

void takePairedReleaseLabels(const StudyInputs& inputs, std::vector<int>& survivalLabels,
                             std::vector<int>& detectionLabels)
{
    const int panels = panelCount(inputs.reaches);
    const QVector<int> survival =
        ReleaseRecaptureInputs::owners(inputs, ReleaseRecaptureInputs::survivalOwner, panels);
    const QVector<int> capture =
        ReleaseRecaptureInputs::owners(inputs, ReleaseRecaptureInputs::captureOwner, panels);
    survivalLabels.assign(survival.begin(), survival.end());
    detectionLabels = {0};
    for (int owner : capture)
        detectionLabels.push_back(owner + 1);
}

PairedReleaseRecord takePairedReleaseRecord(const StudyInputs& inputs,
                                            const ReleaseRecaptureOptions& options)
{
    PairedReleaseRecord record;
    record.takeRange(inputs, ReleaseRecaptureColumns::pairedRelease);
    record.options = options;
    options.check(pairedReleaseParameterNames(inputs));
    record.linkReleases = inputs.switches.value(linkReleases, false);
    takePairedReleaseLabels(inputs, record.survivalLabels, record.detectionLabels);

    const int panels = static_cast<int>(record.survivalLabels.size());
    const QString controlKey = record.linkReleases ? treatmentReleaseKey : controlReleaseKey;
    for (int i = 0; i < record.x.size(); ++i) {
        PairedReleasePoint point;
        point.treatmentRelease = inputs.intValueAt(treatmentReleaseKey, i);
        point.controlRelease = inputs.intValueAt(controlKey, i);
        point.st = inputs.valueAt(treatmentSurvivalKey, i);
        point.sc = inputs.valueAt(controlSurvivalKey, i);
        point.removals.push_back(inputs.valueAt(firstRemovalKey, i));
        point.detectionValues.push_back(inputs.valueAt(firstCaptureKey, i));
        for (int k = 0; k < panels; ++k) {
            point.removals.push_back(inputs.valueAt(removalKey(k), i));
            if (record.survivalLabels[static_cast<std::size_t>(k)] == k)
                point.survivalValues.push_back(inputs.valueAt(survivalKey(k), i));
            if (record.detectionLabels[static_cast<std::size_t>(k) + 1] == k + 1)
                point.detectionValues.push_back(inputs.valueAt(captureKey(k), i));
        }
        point.lambda = inputs.valueAt(lambdaKey, i);
        record.points.push_back(std::move(point));
    }
    if (!record.points.empty())
        record.removals = record.points.front().removals;
    return record;
}

QStringList pairedReleaseParameterNames(const StudyInputs& inputs)
{
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    takePairedReleaseLabels(inputs, survivalLabels, detectionLabels);
    const PairedReleaseLayout layout("PairedReleaseResults", survivalLabels, detectionLabels,
                                     PairedReleaseLayout::firstReachParameterCount);
    return PairedReleaseResults(layout).parameterNames();
}
