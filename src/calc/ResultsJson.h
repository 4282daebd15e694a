#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

class DesignRun;
struct EffectTest;

// A number in JSON, which has no infinities and no NaN: null stands for them.
QJsonValue jsonNumber(double value);

// The results of a computed run as JSON: the design's name and title, the
// file it came from, the ranged input's name (null without a range), the
// quantities in the order of the report, and per point the ranged value and
// each quantity's estimate, variance, standard error and 90% and 95%
// half-widths; for the release-recapture designs also the names of the
// estimated parameters and each point's variance-covariance matrix in their
// order. With a test, a quantity with a null value adds its "nullValue" and
// the "power" of its test, and the results the test's "alpha" and "sided".
QJsonObject resultsJson(const DesignRun& run, const QString& source,
                        const EffectTest* test = nullptr);
