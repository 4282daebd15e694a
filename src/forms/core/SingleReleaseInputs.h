#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"

#include <QList>
#include <QString>

// The inputs of the single-release design: R0 fish released at the top of a
// chain of reaches, and one reach panel per intermediate reach k (reach
// number n = k + 1) with its survival Sn, its detection probability Pn at the
// station ending it, the proportion Dn of the detected fish removed there and
// a release Rn at that station; the final reach's survival times detection,
// "Lambda", closes the chain. A design of n reaches (the final one counted)
// has n - 1 reach panels. The survival and capture of a panel may be shared
// with an earlier panel (ReleaseRecaptureInputs). The form and every reader
// of these inputs take the field table and the checks from here.
namespace SingleReleaseInputs {

// The design's name: the window's title and that of its message boxes.
inline const QString title = QStringLiteral("Single Release");

inline const QString firstReleaseKey = QStringLiteral("R0");
inline const QString lambdaKey = QStringLiteral("Lambda");

// The fewest reaches a design has: a reach panel and the final reach.
constexpr int minimumReaches = 2;
int panelCount(int reaches);

// Parameter names of reach panel k's fields.
QString survivalKey(int k);
QString captureKey(int k);
QString removalKey(int k);
QString releaseKey(int k);

FieldSpec firstReleaseField();
FieldSpec lambdaField();
// Panel k's survival, capture, removal and release fields, in that order.
QList<FieldSpec> reachFields(int k);
// Every field of a design of reaches reaches: R0, each panel's, Lambda.
QList<FieldSpec> fieldTable(int reaches);

// Settings ids of the panels' survival and capture combos (entry k each).
int survivalChoiceId();
int captureChoiceId();

// The refusal of the first field whose values are illegal, with its rule, in the form's order
// (R0, each panel's survival, capture, removal and release, Lambda); a null
// refusal when every input may be computed. Fields shared with an earlier
// panel are not checked: their values come from their owner.
Refusal firstIllegal(const StudyInputs& inputs);

// Enables the survival and capture fields of the panels that use their own
// parameter and disables the others, as the form's combos do.
void applySwitches(StudyInputs& inputs);

// The field table of reaches reaches with empty texts, every panel using its
// own parameters.
StudyInputs blankInputs(int reaches);

} // namespace SingleReleaseInputs
