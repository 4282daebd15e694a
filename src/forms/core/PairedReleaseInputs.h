#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"

#include <QList>
#include <QPair>
#include <QString>

// The inputs of the paired-release design: a treatment release of RT fish,
// whose survival through the first reach is ST times that of the control
// release of RC fish, SC; both are then detected down the same chain, first
// at the station ending reach 1 (P1, D1 removed), then at the station of each
// reach panel k (reach number n = k + 2: Sn, Pn, Dn), and "Lambda" closes the
// chain. A design of n reaches (the final one counted) has n - 1 reach
// panels. RC may follow RT ("linkReleases"); the survival and capture of a
// panel may be shared with an earlier panel (ReleaseRecaptureInputs). The
// form and every reader of these inputs take the field table and the checks
// from here.
namespace PairedReleaseInputs {

// The design's name: the window's title, that of its report and of its
// message boxes.
inline const QString windowTitle = QStringLiteral("Paired Release");

inline const QString treatmentReleaseKey = QStringLiteral("RT");
inline const QString treatmentSurvivalKey = QStringLiteral("ST");
inline const QString controlReleaseKey = QStringLiteral("RC");
inline const QString controlSurvivalKey = QStringLiteral("SC");
inline const QString firstCaptureKey = QStringLiteral("P1");
inline const QString firstRemovalKey = QStringLiteral("D1");
inline const QString lambdaKey = QStringLiteral("Lambda");
// RT's name while RC follows it, and while it does not.
inline const QString linkedTreatmentName = QStringLiteral("Rt-Rc");
inline const QString treatmentName = QStringLiteral("Rt");

// Switch: "Link Rt and Rc", RC following RT.
inline const QString linkReleases = QStringLiteral("linkReleases");

// The fewest reaches a design has: the first reach and the final reach.
constexpr int minimumReaches = 1;
int panelCount(int reaches);

// Parameter names of reach panel k's fields.
QString survivalKey(int k);
QString captureKey(int k);
QString removalKey(int k);

// RT, ST, RC, SC, P1, D1.
QList<FieldSpec> releaseFields();
FieldSpec lambdaField();
// Panel k's survival, capture and removal fields, in that order.
QList<FieldSpec> reachFields(int k);
// Every field of a design of reaches reaches: the release panel's, each
// reach panel's, Lambda.
QList<FieldSpec> fieldTable(int reaches);

// Settings ids of the panels' survival and capture combos (entry k each).
int survivalChoiceId();
int captureChoiceId();

// The refusal of the first field whose values are illegal, with its rule, in the form's order
// (RT, RC unless it follows RT, then that some fish are released at every
// point, ST, SC, then that Sc * St is a probability at every point, P1, D1,
// each panel's survival, capture and removal, Lambda); a null refusal when
// every input may be computed. Fields shared with an earlier panel are not
// checked: their values come from their owner.
Refusal firstIllegal(const StudyInputs& inputs);

// Disables RC while it follows RT and names RT after the link; enables the
// survival and capture fields of the panels that use their own parameter and
// disables the others, as the form's link box and combos do.
void applySwitches(StudyInputs& inputs);

// The release sizes that follow another while their link is on, each with
// the one it follows (follower, leader): the design releases the leader's
// number of fish in both.
QList<QPair<QString, QString>> releaseLinks(const StudyInputs& inputs);

// The field table of reaches reaches with empty texts, the releases not
// linked and every panel using its own parameters.
StudyInputs blankInputs(int reaches);

} // namespace PairedReleaseInputs
