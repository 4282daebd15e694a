#pragma once

#include "forms/core/StudyInputs.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// What the inputs of the single- and paired-release designs share: a chain of
// reach panels, each of which uses its own survival and detection parameter
// or shares that of an earlier panel, chosen in the panel's combo boxes. Entry
// j of panel k's combo (0 <= j <= k) names reach panel j, so the last entry,
// k, is the panel's own parameter. A panel that chooses a panel which itself
// shares uses the parameter of the panel at the end of that chain, its owner.
namespace ReleaseRecaptureInputs {

// The per-panel choices of StudyInputs::choices: the combo index of each
// reach panel's survival and capture combo.
inline const QString survivalOwner = QStringLiteral("survivalOwner");
inline const QString captureOwner = QStringLiteral("captureOwner");

// The most reaches a design may have, the final one counted: the chain of a
// form and the reach count dialog go up to it.
constexpr int maximumReaches = 99;

// Panel k's choice in choices[choice]; a missing entry or one that is not a
// panel up to k means the panel's own parameter, k.
int choiceOf(const StudyInputs& inputs, const QString& choice, int k);

// The owner of every one of panels reach panels: the panel whose parameter it
// uses after following the chain of choices.
QVector<int> owners(const StudyInputs& inputs, const QString& choice, int panels);

// Every panel k uses its own parameter.
QVector<int> ownChoices(int panels);

// key(k) for the panels 0 .. panels - 1, the parameter names of one kind
// (a design's survivalKey, captureKey ...).
QStringList panelKeys(int panels, QString (*key)(int));

// Disables field keys[k] of every panel k that shares another panel's
// parameter (StudyInputs::disableField), and enables the others.
void applySharing(StudyInputs& inputs, const QString& choice, const QStringList& keys);

// The first point i (0 <= i < numPoints()) at which holds(i) is false; -1 when
// it holds at every point. A value read that throws (out of range) counts as
// holding: reading the inputs for a run reports it with its own text.
int firstPointFailing(const StudyInputs& inputs, const std::function<bool(int)>& holds);

// The field a check on a value derived from the fields keys refuses: the one
// holding the range, else fallback.
QString derivedKey(const StudyInputs& inputs, const QStringList& keys, const QString& fallback);

} // namespace ReleaseRecaptureInputs
