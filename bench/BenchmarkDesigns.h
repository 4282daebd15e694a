#pragma once

// The release-recapture inputs the benchmarks compute: every reach has
// parameters of its own, the slowest case, with survivals of 0.85 to 0.99
// that let enough fish reach the end of 98 reaches for every parameter to be
// estimable. The argument is the reach count n of the reaches dialog
// (single: n - 1 reach panels, paired: n - 1 downstream reaches).

#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"

#include <QString>

namespace bench {

// Reach k's value between low and high.
inline QString spread(int k, double low, double high)
{
    return QString::number(low + (high - low) * ((k * 7) % 11) / 10.0);
}

// R0 holds firstRelease, every later release site laterRelease.
inline StudyInputs singleReleaseInputs(int reaches, const QString& firstRelease,
                                       const QString& laterRelease)
{
    StudyInputs inputs = SingleReleaseInputs::blankInputs(reaches);
    inputs.field(SingleReleaseInputs::firstReleaseKey).text = firstRelease;
    for (int k = 0; k < SingleReleaseInputs::panelCount(reaches); ++k) {
        inputs.field(SingleReleaseInputs::survivalKey(k)).text = spread(k, 0.85, 0.99);
        inputs.field(SingleReleaseInputs::captureKey(k)).text = spread(k, 0.5, 0.9);
        inputs.field(SingleReleaseInputs::removalKey(k)).text = QStringLiteral("0.1");
        inputs.field(SingleReleaseInputs::releaseKey(k)).text = laterRelease;
    }
    inputs.field(SingleReleaseInputs::lambdaKey).text = QStringLiteral("0.6");
    return inputs;
}

// Rt holds treatmentRelease, Rc 1000.
inline StudyInputs pairedReleaseInputs(int reaches, const QString& treatmentRelease)
{
    StudyInputs inputs = PairedReleaseInputs::blankInputs(reaches);
    inputs.field(PairedReleaseInputs::treatmentReleaseKey).text = treatmentRelease;
    inputs.field(PairedReleaseInputs::controlReleaseKey).text = QStringLiteral("1000");
    inputs.field(PairedReleaseInputs::treatmentSurvivalKey).text = QStringLiteral("0.8");
    inputs.field(PairedReleaseInputs::controlSurvivalKey).text = QStringLiteral("0.9");
    inputs.field(PairedReleaseInputs::firstCaptureKey).text = QStringLiteral("0.7");
    inputs.field(PairedReleaseInputs::firstRemovalKey).text = QStringLiteral("0.1");
    for (int k = 0; k < PairedReleaseInputs::panelCount(reaches); ++k) {
        inputs.field(PairedReleaseInputs::survivalKey(k)).text = spread(k, 0.85, 0.99);
        inputs.field(PairedReleaseInputs::captureKey(k)).text = spread(k, 0.5, 0.9);
        inputs.field(PairedReleaseInputs::removalKey(k)).text = QStringLiteral("0.1");
    }
    inputs.field(PairedReleaseInputs::lambdaKey).text = QStringLiteral("0.6");
    return inputs;
}

} // namespace bench
