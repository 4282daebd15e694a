#include "studies/tirr/TIRRComputation.h"

#include "studies/common/PrecisionTable.h"
#include "studies/common/RunMonitor.h"
#include "studies/tirr/TIRRParameters.h"

double treatmentEffectVariance(double theta, double t, double rt, double rc)
{
    return t * t * ((1.0 - theta * t) / (rt * theta * t) + (1.0 - theta) / (theta * rc));
}

TIRRResults computeTIRR(const TIRRParameters& record, RunMonitor& monitor)
{
    const int n = record.pointCount();
    monitor.setTotalSteps(n);
    TIRRResults results;
    results.variances.reserve(n);
    for (int i = 0; i < n; ++i) {
        if (monitor.isCanceled()) {
            monitor.error(QStringLiteral("Cancelled!"));
            return results;
        }
        monitor.setStep(i);
        const double variance =
            treatmentEffectVariance(record.theta[i], record.t[i], record.rt[i], record.rc[i]);
        if (!isShowableVariance(variance)) {
            monitor.error(unshowableVarianceText(i));
            monitor.setCanceled(true);
            return results;
        }
        results.variances.append(variance);
    }
    monitor.setStep(n);
    return results;
}
