#pragma once

#include "calc/SensitivityOptions.h"
#include "calc/SimulationOptions.h"
#include "studies/planning/Planner.h"

#include <QString>
#include <QStringList>

// What one invocation of quorvel-calc asks for.
struct CalcRequest
{
    // Html, Odt and Pdf: the report as the window saves it.
    enum Format { Text, Csv, Json, Html, Odt, Pdf };

    // Design files, computed in this order.
    QStringList files;
    // The design to compute as the window last stored it; null for files.
    QString fromSettings;
    Format format = Text;
    // A file, or an existing folder for one output per design; null for
    // standard output.
    QString output;
    // --solve: every design planned to plan's target instead of computed.
    bool solve = false;
    PlanRequest plan;
    // --simulate: check the designs by simulation.
    SimulationRequest simulation;
    // --sensitivity or --band: how the precision changes when the inputs
    // are off (with --solve, a band's worst case planned for).
    GuessRequest guesses;
};

// The exit statuses of quorvel-calc.
namespace ExitStatus {
constexpr int success = 0;
// A point could not be computed, or an output could not be written.
constexpr int failed = 1;
// The command line or an input was refused.
constexpr int refused = 2;
// Ctrl-C cancelled the computation.
constexpr int interrupted = 130;
} // namespace ExitStatus

// The command line read: the request, or help, the version, or a refusal
// with its message.
struct CommandLine
{
    enum Action { Calculate, ShowHelp, ShowVersion, Refuse };

    Action action = Calculate;
    CalcRequest request;
    QString error;

    // arguments without the program's name.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};
