#include "studies/release_recapture/SingleReleaseRecord.h"

#include "engine/likelihoods/SingleReleaseLayout.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "studies/release_recapture/ReleaseRecaptureColumns.h"
#include "studies/release_recapture/SingleReleaseResults.h"

namespace {

using namespace SingleReleaseInputs;

// The value at point i of key(k) for every panel k that owns its parameter,
// in panel order: one per distinct label, in the labels' order.
std::vector<double> ownedValues(const StudyInputs& inputs, const std::vector<int>& labels,
                                QString (*key)(int), int i)
{
    std::vector<double> values;
    for (int k = 0; k < static_cast<int>(labels.size()); ++k)
        if (labels[static_cast<std::size_t>(k)] == k)
            values.push_back(inputs.valueAt(key(k), i));
    return values;
}

} // namespace

void takeSingleReleaseLabels(const StudyInputs& inputs, std::vector<int>& survivalLabels,
                             std::vector<int>& detectionLabels)
{
    const int panels = panelCount(inputs.reaches);
    const QVector<int> survival =
        ReleaseRecaptureInputs::owners(inputs, ReleaseRecaptureInputs::survivalOwner, panels);
    const QVector<int> capture =
        ReleaseRecaptureInputs::owners(inputs, ReleaseRecaptureInputs::captureOwner, panels);
    survivalLabels.assign(survival.begin(), survival.end());
    detectionLabels.assign(capture.begin(), capture.end());
}

SingleReleaseRecord takeSingleReleaseRecord(const StudyInputs& inputs,
                                            const ReleaseRecaptureOptions& options)
{
    SingleReleaseRecord record;
    record.takeRange(inputs, ReleaseRecaptureColumns::singleRelease);
    record.options = options;
    QStringList quantities = singleReleaseParameterNames(inputs);
    if (options.totalSurvival)
        quantities << QStringLiteral("CompositeS");
    options.check(quantities);
    takeSingleReleaseLabels(inputs, record.survivalLabels, record.detectionLabels);

    const int panels = static_cast<int>(record.survivalLabels.size());
    for (int i = 0; i < record.x.size(); ++i) {
        SingleReleasePoint point;
        point.releaseSizes.push_back(inputs.intValueAt(firstReleaseKey, i));
        for (int k = 0; k < panels; ++k) {
            point.removals.push_back(inputs.valueAt(removalKey(k), i));
            point.releaseSizes.push_back(inputs.intValueAt(releaseKey(k), i));
        }
        point.survivalValues = ownedValues(inputs, record.survivalLabels, survivalKey, i);
        point.detectionValues = ownedValues(inputs, record.detectionLabels, captureKey, i);
        point.lambda = inputs.valueAt(lambdaKey, i);
        record.points.push_back(std::move(point));
    }
    if (!record.points.empty())
        record.removals = record.points.front().removals;
    return record;
}

QStringList singleReleaseParameterNames(const StudyInputs& inputs)
{
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    takeSingleReleaseLabels(inputs, survivalLabels, detectionLabels);
    const SingleReleaseLayout layout("SingleReleaseResults", survivalLabels, detectionLabels);
    return SingleReleaseResults(layout, false).parameterNames();
}
