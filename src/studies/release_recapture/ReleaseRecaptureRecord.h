#pragma once

#include "forms/core/RangeArithmetic.h"
#include "forms/core/StudyInputs.h"
#include "studies/design/Design.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// How a single- or paired-release design's results are to be shown: the
// replicated releases and natural variability of the run-mode settings, and
// whether the single release adds its total survival. Taken from the
// design's settings when a run starts.
struct ReleaseRecaptureOptions
{
    bool replicatesEnabled = false;
    int replicateCount = 1;
    // The between-replicate variance σ², and its text as stored.
    double naturalVariance = 0.0;
    QString naturalVarianceText;
    // The parameter name replicates and variability apply to.
    QString replicateParameter;
    // "CompositeS", the total survival of a single release, is shown.
    bool totalSurvival = false;

    // Replicates change what is shown only when more than one is asked for.
    bool replicatesInUse() const { return replicatesEnabled && replicateCount > 1; }

    // The options of a design; its natural variance text reads as a number
    // as typed ("abc" counts as 0).
    static ReleaseRecaptureOptions of(const DesignOptions& options);

    // While replicates are in use, throws the QString refusal of options that
    // cannot be applied: "Natural variability must be a finite number of at
    // least 0", or "Replicate parameter must be one of <quantities>: "<name>"
    // is not" when the parameter is not among the design's quantities.
    void check(const QStringList& quantities) const;
};

// What the run, the report and the plot of a single- or paired-release run
// share besides every point's values: the range, the points' x values and the
// options. The report and the plot read it, never the live form, which the
// user may have edited since.
struct ReleaseRecaptureRecord
{
    // The ranged input's name when the run started; null without a range.
    QString rangeName;
    RangeArithmetic range;
    // The result columns (display names) that the ranged input fills, see
    // ReleaseRecaptureColumns.
    QStringList rangedColumns;
    // The ranged input's value at every point (0 without a range).
    QList<double> x;
    ReleaseRecaptureOptions options;
    // The removal proportions D1, D2, … of the reaches at the first point,
    // which the report states.
    std::vector<double> removals;

    bool hasRange() const { return !rangeName.isNull(); }
    std::vector<double> xValues() const { return {x.begin(), x.end()}; }

    // Takes the range and x values of inputs; columnsOf gives rangedColumns.
    void takeRange(const StudyInputs& inputs, QStringList (*columnsOf)(const QString& fieldName));
};
