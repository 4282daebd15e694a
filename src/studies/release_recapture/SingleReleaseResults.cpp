#include "studies/release_recapture/SingleReleaseResults.h"

namespace {

using DisplayedParameter = ReleaseRecaptureResults::DisplayedParameter;

// Labels are owner positions: the parameter of label j belongs to reach j + 1.
void appendOwnerNamed(std::vector<DisplayedParameter>& display, const ParameterMap& map,
                      const QString& prefix)
{
    for (int index = map.firstIndex(); index < map.nextIndex(); ++index)
        display.push_back({prefix + ReleaseRecaptureResults::labelNumber(map, index, 1), index});
}

std::vector<DisplayedParameter> displayOrder(const SingleReleaseLayout& layout)
{
    std::vector<DisplayedParameter> display;
    appendOwnerNamed(display, layout.survivalMap(), QStringLiteral("S"));
    appendOwnerNamed(display, layout.detectionMap(), QStringLiteral("P"));
    display.push_back({QStringLiteral("Final"), layout.lambdaIndex()});
    return display;
}

} // namespace

SingleReleaseResults::SingleReleaseResults(const SingleReleaseLayout& layout,
                                           bool totalSurvivalVariance)
    : ReleaseRecaptureResults(displayOrder(layout))
    , withTotalSurvival(totalSurvivalVariance)
    , reachIndices(layout.survivalMap().positionIndices())
{}

void SingleReleaseResults::addResult(const std::vector<double>& estimates, const Matrix& covariance,
                                     const std::vector<int>& releaseSizes,
                                     const std::vector<bool>& known)
{
    addChecked(estimates, covariance, releaseSizes, known,
               "SingleReleaseResults::addResult - Number of parameters doesn't match. ");
}

QStringList SingleReleaseResults::parameterNames() const
{
    QStringList names = ReleaseRecaptureResults::parameterNames();
    if (withTotalSurvival)
        names << QStringLiteral("CompositeS");
    return names;
}

std::vector<double> SingleReleaseResults::quantities(int i) const
{
    std::vector<double> values = estimates(i);
    if (withTotalSurvival)
        values.push_back(totalSurvival(i));
    return values;
}

std::vector<bool> SingleReleaseResults::knownQuantities(int i) const
{
    std::vector<bool> known = ReleaseRecaptureResults::knownQuantities(i);
    if (withTotalSurvival) {
        bool all = true;
        for (int index : reachIndices)
            all = all && result(i).isKnown(index);
        known.push_back(all);
    }
    return known;
}

QStringList SingleReleaseResults::releaseNames() const
{
    QStringList names;
    if (count() == 0)
        return names;
    for (std::size_t s = 0; s < result(0).releaseSizes().size(); ++s)
        names << QStringLiteral("R") + QString::number(s);
    return names;
}

Matrix SingleReleaseResults::varianceTable(const std::vector<double>& xValues) const
{
    Matrix table = parameterVarianceTable(xValues, withTotalSurvival ? 1 : 0);
    if (withTotalSurvival)
        for (int f = 0; f < count(); ++f)
            table(f, table.cols() - 1) = totalSurvivalVariance(f);
    return table;
}

double SingleReleaseResults::totalSurvival(int i) const
{
    return result(i).product(reachIndices);
}

double SingleReleaseResults::totalSurvivalVariance(int i) const
{
    return result(i).productVariance(reachIndices);
}
