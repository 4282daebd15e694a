#include "calc/ResultsJson.h"

#include "calc/DesignRun.h"
#include "studies/common/EffectTest.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

// Point i of a run, as resultsJson lists it.
QJsonObject pointJson(const DesignRun& run, const PrecisionTable& table, int i, bool covariance,
                      const EffectTest* test)
{
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
        {QStringLiteral("value"), table.xName.isEmpty() ? QJsonValue() : jsonNumber(table.x[i])},
        {QStringLiteral("quantities"), quantities}};
    if (covariance)
        point.insert(QStringLiteral("covariance"), rows(run.covariance(i)));
    return point;
}

// resultsJson with points in place of the list of points.
QJsonObject resultsWith(const DesignRun& run, const PrecisionTable& table, const QString& source,
                        const EffectTest* test, const QJsonValue& points)
{
    const DesignInfo& info = designs::info(run.design().kind);
    const QStringList covarianceNames = run.covarianceNames();
    const bool ranged = !table.xName.isEmpty();
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

// The mark that stands for a run's points in the document written around
// them; it is found as the value of the key "points", whose quoted name no
// string value's text holds (a quote within a value is written \").
const QString pointsMark = QChar(1) + QStringLiteral("points") + QChar(1);

} // namespace

QJsonObject resultsJson(const DesignRun& run, const QString& source, const EffectTest* test)
{
    const PrecisionTable table = run.precisionTable();
    const bool covariance = !run.covarianceNames().isEmpty();
    QJsonArray points;
    for (int i = 0; i < table.pointCount(); ++i)
        points.append(pointJson(run, table, i, covariance, test));
    return resultsWith(run, table, source, test, points);
}

// QJsonDocument writes a value at nesting depth d with its lines after the
// first indented by 4 d spaces more than alone, and an array as "[\n", its
// elements each on lines of their own indented by one more level and
// separated by ",\n", then "\n" (when it has elements) and its closing
// bracket at the array's own indentation. The document is written with a
// mark in place of each run's points; the text of a point is its own
// document, indented to where the array puts it.
bool writeResultsJson(const QList<JsonResults>& runs, bool asArray,
                      const std::function<bool(const QByteArray&)>& write)
{
    std::vector<PrecisionTable> tables;
    QJsonArray heads;
    for (const JsonResults& results : runs) {
        tables.push_back(results.run->precisionTable());
        heads.append(
            resultsWith(*results.run, tables.back(), results.source, results.test, pointsMark));
    }
    const QByteArray document = asArray || heads.isEmpty()
                                    ? QJsonDocument(heads).toJson()
                                    : QJsonDocument(heads.first().toObject()).toJson();
    const QByteArray mark = QByteArrayLiteral("\"points\": \"\\u0001points\\u0001\"");

    int done = 0;
    for (int r = 0; r < runs.size(); ++r) {
        const int at = document.indexOf(mark, done);
        if (at < 0)
            return write(document.mid(done));
        const int value = at + mark.indexOf(':') + 2;
        const int lineStart = document.lastIndexOf('\n', at) + 1;
        const QByteArray outer(at - lineStart, ' ');
        const QByteArray inner = outer + QByteArray(4, ' ');
        if (!write(document.mid(done, value - done) + "[\n"))
            return false;

        const JsonResults& results = runs[r];
        const PrecisionTable& table = tables[static_cast<std::size_t>(r)];
        const bool covariance = !results.run->covarianceNames().isEmpty();
        for (int i = 0; i < table.pointCount(); ++i) {
            QByteArray text =
                QJsonDocument(pointJson(*results.run, table, i, covariance, results.test)).toJson();
            text.chop(1);
            const int lines = int(text.count('\n')) + 1;
            const QByteArray separator = i > 0 ? QByteArrayLiteral(",\n") : QByteArray();
            QByteArray piece(separator.size() + text.size() + lines * inner.size(),
                             Qt::Uninitialized);
            char* out = piece.data();
            out = std::copy(separator.begin(), separator.end(), out);
            const char* from = text.constData();
            const char* const end = from + text.size();
            while (from < end) {
                const char* lineEnd =
                    static_cast<const char*>(std::memchr(from, '\n', std::size_t(end - from)));
                lineEnd = lineEnd == nullptr ? end : lineEnd + 1;
                out = std::copy(inner.begin(), inner.end(), out);
                out = std::copy(from, lineEnd, out);
                from = lineEnd;
            }
            piece.truncate(int(out - piece.constData()));
            if (!write(piece))
                return false;
        }
        if (!write((table.pointCount() > 0 ? QByteArray("\n") : QByteArray()) + outer + "]"))
            return false;
        done = at + mark.size();
    }
    return write(document.mid(done));
}
