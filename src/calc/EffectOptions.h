#pragma once

#include "studies/common/EffectTest.h"

#include <QMap>
#include <QString>

#include <optional>

class QCommandLineParser;

// What --power, --null, --alpha and --sided ask of quorvel-calc: the power of
// the test of each quantity's effect beside its precision, and the test's
// null values, level and sidedness, given over those a design file holds.
struct EffectRequest
{
    // --power: the outputs add the power of each quantity with a null value.
    bool power = false;
    // --null Q=V by quantity, and --null V for every quantity.
    QMap<QString, double> nullValues;
    std::optional<double> commonNull;
    std::optional<double> alpha;
    std::optional<bool> twoSided;

    // Whether any of --null, --alpha and --sided was given.
    bool givesTest() const;
    // test, with what was given put in its place.
    EffectTest appliedTo(EffectTest test) const;
};

// quorvel-calc's options of the power of a test.
namespace EffectOptions {

void add(QCommandLineParser& parser);
// The request of the options given; a null string, or the refusal of one that
// cannot be read (a null value or alpha that is no number, alpha outside
// (0, 1), a sidedness other than one or two).
QString read(const QCommandLineParser& parser, EffectRequest* request);
// The lines of the help text that describe the options.
QString help();

} // namespace EffectOptions
