#pragma once

#include <QString>

// Why a design's inputs cannot be run, in the words of the form: the field as
// its label shows it and the rule it broke ("P1 must lie in (0, 1]", "R0 is
// empty: it must be a whole number of at least 1"). The window puts the focus
// on the field with key; the calculator prints text(). A null refusal (no key)
// means the inputs may be run.
struct Refusal
{
    // The parameter name the field is registered under: where the form sends
    // the user.
    QString key;
    // The field's name as its label shows it now ("Rt-Rc" while linked).
    QString name;
    // What the field must be, as the rest of a sentence about it ("must lie in
    // (0, 1]").
    QString rule;

    bool isNull() const { return key.isNull(); }
    // The message; a null string for a null refusal.
    QString text() const;
};

namespace fieldrules {

// Every refusal's message, built from the field's name and its rule; every
// check that refuses an input words its rule for this sentence.
QString refusalText(const QString& name, const QString& rule);

} // namespace fieldrules
