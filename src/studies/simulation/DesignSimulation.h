#pragma once

#include "engine/simulation/ReleaseSimulation.h"
#include "engine/simulation/SimulationSummary.h"
#include "studies/design/Design.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

// What a check of a design by simulation found at one point of its range:
// the design's quantities with their true values, every simulated data set's
// fit, the summary of the fits beside the predicted precision, and a verdict
// in plain words per quantity.
struct SimulationCheck
{
    // The point checked: its index, the ranged input's name (empty without a
    // range) and its value there.
    int point = 0;
    QString rangeName;
    double x = 0.0;
    std::uint64_t seed = 0;
    // The design's quantities in the order of its report, and their true
    // values; every fit and the predicted standard errors follow this order.
    QStringList quantities;
    std::vector<double> trueValues;
    SimulationResults results;
    // Empty when the run was canceled.
    SimulationSummary summary;
    QStringList verdicts;

    bool canceled() const { return results.canceled; }
    // The estimates of quantity q over the fits that converged.
    std::vector<double> estimatesOf(int q) const;
};

// Checks the predicted precision of a design by simulation: data sets are
// drawn at the true values of one point, as the design's model says, and
// fitted as the study would fit its data; how the estimates spread and how
// often the intervals of each fit hold the true value is set beside what the
// design's computation predicts. The single and paired releases draw fish by
// fish through every reach and fit by maximum likelihood (see
// simulateReleaseDesign); the balloon-tag and transport designs draw the
// binomial recaptures of their two groups and take the ratio of the returns;
// the virtual paired release draws its three releases, fits each as a single
// release and combines them into Sdam.
class DesignSimulation
{
public:
    // The design's record, read as its run reads it. The caller checks the
    // inputs first (the design's firstIllegal); a value that cannot be read
    // throws its QString ("Out of range value in ...", "Invalid input: ...").
    static std::unique_ptr<DesignSimulation> of(const Design& design);
    virtual ~DesignSimulation() = default;

    virtual int pointCount() const = 0;
    // The ranged input's name, empty without a range, and its value at point.
    virtual QString rangeName() const = 0;
    virtual double xAt(int point) const = 0;
    virtual QStringList quantityNames() const = 0;
    // The design's test of an effect (its options): the null values whose
    // power a check can set beside the share of fits that reject them.
    const EffectTest& effectTest() const { return effect; }

    // Simulates and fits settings.dataSetCount data sets at point (see
    // simulateDataSets for the threads, the streams, the cancel flag and the
    // progress) and summarizes them. Throws std::invalid_argument for a point
    // outside the record or true values the simulation cannot draw from, and
    // a QString for a point the design's own checks refuse.
    SimulationCheck check(int point, const SimulationSettings& settings) const;

protected:
    // The design at one point: its quantities' true values and predicted
    // standard errors (NaN where its information cannot be inverted), and
    // the draw and fit of one data set.
    struct Model
    {
        std::vector<double> trueValues;
        std::vector<double> predictedStandardErrors;
        DataSetFit fitDataSet;
    };
    virtual Model modelAt(int point) const = 0;

private:
    EffectTest effect;
};
