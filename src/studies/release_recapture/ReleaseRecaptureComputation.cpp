#include "studies/release_recapture/ReleaseRecaptureComputation.h"

#include "engine/information/PairedReleaseInformation.h"
#include "engine/information/SingleReleaseInformation.h"

#include <functional>
#include <stdexcept>

namespace {

// A point that cannot be computed.
class SingularPoint : public std::runtime_error
{
public:
    SingularPoint()
        : std::runtime_error("singular point")
    {}
};

bool isSet(const std::atomic<bool>* flag)
{
    return flag != nullptr && flag->load();
}

// The run protocol over count points; start makes the design's information
// and results, computePoint computes and stores point i.
void computePoints(int count, RunMonitor& monitor, const std::function<void()>& start,
                   const std::function<void(int)>& computePoint)
{
    try {
        monitor.setTotalSteps(count);
        start();
        for (int i = 0; i < count; ++i) {
            if (monitor.isCanceled()) {
                monitor.error(QStringLiteral("Cancelled!"));
                return;
            }
            monitor.setStep(i);
            try {
                computePoint(i);
            } catch (...) {
                monitor.error(QStringLiteral("Singular hessian: step = ") + QString::number(i));
                monitor.setCanceled(true);
                return;
            }
        }
        monitor.setStep(count);
    } catch (...) {
        monitor.error(QStringLiteral("Unknown error"));
        monitor.setCanceled(true);
    }
}

// The covariance of the loaded case, or nothing when the point was
// interrupted. A covariance whose variances are not all positive and finite
// is no result: the point is singular.
bool computeCovariance(const ReleaseRecaptureInformation& information, Matrix& covariance,
                       std::vector<bool>& known, const std::atomic<bool>* pointCancelFlag)
{
    information.computeCovariance(covariance, pointCancelFlag);
    if (isSet(pointCancelFlag))
        return false;
    known = information.knownParameters();
    if (!hasPositiveFiniteVariances(covariance, known))
        throw SingularPoint();
    return true;
}

} // namespace

std::unique_ptr<SingleReleaseResults> computeSingleRelease(const SingleReleaseRecord& record,
                                                           RunMonitor& monitor,
                                                           const std::atomic<bool>* pointCancelFlag)
{
    std::unique_ptr<SingleReleaseInformation> information;
    std::unique_ptr<SingleReleaseResults> results;
    std::vector<double> parameters;
    std::vector<bool> known;
    Matrix covariance;
    computePoints(
        static_cast<int>(record.points.size()), monitor,
        [&] {
            information = std::make_unique<SingleReleaseInformation>(record.survivalLabels,
                                                                     record.detectionLabels);
            results = std::make_unique<SingleReleaseResults>(information->parameterLayout(),
                                                             record.options.totalSurvival);
        },
        [&](int i) {
            const SingleReleasePoint& point = record.points[static_cast<std::size_t>(i)];
            information->setCase(point.removals, parameters, point.releaseSizes,
                                 point.survivalValues, point.detectionValues, point.lambda);
            if (computeCovariance(*information, covariance, known, pointCancelFlag))
                results->addResult(parameters, covariance, point.releaseSizes, known);
        });
    return results;
}

std::unique_ptr<PairedReleaseResults> computePairedRelease(const PairedReleaseRecord& record,
                                                           RunMonitor& monitor,
                                                           const std::atomic<bool>* pointCancelFlag)
{
    std::unique_ptr<PairedReleaseInformation> information;
    std::unique_ptr<PairedReleaseResults> results;
    std::vector<double> parameters;
    std::vector<bool> known;
    Matrix covariance;
    computePoints(
        static_cast<int>(record.points.size()), monitor,
        [&] {
            information = std::make_unique<PairedReleaseInformation>(record.survivalLabels,
                                                                     record.detectionLabels);
            results = std::make_unique<PairedReleaseResults>(information->parameterLayout());
        },
        [&](int i) {
            const PairedReleasePoint& point = record.points[static_cast<std::size_t>(i)];
            information->setCase(point.st, point.sc, point.removals, parameters,
                                 point.controlRelease, point.treatmentRelease, point.survivalValues,
                                 point.detectionValues, point.lambda);
            if (computeCovariance(*information, covariance, known, pointCancelFlag))
                results->addResult(parameters, covariance, point.controlRelease,
                                   point.treatmentRelease, known);
        });
    return results;
}
