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
// The request of the options given; a null string, or the refusal of an
// option that cannot be read (given without --solve, a target without a
// measure or value, a total that is no whole number).
QString read(const QCommandLineParser& parser, PlanRequest* request);
// The lines of the help text that describe the options.
QString help();

} // namespace PlanOptions
