#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <vector>

namespace quorvel::test {

// The designs in tests/data/reference_cases.json, whose expected precision was
// computed independently of this program (exact Hessians of the expected-data
// likelihood, confirmed by simulation). Each case holds "id", "design",
// "inputs", "expected" and "relative_tolerance".
std::vector<QJsonObject> referenceCases(const QString& design = QString());

// The case with the given id; fails the calling test when it is missing.
QJsonObject referenceCase(const QString& id);

std::vector<double> toDoubles(const QJsonValue& array);
std::vector<int> toInts(const QJsonValue& array);

} // namespace quorvel::test
