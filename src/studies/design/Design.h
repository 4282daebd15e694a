#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"
#include "studies/common/EffectTest.h"

#include <QString>
#include <QStringList>

// The options of a design that the window keeps in its settings rather than
// in the form: the replicated releases and natural variability of the single
// and paired releases (each design has its own), the single release's total
// survival, the decimals of the reports, and the test whose power the reports
// show (null values, level, sidedness). Values are as the run-mode
// dialog and the settings hold them; the natural variance is kept as its
// text, which the report shows.
struct DesignOptions
{
    bool replicatesEnabled = false;
    int replicateCount = 1;
    QString naturalVariance = QStringLiteral("0");
    QString replicateParameter;
    bool totalSurvival = false;
    int precisionEst = 3;
    int precisionErr = 8;
    EffectTest effect;
};

// One study design as a whole, without any window: which of the five designs
// it is, everything its form holds as text (reach count, switches, sharing
// choices and every field, see StudyInputs) and its options. Design files and
// the stored settings are read into it; the command-line calculator runs it
// and the window loads it into the design's form.
struct Design
{
    enum Kind { SingleRelease, PairedRelease, TIRR, BTPS, VWP };

    Kind kind = SingleRelease;
    StudyInputs inputs;
    DesignOptions options;
};

// What is known of each design without its form, from its inputs in
// src/forms/core: one row per design.
struct DesignInfo
{
    Design::Kind kind;
    // The design's bit in the window's open-studies mask, its study type
    // (StudySubWindow::Type).
    int studyType;
    // The design's name in design files and on the command line ("single").
    QString name;
    // The design's name in the window: its title and its report's.
    QString title;
    // The fewest reaches of a release-recapture design; 0 for a design
    // without reaches.
    int minimumReaches;
    // The design's field table for a number of reaches (ignored by designs
    // without reaches), and the same as inputs with empty texts, its switches
    // in their first state and every reach using its own parameters.
    QList<FieldSpec> (*fieldTable)(int reaches);
    StudyInputs (*blankInputs)(int reaches);
    // Enables, disables and renames the fields from the switches and choices.
    void (*applySwitches)(StudyInputs& inputs);
    // The first field failing the design's checks with the rule it breaks;
    // null when none fails.
    Refusal (*firstIllegal)(const StudyInputs& inputs);
    // The parameter names of reach panel k's survival and capture fields,
    // and the settings ids of their combos; null and 0 for a design without
    // reaches.
    QString (*survivalKey)(int k);
    QString (*captureKey)(int k);
    int survivalChoiceId;
    int captureChoiceId;

    bool hasReaches() const { return minimumReaches > 0; }
};

namespace designs {

// Every design, in the order of Design::Kind.
const QList<DesignInfo>& all();
const DesignInfo& info(Design::Kind kind);
// The design of that name, or of that study type; null for no design.
const DesignInfo* named(const QString& name);
const DesignInfo* ofStudyType(int studyType);
// "single, paired, tirr, btps and vwp", for messages.
QString nameList();

} // namespace designs
