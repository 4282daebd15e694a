#include "calc/ResultsJson.h"

#include "calc/DesignRun.h"
#include "studies/common/EffectTest.h"

#include <QJsonArray>

#include <cmath>

QJsonValue jsonNumber(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

namespace {

QJsonObject precision(double estimate, double variance, bool known)
{
    const double se = std::sqrt(variance);
    return {{QStringLiteral("estimate"), jsonNumber(estimate)},
            {QStringLiteral("known"), known},
            {QStringLiteral("variance"), jsonNumber(variance)},
            {QStringLiteral("se"), jsonNumber(se)},
            {QStringLiteral("halfWidth90"), jsonNumber(halfWidth90(se))},
            {QStringLiteral("halfWidth95"), jsonNumber(halfWidth95(se))}};
}

QJsonArray rows(const Matrix& matrix)
{
    QJsonArray rows;
    for (int a = 0; a < matrix.rows(); ++a) {
        QJsonArray row;
        for (int b = 0; b < matrix.cols(); ++b)
            row.append(jsonNumber(matrix(a, b)));
        rows.append(row);
    }
    return rows;
}

} // namespace

QJsonObject resultsJson(const DesignRun& run, const QString& source, const EffectTest* test)
{
    const DesignInfo& info = designs::info(run.design().kind);
    const PrecisionTable table = run.precisionTable();
    const QStringList covarianceNames = run.covarianceNames();
    const bool ranged = !table.xName.isEmpty();

    QJsonArray points;
    for (int i = 0; i < table.pointCount(); ++i) {
        QJsonObject quantities;
        for (int q = 0; q < table.names.size(); ++q) {
            const QString& name = table.names[q];
            QJsonObject measures =
                precision(table.estimates(i, q), table.variances(i, q), table.isKnown(i, q));
            if (test != nullptr && test->hasNullValue(name)) {
                measures.insert(QStringLiteral("nullValue"), jsonNumber(test->nullValueOf(name)));
                measures.insert(
                    QStringLiteral("power"),
                    jsonNumber(test->powerOf(name, table.estimates(i, q), table.variances(i, q))));
            }
            quantities.insert(name, measures);
        }
        QJsonObject point = {
            {QStringLiteral("value"), ranged ? jsonNumber(table.x[i]) : QJsonValue()},
            {QStringLiteral("quantities"), quantities}};
        if (!covarianceNames.isEmpty())
            point.insert(QStringLiteral("covariance"), rows(run.covariance(i)));
        points.append(point);
    }

    QJsonObject results = {
        {QStringLiteral("file"), source},
        {QStringLiteral("design"), info.name},
        {QStringLiteral("title"), info.title},
        {QStringLiteral("range"), ranged ? QJsonValue(table.xName) : QJsonValue()},
        {QStringLiteral("quantities"), QJsonArray::fromStringList(table.names)},
        {QStringLiteral("points"), points},
    };
    if (test != nullptr) {
        results.insert(QStringLiteral("alpha"), test->alpha);
        results.insert(QStringLiteral("sided"),
                       test->twoSided ? QStringLiteral("two") : QStringLiteral("one"));
    }
    if (!covarianceNames.isEmpty())
        results.insert(QStringLiteral("covarianceNames"),
                       QJsonArray::fromStringList(covarianceNames));
    return results;
}
