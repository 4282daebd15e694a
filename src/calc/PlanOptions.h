#pragma once

#include "studies/planning/Planner.h"

#include <QString>

class QCommandLineParser;

// quorvel-calc's options of planning to a target: --solve WHAT, --for
// QUANTITY, --target MEASURE=VALUE and --total N.
namespace PlanOptions {

// Adds the options to parser.
void add(QCommandLineParser& parser);
// Whether --solve was given.
bool isSet(const QCommandLineParser& parser);
// The value of --target; null when not given.
QString targetText(const QCommandLineParser& parser);
// The request of the options given; a null string, or the refusal of an
// option that cannot be read (given without --solve, a target without a
// measure or value, a total that is no whole number). comparing takes
// --target without --solve, for --compare to read.
QString read(const QCommandLineParser& parser, PlanRequest* request, bool comparing = false);
// The lines of the help text that describe the options.
QString help();
// Reads a target "hw95=0.05" into *measure and *value; with valueOptional a
// measure alone ("hw95") too, leaving *value 0. The refusal, or null.
QString readTarget(const QString& text, PlanTarget::Measure* measure, double* value,
                   bool valueOptional);

} // namespace PlanOptions
