#include "studies/vwp/VWPParameters.h"

#include "forms/core/Refusal.h"
#include "forms/core/StudyInputs.h"
#include "forms/core/VWPInputs.h"

#include <QList>

#include <utility>

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

// The form's own checks (VWPInputs::firstIllegal) refuse all of these
// before a run; a record built otherwise is refused here in the same words.
QString vwpInputError(const VWPParameters& record, int i)
{
    using namespace VWPInputs;
    const Interval releaseSize = Interval::atLeast(1);
    const Interval probability = Interval::halfOpen(0, 1);
    const QList<std::pair<QString, double>> releases = {
        {v1Key, record.v1[i]}, {r2Key, record.r2[i]}, {r3Key, record.r3[i]}};
    for (const auto& [name, value] : releases) {
        if (!releaseSize.contains(value))
            return QStringLiteral("Invalid input: ") +
                   fieldrules::refusalText(name, fieldrules::boundsRule(releaseSize, false));
    }
    const QList<std::pair<QString, double>> probabilities = {
        {sDamKey, record.sDam[i]}, {sPrime11Key, record.sPrime11[i]},
        {s12Key, record.s12[i]},   {p1Key, record.p1[i]},
        {p2Key, record.p2[i]},     {lambdaKey, record.lambda[i]}};
    for (const auto& [name, value] : probabilities) {
        if (!probability.contains(value))
            return QStringLiteral("Invalid input: ") +
                   fieldrules::refusalText(name, fieldrules::boundsRule(probability, false));
    }
    return QString();
}
