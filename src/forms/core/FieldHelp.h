#pragma once

#include <QString>

// What every input of the five designs means, in the words of the biologist
// who plans the study: a one-line tool tip and a longer What's This text for
// each field, check box and combo, keyed by the design's title and the
// input's parameter name ("P3") or switch name ("linkReleases"). A numbered
// reach input shares one entry for every reach ("P#"). The forms' base
// applies it to every input it registers, so that no input is left without
// help and the texts live in one place.
namespace fieldhelp {

// The topic of the inputs of the reach count and run mode docks, which serve
// the single and paired releases alike.
inline const QString runModeTopic = QStringLiteral("Run mode");
// The topic of the inputs of the effect test dock, which serves every design.
inline const QString effectTopic = QStringLiteral("Effect test");

struct Help
{
    // One sentence: what the input is.
    QString tip;
    // The sentence and what to enter, as rich text.
    QString whatsThis;

    bool isEmpty() const { return tip.isEmpty(); }
};

// The help of input key of the design titled design; empty when the table
// has none.
Help of(const QString& design, const QString& key);

} // namespace fieldhelp
