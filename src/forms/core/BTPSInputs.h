#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"

#include <QList>
#include <QPair>
#include <QString>

// The inputs of the balloon-tag passage survival design: a treatment release
// of Rt fish through the passage route and a control release of Rc fish below
// it, with the control survival Sc, the treatment survival given as St or as
// the passage survival T = St/Sc, and the probabilities of recapturing a fish
// alive (Pa) or dead (Pd). The form and every reader of these inputs take the
// field table, the switches and the checks from here.
namespace BTPSInputs {

// The design's name: the window's title and the title of its message boxes.
inline const QString title = QStringLiteral("Balloon-Tag Passage Survival Estimate");

// Parameter names of the fields, in the order of registration.
inline const QString rcKey = QStringLiteral("Rc");
inline const QString rtKey = QStringLiteral("Rt");
inline const QString scKey = QStringLiteral("Sc");
inline const QString stKey = QStringLiteral("St");
inline const QString tKey = QStringLiteral("T");
inline const QString paKey = QStringLiteral("Pa");
inline const QString pdKey = QStringLiteral("Pd");
// Rc's name while Rt follows it.
inline const QString linkedRcName = QStringLiteral("Rc-Rt");

// Switches: "Link Release Sizes" (Rt follows Rc), and the choice of giving St
// (on) or T (off).
inline const QString linkReleases = QStringLiteral("linkReleases");
inline const QString useSt = QStringLiteral("useSt");

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

} // namespace BTPSInputs
