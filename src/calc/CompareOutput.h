#pragma once

#include "calc/CommandLine.h"
#include "studies/comparison/DesignComparison.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QCommandLineParser;

// quorvel-calc --compare: the designs given as FILE:QUANTITY compared on
// --target MEASURE=VALUE (the fewest fish meeting it) or --budget N (each
// design's measure with N fish), as text, CSV, JSON or a report file (HTML,
// OpenDocument text, PDF) as the comparison window saves its table.
namespace CompareOutput {

void addOptions(QCommandLineParser& parser);
bool isSet(const QCommandLineParser& parser);
// The request of --target and --budget; the refusal of options that cannot
// be read (neither or both given, a budget that is no whole number above 0,
// a target without its value), or null.
QString read(const QCommandLineParser& parser, ComparisonRequest* request);
// The lines of the help text that describe the options.
QString help();

// The answer of designs in format. Problems go to standard error; answers
// the exit status (ExitStatus) and, on success, the output in *output.
int compareDesigns(const QList<ComparedDesign>& designs, const ComparisonRequest& request,
                   CalcRequest::Format format, QByteArray* output);

} // namespace CompareOutput
