#pragma once

#include "engine/likelihoods/SingleReleaseLayout.h"
#include "studies/release_recapture/ReleaseRecaptureResults.h"

// Results of a single-release run. The parameters show as "S" and "P"
// followed by the number of the reach that owns them (the first reach with
// their label), then "Final" for lambda. When the total survival is asked
// for, "CompositeS" follows: the survival through all reaches, the product of
// every reach's survival parameter (a shared parameter counts once per reach
// it covers), with its delta-method variance.
class SingleReleaseResults : public ReleaseRecaptureResults
{
public:
    // The parameters of layout, the parameter vector of the run's information
    // (or likelihood); with totalSurvivalVariance, "CompositeS" follows.
    SingleReleaseResults(const SingleReleaseLayout& layout, bool totalSurvivalVariance);

    // Throws std::invalid_argument "SingleReleaseResults::addResult - Number of
    // parameters doesn't match. " when the sizes differ from the likelihood's.
    // known flags the parameters known exactly (see Result), one per
    // parameter or none.
    void addResult(const std::vector<double>& estimates, const Matrix& covariance,
                   const std::vector<int>& releaseSizes, const std::vector<bool>& known = {});

    QStringList parameterNames() const override;
    // The estimates, then the total survival when it is shown.
    std::vector<double> quantities(int i) const override;
    // CompositeS is known when every survival is.
    std::vector<bool> knownQuantities(int i) const override;
    // "R0", "R1", … one per release size of the first Result.
    QStringList releaseNames() const override;
    Matrix varianceTable(const std::vector<double>& xValues) const override;

    double totalSurvival(int i) const;
    double totalSurvivalVariance(int i) const;
    bool showsTotalSurvival() const { return withTotalSurvival; }
    // The survival parameter index of every reach, in reach order.
    const std::vector<int>& reachSurvivalIndices() const { return reachIndices; }

private:
    bool withTotalSurvival;
    std::vector<int> reachIndices;
};
