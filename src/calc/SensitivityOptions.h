#pragma once

#include "studies/planning/PlanTarget.h"
#include "studies/sensitivity/Band.h"

#include <QList>
#include <QString>

class QCommandLineParser;

// What --sensitivity or --band ask of quorvel-calc: instead of the precision
// at the guessed inputs, how it changes when the guesses are off.
struct GuessRequest
{
    enum Kind {
        None,
        // Each input varied on its own by the spread, at one point.
        Sensitivity,
        // The least and greatest measure over a box of intervals, at every
        // point (with --solve: the plan for the box's worst case).
        Band,
    };

    Kind kind = None;
    // The quantity and how its precision is measured.
    PlanTarget target;
    double spread = 0.1;
    QList<BandInput> box;
};

// quorvel-calc's options of sensitivity and bands: --sensitivity, --band
// INTERVALS, --spread FRACTION and --measure MEASURE, with --for QUANTITY
// (the planner's option, which names the quantity of either).
namespace SensitivityOptions {

void add(QCommandLineParser& parser);
// Whether --sensitivity or --band was given.
bool isSet(const QCommandLineParser& parser);
// The request of the options given; a null string, or the refusal of an
// option that cannot be read or is given without what it belongs to.
// solving: --solve was given too, whose --for and --target then say what a
// band is of.
QString read(const QCommandLineParser& parser, bool solving, GuessRequest* request);
QString help();

} // namespace SensitivityOptions
