#include "studies/vwp/VWPComputation.h"

#include "engine/information/SingleReleaseInformation.h"
#include "numerics/Matrix.h"
#include "studies/common/RunMonitor.h"
#include "studies/vwp/VWPParameters.h"

#include <cmath>
#include <vector>

std::unique_ptr<SingleReleaseInformation> vwpReleaseModel(int release,
                                                          const std::vector<double>& survivals,
                                                          const std::vector<double>& detections,
                                                          double lambda)
{
    std::vector<int> labels;
    for (int reach = 0; reach < static_cast<int>(survivals.size()); ++reach)
        labels.push_back(reach);
    auto information = std::make_unique<SingleReleaseInformation>(labels, labels);
    std::vector<int> releaseSizes(survivals.size() + 1, 0);
    releaseSizes.front() = release;
    std::vector<double> parameters;
    information->setCase(std::vector<double>(survivals.size(), 0.0), parameters, releaseSizes,
                         survivals, detections, lambda);
    return information;
}

namespace {

// The first survival's variance of a single release down the given reaches;
// known, when given, tells whether it is known exactly.
double firstSurvivalVariance(int release, const std::vector<double>& survivals,
                             const std::vector<double>& detections, double lambda,
                             bool* known = nullptr)
{
    Matrix covariance;
    const auto model = vwpReleaseModel(release, survivals, detections, lambda);
    model->computeCovariance(covariance);
    if (known != nullptr)
        *known = model->knownParameters().front();
    return covariance(0, 0);
}

} // namespace

double twoReachVariance(int release, double s1, double s2, double p1, double p2, double lambda,
                        bool* known)
{
    return firstSurvivalVariance(release, {s1, s2}, {p1, p2}, lambda, known);
}

double oneReachVariance(int release, double s, double p, double lambda, bool* known)
{
    return firstSurvivalVariance(release, {s}, {p}, lambda, known);
}

VWPSurvivals vwpSurvivals(const VWPParameters& record, int i)
{
    return {record.sDam[i] * record.sPrime11[i], record.sPrime11[i] * record.s12[i], record.s12[i]};
}

double sdamVariance(const VWPSurvivals& survivals, double v1, double v2, double v3)
{
    const auto [s1, s2, s3] = survivals;
    const double s2Squared = s2 * s2;
    const double s2Fourth = s2Squared * s2Squared;
    return (1.0 / s2Squared + v2 / s2Fourth) * (s1 * s1 * v3 + s3 * s3 * v1 + v1 * v3) +
           s1 * s1 * s3 * s3 * v2 / s2Fourth;
}

VWPPointResult computeVWPPoint(const VWPParameters& record, int i)
{
    const auto [s1, s2, s3] = vwpSurvivals(record, i);

    VWPPointResult point;
    point.varS1 = twoReachVariance(record.v1[i], s1, record.s12[i], record.p1[i], record.p2[i],
                                   record.lambda[i], &point.knownS1);
    point.varS2 =
        oneReachVariance(record.r2[i], s2, record.p2[i], record.lambda[i], &point.knownS2);
    point.varS3 =
        oneReachVariance(record.r3[i], s3, record.p2[i], record.lambda[i], &point.knownS3);

    point.varSdam = sdamVariance({s1, s2, s3}, point.varS1, point.varS2, point.varS3);
    point.seSdam = std::sqrt(point.varSdam);
    return point;
}

VWPResults computeVWP(const VWPParameters& record, RunMonitor& monitor)
{
    VWPResults results;
    const int n = record.pointCount();
    try {
        monitor.setTotalSteps(n);
        for (int i = 0; i < n; ++i) {
            monitor.setStep(i);
            const QString invalid = vwpInputError(record, i);
            if (!invalid.isEmpty()) {
                monitor.error(invalid);
                monitor.setCanceled(true);
                return results;
            }
            results.points.append(computeVWPPoint(record, i));
            const VWPPointResult& point = results.points.last();
            if (!isShowableVariance(point.varS1, point.knownS1) ||
                !isShowableVariance(point.varS2, point.knownS2) ||
                !isShowableVariance(point.varS3, point.knownS3) ||
                !isShowableVariance(point.varSdam, point.knownSdam())) {
                results.points.removeLast();
                monitor.error(unshowableVarianceText(i));
                monitor.setCanceled(true);
                return results;
            }
        }
        monitor.setStep(n);
    } catch (...) {
        monitor.error(QStringLiteral("Unknown error"));
        monitor.setCanceled(true);
    }
    return results;
}
