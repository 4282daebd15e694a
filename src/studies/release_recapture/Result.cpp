#include "studies/release_recapture/Result.h"

#include "studies/common/PrecisionTable.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Throws std::invalid_argument with message unless every index lies in
// 0 .. count - 1.
void requireIndicesBelow(const std::vector<int>& indices, int count, const char* message)
{
    for (int index : indices)
        if (index < 0 || index >= count)
            throw std::invalid_argument(message);
}

} // namespace

Result::Result(std::vector<double> estimates, Matrix covariance, std::vector<int> releaseSizes,
               std::vector<bool> known)
    : parameterValues(std::move(estimates))
    , variances(std::move(covariance))
    , releases(std::move(releaseSizes))
    , knownParameters(std::move(known))
{}

double Result::product(const std::vector<int>& indices) const
{
    requireIndicesBelow(indices, static_cast<int>(parameterValues.size()),
                        "Result::product - parameter index out of range");
    double result = 1.0;
    for (int index : indices)
        result *= parameterValues[static_cast<std::size_t>(index)];
    return result;
}

double Result::productVariance(const std::vector<int>& indices) const
{
    const int k = static_cast<int>(parameterValues.size());
    requireIndicesBelow(indices, std::min({k, variances.rows(), variances.cols()}),
                        "Result::productVariance - parameter index out of range");

    std::vector<int> distinct;
    for (int index : indices)
        if (std::find(distinct.begin(), distinct.end(), index) == distinct.end())
            distinct.push_back(index);

    // g_j: every occurrence of j contributes the product of the other entries.
    std::vector<double> gradient;
    for (int j : distinct) {
        int multiplicity = 0;
        double others = 1.0;
        for (int index : indices) {
            if (index == j && multiplicity++ == 0)
                continue;
            others *= parameterValues[static_cast<std::size_t>(index)];
        }
        gradient.push_back(multiplicity * others);
    }

    double sum = 0.0;
    for (std::size_t a = 0; a < distinct.size(); ++a)
        for (std::size_t b = 0; b < distinct.size(); ++b)
            sum += gradient[a] * gradient[b] * variances(distinct[a], distinct[b]);
    return sum;
}

bool hasPositiveFiniteVariances(const Matrix& covariance, const std::vector<bool>& known)
{
    for (int i = 0; i < covariance.rows() && i < covariance.cols(); ++i) {
        const bool isKnown = static_cast<std::size_t>(i) < known.size() && known[i];
        if (!isShowableVariance(covariance(i, i), isKnown))
            return false;
    }
    return true;
}
