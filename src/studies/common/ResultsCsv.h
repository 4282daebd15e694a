#pragma once

#include "studies/common/EffectTest.h"
#include "studies/common/PrecisionTable.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The precision of a run as comma-separated values, for a spreadsheet or a
// script: a header row, then one row per point with the ranged input's value
// and, for every quantity in the report's order, its estimate (the true value
// the design assumes), variance, standard error and the half-widths of the
// 90% and 95% confidence intervals. The window's export of its results and
// the command-line calculator write the same table. Numbers are written with
// the fewest digits that read back as the same double; without a range the
// first column is empty. The last column, "known", names the quantities
// known exactly at the point (variance 0, not estimated), separated by
// blanks; it is empty where none is.
namespace ResultsCsv {

// Header: the ranged input's name, then "<q> estimate", "<q> variance",
// "<q> SE", "<q> half 90%" and "<q> half 95%" for every quantity q. With a
// test, a quantity with a null value adds "<q> null" and "<q> power", the
// power of its test. "known" comes last.
QString table(const PrecisionTable& precision, const EffectTest* test = nullptr);

// Several runs in one table, each named by its design (a file name): the
// columns "design", "range" (the ranged input's name) and "value", then those
// of every quantity of any run, in the order they first appear, left empty in
// the rows of a run without that quantity. With tests, one per run, the
// columns of power of table() are added for the quantities that have a null
// value in any run; "known" comes last.
QString batch(const QList<QPair<QString, PrecisionTable>>& runs,
              const QList<EffectTest>& tests = {});

// A number as these tables write it, and one row of fields, each quoted
// where it needs to be, ended by a line break: for other tables of the same
// kind.
QString number(double value);
QString row(const QStringList& fields);

} // namespace ResultsCsv
