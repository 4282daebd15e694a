#pragma once

#include "forms/core/RangeArithmetic.h"

#include <QString>
#include <QVector>

class StudyInputs;

// The balloon-tag design as a run computes it: the value of every input at
// every point, taken from the inputs on the GUI thread before the run starts.
// The run, the report and the plot read only this record, never the form,
// which the user may edit while the run goes on.
struct BTPSParameters
{
    // The ranged input's value at each point (0 without a range).
    QVector<double> x;
    // Release sizes of the treatment and the control group; rt equals rc at
    // every point while the sizes are linked.
    QVector<int> rt;
    QVector<int> rc;
    // Control survival Sc and passage survival T = St/Sc.
    QVector<double> sc;
    QVector<double> t;
    // Probabilities of recapturing a fish alive and dead. Pd enters no
    // formula; the report shows it.
    QVector<double> pa;
    QVector<double> pd;

    // The ranged input's name (empty without a range) and its range.
    QString rangeName;
    RangeArithmetic range;
    // St was given (else T), and Rt followed Rc.
    bool useSt = true;
    bool linked = false;

    int pointCount() const { return x.size(); }
};

// Reads the record from the design's inputs. Throws the QString "Out of range
// value in <name>: <v>" of the first value that cannot be read, or that of
// degenerateVarianceText for inputs under which the variance of T would be 0
// or not finite.
BTPSParameters takeBTPSRecord(const StudyInputs& inputs);
