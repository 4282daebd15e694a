#pragma once

#include "engine/information/ReleaseChain.h"
#include "engine/simulation/SegmentCounts.h"
#include "numerics/Matrix.h"

#include <vector>

// The maximum-likelihood fit of one data set of a release-recapture design.
struct ReleaseFit
{
    std::vector<double> estimates;
    // The inverse of the expected information at the estimates with the
    // design's release sizes (the Hessian of ReleaseChain at the estimates,
    // the same information that predicts the precision at the true values);
    // 0 x 0 when that information is not positive definite.
    Matrix covariance;
    double logLikelihood = 0.0;
    int iterations = 0;
    // The iteration stopped because a full step moved no probability by more
    // than 1e-10, or because the likelihood stopped rising (to its rounding)
    // for three steps in a row, as it does where the data leave a direction
    // undetermined. A fit that did not converge keeps its last estimates.
    bool converged = false;
    // Some estimate lies on a bound of its domain (a probability of 1 or of
    // the least value a fit takes, fitLowerBound) that it did not start on,
    // or the information at the estimates is not positive definite. Started
    // at the true values, a probability of 1 that stays 1 is known, not cut
    // off.
    bool onBoundary = false;
};

// The least value a fitted probability takes: where the likelihood rises
// towards a probability of 0 the fit stops here and reports a boundary.
constexpr double fitLowerBound = 1e-9;

// Fits counts (counts[c] from chains[c]) by maximising the likelihood of
// SegmentLikelihood from start, by Fisher scoring with the expected
// information of ReleaseChain, step halving, and every probability kept in
// [fitLowerBound, 1]; a survival factor (St) is kept above 0 with the
// product it forms (Sc * St) at most 1. Throws std::invalid_argument when the
// chains do not fit start (see checkReleaseChains) or the counts do not fit
// the chains.
ReleaseFit fitReleaseChains(const std::vector<ReleaseChain>& chains,
                            const std::vector<SegmentCounts>& counts,
                            const std::vector<double>& start);

// covariance = the inverse of the expected information of chains at
// parameters when that information is positive definite by the rule of
// ReleaseRecaptureInformation::computeCovariance, and at probabilities of 1
// its limit (invertInformationLimit); returns false, leaving covariance
// empty, otherwise.
bool expectedCovariance(const std::vector<ReleaseChain>& chains,
                        const std::vector<double>& parameters, Matrix& covariance);
