#include "studies/btps/BTPSParameters.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/StudyInputs.h"
#include "studies/btps/BTPSComputation.h"
#include "studies/common/PrecisionTable.h"

namespace {

// With every fish surviving and recaptured alive (Sc, T and Pa of 1) the
// variance of T is 0; with Sc or Pa so small that Sc·Pa underflows it is not
// finite. The smaller of the two divisors is blamed first.
void refuseDegenerate(const BTPSParameters& record, const StudyInputs& inputs, int i)
{
    using namespace BTPSInputs;
    const double variance = passageSurvivalVariance(record.t[i], record.sc[i], record.pa[i],
                                                    record.rt[i], record.rc[i]);
    if (isShowableVariance(variance))
        return;
    const QString survival = inputs.field(record.useSt ? stKey : tKey).name;
    QStringList blamed = {inputs.field(paKey).name, inputs.field(scKey).name, survival};
    if (variance != 0.0 && record.sc[i] < record.pa[i])
        blamed.swapItemsAt(0, 1);
    throw degenerateVarianceText(variance, blamed, record.rangeName, QStringLiteral("T"));
}

} // namespace

BTPSParameters takeBTPSRecord(const StudyInputs& inputs)
{
    using namespace BTPSInputs;
    BTPSParameters record;
    record.useSt = inputs.switches.value(useSt, true);
    record.linked = inputs.switches.value(linkReleases, false);
    record.rangeName = inputs.rangeName();
    record.range = inputs.range();

    const int n = inputs.numPoints();
    for (int i = 0; i < n; ++i) {
        record.x.append(inputs.pointAt(i));
        const int rc = inputs.intValueAt(rcKey, i);
        record.rc.append(rc);
        record.rt.append(record.linked ? rc : inputs.intValueAt(rtKey, i));
        const double sc = inputs.valueAt(scKey, i);
        record.sc.append(sc);
        record.t.append(record.useSt ? inputs.valueAt(stKey, i) / sc : inputs.valueAt(tKey, i));
        record.pa.append(inputs.valueAt(paKey, i));
        record.pd.append(inputs.valueAt(pdKey, i));
        refuseDegenerate(record, inputs, i);
    }
    return record;
}
