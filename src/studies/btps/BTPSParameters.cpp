#include "studies/btps/BTPSParameters.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/StudyInputs.h"

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
    }
    return record;
}
