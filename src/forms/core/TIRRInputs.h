#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"

#include <QList>
#include <QPair>
#include <QString>

// The inputs of the transport in-river ratio design: a control release of Rc
// fish and a treatment release of Rt fish, the probability θ = Sc·P that a
// control fish is recaptured, given as Sc and P or directly, and the treatment
// effect T, the ratio of the two groups' return rates. The form and every
// reader of these inputs take the field table, the switches and the checks
// from here.
namespace TIRRInputs {

// The design's name: the window's title and the title of its message boxes.
inline const QString title = QStringLiteral("Transport In-River Ratio");

// Parameter names of the fields, in the order of registration.
inline const QString rcKey = QStringLiteral("Rc");
inline const QString rtKey = QStringLiteral("Rt");
inline const QString scKey = QStringLiteral("Sc");
inline const QString pKey = QStringLiteral("P");
inline const QString thetaKey = QStringLiteral("Sc*P");
inline const QString tKey = QStringLiteral("T");
// Rc's name while Rt follows it.
inline const QString linkedRcName = QStringLiteral("Rc-Rt");

// Switches: "Link Release Sizes" (Rt follows Rc), and the choice of giving θ
// directly (on) or as Sc and P (off).
inline const QString linkReleases = QStringLiteral("linkReleases");
inline const QString useTheta = QStringLiteral("useTheta");

QList<FieldSpec> fieldTable();

// The refusal of the first field whose values are illegal, with its rule, in the form's order;
// a null refusal when every input may be computed.
Refusal firstIllegal(const StudyInputs& inputs);

// Enables, disables and renames the fields from the switch states, as the
// form's radio buttons and link box do.
void applySwitches(StudyInputs& inputs);

// The release sizes that follow another while their link is on, each with
// the one it follows (follower, leader): the design releases the leader's
// number of fish in both.
QList<QPair<QString, QString>> releaseLinks(const StudyInputs& inputs);

// The field table with empty texts and the switches in their first state.
StudyInputs blankInputs();

} // namespace TIRRInputs
