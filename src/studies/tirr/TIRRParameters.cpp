#include "studies/tirr/TIRRParameters.h"

#include "forms/core/StudyInputs.h"
#include "forms/core/TIRRInputs.h"

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
    }
    return record;
}
