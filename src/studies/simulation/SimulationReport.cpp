#include "studies/simulation/SimulationReport.h"

#include "framework/style/RynStyle.h"
#include "studies/common/ReportTables.h"
#include "studies/simulation/DesignSimulation.h"
#include "studies/simulation/SimulationPower.h"

#include <QTextCursor>
#include <QTextTable>

#include <cmath>

namespace {

// Figures at four significant digits, their Monte Carlo errors at two: more
// would claim a precision the simulation does not have.
QString number(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', 4) : QStringLiteral("-");
}

QString withError(const MonteCarloFigure& figure, const QString& value)
{
    if (!std::isfinite(figure.monteCarloError))
        return value;
    return value + QStringLiteral(" (") + QString::number(figure.monteCarloError, 'g', 2) +
           QLatin1Char(')');
}

QString figureText(const MonteCarloFigure& figure)
{
    return withError(figure, number(figure.value));
}

QString ratioText(const MonteCarloFigure& ratio)
{
    if (!std::isfinite(ratio.value))
        return QStringLiteral("-");
    return withError(ratio, QString::number(ratio.value, 'f', 3));
}

QString powerText(double power)
{
    return std::isfinite(power) ? QString::number(power, 'f', 3) : QStringLiteral("-");
}

QString coverageText(const MonteCarloFigure& coverage)
{
    if (!std::isfinite(coverage.value))
        return QStringLiteral("-");
    MonteCarloFigure percent = {100.0 * coverage.value, 100.0 * coverage.monteCarloError};
    return withError(percent, QString::number(percent.value, 'f', 1) + QLatin1Char('%'));
}

} // namespace

SimulationReport::SimulationReport(const ryn::RynStyle& style, const QString& designTitle,
                                   const SimulationCheck& check)
    : style(style)
    , designTitle(designTitle)
    , check(check)
{}

const QStringList& SimulationReport::columnHeads()
{
    static const QStringList heads = {
        QStringLiteral("Quantity"), QStringLiteral("True Value"),   QStringLiteral("Mean"),
        QStringLiteral("Bias"),     QStringLiteral("Empirical SD"), QStringLiteral("Predicted SE"),
        QStringLiteral("SD / SE"),  QStringLiteral("90% Coverage"), QStringLiteral("95% Coverage"),
    };
    return heads;
}

QStringList SimulationReport::rowCells(const SimulationCheck& check, int q)
{
    const ParameterSummary& p = check.summary.parameters[static_cast<std::size_t>(q)];
    return {check.quantities[q],  number(p.trueValue),        figureText(p.meanEstimate),
            figureText(p.bias),   figureText(p.empiricalSd),  number(p.predictedStandardError),
            ratioText(p.sdRatio), coverageText(p.coverage90), coverageText(p.coverage95)};
}

void SimulationReport::write(QTextCursor& cursor) const
{
    cursor.beginEditBlock();
    insertReportTitle(cursor, style, designTitle + QStringLiteral(" Simulation Check"));
    cursor.insertBlock();
    cursor.insertBlock();
    writeRun(cursor);
    cursor.insertBlock();
    writeFigures(cursor);
    cursor.insertBlock();
    writeVerdicts(cursor);
    if (effectTest)
        writePower(cursor);
    cursor.movePosition(QTextCursor::End);
    cursor.endEditBlock();
}

void SimulationReport::writeRun(QTextCursor& cursor) const
{
    const SimulationSummary& summary = check.summary;
    const QString point =
        check.rangeName.isEmpty()
            ? QStringLiteral("the design's inputs")
            : QStringLiteral("%1 = %2").arg(check.rangeName, QString::number(check.x, 'g', 10));
    cursor.insertText(QStringLiteral("Simulation:"), style.heading2Format);
    cursor.insertBlock();
    insertInputTable(
        cursor, style,
        {
            {QStringLiteral("Checked at:"), point},
            {QStringLiteral("Data sets:"), QString::number(summary.dataSetCount)},
            {QStringLiteral("Seed:"), QString::number(check.seed)},
            {QStringLiteral("Failed fits:"), QString::number(summary.failedFits)},
            {QStringLiteral("Fits on a boundary:"), QString::number(summary.boundaryFits)},
            {QStringLiteral("Fits without standard errors:"),
             QString::number(summary.fitsWithoutStandardErrors)},
        },
        true);
    cursor.movePosition(QTextCursor::End);
}

void SimulationReport::writeFigures(QTextCursor& cursor) const
{
    cursor.insertText(QStringLiteral("Estimates over the data sets:"), style.heading2Format);
    cursor.insertBlock();
    const QStringList& heads = columnHeads();
    const int rows = check.quantities.size() + 1;
    QTextTable* table = insertReportTable(cursor, style, rows, heads.size(), true, true);
    for (int c = 0; c < heads.size(); ++c)
        writeCell(table, 0, c, heads[c], style.headerCellFormat);
    for (int q = 0; q < check.quantities.size(); ++q) {
        const QStringList cells = rowCells(check, q);
        for (int c = 0; c < cells.size(); ++c)
            writeCell(table, q + 1, c, cells[c],
                      c == 0 ? style.headerCellFormat : style.cellFormat);
    }
    moveCursorAfter(cursor, table);
    cursor.insertText(QStringLiteral("Monte Carlo standard errors in parentheses. A coverage is "
                                     "the share of the fits with standard errors whose interval, "
                                     "estimate ± z × its own standard error, holds the true value "
                                     "(fits without standard errors are not counted); its Monte "
                                     "Carlo error is that of a share at the nominal 90% or 95%."),
                      style.italicTextFormat);
    cursor.insertBlock();
}

void SimulationReport::writeVerdicts(QTextCursor& cursor) const
{
    cursor.insertText(QStringLiteral("Verdict:"), style.heading2Format);
    for (int q = 0; q < check.verdicts.size(); ++q) {
        cursor.insertBlock();
        cursor.insertText(check.quantities[q] + QStringLiteral(": "), style.boldTextFormat);
        cursor.insertText(check.verdicts[q], style.textFormat);
    }
}

void SimulationReport::writePower(QTextCursor& cursor) const
{
    cursor.insertBlock();
    cursor.insertBlock();
    // A test that cannot be made (a level that is no number, say) would
    // reject nothing: it is named instead of given a power.
    const QString refusal = effectTest->error();
    if (!refusal.isNull()) {
        cursor.insertText(QStringLiteral("Power:"), style.heading2Format);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("The test of the effect cannot be made: %1.").arg(refusal),
                          style.textFormat);
        return;
    }
    cursor.insertText(QStringLiteral("Power (%1):").arg(effectTest->describe()),
                      style.heading2Format);
    cursor.insertBlock();
    const QList<SimulatedPower> powers = simulatedPower(check, *effectTest);
    if (powers.isEmpty()) {
        cursor.insertText(QStringLiteral("No quantity of this design has a null value to test."),
                          style.textFormat);
        return;
    }
    const QStringList heads = {QStringLiteral("Quantity"), QStringLiteral("Null Value"),
                               QStringLiteral("Predicted Power"), QStringLiteral("Empirical Power"),
                               QStringLiteral("Fits Tested")};
    QTextTable* table =
        insertReportTable(cursor, style, powers.size() + 1, heads.size(), true, true);
    for (int c = 0; c < heads.size(); ++c)
        writeCell(table, 0, c, heads[c], style.headerCellFormat);
    for (int row = 1; row <= powers.size(); ++row) {
        const SimulatedPower& power = powers[row - 1];
        const QStringList cells = {power.quantity, QString::number(power.nullValue, 'g', 6),
                                   powerText(power.predicted),
                                   withError(power.empirical, powerText(power.empirical.value)),
                                   QString::number(power.tests)};
        for (int c = 0; c < cells.size(); ++c)
            writeCell(table, row, c, cells[c], c == 0 ? style.headerCellFormat : style.cellFormat);
    }
    moveCursorAfter(cursor, table);
    cursor.insertText(QStringLiteral("The predicted power is that of the Wald test at the true "
                                     "value and the predicted SE. The empirical power is the "
                                     "share of the fits with standard errors whose own test "
                                     "rejects the null value, their estimate lying more than z "
                                     "of their own SEs from it (on the side of the effect, for "
                                     "a one-sided test); its Monte Carlo error is √(p(1 − p)/n) "
                                     "over the n fits tested."),
                      style.italicTextFormat);
}
