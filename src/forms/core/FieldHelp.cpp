#include "forms/core/FieldHelp.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"

#include <QHash>
#include <QRegularExpression>

namespace fieldhelp {

namespace {

// One row of the table: the tip and what to enter.
struct Row
{
    const char* tip;
    const char* entry;
};

const char* const probabilityEntry = "Enter a probability above 0 and at most 1, or a range such "
                                     "as 0.5:0.9 to see the precision over it.";
const char* const removalEntry = "Enter a proportion from 0 (none removed) up to, but not "
                                 "including, 1.";
const char* const releaseEntry = "Enter a whole number of fish, or a range such as 500:5000 to "
                                 "see the precision over it.";
const char* const choiceEntry = "Choose the reach's own parameter (the last entry), or an "
                                "earlier reach's when both are expected to be equal: the two "
                                "are then estimated as one.";

using Table = QHash<QString, Row>;

// Inputs the two release-recapture designs share, for every reach number #.
Table reachRows()
{
    return {
        {"S#",
         {"Survival in reach #: the chance that a fish alive at the start of reach # is alive at "
          "the detection site that ends it",
          probabilityEntry}},
        {"P#",
         {"Detection probability at site #: the chance that a fish alive at the site is "
          "detected there",
          probabilityEntry}},
        {"D#",
         {"Proportion removed at site #: the share of the fish detected at site # that are "
          "taken out of the river there",
          removalEntry}},
        {"Lambda",
         {"Final S*P: the chance that a fish alive at the last detection site survives the final "
          "reach and is detected at its end (the two cannot be told apart)",
          probabilityEntry}},
        {"survivalChoice",
         {"Whose survival this reach uses: its own or that of an earlier reach", choiceEntry}},
        {"captureChoice",
         {"Whose detection probability this site uses: its own or that of an earlier site",
          choiceEntry}},
    };
}

Table singleRows()
{
    Table rows = reachRows();
    rows.insert("R0", {"Release size: the number of tagged fish released at the top of the river",
                       releaseEntry});
    rows.insert("R#", {"Release size at site #: the number of fresh tagged fish released at "
                       "site # (0 for none)",
                       releaseEntry});
    return rows;
}

Table pairedRows()
{
    Table rows = reachRows();
    rows.insert("RT", {"Rt: the number of tagged treatment fish, released above the passage "
                       "whose survival is studied",
                       releaseEntry});
    rows.insert(
        "RC", {"Rc: the number of tagged control fish, released below the passage", releaseEntry});
    rows.insert("SC", {"Sc: the chance that a control fish survives the first reach to "
                       "detection site 1",
                       probabilityEntry});
    rows.insert("ST", {"St: the survival through the passage, relative to the control fish; a "
                       "treatment fish survives the first reach with Sc*St",
                       "Enter a number above 0 that keeps Sc*St at most 1."});
    rows.insert("linkReleases", {"Release as many control fish as treatment fish: Rc follows Rt",
                                 "Check it to enter one release size for both groups."});
    return rows;
}

Table btpsRows()
{
    return {
        {"Rc",
         {"Rc: the number of balloon-tagged control fish, released below the passage route",
          releaseEntry}},
        {"Rt",
         {"Rt: the number of balloon-tagged treatment fish, released into the passage route",
          releaseEntry}},
        {"Sc",
         {"Sc: the chance that a control fish is alive when it is recaptured", probabilityEntry}},
        {"St",
         {"St: the chance that a treatment fish is alive when it is recaptured",
          "Enter a probability from 0 to 1; the passage survival T is St/Sc."}},
        {"T",
         {"T: the passage survival, the treatment fish's survival relative to the control "
          "fish's (St/Sc)",
          "Enter a number from 0 to 1."}},
        {"Pa",
         {"Pa: the chance that a fish alive after the passage is recaptured", probabilityEntry}},
        {"Pd",
         {"Pd: the chance that a fish killed in the passage is recaptured",
          "Enter a probability from 0 to 1; it is reported and enters no formula."}},
        {"linkReleases",
         {"Release as many treatment fish as control fish: Rt follows Rc",
          "Check it to enter one release size for both groups."}},
        {"useSt",
         {"Whether the treatment survival St or the passage survival T is given",
          "The field of the other choice is not used."}},
    };
}

Table tirrRows()
{
    return {
        {"Rc", {"Rc: the number of tagged control fish, left in the river", releaseEntry}},
        {"Rt", {"Rt: the number of tagged treatment fish, transported", releaseEntry}},
        {"Sc",
         {"Sc: the chance that a control fish survives to the recapture site", probabilityEntry}},
        {"P",
         {"P: detection probability at the recapture site, the chance that a fish alive "
          "there is recaptured",
          probabilityEntry}},
        {"Sc*P",
         {"Sc*P: the chance that a control fish is recaptured, given directly", probabilityEntry}},
        {"T",
         {"T: the treatment effect, the treatment fish's return rate over the control "
          "fish's",
          "Enter a number above 0; Sc*P*T, a treatment fish's return, must not exceed 1."}},
        {"linkReleases",
         {"Release as many treatment fish as control fish: Rt follows Rc",
          "Check it to enter one release size for both groups."}},
        {"useTheta",
         {"Whether Sc*P is given directly or as Sc and P",
          "The fields of the other choice are not used."}},
    };
}

Table vwpRows()
{
    return {
        {"V1", {"V1: the number of tagged fish released above the dam", releaseEntry}},
        {"R2", {"R2: the number of tagged fish released below the dam", releaseEntry}},
        {"R3",
         {"R3: the number of tagged fish released at the first detection site", releaseEntry}},
        {"SDam",
         {"Sdam: the survival through the dam, the quantity the design estimates",
          probabilityEntry}},
        {"SPrime11",
         {"S'11: the survival from below the dam to the first detection site", probabilityEntry}},
        {"S12",
         {"S12: the survival from the first to the second detection site", probabilityEntry}},
        {"P1",
         {"Detection probability at site 1: the chance that a fish alive at the site is "
          "detected there",
          probabilityEntry}},
        {"P2",
         {"Detection probability at site 2: the chance that a fish alive at the site is "
          "detected there",
          probabilityEntry}},
        {"Lambda",
         {"Lambda: the chance that a fish alive at site 2 survives to the final site and "
          "is detected there",
          probabilityEntry}},
        {"linkReleases",
         {"Release as many fish at R3 as at R2: R3 follows R2",
          "Check it to enter one release size for both."}},
        {"linkAllReleases",
         {"Release as many fish at all three sites: R2 and R3 follow V1",
          "Check it to enter one release size for all three."}},
    };
}

Table runModeRows()
{
    return {
        {"reaches",
         {"The number of reaches, the final reach counted: each has its survival and "
          "ends at a detection site",
          "New reaches take the values of the last one; Edit > Fill reaches… gives a "
          "span of them the same values."}},
        {"enableReplicates",
         {"Compute the precision of several replicate studies, pooled",
          "Check it to set the number of replicates and the natural "
          "variability."}},
        {"replicates",
         {"The number of replicate studies, each with the release sizes entered",
          "Enter a whole number from 1 to 99."}},
        {"naturalVariance",
         {"Natural variability: the variance of the chosen parameter between "
          "the replicate studies",
          "Enter a number of at least 0; it is used with two replicates or "
          "more."}},
        {"replicateParameter",
         {"The parameter that varies between the replicate studies",
          "Choose one of the design's parameters."}},
        {"totalSurvival",
         {"Report the precision of the total survival, the product of every "
          "reach's survival",
          "Check it to add the total survival to the report."}},
    };
}

Table effectRows()
{
    return {
        {"nullValues",
         {"The value each quantity would have if there were no effect; the power is "
          "the chance that the study's estimate differs significantly from it",
          "Enter quantity=value pairs between commas or semicolons, as in "
          "<i>St=1, S1=0.8</i>; a number alone stands for every quantity without one "
          "of its own. Left empty, the ratios St, T and Sdam are tested against 1 (no "
          "effect) and no other quantity is tested."}},
        {"alpha",
         {"The level of the test: the chance of declaring an effect when there is none",
          "Enter a number between 0 and 1, both left out; 0.05 is usual."}},
        {"sided",
         {"Whether the test looks for an effect in both directions or only in the "
          "direction of the expected one",
          "A one-sided test has more power for the expected direction and none for "
          "the other."}},
    };
}

const QHash<QString, Table>& tables()
{
    static const QHash<QString, Table> all = {
        {SingleReleaseInputs::title, singleRows()},
        {PairedReleaseInputs::windowTitle, pairedRows()},
        {BTPSInputs::title, btpsRows()},
        {TIRRInputs::title, tirrRows()},
        {VWPInputs::title, vwpRows()},
        {runModeTopic, runModeRows()},
        {effectTopic, effectRows()},
    };
    return all;
}

} // namespace

Help of(const QString& design, const QString& key)
{
    const Table table = tables().value(design);
    QString number;
    auto found = table.constFind(key);
    if (found == table.constEnd()) {
        // "S12" of a release-recapture design is reach 12's S#.
        static const QRegularExpression numbered(QStringLiteral("^([A-Z])(\\d+)$"));
        const QRegularExpressionMatch match = numbered.match(key);
        if (!match.hasMatch())
            return {};
        number = match.captured(2);
        found = table.constFind(match.captured(1) + QLatin1Char('#'));
        if (found == table.constEnd())
            return {};
    }
    QString tip = QString::fromUtf8(found->tip);
    tip.replace(QLatin1Char('#'), number);
    const QString entry = QString::fromUtf8(found->entry);
    return {tip, QStringLiteral("<p>") + tip.toHtmlEscaped() + QStringLiteral(".</p><p>") +
                     entry.toHtmlEscaped() + QStringLiteral("</p>")};
}

} // namespace fieldhelp
