#include "studies/btps/BTPSComputation.h"

#include "studies/btps/BTPSParameters.h"
#include "studies/common/PrecisionTable.h"
#include "studies/common/RunMonitor.h"

double passageSurvivalVariance(double t, double sc, double pa, double rt, double rc)
{
    return (t / (sc * pa)) * (t * (1.0 - pa * sc) / rc + (1.0 - t * sc * pa) / rt);
}

BTPSResults computeBTPS(const BTPSParameters& record, RunMonitor& monitor)
{
    const int n = record.pointCount();
    monitor.setTotalSteps(n);
    BTPSResults results;
    results.variances.reserve(n);
    for (int i = 0; i < n; ++i) {
        if (monitor.isCanceled()) {
            monitor.error(QStringLiteral("Cancelled!"));
            return results;
        }
        monitor.setStep(i);
        const double variance = passageSurvivalVariance(record.t[i], record.sc[i], record.pa[i],
                                                        record.rt[i], record.rc[i]);
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
