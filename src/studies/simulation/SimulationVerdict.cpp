#include "studies/simulation/SimulationVerdict.h"

#include <QStringList>

#include <cmath>

namespace {

bool differs(const MonteCarloFigure& figure, double expected)
{
    return std::fabs(figure.value - expected) > verdictTolerance * figure.monteCarloError;
}

QString direction(bool optimistic)
{
    return optimistic ? QStringLiteral("optimistic") : QStringLiteral("pessimistic");
}

QString percent(double share)
{
    return QString::number(100.0 * share, 'f', share > 0.995 || share < 0.005 ? 1 : 0) +
           QLatin1Char('%');
}

QString coverageText(int level, const MonteCarloFigure& coverage)
{
    const double nominal = level / 100.0;
    return QStringLiteral("%1% intervals cover %2: the predicted half-width is %3 at this "
                          "release size")
        .arg(level)
        .arg(percent(coverage.value), direction(coverage.value < nominal));
}

} // namespace

QString precisionVerdict(const ParameterSummary& quantity)
{
    if (!std::isfinite(quantity.predictedStandardError))
        return QStringLiteral("no predicted precision to compare: the design's information "
                              "cannot be inverted");
    if (std::isnan(quantity.sdRatio.value) || std::isnan(quantity.coverage95.value))
        return QStringLiteral("too few fits to judge the predicted precision");

    QStringList differences;
    const MonteCarloFigure& ratio = quantity.sdRatio;
    if (differs(ratio, 1.0))
        differences << QStringLiteral("the estimates spread %1 times the predicted SE: it is %2 "
                                      "at this release size")
                           .arg(QString::number(ratio.value, 'f', 2), direction(ratio.value > 1.0));
    if (differs(quantity.coverage95, 0.95))
        differences << coverageText(95, quantity.coverage95);
    else if (differs(quantity.coverage90, 0.90))
        differences << coverageText(90, quantity.coverage90);
    if (differences.isEmpty())
        return QStringLiteral("the predicted precision holds");
    return differences.join(QStringLiteral("; "));
}
