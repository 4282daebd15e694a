#pragma once

#include "forms/core/RangeArithmetic.h"

#include <QString>
#include <QVector>

class StudyInputs;

// The transport design as a run computes it: the value of every input at
// every point, taken from the inputs on the GUI thread before the run starts.
// The run, the report and the plot read only this record, never the form.
struct TIRRParameters
{
    // The ranged input's value at each point (0 without a range).
    QVector<double> x;
    // Release sizes of the control and the treatment group; rt equals rc at
    // every point while the sizes are linked.
    QVector<int> rc;
    QVector<int> rt;
    // Detection probability P and control survival Sc: filled only when θ is
    // derived from them, empty when θ was given.
    QVector<double> p;
    QVector<double> sc;
    // θ = Sc·P, the probability that a control fish is recaptured.
    QVector<double> theta;
    // The treatment effect T, the ratio of the groups' return rates.
    QVector<double> t;

    // The ranged input's name (empty without a range) and its range.
    QString rangeName;
    RangeArithmetic range;
    // θ was given directly (else as Sc and P), and Rt followed Rc.
    bool useTheta = false;
    bool linked = false;

    int pointCount() const { return x.size(); }
};

// Reads the record from the design's inputs. Throws the QString "Out of range
// value in <name>: <v>" of the first value that cannot be read, or that of
// degenerateVarianceText for inputs under which the variance of T would be 0
// or not finite.
TIRRParameters takeTIRRRecord(const StudyInputs& inputs);
