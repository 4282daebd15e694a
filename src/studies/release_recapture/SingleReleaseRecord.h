#pragma once

#include "forms/core/StudyInputs.h"
#include "studies/release_recapture/ReleaseRecaptureRecord.h"

#include <QStringList>

#include <vector>

// One point of a single-release run: the arguments of the design's setCase
// (SingleReleaseInformation).
struct SingleReleasePoint
{
    std::vector<double> removals;
    std::vector<int> releaseSizes;
    // One value per distinct survival and detection label, in label order.
    std::vector<double> survivalValues;
    std::vector<double> detectionValues;
    double lambda = 0.0;
};

// Everything a single-release run computes from, taken from the form's inputs
// on the GUI thread: the labels (the panel owning each reach's survival and
// capture parameter) and every point's values.
struct SingleReleaseRecord : ReleaseRecaptureRecord
{
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    std::vector<SingleReleasePoint> points;
};

// The labels of inputs: for every reach panel the panel that owns its
// survival, and the one that owns its capture parameter.
void takeSingleReleaseLabels(const StudyInputs& inputs, std::vector<int>& survivalLabels,
                             std::vector<int>& detectionLabels);

// Reads every point of inputs (checked by SingleReleaseInputs::firstIllegal);
// a value out of its field's bounds throws the field's QString "Out of range
// value in ...". Values of shared fields are not read: their owner's are.
// Options that cannot be applied throw their refusal
// (ReleaseRecaptureOptions::check; CompositeS counts while it is shown).
SingleReleaseRecord takeSingleReleaseRecord(const StudyInputs& inputs,
                                            const ReleaseRecaptureOptions& options);

// The names the results of inputs will show for their parameters (without
// derived quantities), before any run.
QStringList singleReleaseParameterNames(const StudyInputs& inputs);
