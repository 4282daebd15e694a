#pragma once

#include "engine/likelihoods/PairedReleaseLayout.h"
#include "studies/release_recapture/ReleaseRecaptureResults.h"

// Results of a paired-release run. Display order: "Sc", "St", then for each
// downstream survival parameter the control and treatment pair ("Sc2",
// "St2", …), then the detection pairs ("Pc1", "Pt1", …) and "FinalC",
// "FinalT". Survival label j belongs to reach panel j and is shown as number
// j + 2; detection label j is shown as number j + 1 (0 is the first
// detection site).
class PairedReleaseResults : public ReleaseRecaptureResults
{
public:
    // The parameters of layout, the parameter vector of the run's information
    // (or likelihood).
    explicit PairedReleaseResults(const PairedReleaseLayout& layout);

    // Stores the release sizes (rc, rt). Throws std::invalid_argument
    // "PairedReleaseResults::addResult - Number of parameters doesn't match. "
    // when the sizes differ from the likelihood's. known flags the parameters
    // known exactly (see Result), one per parameter or none.
    void addResult(const std::vector<double>& estimates, const Matrix& covariance, int rc, int rt,
                   const std::vector<bool>& known = {});

    // "Rc", "Rt".
    QStringList releaseNames() const override;
};
