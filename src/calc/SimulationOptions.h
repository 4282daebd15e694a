#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <cstdint>

class QCommandLineParser;

// What --simulate K --seed S --point I ask of quorvel-calc: instead of its
// precision alone, a check of each design by simulation.
struct SimulationRequest
{
    // Data sets per design; 0 when no check is asked for.
    int dataSets = 0;
    std::uint64_t seed = 1;
    // The point of a ranged input to check (or, with --sensitivity, to vary
    // the inputs at), counted from 1.
    int point = 1;

    bool requested() const { return dataSets > 0; }
};

// The command-line options of a check by simulation.
class SimulationOptions
{
public:
    SimulationOptions();

    QList<QCommandLineOption> options() const { return {simulate, seed, point}; }
    // Reads the options from parser into request; answers the refusal's
    // message, null when they are fine.
    QString read(const QCommandLineParser& parser, SimulationRequest* request) const;
    // The most data sets a check takes.
    static constexpr int maximumDataSets = 1000000;

private:
    QString readPoint(const QCommandLineParser& parser, SimulationRequest* request) const;

    QCommandLineOption simulate;
    QCommandLineOption seed;
    QCommandLineOption point;
};
