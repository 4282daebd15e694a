#include "studies/common/PowerReport.h"

#include "framework/style/RynStyle.h"

#include <QTextCursor>

namespace PowerReport {

QStringList testedQuantities(const PrecisionTable& precision, const EffectTest& test)
{
    QStringList tested;
    for (const QString& name : precision.names) {
        if (test.hasNullValue(name))
            tested << name;
    }
    return tested;
}

QList<ReportPiece> pieces(const ryn::RynStyle& style, const PrecisionTable& precision,
                          const EffectTest& test)
{
    const QStringList tested = testedQuantities(precision, test);
    if (tested.isEmpty())
        return {};
    QList<int> columns;
    for (const QString& name : tested)
        columns << precision.names.indexOf(name);
    const bool ranged = !precision.xName.isEmpty();
    const int first = ranged ? 1 : 0;

    QList<ReportPiece> pieces;
    pieces << [&style, test](QTextCursor& cursor) {
        cursor.insertBlock();
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Power (%1):").arg(test.describe()), style.heading2Format);
        cursor.insertBlock();
    };
    ReportTableShape shape;
    shape.rows = precision.pointCount() + 1;
    shape.columns = tested.size() + first;
    shape.headerRow = true;
    shape.keyColumn = ranged;
    const CellText text = [precision, test, tested, columns, first](int row, int column) {
        if (row == 0) {
            if (column < first)
                return precision.xName;
            const QString& name = tested[column - first];
            return QStringLiteral("%1 (null %2)")
                .arg(name, QString::number(test.nullValueOf(name), 'g', 6));
        }
        const int i = row - 1;
        if (column < first)
            return QString::number(precision.x[i], 'g', 6);
        const int q = columns[column - first];
        const double power = test.powerOf(tested[column - first], precision.estimates(i, q),
                                          precision.variances(i, q));
        return QString::number(power, 'f', 4);
    };
    pieces << reportTablePieces(style, shape, text);
    return pieces;
}

} // namespace PowerReport
