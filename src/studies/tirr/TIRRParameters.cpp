#include "studies/tirr/TIRRParameters.h"

#include "forms/core/StudyInputs.h"
#include "forms/core/TIRRInputs.h"
#include "studies/common/PrecisionTable.h"
#include "studies/tirr/TIRRComputation.h"

namespace {

// With every control fish returning (θ = 1) and T = 1 the variance of T is 0;
// with θ or T so small that θ·T underflows it is not finite. T is blamed
// first for a variance of 0, the smaller of θ and T otherwise.
void refuseDegenerate(const TIRRParameters& record, const StudyInputs& inputs, int i)
{
    using namespace TIRRInputs;
    const double variance =
        treatmentEffectVariance(record.theta[i], record.t[i], record.rt[i], record.rc[i]);
    if (isShowableVariance(variance))
        return;
    QStringList blamed = {inputs.field(tKey).name};
    if (record.useTheta)
        blamed << inputs.field(thetaKey).name;
    else
        blamed << inputs.field(scKey).name << inputs.field(pKey).name;
    if (variance != 0.0 && record.theta[i] < record.t[i])
        blamed.move(0, blamed.size() - 1);
    throw degenerateVarianceText(variance, blamed, record.rangeName, QStringLiteral("T"));
}

} // namespace

TIRRParameters takeTIRRRecord(const StudyInputs& inputs)
{
    using namespace TIRRInputs;
    TIRRParameters record;
    record.useTheta = inputs.switches.value(useTheta, false);
    record.linked = inputs.switches.value(linkReleases, false);
    record.rangeName = inputs.rangeName();
    record.range = inputs.range();

    const int n = inputs.numPoints();
    for (int i = 0; i < n; ++i) {
        record.x.append(inputs.pointAt(i));
        const int rc = inputs.intValueAt(rcKey, i);
        record.rc.append(rc);
        record.rt.append(record.linked ? rc : inputs.intValueAt(rtKey, i));
        if (record.useTheta) {
            record.theta.append(inputs.valueAt(thetaKey, i));
        } else {
            record.p.append(inputs.valueAt(pKey, i));
            record.sc.append(inputs.valueAt(scKey, i));
            record.theta.append(record.sc.last() * record.p.last());
        }
        record.t.append(inputs.valueAt(tKey, i));
        refuseDegenerate(record, inputs, i);
    }
    return record;
}
