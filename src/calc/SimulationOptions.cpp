#include "calc/SimulationOptions.h"

#include <QCommandLineParser>

#include <limits>

SimulationOptions::SimulationOptions()
    : simulate(QStringLiteral("simulate"), QString(), QStringLiteral("K"))
    , seed(QStringLiteral("seed"), QString(), QStringLiteral("S"))
    , point(QStringLiteral("point"), QString(), QStringLiteral("I"))
{}

QString SimulationOptions::read(const QCommandLineParser& parser, SimulationRequest* request) const
{
    for (const QCommandLineOption& single : options()) {
        if (parser.values(single).size() > 1)
            return QStringLiteral("--%1 is given more than once").arg(single.names().last());
    }
    bool ok = false;
    if (!parser.isSet(simulate)) {
        if (parser.isSet(seed))
            return QStringLiteral("--seed belongs to --simulate");
        // The point a sensitivity is taken at is read here too.
        if (parser.isSet(point) && !parser.isSet(QStringLiteral("sensitivity")))
            return QStringLiteral("--point belongs to --simulate and --sensitivity");
        return readPoint(parser, request);
    }
    request->dataSets = parser.value(simulate).toInt(&ok);
    if (!ok || request->dataSets < 1 || request->dataSets > maximumDataSets)
        return QStringLiteral("--simulate takes a number of data sets from 1 to %1, not \"%2\"")
            .arg(maximumDataSets)
            .arg(parser.value(simulate));
    if (parser.isSet(seed)) {
        request->seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return QStringLiteral("--seed takes a whole number from 0 to %1, not \"%2\"")
                .arg(std::numeric_limits<std::uint64_t>::max())
                .arg(parser.value(seed));
    }
    return readPoint(parser, request);
}

QString SimulationOptions::readPoint(const QCommandLineParser& parser,
                                     SimulationRequest* request) const
{
    if (!parser.isSet(point))
        return {};
    bool ok = false;
    request->point = parser.value(point).toInt(&ok);
    if (!ok || request->point < 1)
        return QStringLiteral("--point takes a point of the range counted from 1, not \"%1\"")
            .arg(parser.value(point));
    return {};
}
