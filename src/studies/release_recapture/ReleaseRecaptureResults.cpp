#include "studies/release_recapture/ReleaseRecaptureResults.h"

#include <stdexcept>

ReleaseRecaptureResults::ReleaseRecaptureResults(std::vector<DisplayedParameter> displayOrder)
    : display(std::move(displayOrder))
{}

QString ReleaseRecaptureResults::labelNumber(const ParameterMap& map, int index, int offset)
{
    return QString::number(static_cast<qint64>(map.labelOfIndex(index).value()) + offset);
}

QStringList ReleaseRecaptureResults::parameterNames() const
{
    QStringList names;
    for (const DisplayedParameter& parameter : display)
        names << parameter.name;
    return names;
}

Matrix ReleaseRecaptureResults::varianceTable(const std::vector<double>& xValues) const
{
    return parameterVarianceTable(xValues, 0);
}

std::vector<double> ReleaseRecaptureResults::estimates(int i) const
{
    const std::vector<double>& values = result(i).estimates();
    std::vector<double> shown;
    for (const DisplayedParameter& parameter : display)
        shown.push_back(values[static_cast<std::size_t>(parameter.index)]);
    return shown;
}

Matrix ReleaseRecaptureResults::covariance(int i) const
{
    const Matrix& source = result(i).covariance();
    const int k = parameterCount();
    Matrix shown(k, k);
    for (int a = 0; a < k; ++a)
        for (int b = 0; b < k; ++b)
            shown(a, b) = source(display[a].index, display[b].index);
    return shown;
}

std::vector<bool> ReleaseRecaptureResults::knownQuantities(int i) const
{
    std::vector<bool> known;
    for (const DisplayedParameter& parameter : display)
        known.push_back(result(i).isKnown(parameter.index));
    return known;
}

void ReleaseRecaptureResults::addChecked(const std::vector<double>& estimates,
                                         const Matrix& covariance, std::vector<int> releaseSizes,
                                         std::vector<bool> known, const char* mismatchMessage)
{
    const int k = parameterCount();
    if (static_cast<int>(estimates.size()) != k || covariance.rows() != k ||
        covariance.cols() != k || !(known.empty() || static_cast<int>(known.size()) == k))
        throw std::invalid_argument(mismatchMessage);
    results.emplace_back(estimates, covariance, std::move(releaseSizes), std::move(known));
}

Matrix ReleaseRecaptureResults::parameterVarianceTable(const std::vector<double>& xValues,
                                                       int extraColumns) const
{
    const int k = parameterCount();
    Matrix table(count(), 1 + k + extraColumns);
    for (int f = 0; f < count(); ++f) {
        table(f, 0) = static_cast<std::size_t>(f) < xValues.size() ? xValues[f] : 0.0;
        const Matrix& source = result(f).covariance();
        for (int a = 0; a < k; ++a)
            table(f, 1 + a) = source(display[a].index, display[a].index);
    }
    return table;
}
