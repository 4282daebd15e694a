#pragma once

#include "numerics/Matrix.h"

#include <QString>
#include <QStringList>

// Replicated releases and natural (between-replicate) variability applied to
// one parameter's column of a variance table (column 0 the ranged value,
// column c + 1 the variance of names[c]). The estimate averaged over r
// replicates, each with sampling variance V and between-replicate variance
// σ², has variance (σ² + V) / r.
//
// r is replicateCount and σ² naturalVariance, except that when the ranged
// input is "Replicates" each row takes its own r, and when it is
// "Variability" its own σ², from column 0. Rows whose r is not positive are
// left as they are. Only the chosen parameter's column changes; the return
// value is that column, or −1 when parameterName (compared exactly) is not
// among names, in which case the table is unchanged.
int applyReplicateAdjustment(Matrix& varianceTable, const QStringList& names,
                             const QString& parameterName, int replicateCount,
                             double naturalVariance, const QString& rangedInputName);
