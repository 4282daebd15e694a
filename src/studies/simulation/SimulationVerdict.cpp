#include "studies/simulation/SimulationVerdict.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// A share of the data sets worth naming beside a verdict: failed fits and
// fits without standard errors beyond it are said; coverages are judged only
// while fits without standard errors stay below it.
constexpr double mattersShare = 0.05;
// Beyond this share of the converged fits on a bound nothing is judged: the
// estimates are cut off where the prediction assumes a smooth spread. Below
// it the share is named beside the verdict.
constexpr double mostlyBoundShare = 0.75;

bool differs(const MonteCarloFigure& figure, double expected)
{
    return std::fabs(figure.value - expected) > verdictTolerance * figure.monteCarloError;
}

// The spread's ratio to the predicted SE is judged by its error were the
// prediction to hold: the Monte Carlo error of a ratio r scales with r (it is
// that of the empirical SD), so at the predicted SD it is error / r; an SD
// that happens to come out small would otherwise bring a small error with it.
// Nor is it taken below that of the SD of n normal estimates,
// 1/sqrt(2(n - 1)): the fourth moment the error is estimated from is itself
// too noisy over a few dozen fits to vouch for a smaller one.
bool spreadDiffers(const MonteCarloFigure& ratio, int n)
{
    if (!(ratio.value > 0.0))
        return differs(ratio, 1.0);
    const double normal = n > 1 ? 1.0 / std::sqrt(2.0 * (n - 1)) : 0.0;
    return differs({ratio.value, std::max(normal, ratio.monteCarloError / ratio.value)}, 1.0);
}

// A coverage of n fits is a binomial count, whose normal approximation is
// poor for the few fits of a quick check near 95%: it differs when the
// chance of a count at least as far from the nominal share, on its side, is
// below the normal tail beyond verdictTolerance errors (0.135%).
bool coverageDiffers(const MonteCarloFigure& coverage, double nominal, int n)
{
    if (n <= 0)
        return differs(coverage, nominal);
    const double tail = 0.5 * std::erfc(verdictTolerance / std::sqrt(2.0));
    const int hits = static_cast<int>(std::lround(coverage.value * n));
    // P(X = k) for X ~ Binomial(n, nominal), from the log of its terms.
    const auto probability = [&](int k) {
        return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) +
                        k * std::log(nominal) + (n - k) * std::log1p(-nominal));
    };
    double below = 0.0, above = 0.0;
    for (int k = 0; k <= n; ++k) {
        const double pk = probability(k);
        below += k <= hits ? pk : 0.0;
        above += k >= hits ? pk : 0.0;
    }
    return std::min(below, above) < tail;
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

QString spreadText(const MonteCarloFigure& ratio)
{
    return QStringLiteral("the estimates spread %1 times the predicted SE")
        .arg(QString::number(ratio.value, 'f', 2));
}

} // namespace

QString precisionVerdict(const SimulationSummary& summary, int quantity)
{
    const ParameterSummary& p = summary.parameters[quantity];
    if (!std::isfinite(p.predictedStandardError))
        return QStringLiteral("no predicted precision to compare: the design's information "
                              "cannot be inverted");
    const int dataSets = std::max(1, summary.dataSetCount);
    const int converged = summary.dataSetCount - summary.failedFits;
    const double failedShare = double(summary.failedFits) / dataSets;
    const double boundShare = converged > 0 ? double(summary.boundaryFits) / converged : 0.0;
    const double withoutSeShare =
        converged > 0 ? double(summary.fitsWithoutStandardErrors) / converged : 0.0;
    const MonteCarloFigure& ratio = p.sdRatio;
    // A quantity the design holds known (a detection of 1) has no spread to
    // compare: the data give its value exactly or they contradict it.
    if (p.predictedStandardError == 0.0)
        return p.empiricalSd.value == 0.0
                   ? QStringLiteral("known exactly, as predicted: every fit gives %1")
                         .arg(QString::number(p.trueValue, 'g', 6))
                   : QStringLiteral("predicted to be known exactly, yet the estimates spread "
                                    "%1")
                         .arg(QString::number(p.empiricalSd.value, 'g', 3));

    // What the verdict rests on, said when it matters.
    QStringList notes;
    if (failedShare >= mattersShare)
        notes << QStringLiteral("%1 of the fits failed and are left out").arg(percent(failedShare));
    if (boundShare > mostlyBoundShare) {
        QString text =
            QStringLiteral("not judged: %1 of the fits sit on a bound").arg(percent(boundShare));
        if (std::isfinite(ratio.value))
            text += QStringLiteral(" (%1)").arg(spreadText(ratio));
        return (QStringList{text} + notes).join(QStringLiteral("; "));
    }
    if (boundShare >= mattersShare)
        notes << QStringLiteral("%1 of the fits sit on a bound").arg(percent(boundShare));
    if (std::isnan(ratio.value))
        return (QStringList{QStringLiteral("too few fits to judge the predicted precision")} +
                notes)
            .join(QStringLiteral("; "));

    QStringList differences;
    if (spreadDiffers(ratio, converged))
        differences << spreadText(ratio) + QStringLiteral(": it is %1 at this release size")
                                               .arg(direction(ratio.value > 1.0));
    if (withoutSeShare >= mattersShare || std::isnan(p.coverage95.value))
        notes << QStringLiteral("coverages not judged: %1 of the fits have no standard errors")
                     .arg(percent(withoutSeShare));
    else if (coverageDiffers(p.coverage95, 0.95, p.coverageCount))
        differences << coverageText(95, p.coverage95);
    else if (coverageDiffers(p.coverage90, 0.90, p.coverageCount))
        differences << coverageText(90, p.coverage90);
    if (differences.isEmpty())
        differences << QStringLiteral("the predicted precision holds");
    return (differences + notes).join(QStringLiteral("; "));
}
