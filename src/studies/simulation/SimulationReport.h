#pragma once

#include "studies/common/EffectTest.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextCursor;
struct SimulationCheck;

namespace ryn {
class RynStyle;
}

// The report of a check by simulation, in the style of the designs' reports:
// the point and the run (data sets, seed, failed and boundary fits), a table
// with one row per quantity (true value, mean estimate, bias, empirical SD,
// predicted SE, their ratio and the 90% and 95% coverages, each figure with
// its Monte Carlo standard error in parentheses) and the verdicts; with a
// test of an effect, a "Power" table after them: each quantity's predicted
// power beside the share of the fits whose test rejects its null value. The
// check dialog and quorvel-calc write it without any window.
class SimulationReport
{
public:
    SimulationReport(const ryn::RynStyle& style, const QString& designTitle,
                     const SimulationCheck& check);

    // Adds the power of test's quantities (simulatedPower) to the report; a
    // design whose quantities have no null value, or a test that cannot be
    // made, gets a line saying so.
    void setPower(const EffectTest& test) { effectTest = test; }
    void write(QTextCursor& cursor) const;

private:
    static const QStringList& columnHeads();
    // Row q of the table, its cells in the order of columnHeads().
    static QStringList rowCells(const SimulationCheck& check, int q);
    void writeRun(QTextCursor& cursor) const;
    void writeFigures(QTextCursor& cursor) const;
    void writeVerdicts(QTextCursor& cursor) const;
    void writePower(QTextCursor& cursor) const;

    const ryn::RynStyle& style;
    QString designTitle;
    const SimulationCheck& check;
    std::optional<EffectTest> effectTest;
};
