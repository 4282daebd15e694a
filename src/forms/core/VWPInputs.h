#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"

#include <QList>
#include <QPair>
#include <QString>

// The inputs of the virtual-with-a-paired-release design: three releases (V1
// above the dam, R2 below it, R3 at the first detection site), the dam
// survival SDam, the survivals S'11 (below the dam to site 1) and S12 (site 1
// to site 2), the detection probabilities P1 and P2 and the final-reach
// parameter Lambda. The form and every reader of these inputs take the field
// table, the switches and the checks from here.
namespace VWPInputs {

// The design's name: the window's title and that of its message boxes.
inline const QString title = QStringLiteral("Virtual with a Paired Release");

// Parameter names of the fields, in the order of registration.
inline const QString v1Key = QStringLiteral("V1");
inline const QString r2Key = QStringLiteral("R2");
inline const QString r3Key = QStringLiteral("R3");
inline const QString sDamKey = QStringLiteral("SDam");
inline const QString sPrime11Key = QStringLiteral("SPrime11");
inline const QString s12Key = QStringLiteral("S12");
inline const QString p1Key = QStringLiteral("P1");
inline const QString p2Key = QStringLiteral("P2");
inline const QString lambdaKey = QStringLiteral("Lambda");
// The names of the release sizes that others follow.
inline const QString linkedR2Name = QStringLiteral("R2-R3");
inline const QString linkedV1Name = QStringLiteral("V1-R2-R3");

// Switches: "Link R2 and R3" (R3 follows R2) and "Link V1, R2 and R3" (R2 and
// R3 follow V1; it turns the first off).
inline const QString linkReleases = QStringLiteral("linkReleases");
inline const QString linkAllReleases = QStringLiteral("linkAllReleases");

QList<FieldSpec> fieldTable();

// The refusal of the first field whose values are illegal, with its rule, in the form's order;
// a null refusal when every input may be computed.
Refusal firstIllegal(const StudyInputs& inputs);

// Enables, disables and renames the fields from the switch states, as the
// form's link boxes do.
void applySwitches(StudyInputs& inputs);

// The release sizes that follow another while their link is on, each with
// the one it follows (follower, leader): the design releases the leader's
// number of fish in both.
QList<QPair<QString, QString>> releaseLinks(const StudyInputs& inputs);

// The field table with empty texts and both links off.
StudyInputs blankInputs();

} // namespace VWPInputs
