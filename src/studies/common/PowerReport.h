#pragma once

#include "studies/common/EffectTest.h"
#include "studies/common/PrecisionTable.h"
#include "studies/common/ReportTables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextCursor;

namespace ryn {
class RynStyle;
}

// The power of the test of each quantity with a null value, as every
// design's report shows it: a "Power" row or column in the tables of the
// quantity's precision, and one line under them that says which test it is
// ("Power: two-sided test at alpha = 0.05 of St against 1."). The window's
// reports show it for the test of the design's Effect Test panel, and
// quorvel-calc's with --power.
namespace PowerReport {

// The quantities of precision whose test has a null value, in its order.
QStringList testedQuantities(const PrecisionTable& precision, const EffectTest& test);

// The power of quantity at point, with four decimals; empty when the
// quantity has no null value or the table does not hold it.
QString cell(const PrecisionTable& precision, const EffectTest& test, int point,
             const QString& quantity);

// The line that says which test the power is of, after a blank line; none
// when no quantity of precision has a null value.
QList<ReportPiece> notePieces(const ryn::RynStyle& style, const PrecisionTable& precision,
                              const EffectTest& test);

// The power of the one quantity a closed-form design's report shows, at
// each point: empty text without a test that gives the quantity a null value.
class QuantityPower
{
public:
    // precision is asked for only when there is a test; its first quantity
    // is the one shown.
    QuantityPower(const std::optional<EffectTest>& test,
                  const std::function<PrecisionTable()>& precision);

    bool shown() const { return !at(0).isEmpty(); }
    QString at(int point) const;
    // The line naming the test at the end of the document; nothing without
    // a test.
    void writeNote(QTextCursor& cursor, const ryn::RynStyle& style) const;

private:
    std::optional<EffectTest> test;
    PrecisionTable precision;
};

} // namespace PowerReport
