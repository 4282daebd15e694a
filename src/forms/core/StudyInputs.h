#pragma once

#include "forms/core/InputField.h"
#include "forms/core/RangeArithmetic.h"
#include "forms/core/Refusal.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QVector>

// Everything the user has given for one study design, as text: every numeric
// input in the form's order, which of them holds the range, and the states of
// the switches (links, modes) and per-reach choices. The window takes it from
// the form on the GUI thread; a design file gives the same. The checks of the
// inputs and the records the runs compute from read only this, so the window
// and every other front end accept and read inputs alike.
class StudyInputs
{
public:
    // Appends a field; its key must be new (throws std::invalid_argument).
    void addField(const InputField& field);
    const QList<InputField>& fields() const { return fieldList; }
    bool hasField(const QString& key) const { return index.contains(key); }
    // The field registered under key; throws std::invalid_argument for an
    // unknown key.
    const InputField& field(const QString& key) const;
    InputField& field(const QString& key);

    // The field holding the range, by key; an empty key sets no range. The key
    // must name a field (throws std::invalid_argument).
    void setRangeHolder(const QString& key);
    const QString& rangeHolder() const { return holder; }
    bool holdsRange(const QString& key) const { return !holder.isEmpty() && holder == key; }
    // Disables field key as the form does when a switch turns it off: a range
    // it holds is released and its text becomes the range's start.
    void disableField(const QString& key);

    // The holder's current name; a null string without a range.
    QString rangeName() const;
    // The range read from the holder's text with its edit type; without a
    // range, an empty Real range.
    RangeArithmetic range() const;
    // 1 without a range; otherwise the range's count, which is 0 or negative
    // when the range yields no points.
    int numPoints() const;
    // The value of the ranged input at point i (0 without a range): the value
    // the point is computed with, so an Integer field's point truncated.
    double pointAt(int i) const;
    QList<double> points() const;

    // The value of field key at point i; throws the field's out-of-range text
    // as a QString.
    double valueAt(const QString& key, int i) const;
    int intValueAt(const QString& key, int i) const;
    // Whether every value field key will deliver lies in bounds.
    bool delivers(const QString& key, const Interval& bounds) const;

    // Link boxes and mode choices by name ("linkReleases", "useSt").
    QMap<QString, bool> switches;
    // Per-reach choices by name ("survivalOwner"): one entry per reach panel.
    QMap<QString, QVector<int>> choices;
    // The number of reaches of a release-recapture design; 0 for the others.
    int reaches = 0;

private:
    QList<InputField> fieldList;
    QHash<QString, int> index;
    QString holder;
};

// One check of a form's validation: every value of field key within bounds.
struct FieldCheck
{
    QString key;
    Interval bounds;
};

// The refusal of field key for breaking rule, under the field's current name.
// key must name a field (throws std::invalid_argument).
Refusal refusal(const StudyInputs& inputs, const QString& key, const QString& rule);

// The refusal of the first field that fails its check, with the rule it
// breaks, skipping fields that are disabled; a null refusal when every check
// passes. Every key must name a field (throws std::invalid_argument).
Refusal firstFailingField(const StudyInputs& inputs, const QList<FieldCheck>& checks);

// The refusal under which inputs are refused: failing, the first field failing
// its design's checks (see firstFailingField), or without one the range
// holder's when the range yields no points. A range that yields no points
// ("500:500", "1000:100", "5:") fails the checks of the field holding it; a
// design that checks no value of that field is caught here, so that no run
// ever starts without points. A null refusal when the inputs may be run.
Refusal refusedField(const StudyInputs& inputs, const Refusal& failing);
