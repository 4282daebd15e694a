#include "studies/vwp/VWPParameters.h"

#include "forms/core/StudyInputs.h"
#include "forms/core/VWPInputs.h"

VWPParameters takeVWPRecord(const StudyInputs& inputs)
{
    using namespace VWPInputs;
    VWPParameters record;
    record.linkAllReleases = inputs.switches.value(linkAllReleases, false);
    record.linkReleases = !record.linkAllReleases && inputs.switches.value(linkReleases, false);
    record.rangeName = inputs.rangeName();
    record.range = inputs.range();

    const int n = inputs.numPoints();
    for (int i = 0; i < n; ++i) {
        record.x.append(inputs.pointAt(i));
        record.sDam.append(inputs.valueAt(sDamKey, i));
        record.sPrime11.append(inputs.valueAt(sPrime11Key, i));
        record.s12.append(inputs.valueAt(s12Key, i));
        record.p1.append(inputs.valueAt(p1Key, i));
        record.p2.append(inputs.valueAt(p2Key, i));
        record.lambda.append(inputs.valueAt(lambdaKey, i));
        const int v1 = inputs.intValueAt(v1Key, i);
        record.v1.append(v1);
        if (record.linkAllReleases) {
            record.r2.append(v1);
            record.r3.append(v1);
        } else {
            const int r2 = inputs.intValueAt(r2Key, i);
            record.r2.append(r2);
            record.r3.append(record.linkReleases ? r2 : inputs.intValueAt(r3Key, i));
        }
    }
    return record;
}

QString vwpInputError(const VWPParameters& record, int i)
{
    const auto probability = [](double v) { return v > 0.0 && v <= 1.0; };
    QString message;
    if (record.v1[i] <= 0)
        message = QStringLiteral("V1 cannot be less than zero");
    else if (record.r2[i] <= 0)
        message = QStringLiteral("R2 cannot be less than zero");
    else if (record.r3[i] <= 0)
        message = QStringLiteral("R3 cannot be less than zero");
    else if (!probability(record.sDam[i]))
        message = QStringLiteral("Sdam must be in the range (0, 1]");
    else if (!probability(record.sPrime11[i]))
        message = QStringLiteral("Sprime11 must be in the range (0, 1]");
    else if (!probability(record.s12[i]))
        message = QStringLiteral("S12 must be in the range (0, 1]");
    else if (!probability(record.p1[i]))
        message = QStringLiteral("P1 must be in the range (0, 1]");
    else if (!probability(record.p2[i]))
        message = QStringLiteral("P2 must be in the range (0, 1]");
    else if (!probability(record.lambda[i]))
        message = QStringLiteral("Lambda must be in the range (0, 1]");
    return message.isEmpty() ? message : QStringLiteral("Invalid input: ") + message;
}
