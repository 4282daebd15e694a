#pragma once

#include "studies/common/EffectTest.h"
#include "studies/common/PrecisionTable.h"
#include "studies/common/ReportTables.h"

#include <QList>
#include <QStringList>

namespace ryn {
class RynStyle;
}

// The power section every design's report ends with when one of its
// quantities has a null value: "Power (two-sided test at alpha = 0.05):" and a
// table of the power of each such quantity ("St (null 1)") at every point,
// beside the ranged value. The window appends it to the report of a run, and
// quorvel-calc --power to the report it prints.
namespace PowerReport {

// The quantities of precision whose test has a null value, in its order.
QStringList testedQuantities(const PrecisionTable& precision, const EffectTest& test);

// The pieces that write the section at the cursor; none when no quantity has a
// null value.
QList<ReportPiece> pieces(const ryn::RynStyle& style, const PrecisionTable& precision,
                          const EffectTest& test);

} // namespace PowerReport
