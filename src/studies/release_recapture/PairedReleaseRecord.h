#pragma once

#include "forms/core/StudyInputs.h"
#include "studies/release_recapture/ReleaseRecaptureRecord.h"

#include <QStringList>

#include <vector>

// One point of a paired-release run: the arguments of the design's setCase
// (PairedReleaseInformation).
struct PairedReleasePoint
{
    double st = 0.0;
    double sc = 0.0;
    std::vector<double> removals;
    int controlRelease = 0;
    int treatmentRelease = 0;
    // One value per distinct downstream survival and detection label, in
    // label order.
    std::vector<double> survivalValues;
    std::vector<double> detectionValues;
    double lambda = 0.0;
};

// Everything a paired-release run computes from, taken from the form's inputs
// on the GUI thread: the labels and every point's values. Survival label k is
// the reach panel that owns panel k's survival; detection label 0 is the first
// detection site (P1), and label p + 1 the reach panel p that owns a panel's
// capture parameter.
struct PairedReleaseRecord : ReleaseRecaptureRecord
{
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    // RC followed RT.
    bool linkReleases = false;
    std::vector<PairedReleasePoint> points;
};

void takePairedReleaseLabels(const StudyInputs& inputs, std::vector<int>& survivalLabels,
                             std::vector<int>& detectionLabels);

// Reads every point of inputs (checked by PairedReleaseInputs::firstIllegal);
// a value out of its field's bounds throws the field's QString "Out of range
// value in ...". While RC follows RT both release sizes are RT's. Values of
// shared fields are not read: their owner's are. Options that cannot be
// applied throw their refusal (ReleaseRecaptureOptions::check).
PairedReleaseRecord takePairedReleaseRecord(const StudyInputs& inputs,
                                            const ReleaseRecaptureOptions& options);

// The names the results of inputs will show for their parameters, before any
// run.
QStringList pairedReleaseParameterNames(const StudyInputs& inputs);
