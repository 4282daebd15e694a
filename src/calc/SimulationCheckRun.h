#pragma once

#include "calc/CommandLine.h"
#include "calc/DesignRun.h"
#include "calc/SimulationOptions.h"
#include "studies/simulation/DesignSimulation.h"

#include <QByteArray>
#include <QList>
#include <QString>

class ProgressLine;

// A design checked by simulation on the command line, named by label (its
// file) in messages and outputs.
struct CheckedDesign
{
    QString label;
    Design design;
    SimulationCheck check;
    // --power: the power of each quantity's test, predicted and found,
    // under the design's test.
    bool power = false;
};

// Checks design by simulation as request asks, on every core: after its run
// has passed the design's checks (DesignRun::run). The progress goes to
// progress as "quorvel-calc: <label>: n of K data sets"; Ctrl-C cancels
// (Cancelled). A point beyond the design's points is Refused; an error of the
// simulation is Failed with its message.
DesignRun::Outcome checkBySimulation(CheckedDesign& checked, const SimulationRequest& request,
                                     ProgressLine& progress, QString* message);

// The checks in format: the reports (SimulationReport) one after another,
// each headed by its label when there are several; one CSV table of one row
// per quantity, with the design's label in its first column when there are
// several; or the JSON object of each check (an array of them when there are
// several). With power, the reports end in their power table, the CSV rows in
// their test's columns and the JSON objects in a "power" array.
QByteArray simulationOutput(const QList<const CheckedDesign*>& checks, CalcRequest::Format format);
