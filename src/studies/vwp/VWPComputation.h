#pragma once

#include "studies/vwp/VWPResults.h"

#include <memory>
#include <vector>

class SingleReleaseInformation;

class RunMonitor;
struct VWPParameters;

// Each release of the design as the engine models it: a single release of
// release fish down the given reaches, every parameter distinct and no
// removals, its case loaded. Its first survival is parameter 0.
std::unique_ptr<SingleReleaseInformation> vwpReleaseModel(int release,
                                                          const std::vector<double>& survivals,
                                                          const std::vector<double>& detections,
                                                          double lambda);

// The variance of the first-reach survival estimate of a single release of
// release fish down two reaches (survivals s1, s2, detections p1, p2, then
// lambda), every parameter distinct; the exact expected information of the
// release-recapture likelihood, inverted. Throws what the engine throws for a
// case it refuses or a Hessian it cannot invert. At a probability of 1 it is
// the limit towards 1; known, when given, tells whether the survival is
// known exactly there (its variance 0).
double twoReachVariance(int release, double s1, double s2, double p1, double p2, double lambda,
                        bool* known = nullptr);
// The same for a single release down one reach (survival s, detection p).
double oneReachVariance(int release, double s, double p, double lambda, bool* known = nullptr);

// The first-reach survivals the three releases estimate at a point: S1 =
// Sdam·S'11 (the V1 release, followed by S12), S2 = S'11·S12 (R2) and S3 = S12
// (R3), so that Sdam = S1·S3/S2.
struct VWPSurvivals
{
    double s1;
    double s2;
    double s3;
};
VWPSurvivals vwpSurvivals(const VWPParameters& record, int i);

// The variance of Ŝdam = Ŝ1·Ŝ3/Ŝ2 from independent estimates of the three
// survivals with variances vk = var(Ŝk). The delta method for the product
// and the ratio gives
//   var(Ŝdam) = (1/S2² + v2/S2⁴)·(S1²·v3 + S3²·v1 + v1·v3) + S1²·S3²·v2/S2⁴.
double sdamVariance(const VWPSurvivals& survivals, double v1, double v2, double v3);

// The precision of point i: the three releases' variances and sdamVariance.
VWPPointResult computeVWPPoint(const VWPParameters& record, int i);

// Every point of the record, by the protocol of RunMonitor. The points are
// cheap, so the cancel flag is not polled. A point that fails its checks ends
// the run with its "Invalid input: " message, a variance that may not be
// shown (isShowableVariance) with unshowableVarianceText, any exception with
// "Unknown error"; each is followed by setCanceled(true), and the results
// hold the points computed before.
VWPResults computeVWP(const VWPParameters& record, RunMonitor& monitor);
