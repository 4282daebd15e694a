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

QString cell(const PrecisionTable& precision, const EffectTest& test, int point,
             const QString& quantity)
{
    const int q = precision.names.indexOf(quantity);
    if (q < 0 || point < 0 || point >= precision.pointCount() || !test.hasNullValue(quantity))
        return QString();
    return QString::number(
        test.powerOf(quantity, precision.estimates(point, q), precision.variances(point, q)), 'f',
        4);
}

QList<ReportPiece> notePieces(const ryn::RynStyle& style, const PrecisionTable& precision,
                              const EffectTest& test)
{
    const QStringList tested = testedQuantities(precision, test);
    if (tested.isEmpty())
        return {};
    // Only the null values of the quantities this report shows.
    QStringList against;
    for (const QString& name : tested)
        against << QStringLiteral("%1 against %2")
                       .arg(name, QString::number(test.nullValueOf(name), 'g', 6));
    const QString note =
        QStringLiteral("Power: %1 of %2.").arg(test.describe(), against.join(QStringLiteral(", ")));
    return {[&style, note](QTextCursor& cursor) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertBlock(style.paragraphFormat);
        cursor.insertText(note, style.textFormat);
    }};
}

QuantityPower::QuantityPower(const std::optional<EffectTest>& test,
                             const std::function<PrecisionTable()>& precision)
    : test(test)
{
    if (test)
        this->precision = precision();
}

QString QuantityPower::at(int point) const
{
    if (!test || precision.names.isEmpty())
        return QString();
    return cell(precision, *test, point, precision.names.first());
}

void QuantityPower::writeNote(QTextCursor& cursor, const ryn::RynStyle& style) const
{
    if (test)
        writeReportPieces(cursor, notePieces(style, precision, *test));
}

} // namespace PowerReport
