#pragma once

#include "forms/core/RangeArithmetic.h"

#include <QString>
#include <QVector>

class StudyInputs;

// The virtual paired-release design as a run computes it: the value of every
// input at every point, taken from the inputs on the GUI thread before the
// run starts. The run, the report and the plot read only this record.
struct VWPParameters
{
    // The ranged input's value at each point (0 without a range).
    QVector<double> x;
    // Survival through the dam, below the dam to site 1 (S'11) and from site 1
    // to site 2.
    QVector<double> sDam;
    QVector<double> sPrime11;
    QVector<double> s12;
    // Detection at sites 1 and 2, and survival to and detection at the final
    // site beyond site 2.
    QVector<double> p1;
    QVector<double> p2;
    QVector<double> lambda;
    // The three release sizes, in whole fish: r2 and r3 equal v1 while all
    // three are linked, r3 equals r2 while R2 and R3 are linked.
    QVector<int> v1;
    QVector<int> r2;
    QVector<int> r3;

    // The ranged input's name (empty without a range) and its range.
    QString rangeName;
    RangeArithmetic range;
    bool linkReleases = false;
    bool linkAllReleases = false;

    int pointCount() const { return x.size(); }
};

// Reads the record from the design's inputs, release sizes truncated to whole
// fish. Throws the QString "Out of range value in <name>: <v>" of the first
// value that cannot be read.
VWPParameters takeVWPRecord(const StudyInputs& inputs);

// Why point i cannot be computed: "Invalid input: " and the first failing
// check, in the order V1, R2, R3, SDam, SPrime11, S12, P1, P2, Lambda; empty
// when the point is valid.
QString vwpInputError(const VWPParameters& record, int i);
