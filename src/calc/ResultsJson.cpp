#include "calc/ResultsJson.h"

#include "calc/DesignRun.h"

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

QJsonObject resultsJson(const DesignRun& run, const QString& source)
{
    const DesignInfo& info = designs::info(run.design().kind);
    const PrecisionTable table = run.precisionTable();
    const QStringList covarianceNames = run.covarianceNames();
    const bool ranged = !table.xName.isEmpty();

    QJsonArray points;
    for (int i = 0; i < table.pointCount(); ++i) {
        QJsonObject quantities;
        for (int q = 0; q < table.names.size(); ++q)
            quantities.insert(
                table.names[q],
                precision(table.estimates(i, q), table.variances(i, q), table.isKnown(i, q)));
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
    if (!covarianceNames.isEmpty())
        results.insert(QStringLiteral("covarianceNames"),
                       QJsonArray::fromStringList(covarianceNames));
    return results;
}
