#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <functional>

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

// One run's results in a JSON output: resultsJson(*run, source, test).
struct JsonResults
{
    const DesignRun* run;
    QString source;
    const EffectTest* test;
};

// Writes the JSON of the results of runs, byte for byte as QJsonDocument
// writes it indented (one object, or an array of them when asArray), in
// pieces: the text around a run's points, and one piece per point with its
// covariance matrix. The whole document, hundreds of megabytes for a large
// design over a range, is never held at once, and write() may stop the
// output between pieces by answering false; the function then answers false
// at once.
bool writeResultsJson(const QList<JsonResults>& runs, bool asArray,
                      const std::function<bool(const QByteArray&)>& write);
